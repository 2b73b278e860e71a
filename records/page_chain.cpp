#include "records/page_chain.h"

#include <bitset>
#include <cstdlib>

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/live_record.h"
#include "engine/logical.h"
#include "engine/packed_text.h"
#include "engine/record_fields.h"
#include "records/dashes.h"
#include "records/event_log.h"

namespace dv {
namespace {

[[noreturn]] void Damaged(const std::string& file, const std::string& what) {
    throw BasicError(err::kPageChain, "PageChain",
                     "Damaged page chain in file " + file + ": " + what);
}

}  // namespace

EnginePageSource::EnginePageSource(std::string file) : name_(std::move(file)) {
    file_ = RequireEngine("PageChain").LogicalOpen(std::string(name_));
    if (!file_) throw LogicalOpenError(name_, "PageChain");
}

int32_t EnginePageSource::LastRecord() {
    return file_->LastRecord;
}

std::string EnginePageSource::Read(int32_t record) {
    int16_t flag = 0;
    return RequireEngine("PageChain").LreadFile(file_, record, flag);
}

void WalkPageChain(PageSource& source, int32_t head,
                   const std::function<void(int32_t, const std::string&)>& visit,
                   const std::string* head_record, bool status_words) {
    const std::string& file = source.Name();
    std::bitset<256> pages_met;
    int32_t n = head;
    std::string record = head_record != nullptr ? *head_record : source.Read(n);
    if (status_words) CheckLiveRecord(record, file, n, "the first link of its chain");
    for (int32_t read = 1;; ++read) {
        visit(n, record);
        const int32_t page = Unpack("B", record, invol::kPagePosition);
        if (page < 2) return;
        if (pages_met.test(static_cast<size_t>(page)))
            Damaged(file, "page " + std::to_string(page) + " met twice (record " +
                              std::to_string(n) + ")");
        pages_met.set(static_cast<size_t>(page));
        if (read >= invol::kMaxPages)
            Damaged(file, "more than " + std::to_string(invol::kMaxPages) + " pages");
        const int32_t link = std::abs(Unpack("K", record, invol::kLinkPosition));
        if (link < 1 || link > source.LastRecord())
            Damaged(file, "page " + std::to_string(page) + " (record " + std::to_string(n) +
                              ") links to record " + std::to_string(link) + ", outside 1 to " +
                              std::to_string(source.LastRecord()));
        record = source.Read(link);
        if (status_words)
            CheckLiveRecord(record, file, link, "the link of record " + std::to_string(n));
        n = link;
    }
}

std::string PageChainBuilder::Label(const char* procedure) const {
    return std::string(policy_.builder) + " : " + procedure;
}

void PageChainBuilder::Begin() {
    error_ = false;
    first_error_.reset();
    pages_.fill(0);
    rows_.clear();
    totals_.fill(0);
}

void PageChainBuilder::Fail(const char* procedure, const BasicError& error) {
    last_entry_ = WriteEventLogError(Label(procedure), error);
    if (!first_error_) first_error_ = error;
    error_ = true;
}

template <typename Fn>
void PageChainBuilder::WithSource(Fn fn) {
    if (source_ != nullptr) {
        fn(*source_);
        return;
    }
    EnginePageSource engine(policy_.file);
    fn(engine);
}

void PageChainBuilder::GetDetail(int32_t head) {
    Begin();
    try {
        WithSource([head](PageSource& source) { source.Read(head); });
    } catch (const BasicError& e) {
        Fail("GetDetail", e);
        return;
    }
    WalkAndBuild(head);
}

void PageChainBuilder::WalkAndBuild(int32_t head) {
    if (policy_.name_alphabet) SwitchAlphabet(0, kNameSet);
    try {
        WithSource([this, head](PageSource& source) { BuildPage(source, head); });
    } catch (const BasicError& e) {
        Fail("BuildPage", e);
    }
    try {
        WithSource([this](PageSource& source) { BuildDetail(source); });
    } catch (const BasicError& e) {
        Fail("BuildDetail", e);
    }
}

void PageChainBuilder::BuildPage(PageSource& source, int32_t head) {
    try {
        WalkPageChain(
            source, head,
            [this](int32_t n, const std::string& record) {
                const int32_t page = Unpack("B", record, invol::kPagePosition);
                if (page < 1 || page > invol::kMaxPages)
                    Damaged(policy_.file, "record " + std::to_string(n) + " holds page number " +
                                              std::to_string(page) + ", outside 1 to 200");
                pages_[static_cast<size_t>(page)] = n;
                if (page > pages_[0]) pages_[0] = page;
            },
            nullptr, policy_.status_words);
    } catch (const BasicError& e) {
        Fail("BuildPage", e);
    }
}

void PageChainBuilder::BuildDetail(PageSource& source) {
    rows_.clear();
    totals_.fill(0);
    try {
        source.Read(pages_[static_cast<size_t>(pages_[0])]);
        for (int32_t p = 1; p <= pages_[0]; ++p) {
            const std::string page = source.Read(pages_[static_cast<size_t>(p)]);
            const int32_t slots = Unpack("B", page, invol::kSlotsPosition);
            DetailLine row;
            if (policy_.segment_position > 0)
                row.segment = Unpack("B", page, policy_.segment_position);
            for (int32_t j = 1; j <= slots; ++j) {
                const size_t at =
                    static_cast<size_t>(invol::kFirstSlot - 1 + invol::kSlotLength * (j - 1));
                const std::string_view slot =
                    at < page.size() ? std::string_view(page).substr(at, invol::kSlotLength)
                                     : std::string_view();
                row.code = UcmView(fields::Mid(slot, 1, 2));
                if (row.IsRemark()) {
                    row.text = UcmView(fields::Mid(slot, 3, 42));
                    row.description.clear();
                    row.quantity = row.net_each = row.cost_each = 0;
                } else {
                    std::string part = UcmView(fields::Mid(slot, 3, 12));
                    std::string dashes = UcmView(fields::Mid(slot, 15, 2));
                    row.text = InsertDashes(part, dashes);
                    row.description = UcmView(fields::Mid(slot, 17, 14));
                    row.quantity = Unpack("J", slot, 31) / 10;  // toward zero
                    row.net_each = Unpack("K", slot, 33);
                    row.cost_each = Unpack("D", slot, 36);
                    const int total = policy_.total_for ? policy_.total_for(row.code) : -1;
                    if (total >= 0 && static_cast<size_t>(total) < policy_.total_count &&
                        static_cast<size_t>(total) < kMaxTotals) {
                        int64_t& sum = totals_[static_cast<size_t>(total)];
                        if (__builtin_add_overflow(sum, int64_t{row.quantity} * row.net_each, &sum))
                            RaisePlatform(err::kOverflow, "BuildDetail");
                    }
                }
                rows_.push_back(row);
            }
        }
    } catch (const BasicError& e) {
        Fail("BuildDetail", e);
    }
}

const PageChainPolicy clsInvDetail::kPolicy = {"clsInvDetail", "INVOL", true, 0, 0, nullptr, true};

clsInvDetail::clsInvDetail() : PageChainDocument(kPolicy) {}

int32_t FollowTicketChain(const std::string& head_record, int32_t head) {
    EnginePageSource invol("INVOL");
    int32_t link = 0;
    WalkPageChain(
        invol, head,
        [&link](int32_t, const std::string& page) {
            link = Unpack("K", page, invol::kLinkPosition);
        },
        &head_record);
    return link;
}

int32_t CountTicketItems(const std::string& head_record, int32_t head,
                         std::vector<int32_t>* records) {
    EnginePageSource invol("INVOL");
    int32_t items = 0;
    WalkPageChain(
        invol, head,
        [&](int32_t n, const std::string& page) {
            const int32_t slots = Unpack("B", page, invol::kSlotsPosition);
            const int32_t capacity =
                page.size() < static_cast<size_t>(invol::kFirstSlot - 1)
                    ? 0
                    : static_cast<int32_t>(page.size() - (invol::kFirstSlot - 1)) /
                          invol::kSlotLength;
            if (slots > capacity) {
                Damaged("INVOL", "record " + std::to_string(n) + " counts " +
                                     std::to_string(slots) + " line slots, more than the " +
                                     std::to_string(capacity) + " its page holds");
            }
            items += slots;
            if (records != nullptr && n != head) records->push_back(n);
        },
        &head_record);
    return items;
}

}  // namespace dv
