#include "sales/detail_events.h"

#include <syslog.h>

#include "engine/dates.h"
#include "shell/clock_text.h"

namespace dv {
namespace {

void Syslog(const std::string& entry) {
    openlog("Dashvane", LOG_PID, LOG_USER);
    syslog(LOG_ERR, "%s", entry.c_str());
    closelog();
}

DetailEventSink g_sink = &Syslog;

}  // namespace

std::string DetailEventText(std::string_view label, const BasicError& error) {
    const Date now = Now();
    std::string text = ShortDateText(now);
    text += " : ";
    text += ShortTimeText(now);
    text += " : ";
    text += label;
    text += std::to_string(error.number());
    text += "  ";
    text += error.description();
    text += "  ";
    text += error.source();
    return text;
}

void WriteDetailEvent(const std::string& entry) {
    g_sink(entry);
}

DetailEventSink SetDetailEventSink(DetailEventSink sink) {
    DetailEventSink old = g_sink;
    g_sink = sink != nullptr ? sink : &Syslog;
    return old == &Syslog ? nullptr : old;
}

}  // namespace dv
