#include "shell/qt/dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
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

bool QtDialogs::AskLogin(QWidget* parent, const QString& server, const QString& share,
                         LoginAnswer& answer) {
    if (parent == nullptr) parent = QApplication::activeWindow();
    QDialog dialog(parent);
    if (parent == nullptr) dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog.setObjectName("loginDialog");
    dialog.setWindowTitle("Log in to " + server);
    auto* form = new QFormLayout(&dialog);
    form->addRow(new QLabel("The server " + server + " asks for a login to its share " + share +
                            ".\nIt is kept until the program ends."));
    auto* user = new QLineEdit(answer.user, &dialog);
    auto* password = new QLineEdit(&dialog);
    password->setEchoMode(QLineEdit::Password);
    auto* domain = new QLineEdit(answer.domain, &dialog);
    form->addRow("User name:", user);
    form->addRow("Password:", password);
    form->addRow("Domain:", domain);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted || user->text().isEmpty()) return false;
    answer.user = user->text();
    answer.password = password->text();
    answer.domain = domain->text();
    return true;
}

}  // namespace dv::qt
