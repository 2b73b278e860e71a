#include "shell/qt/dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QUrl>

namespace dv::qt {

void QtDialogs::Message(QWidget* parent, const QString& title, const QString& text,
                        DialogIcon icon) {
    // A message without a window of its own stands over the active one (during the start-up,
    // the splash, which stays on top).
    if (parent == nullptr) parent = QApplication::activeWindow();
    QMessageBox box(parent);
    if (parent == nullptr) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setWindowTitle(title);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
        case DialogIcon::kInformation:
            box.setIcon(QMessageBox::Information);
            break;
        case DialogIcon::kCritical:
            box.setIcon(QMessageBox::Critical);
            break;
        case DialogIcon::kNone:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool QtDialogs::ChoosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::RunModal(QDialog& dialog) {
    dialog.exec();
}

bool QtDialogs::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool QtDialogs::StartProgram(const QString& program) {
    return QProcess::startDetached(program, {});
}

}  // namespace dv::qt
