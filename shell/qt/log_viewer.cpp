#include "shell/qt/log_viewer.h"

#include <QFontDatabase>
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

LogViewer::LogViewer(Dialogs& dialogs, const std::string& log_path, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      path_(new QLabel(this)),
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
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
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
