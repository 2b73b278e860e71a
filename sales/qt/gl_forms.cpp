#include "sales/qt/gl_forms.h"

#include <QAbstractItemView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>
#include <memory>
#include <string_view>

#include "platform/messages.h"
#include "sales/views/gl_views.h"
#include "shell/qt/dialogs.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/text.h"
#include "shell/qt/view_form.h"

namespace dv::qt {
namespace {

constexpr std::string_view kSetupForm = "frmSetup";
const char* const kMoveCaptions[] = {"Move Selected ", "Move All", "Move Selected", "Move All"};

// Runs frmSetup modally through the program's dialogs, its events through the doors.
class QtPickerHost : public AccountPickerHost {
  public:
    explicit QtPickerHost(const FormContext& context)
        : doors_(context.doors), dialogs_(context.dialogs), parent_(context.parent) {}
    void Run(AccountPicker& picker) override {
        AccountSetupDialog dialog(picker, doors_, parent_);
        if (!picker.error_message().empty())
            dialogs_.Message(parent_, ToQ(platform::kApplicationTitle),
                             QString::fromStdString(picker.error_message()), DialogIcon::kNone);
        dialogs_.RunModal(dialog);
        if (picker.closed() == AccountPicker::Close::kOpen) picker.CloseBox();
    }

  private:
    EventDoors& doors_;
    Dialogs& dialogs_;
    QWidget* parent_;
};

}  // namespace

AccountSetupDialog::AccountSetupDialog(AccountPicker& picker, EventDoors& doors, QWidget* parent)
    : QDialog(parent), picker_(picker), doors_(doors) {
    setObjectName("frmSetup");
    setWindowTitle("Set up display accounts");
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    const QString grid_captions[2] = {QString::fromStdString(picker.available_caption()),
                                      QStringLiteral("Account to Display")};
    auto* buttons = new QVBoxLayout;
    for (int i = 0; i < 2; ++i) {
        auto* column = new QVBoxLayout;
        captions_[i] = new QLabel(grid_captions[i], this);
        grids_[i] = new GridWidget(picker.grid(i), this);
        grids_[i]->setObjectName(QStringLiteral("grdA(%1)").arg(i));
        grids_[i]->setSelectionMode(QAbstractItemView::ExtendedSelection);
        grids_[i]->setSelectionBehavior(QAbstractItemView::SelectRows);
        grids_[i]->setMinimumWidth(330);
        // The picker keeps the selection in the order the user made it.
        connect(grids_[i]->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, i](const QItemSelection& selected, const QItemSelection& deselected) {
                    if (moving_) return;
                    const int rows = picker_.grid(i).RowCount();
                    for (const QModelIndex& x : deselected.indexes())
                        if (x.column() == 0 && x.row() < rows) picker_.Select(i, x.row(), false);
                    for (const QModelIndex& x : selected.indexes())
                        if (x.column() == 0 && x.row() < rows) picker_.Select(i, x.row());
                });
        column->addWidget(captions_[i]);
        column->addWidget(grids_[i]);
        row->addLayout(column);
        if (i == 0) row->addLayout(buttons);
    }
    buttons->addStretch();
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(kMoveCaptions[i], this);
        b->setObjectName(QStringLiteral("cmdMove(%1)").arg(i));
        connect(b, &QPushButton::clicked, this, [this, i] {
            moving_ = true;
            doors_.FormEvent(kSetupForm, "cmdMove_Click", [&] { picker_.Move(i); });
            for (GridWidget* g : grids_) {
                g->clearSelection();
                g->Sync();
            }
            picker_.ClearSelection(0);
            picker_.ClearSelection(1);
            moving_ = false;
        });
        buttons->addWidget(b);
        moves_.push_back(b);
    }
    buttons->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    done_ = new QPushButton("&Done", this);
    done_->setObjectName("cmdDone");
    cancel_ = new QPushButton("&Cancel", this);
    cancel_->setObjectName("cmdCancel");
    bottom->addWidget(done_);
    bottom->addWidget(cancel_);
    layout->addLayout(bottom);
    connect(done_, &QPushButton::clicked, this, [this] {
        doors_.FormEvent(kSetupForm, "cmdDone_Click", [&] { picker_.Done(); });
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        doors_.FormEvent(kSetupForm, "cmdCancel_Click", [&] { picker_.Cancel(); });
        QDialog::reject();
    });
    // Tab goes as the controls stand: the available accounts, the move buttons, the accounts to
    // display, Done and Cancel.
    QWidget* order[] = {grids_[0], moves_[0], moves_[1], moves_[2],
                        moves_[3], grids_[1], done_,     cancel_};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    grids_[0]->setFocus();
    resize(860, 420);
}

void AccountSetupDialog::reject() {
    // Escape or the window's close box: nothing stored.
    if (picker_.closed() == AccountPicker::Close::kOpen) picker_.CloseBox();
    QDialog::reject();
}

QtViewHooks GLQtHooks() {
    QtViewHooks hooks;
    hooks.make_form = [](View& view, const FormContext& context) -> QWidget* {
        if (auto* gl = dynamic_cast<GLView*>(&view))
            gl->SetPickerHost(std::make_unique<QtPickerHost>(context));
        return new ViewForm(view, context);
    };
    return hooks;
}

}  // namespace dv::qt
