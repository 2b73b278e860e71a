// Test support for the sales tests: hand-built INVOL pages and line slots, written from the
// page layout without the record classes, and a recording stand-in for the event log.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/event_log.h"
#include "sampledata/record_builder.h"
#include "sampledata/sales_data.h"

namespace dv::sales_test {

inline constexpr int32_t kInvolLength = 512;  // eight slots a page

// A line slot (44 bytes): code, part number, dash codes, description, quantity in tenths, net
// price and cost in cents.
inline std::string Slot(std::string_view code, std::string_view part, std::string_view dashes,
                        std::string_view description, int32_t tenths, int32_t net, int32_t cost) {
    using sample::TextSet;
    return sample::RecordBuilder(44)
        .Text(1, code, 2, TextSet::kNames)
        .Text(3, part, 12, TextSet::kNames)
        .Text(15, dashes, 2, TextSet::kNames)
        .Text(17, description, 14, TextSet::kNames)
        .Bin(31, 'J', tenths)
        .Bin(33, 'K', net)
        .Bin(36, 'D', cost)
        .str();
}

// A remark slot, as the sample writer writes it.
inline std::string RemarkSlot(std::string_view text) {
    return sample::InvolRemarkSlot(text);
}

// A page: its number, its link (or page 1's date number), its slots; slot_count overrides the
// count at 146 when not negative.
inline sample::RecordBuilder Page(int32_t page, int32_t link, const std::vector<std::string>& slots,
                                  int32_t slot_count = -1, int32_t status = 1) {
    sample::RecordBuilder b(kInvolLength);
    b.Bin(1, 'J', status)
        .Bin(110, 'K', link)
        .Bin(115, 'B', page)
        .Bin(146, 'B', slot_count >= 0 ? slot_count : static_cast<int32_t>(slots.size()));
    for (size_t j = 0; j < slots.size(); ++j) b.Raw(161 + 44 * static_cast<int32_t>(j), slots[j]);
    return b;
}

// Records the event-log entries while it lives.
class RecordedEvents : public EventLog {
  public:
    RecordedEvents() : previous_(&AppEventLog()) { SetAppEventLog(this); }
    ~RecordedEvents() override { SetAppEventLog(previous_); }
    RecordedEvents(const RecordedEvents&) = delete;
    RecordedEvents& operator=(const RecordedEvents&) = delete;

    void Write(const std::string& entry) override { entries_.push_back(entry); }
    std::vector<std::string>& entries() { return entries_; }
    void Clear() { entries_.clear(); }

  private:
    EventLog* previous_;
    std::vector<std::string> entries_;
};

}  // namespace dv::sales_test
