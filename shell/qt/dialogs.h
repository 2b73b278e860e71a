// Everything the desktop program asks of the user or of the desktop goes through Dialogs: message
// boxes, the printer dialog, the login to the dealer's server, running a modal window, opening a
// document with the desktop's default handler and starting another program. QtDialogs does it for
// real; tests install a fake that records what was asked and answers at once.
#pragma once

#include <QString>
#include <memory>

class QDialog;
class QPrinter;
class QUrl;
class QWidget;

namespace dv::qt {

enum class DialogIcon { kNone, kInformation, kCritical };

// What the user typed into the login dialog.
struct LoginAnswer {
    QString user;
    QString password;
    QString domain;
};

// What the login dialog asks: the server, its share, and why it asks (sentences, one a line:
// the login the server refused, the share it refused to a login it accepted, a credentials file
// not used and the command that mends it).
struct LoginQuestion {
    QString server;
    QString share;
    QString notes;
};

// The login dialog (object name "loginDialog"): its question, then the fields "user",
// "password" and "domain", the user name and domain filled from answer.
std::unique_ptr<QDialog> NewLoginDialog(QWidget* parent, const LoginQuestion& question,
                                        const LoginAnswer& answer);

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A message box with an OK button; returns when it is dismissed.
    virtual void Message(QWidget* parent, const QString& title, const QString& text,
                         DialogIcon icon) = 0;
    // The printer dialog for printer; false when the user cancels it.
    virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer) = 0;
    // Runs dialog modally until it closes.
    virtual void RunModal(QDialog& dialog) = 0;
    // Opens a document or address with the desktop's default handler; false when none did.
    virtual bool OpenUrl(const QUrl& url) = 0;
    // Starts a program in a window of its own; false when it could not be started.
    virtual bool StartProgram(const QString& program) = 0;
    // Asks for a user name, a password and a domain to log in to the question's share, starting
    // from answer's user name and domain; false when the user cancels.
    virtual bool AskLogin(QWidget* parent, const LoginQuestion& question, LoginAnswer& answer) = 0;
};

class QtDialogs : public Dialogs {
  public:
    void Message(QWidget* parent, const QString& title, const QString& text,
                 DialogIcon icon) override;
    bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
    void RunModal(QDialog& dialog) override;
    bool OpenUrl(const QUrl& url) override;
    bool StartProgram(const QString& program) override;
    bool AskLogin(QWidget* parent, const LoginQuestion& question, LoginAnswer& answer) override;
};

}  // namespace dv::qt
