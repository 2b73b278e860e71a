#include "records/clock_text.h"

#include <cstdio>

namespace dv {

std::string ShortDateText(const Date& d) {
    return FormatDate(d);
}

std::string ShortTimeText(const Date& d) {
    const long long s = d.time.count();
    const int hours = static_cast<int>((s / 3600) % 24);
    const int minutes = static_cast<int>((s / 60) % 60);
    const int seconds = static_cast<int>(s % 60);
    const int h12 = hours % 12 == 0 ? 12 : hours % 12;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", h12, minutes, seconds,
                  hours < 12 ? "AM" : "PM");
    return buf;
}

std::string NowStamp() {
    const Date now = Now();
    return ShortDateText(now) + " " + ShortTimeText(now);
}

}  // namespace dv
