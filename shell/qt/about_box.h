// The About box frmAbout: the product's icon, name, version and legal notice, "OK" and
// "&Sys Info". The system-information tool is the first of kSystemInfoTools found on PATH;
// without one (or when it does not start) the box says "System Information Is Unavailable At
// This Time".
#pragma once

#include <QDialog>
#include <QString>
#include <array>

class QLabel;
class QPushButton;

namespace dv::qt {

class Dialogs;

// The desktop's system-information programs, in the order they are looked for.
inline constexpr std::array<const char*, 4> kSystemInfoTools = {
    "hardinfo", "hardinfo2", "kinfocenter", "gnome-system-monitor"};

// The full path of the first tool on PATH; empty when there is none.
QString FindSystemInfoTool();

class AboutBox : public QDialog {
    Q_OBJECT

  public:
    explicit AboutBox(Dialogs& dialogs, QWidget* parent = nullptr);

    QLabel* titleLabel() const { return title_; }
    QLabel* versionLabel() const { return version_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* sysInfoButton() const { return sys_info_; }

    // cmdSysInfo: starts the tool or says that it is unavailable.
    void StartSysInfo();

  private:
    Dialogs& dialogs_;
    QLabel* title_;
    QLabel* version_;
    QPushButton* ok_;
    QPushButton* sys_info_;
};

}  // namespace dv::qt
