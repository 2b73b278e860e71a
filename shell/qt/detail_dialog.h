// The desktop side of the detail forms (shell/detail_form.h): one generic modal dialog shows any
// DetailForm (its controls placed as its layout description says, shell/form_layout.h, or
// without one its labels in rows of label_columns(), its choice lists, its grids in the shared
// grid widget), and QtDetailHost runs it through the Dialogs seam, so tests drive it like every
// other dialog. A header or button of one of the form's grids and a change of one of its lists
// go through the controller's doors (shell/event_doors.h) to the form's handlers; an error there
// is trapped at the door, and the dialog stays open. A dialog opens with the focus in its first
// grid; one opened from another stands offset from it.
#pragma once

#include <QDialog>
#include <string>
#include <string_view>
#include <vector>

#include "shell/detail_form.h"
#include "shell/event_doors.h"
#include "shell/qt/form_placement.h"

class QComboBox;
class QGroupBox;
class QLabel;

namespace dv::qt {

class Dialogs;
class GridWidget;

class DetailDialog : public QDialog {
    Q_OBJECT

  public:
    DetailDialog(DetailForm& form, DetailHost& host, EventDoors& doors, QWidget* parent = nullptr);

    DetailForm& form() const { return form_; }
    // The widgets by control name, null when the form has none of that name (or does not show
    // it); a label that titles a framed group is that group.
    QLabel* label(std::string_view name) const;
    QGroupBox* group(std::string_view title) const { return placement_.group(title); }
    GridWidget* grid(std::string_view name) const;
    QComboBox* choice(std::string_view name) const;

    // The size the dialog opens at on a screen whose available room is available (none: no
    // bound): at least 820 wide, as wide as its grids' columns want, a described form tall enough
    // for its groups; never larger than the room.
    QSize OpeningSize(const QRect& available) const;

  private:
    // Shows the labels' and lists' models again (after a handler changed them).
    void ShowModels();

    DetailForm& form_;
    DetailHost& host_;
    EventDoors& doors_;
    std::vector<QLabel*> labels_;      // by the form's label index; null for one not shown
    std::vector<QComboBox*> choices_;  // by the form's choice index
    std::vector<GridWidget*> grids_;
    FormPlacement placement_;
    bool showing_ = false;  // ShowModels is setting the lists: no change events
};

// The program's detail host: each form in a DetailDialog, run modally through dialogs above
// parent, its events going through doors; messages in a message box with the application's
// title.
class QtDetailHost : public DetailHost {
  public:
    QtDetailHost(EventDoors& doors, Dialogs& dialogs, QWidget* parent)
        : doors_(doors), dialogs_(dialogs), parent_(parent) {}
    void Message(const std::string& text) override;

  protected:
    void Present(DetailForm& form) override;

  private:
    EventDoors& doors_;
    Dialogs& dialogs_;
    QWidget* parent_;
    std::vector<QWidget*> open_;  // the dialogs shown, the innermost last
};

}  // namespace dv::qt
