#include "sampledata/as_of.h"

#include <ctime>
#include <string>

namespace dv::sample {
namespace {

CalendarDay g_as_of = kFixedAsOf;

}  // namespace

CalendarDay AsOf() {
    return g_as_of;
}

std::chrono::sys_days AsOfDays() {
    using namespace std::chrono;
    return sys_days{year{g_as_of.year} / static_cast<unsigned>(g_as_of.month) /
                    static_cast<unsigned>(g_as_of.day)};
}

Day DaysBack(int64_t back) {
    using namespace std::chrono;
    const year_month_day ymd{AsOfDays() - days{back}};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

ScopedAsOf::ScopedAsOf(CalendarDay day) : previous_(g_as_of) {
    g_as_of = day;
}

ScopedAsOf::~ScopedAsOf() {
    g_as_of = previous_;
}

std::optional<CalendarDay> ParseCalendarDay(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    for (size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    const std::string s(text);
    const CalendarDay d{std::stoi(s.substr(0, 4)), std::stoi(s.substr(5, 2)),
                        std::stoi(s.substr(8, 2))};
    using namespace std::chrono;
    const year_month_day ymd{year{d.year}, month{static_cast<unsigned>(d.month)},
                             day{static_cast<unsigned>(d.day)}};
    if (!ymd.ok() || d.year < 1970 || d.year > 2099) return std::nullopt;
    return d;
}

CalendarDay Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace dv::sample
