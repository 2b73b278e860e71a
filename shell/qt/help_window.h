// The program's own help window: the help page shown in a text browser, so Help > Dashvane Help
// works on any machine, with or without a desktop's document opener.
#pragma once

#include <QDialog>

class QTextBrowser;

namespace dv::qt {

inline constexpr const char* kHelpWindowName = "frmHelp";

class HelpWindow : public QDialog {
  public:
    // Shows the page at path; links inside it open in the same window.
    HelpWindow(const QString& path, QWidget* parent = nullptr);
    QTextBrowser& browser() const { return *browser_; }

  private:
    QTextBrowser* browser_;
};

}  // namespace dv::qt
