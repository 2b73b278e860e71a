// Calendar dates, the dealer's three packed date forms, the engine's clock and its table of
// system values.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace dv {

// A date with a time of day. Packing uses only the day, except the empty-date test, which
// compares the whole value.
struct Date {
    std::chrono::sys_days day{};
    std::chrono::seconds time{0};

    friend bool operator==(const Date&, const Date&) = default;
};

// 12/31/67: day number n is this date plus n days.
inline constexpr std::chrono::sys_days kBaseDate{std::chrono::year{1967} / 12 / 31};

Date MakeDate(int year, unsigned month, unsigned day);
// 1/1/68, the empty date: what every failed unpacking gives, and what views show as blank.
Date EmptyDate();
bool IsEmptyDate(const Date& d);
// Days from the base date to the date's day.
int32_t DayNumber(const Date& d);
// The year of a two-digit year: 00-29 are 2000-2029, 30-99 are 1930-1999.
int TwoDigitYear(int yy);
// m/d/yyyy, the form the views and tests write dates in.
std::string FormatDate(const Date& d);

// Decodes a date field; never fails.
Date UnPackDate(std::string_view code, std::string_view data, int32_t position);
// Writes a date field in place; raises what Pack raises.
void PackDate(std::string_view code, std::string& data, int32_t position, const Date& date);

// The arguments of the engine's six-way Stma member. Mode 10 reads a and text; mode 11 reads
// a and writes b, c, d and date; mode 12 reads b, c, d and writes a.
struct StmaArgs {
    int32_t a = 0;
    std::string text;
    int32_t b = 0;
    int32_t c = 0;
    int32_t d = 0;
    Date date{};
};
void Stma(int32_t mode, StmaArgs& args);

// The engine's clock: the local date and time, replaceable so that a test can fix "today".
using ClockFn = std::function<Date()>;
void SetClock(ClockFn clock);  // an empty function restores the computer's clock
Date Now();

// The system values: 1 day, 2 month, 3 year, 4 terminal number, 28 mmddyy, 128 yymmdd,
// 152 today's day number; anything else 0.
int32_t Sys(int32_t code);

}  // namespace dv
