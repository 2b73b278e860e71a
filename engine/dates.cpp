#include "engine/dates.h"

#include <ctime>

#include "engine/codec.h"
#include "engine/error.h"
#include "engine/numeric.h"
#include "engine/packed_text.h"
#include "engine/system.h"

namespace dv {
namespace {

using namespace std::chrono;

ClockFn g_clock;

Date ComputerNow() {
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    Date d = MakeDate(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                      static_cast<unsigned>(local.tm_mday));
    d.time = seconds(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
    return d;
}

// A date from mmddyy, or false when it is no calendar date.
bool FromMmddyy(int64_t n, Date& out) {
    if (n < 0 || n > 999999) return false;
    const int yy = static_cast<int>(n % 100);
    const unsigned dd = static_cast<unsigned>((n / 100) % 100);
    const unsigned mm = static_cast<unsigned>(n / 10000);
    const year_month_day ymd{year{TwoDigitYear(yy)}, month{mm}, day{dd}};
    if (!ymd.ok()) return false;
    out = Date{sys_days{ymd}, seconds{0}};
    return true;
}

Date FromDayNumber(int64_t n) {
    return n == 0 ? EmptyDate() : Date{kBaseDate + days{n}, seconds{0}};
}

year_month_day Ymd(const Date& d) {
    return year_month_day{d.day};
}

}  // namespace

Date MakeDate(int y, unsigned m, unsigned d) {
    return Date{sys_days{year{y} / month{m} / day{d}}, seconds{0}};
}

Date EmptyDate() {
    return MakeDate(1968, 1, 1);
}

bool IsEmptyDate(const Date& d) {
    return d == EmptyDate();
}

int32_t DayNumber(const Date& d) {
    return static_cast<int32_t>((d.day - kBaseDate).count());
}

int TwoDigitYear(int yy) {
    return yy < 30 ? 2000 + yy : 1900 + yy;
}

std::string FormatDate(const Date& d) {
    const auto ymd = Ymd(d);
    return std::to_string(static_cast<unsigned>(ymd.month())) + "/" +
           std::to_string(static_cast<unsigned>(ymd.day())) + "/" +
           std::to_string(static_cast<int>(ymd.year()));
}

Date UnPackDate(std::string_view code, std::string_view data, int32_t position) {
    Date result = EmptyDate();
    // A field outside the record reads as the empty date; checked first so that the short
    // records of a view's walk cost no exception per date.
    const int64_t width = (code == "C" || code == "J") ? 2 : 3;
    if (position < 1 || position + width - 1 > static_cast<int64_t>(data.size())) return result;
    try {
        if (code == "C" || code == "J") {
            result = FromDayNumber(Unpack("C", data, position));
        } else if (code == "D" || code == "K") {
            FromMmddyy(Unpack("D", data, position), result);
        } else if (code == "R") {
            const int64_t n = Unpack("D", data, position);
            FromMmddyy((n % 10000) * 100 + n / 10000, result);
        }
    } catch (const BasicError&) {
        // A field outside the record reads as the empty date.
    }
    return result;
}

void PackDate(std::string_view code, std::string& data, int32_t position, const Date& date) {
    const auto ymd = Ymd(date);
    const int32_t yy = static_cast<int32_t>(static_cast<int>(ymd.year()) % 100);
    const int32_t mm = static_cast<int32_t>(static_cast<unsigned>(ymd.month()));
    const int32_t dd = static_cast<int32_t>(static_cast<unsigned>(ymd.day()));
    if (code == "C" || code == "J") {
        Pack("C", data, IsEmptyDate(date) ? 0 : (DayNumber(date) & 0xFFFF), position);
    } else if (code == "D" || code == "K") {
        Pack("D", data, mm * 10000 + dd * 100 + yy, position);
    } else if (code == "R") {
        Pack("D", data, yy * 10000 + mm * 100 + dd, position);
    }
}

void Stma(int32_t mode, StmaArgs& args) {
    switch (mode) {
        case 10:
            SwitchAlphabet(args.a, args.text);
            break;
        case 11: {
            args.date = FromDayNumber(args.a);
            const auto ymd = Ymd(args.date);
            args.b = static_cast<int32_t>(static_cast<unsigned>(ymd.month()));
            args.c = static_cast<int32_t>(static_cast<unsigned>(ymd.day()));
            args.d = static_cast<int32_t>(static_cast<int>(ymd.year()) % 100);
            break;
        }
        case 12: {
            if (args.b == 1 && args.c == 1 && args.d == 68) {
                args.a = 0;
                break;
            }
            if (args.b < 1 || args.c < 1 || args.d < 0 || args.d > 99)
                RaisePlatform(err::kTypeMismatch, "Stma");
            const year_month_day ymd{year{TwoDigitYear(args.d)},
                                     month{static_cast<unsigned>(args.b)},
                                     day{static_cast<unsigned>(args.c)}};
            if (!ymd.ok()) RaisePlatform(err::kTypeMismatch, "Stma");
            args.a = static_cast<int32_t>((sys_days{ymd} - kBaseDate).count());
            break;
        }
        default:
            break;
    }
}

void SetClock(ClockFn clock) {
    g_clock = std::move(clock);
}

Date Now() {
    return g_clock ? g_clock() : ComputerNow();
}

int32_t Sys(int32_t code) {
    if (code == 4) {
        if (!mSystem) RaisePlatform(err::kNoObject, "Sys");
        return ParseLong(mSystem->TerminalID, "Sys");
    }
    const auto ymd = Ymd(Now());
    const int32_t dd = static_cast<int32_t>(static_cast<unsigned>(ymd.day()));
    const int32_t mm = static_cast<int32_t>(static_cast<unsigned>(ymd.month()));
    const int32_t yyyy = static_cast<int32_t>(static_cast<int>(ymd.year()));
    switch (code) {
        case 1:
            return dd;
        case 2:
            return mm;
        case 3:
            return yyyy;
        case 28:
            return mm * 10000 + dd * 100 + yyyy % 100;
        case 128:
            return (yyyy % 100) * 10000 + mm * 100 + dd;
        case 152: {
            StmaArgs args;
            args.b = mm;
            args.c = dd;
            args.d = yyyy % 100;
            Stma(12, args);
            return args.a;
        }
        default:
            return 0;
    }
}

}  // namespace dv
