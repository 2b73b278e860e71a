#include "shell/qt/help_window.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace dv::qt {

HelpWindow::HelpWindow(const QString& path, QWidget* parent)
    : QDialog(parent), browser_(new QTextBrowser(this)) {
    setObjectName(kHelpWindowName);
    setWindowTitle("Dashvane Help");
    browser_->setOpenExternalLinks(false);
    browser_->setSource(QUrl::fromLocalFile(path));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    layout->addWidget(buttons);
    resize(720, 560);
}

}  // namespace dv::qt
