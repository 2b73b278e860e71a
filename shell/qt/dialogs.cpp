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

std::unique_ptr<QDialog> NewLoginDialog(QWidget* parent, const LoginQuestion& question,
                                        const LoginAnswer& answer) {
    auto dialog = std::make_unique<QDialog>(parent);
    if (parent == nullptr) dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog->setObjectName("loginDialog");
    dialog->setWindowTitle("Log in to " + question.server);
    auto* form = new QFormLayout(dialog.get());
    // Why it asks stands between the question and the fields: a login refused, a share refused
    // to a login the server took, or a credentials file left unused, each in its own line.
    QString text =
        "The server " + question.server + " asks for a login to its share " + question.share + ".";
    if (!question.notes.isEmpty()) text += "\n" + question.notes;
    text += "\nA login typed in here is kept until the program ends.";
    auto* label = new QLabel(text, dialog.get());
    label->setObjectName("question");
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(label);
    auto* user = new QLineEdit(answer.user, dialog.get());
    user->setObjectName("user");
    auto* password = new QLineEdit(dialog.get());
    password->setObjectName("password");
    password->setEchoMode(QLineEdit::Password);
    auto* domain = new QLineEdit(answer.domain, dialog.get());
    domain->setObjectName("domain");
    form->addRow("User name:", user);
    form->addRow("Password:", password);
    form->addRow("Domain:", domain);
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog.get());
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog.get(), &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog.get(), &QDialog::reject);
    form->addRow(buttons);
    // The field to type into first: the password when the user name is known.
    (answer.user.isEmpty() ? user : password)->setFocus();
    return dialog;
}

bool QtDialogs::AskLogin(QWidget* parent, const LoginQuestion& question, LoginAnswer& answer) {
    if (parent == nullptr) parent = QApplication::activeWindow();
    const std::unique_ptr<QDialog> dialog = NewLoginDialog(parent, question, answer);
    const auto* user = dialog->findChild<QLineEdit*>("user");
    const auto* password = dialog->findChild<QLineEdit*>("password");
    const auto* domain = dialog->findChild<QLineEdit*>("domain");
    if (dialog->exec() != QDialog::Accepted || user->text().isEmpty()) return false;
    answer.user = user->text();
    answer.password = password->text();
    answer.domain = domain->text();
    return true;
}

}  // namespace dv::qt
