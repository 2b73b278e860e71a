#include "platform/messages.h"

#include <cstdio>

namespace dv::platform {
namespace {

std::shared_ptr<MessageSink>& Sink() {
    static std::shared_ptr<MessageSink> sink = std::make_shared<StderrMessageSink>();
    return sink;
}

}  // namespace

void StderrMessageSink::Show(const Message& message) {
    std::fprintf(stderr, "%s: %s\n", message.title.c_str(), message.text.c_str());
}

std::shared_ptr<MessageSink> SetMessageSink(std::shared_ptr<MessageSink> sink) {
    std::shared_ptr<MessageSink> old = Sink();
    Sink() = sink ? std::move(sink) : std::make_shared<StderrMessageSink>();
    return old;
}

void ShowMessage(std::string title, std::string text, MessageIcon icon) {
    const std::shared_ptr<MessageSink> sink = Sink();  // stays alive if Show installs another
    sink->Show(Message{std::move(title), std::move(text), icon});
}

}  // namespace dv::platform
