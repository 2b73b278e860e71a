// The message boxes the engine shows. The engine hands each message to the installed sink:
// the desktop program shows a dialog, the headless run writes to stderr, tests record them.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dv::platform {

// The title of message boxes that have no title of their own.
inline constexpr std::string_view kApplicationTitle = "VODOD2";

enum class MessageIcon { kNone, kCritical, kInformation };

struct Message {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::kNone;
};

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Shows the message and returns when the user has dismissed it (an OK button only).
    virtual void Show(const Message& message) = 0;
};

// Writes "title: text" lines to stderr; the sink in force until another is installed.
class StderrMessageSink : public MessageSink {
  public:
    void Show(const Message& message) override;
};

// Keeps every message, for tests.
class RecordingMessageSink : public MessageSink {
  public:
    void Show(const Message& message) override { messages.push_back(message); }
    std::vector<Message> messages;
};

// Installs sink (null restores the stderr sink) and returns the one it replaces.
std::shared_ptr<MessageSink> SetMessageSink(std::shared_ptr<MessageSink> sink);

void ShowMessage(std::string title, std::string text, MessageIcon icon = MessageIcon::kNone);

}  // namespace dv::platform
