#include "shell/qt/log_viewer.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include "shell/operation_log.h"
#include "shell/qt/dialogs.h"
#include "shell/qt/text.h"
#include "shell/shell_ui.h"

namespace dv::qt {
namespace {

// Whether every character of a sample of narrow, wide and blank ones advances equally.
bool AdvancesEvenly(const QFont& font) {
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(QLatin1Char('W'));
    if (width <= 0) return false;
    for (const char c : {'i', 'l', 'm', '.', ' ', '0', '*', ':'}) {
        if (metrics.horizontalAdvance(QLatin1Char(c)) != width) return false;
    }
    return true;
}

}  // namespace

QFont FixedPitchFont() {
    const QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (AdvancesEvenly(system)) return system;
    for (const char* family : {"DejaVu Sans Mono", "Liberation Mono", "Noto Mono", "Noto Sans Mono",
                               "Courier New", "Nimbus Mono PS", "FreeMono"}) {
        QFont font(system);  // the system's size
        font.setFamily(QString::fromLatin1(family));
        font.setStyleHint(QFont::TypeWriter);
        if (QFontInfo(font).family() == QLatin1String(family) && AdvancesEvenly(font)) return font;
    }
    // No known family: ask the font matcher for any fixed-pitch one.
    QFont any(system);
    any.setFamily(QString());
    any.setStyleHint(QFont::TypeWriter);
    any.setFixedPitch(true);
    return AdvancesEvenly(any) ? any : system;
}

LogViewer::LogViewer(Dialogs& dialogs, const std::string& log_path, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      path_(new QLabel(this)),
      problem_(new QLabel(this)),
      text_(new QPlainTextEdit(this)),
      print_(new QPushButton("&Print", this)),
      exit_(new QPushButton("E&xit", this)) {
    setObjectName("frmViewLog");
    setWindowTitle(ToQ(kLogViewerCaption));
    setModal(true);
    path_->setObjectName("Label1");
    text_->setObjectName("rtb1");
    print_->setObjectName("cmdPrint");
    exit_->setObjectName("cmdExit");

    path_->setText(ToQ(log_path));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(FixedPitchFont());
    problem_->setObjectName("lblProblem");
    problem_->setWordWrap(true);
    problem_->setStyleSheet("color: rgb(255, 0, 0);");
    problem_->setText(ToQ(LogFileProblems(log_path)));
    problem_->setVisible(!problem_->text().isEmpty());
    // The file's lines end in CR LF; a missing or unreadable file shows an empty box.
    QString contents = ToQ(ReadLogText(log_path));
    contents.replace("\r\n", "\n");
    contents.replace('\r', '\n');
    text_->setPlainText(contents);
    text_->moveCursor(QTextCursor::End);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print_);
    buttons->addWidget(exit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(path_);
    layout->addWidget(problem_);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);
    resize(760, 480);

    connect(print_, &QPushButton::clicked, this, &LogViewer::Print);
    connect(exit_, &QPushButton::clicked, this, &QDialog::accept);
}

void LogViewer::Print() {
    QPrinter printer(QPrinter::HighResolution);
    if (!dialogs_.ChoosePrinter(this, printer)) return;
    if (!printer.isValid()) return;
    QTextDocument document;
    document.setDefaultFont(text_->font());
    document.setPlainText(text_->toPlainText());
    document.print(&printer);
}

}  // namespace dv::qt
