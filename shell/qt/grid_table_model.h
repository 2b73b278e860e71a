// The item model over one core grid. It holds no copy of the rows: every cell is read from the
// grid model when the table view asks for it, so a grid of 100,000 rows costs nothing here.
//
// Rows added one by one during a fill are announced together on the next turn of the event
// loop (or at Sync()), so a fill does not pay for a view update per row; until then the table
// shows the rows it was told about.
#pragma once

#include <QAbstractTableModel>

#include "shell/grid_model.h"

namespace dv::qt {

class GridTableModel : public QAbstractTableModel, private GridListener {
    Q_OBJECT

  public:
    // Extra roles of the cells and the header.
    enum Role {
        kButtonRole = Qt::UserRole + 1,  // cells: true in a button column
        kGroupRole,                      // header: the group caption in force at the column
        kGroupStartRole,                 // header: the first column of that group (-1: none)
        kHiddenRole,                     // header: true for a hidden column
    };

    explicit GridTableModel(GridModel& grid, QObject* parent = nullptr);
    ~GridTableModel() override;

    GridModel& grid() const { return grid_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Announces the rows added since the last announcement at once.
    void Sync();

  signals:
    void columnsChanged();
    void rowsReset();
    void currentRowChanged(int row);
    void visibilityChanged(bool visible);

  private:
    void OnColumnsChanged() override;
    void OnRowsReset() override;
    void OnRowAdded(int row) override;
    void OnCellChanged(int row, int column) override;
    void OnCurrentRowChanged(int row) override;
    void OnVisibilityChanged(bool visible) override;

    GridModel& grid_;
    int shown_rows_ = 0;
    int shown_columns_ = 0;
    bool sync_queued_ = false;
};

}  // namespace dv::qt
