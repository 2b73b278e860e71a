// The day the demo data is dated back from. Every date the writer lays out (a part's last sale,
// an invoice, a unit's arrival) is counted back from it, so that data written today looks
// current to the views, which compare with today. Tests keep the fixed day so that their
// figures never move.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

namespace dv::sample {

struct CalendarDay {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const CalendarDay&) const = default;
};

// The day of a plan that sets none, and of every test's data.
inline constexpr CalendarDay kFixedAsOf{2024, 11, 15};

// The as-of day of the data being written: the one a ScopedAsOf set, else kFixedAsOf.
CalendarDay AsOf();
std::chrono::sys_days AsOfDays();

// A day the writer lays out, as its year, month and day.
struct Day {
    int y;
    int m;
    int d;
    int32_t Mmddyy() const { return m * 10000 + d * 100 + y % 100; }
};

// The day `back` days before the as-of day (after it for a negative back).
Day DaysBack(int64_t back);

// Sets AsOf() for its lifetime (one writer run), then puts the earlier day back.
class ScopedAsOf {
  public:
    explicit ScopedAsOf(CalendarDay day);
    ~ScopedAsOf();
    ScopedAsOf(const ScopedAsOf&) = delete;
    ScopedAsOf& operator=(const ScopedAsOf&) = delete;

  private:
    CalendarDay previous_;
};

// YYYY-MM-DD, a real day of the years 1970 to 2099 (the dealer's files keep two-digit years
// and day counts from 1968); none for anything else.
std::optional<CalendarDay> ParseCalendarDay(std::string_view text);
// Today in the local time zone.
CalendarDay Today();

}  // namespace dv::sample
