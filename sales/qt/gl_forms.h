// The desktop side of the G/L views: the account setup dialog frmSetup over the core's account
// picker, and the hooks that give frmGLA and frmGLL a picker host running that dialog through the
// program's Dialogs. The views themselves show in the generic form (grid, labels, the
// "&Select Accounts" button).
#pragma once

#include <QDialog>
#include <vector>

#include "sales/views/gl_accounts.h"
#include "shell/event_doors.h"
#include "shell/qt/qt_views.h"

class QLabel;
class QPushButton;

namespace dv::qt {

class Dialogs;
class GridWidget;

// frmSetup, "Set up display accounts": the available grid on the left, "Account to Display" on
// the right, the four move buttons between them, Done and Cancel below. Closing it any other way
// is the close box: nothing stored, and the view fills again. Its buttons' clicks go through the
// controller's doors.
class AccountSetupDialog : public QDialog {
    Q_OBJECT

  public:
    AccountSetupDialog(AccountPicker& picker, EventDoors& doors, QWidget* parent = nullptr);

    GridWidget* grid(int index) const { return grids_[index ? 1 : 0]; }
    QLabel* gridCaption(int index) const { return captions_[index ? 1 : 0]; }
    QPushButton* moveButton(int index) const { return moves_[static_cast<size_t>(index)]; }
    QPushButton* doneButton() const { return done_; }
    QPushButton* cancelButton() const { return cancel_; }

    void reject() override;

  private:
    AccountPicker& picker_;
    EventDoors& doors_;
    GridWidget* grids_[2] = {nullptr, nullptr};
    QLabel* captions_[2] = {nullptr, nullptr};
    std::vector<QPushButton*> moves_;
    QPushButton* done_;
    QPushButton* cancel_;
    bool moving_ = false;
};

// The hooks of RegisterQtViews for frmGLA and frmGLL.
QtViewHooks GLQtHooks();

}  // namespace dv::qt
