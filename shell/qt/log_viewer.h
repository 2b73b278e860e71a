// The log viewer frmViewLog: the operation log's path and its whole text in a read-only
// fixed-pitch box, "&Print" (through the printer dialog) and "E&xit". A new viewer is made for
// every opening, so it always shows the file as it is now. When the file can't be read, or the
// program could not write to it, a line above the box says so.
#pragma once

#include <QDialog>
#include <QFont>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace dv::qt {

class Dialogs;

// A font whose characters all advance by the same width, whatever fonts are installed: the
// system's fixed font when it really is one (fontconfig may name a font "monospace" whose
// widths differ, or that Qt does not take as fixed), else the first of a list of known
// fixed-pitch families (DejaVu Sans Mono comes with the build's packages) that is.
QFont FixedPitchFont();

class LogViewer : public QDialog {
    Q_OBJECT

  public:
    LogViewer(Dialogs& dialogs, const std::string& log_path, QWidget* parent = nullptr);

    QPlainTextEdit* text() const { return text_; }
    QLabel* pathLabel() const { return path_; }
    // Says, naming the path and the system's reason, when the log can't be read or the program
    // could not write its last line; hidden when there is nothing to say.
    QLabel* problemLabel() const { return problem_; }
    QPushButton* printButton() const { return print_; }
    QPushButton* exitButton() const { return exit_; }

    // cmdPrint: the printer dialog, then the whole text to the printer. A cancel, or a printer
    // that can't be used, prints nothing and shows nothing.
    void Print();

  private:
    Dialogs& dialogs_;
    QLabel* path_;
    QLabel* problem_;
    QPlainTextEdit* text_;
    QPushButton* print_;
    QPushButton* exit_;
};

}  // namespace dv::qt
