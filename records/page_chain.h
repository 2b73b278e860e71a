// The page chains of INVOL (invoices, pick tickets, saved invoices, shop jobs) and WARRL
// (warranty claims): a document is a chain of page records from a head record, which carries
// the highest page number, down to page 1. Each page holds its page number (B at 115), a link
// to the next lower page (K at 110, its absolute value; on page 1 the document's date), a slot
// count (B at 146) and 44-byte line slots from 161.
//
// PageChainBuilder is the one walk and build behind the detail builders; a PageChainPolicy says
// what differs between them (the file, the alphabet, element 6 of a row, the totals). Every walk
// is bounded: at most 200 pages, no page number met twice, every link inside the file. A walk
// that breaks a limit ends with err::kPageChain naming the file.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/business_basic.h"
#include "engine/error.h"
#include "records/detail_line.h"

namespace dv {

namespace err {
inline constexpr int32_t kPageChain = 1030;  // a document's page chain is damaged
}

// Positions of the page-chain fields every INVOL (and WARRL) page carries.
namespace invol {
inline constexpr int32_t kLinkPosition = 110;   // K: next lower page; page 1: the date mmddyy
inline constexpr int32_t kPagePosition = 115;   // B: page number 1 to 200
inline constexpr int32_t kSlotsPosition = 146;  // B: line slots used on the page
inline constexpr int32_t kFirstSlot = 161;      // slot j at 161 + 44 * (j - 1)
inline constexpr int32_t kSlotLength = 44;
inline constexpr int32_t kMaxPages = 200;
}  // namespace invol

// Where a walk reads its pages: the records of one file by number.
class PageSource {
  public:
    virtual ~PageSource() = default;
    // The file's name, for the errors.
    virtual const std::string& Name() const = 0;
    virtual int32_t LastRecord() = 0;
    // Record n; raises 81 "Illegal Record Number" outside 1 to LastRecord.
    virtual std::string Read(int32_t record) = 0;
};

// The records of a logical file through the global engine object.
class EnginePageSource : public PageSource {
  public:
    // Opens the file; raises -10 when the name does not resolve, 91 without an engine.
    explicit EnginePageSource(std::string file);
    const std::string& Name() const override { return name_; }
    int32_t LastRecord() override;
    std::string Read(int32_t record) override;

  private:
    std::string name_;
    LogicalFileRef file_;
};

// Walks the chain of the document whose head is record `head` of `file`, head first, calling
// visit(record number, page record) for each page; the walk ends after a page whose number is
// below 2. head_record, when given, is the head's record string already read. Raises
// err::kPageChain ("Damaged page chain in file NAME: ...") on a page number met twice, on more
// than 200 pages, and on a link outside 1 to the file's LastRecord; with status_words (the pages
// of INVOL), err::kRecordNotLive (1062) on a page whose status word is 0 or below (deleted,
// zeroed, filled with 0xFF), the head included; raises what the engine raises (a head outside
// the file: 81) and what visit raises.
void WalkPageChain(PageSource& file, int32_t head,
                   const std::function<void(int32_t, const std::string&)>& visit,
                   const std::string* head_record = nullptr, bool status_words = true);

// What one detail builder does its own way.
struct PageChainPolicy {
    const char* builder;       // the class named in the event-log labels, "clsInvDetail"
    const char* file;          // "INVOL" or "WARRL"
    bool name_alphabet;        // select " ,-." before the walk; false: decode with the one in force
    int32_t segment_position;  // 0: element 6 stays empty; else the page's B field that fills it
    size_t total_count;        // how many totals the builder keeps
    // The total a line other than a remark adds quantity x net price to, chosen by its exact
    // 3-character code; -1 for none. Null when the builder keeps no totals.
    int (*total_for)(std::string_view code);
    // The file's pages carry a status word, above 0 on every live page (INVOL's invoice and
    // shop-job pages); false for a file whose pages hold only the chain fields (WARRL).
    bool status_words;
};

class PageChainBuilder {
  public:
    static constexpr size_t kMaxTotals = 8;

    explicit PageChainBuilder(const PageChainPolicy& policy) : policy_(policy) {}

    // The whole build of the document whose head page is record `head`: clears the rows, the
    // totals, the error flag and the page table; reads the head (a failure is logged under
    // "GetDetail" and ends the build); selects the alphabet when the policy says so; walks the
    // chain (failures logged under "BuildPage"); builds the rows from page 1 up (failures
    // logged under "BuildDetail"). Never raises.
    void GetDetail(int32_t head);

    // For a builder that finds its head page itself: Begin clears as GetDetail does, Fail logs
    // a failure of the procedure, WalkAndBuild walks and builds from the head.
    void Begin();
    void Fail(const char* procedure, const BasicError& error);
    void WalkAndBuild(int32_t head);

    const DetailReturn& Rows() const { return rows_; }
    bool Error() const { return error_; }
    // Total i in cents (quantity in whole units x net price each).
    int64_t Total(size_t i) const { return i < totals_.size() ? totals_[i] : 0; }
    // The text of the last event-log entry; empty when none was written.
    const std::string& LastEntry() const { return last_entry_; }
    // The error of the build's first failure (the cause; later steps may fail for it), for a
    // form that shows it; null when the build went well.
    const BasicError* FirstError() const { return first_error_ ? &*first_error_ : nullptr; }
    // Element p (1 to 200): the record of page p of the last walk, 0 when not met; element 0:
    // the highest page met.
    const std::array<int32_t, 201>& PageRecords() const { return pages_; }

    // Reads the pages from `source` instead of the policy's file through the engine (fuzzing);
    // null goes back to the engine.
    void SetSource(PageSource* source) { source_ = source; }

  private:
    void BuildPage(PageSource& source, int32_t head);
    void BuildDetail(PageSource& source);
    // The source of one build: the one set, else the policy's file through the engine.
    template <typename Fn>
    void WithSource(Fn fn);
    std::string Label(const char* procedure) const;

    const PageChainPolicy& policy_;
    DetailReturn rows_;
    std::array<int64_t, kMaxTotals> totals_{};
    std::array<int32_t, 201> pages_{};
    bool error_ = false;
    std::string last_entry_;
    std::optional<BasicError> first_error_;
    PageSource* source_ = nullptr;
};

// The invoice detail builder: the lines of an invoice, pick ticket or saved invoice.
// What every document's detail class shares: its builder, under the class's own policy, and
// the rows and error the last build left.
class PageChainDocument {
  public:
    const dv::DetailReturn& DetailReturn() const { return builder_.Rows(); }
    bool DetailError() const { return builder_.Error(); }
    const PageChainBuilder& Builder() const { return builder_; }
    PageChainBuilder& Builder() { return builder_; }

  protected:
    explicit PageChainDocument(const PageChainPolicy& policy) : builder_(policy) {}

    PageChainBuilder builder_;
};

class clsInvDetail : public PageChainDocument {
  public:
    clsInvDetail();

    // The INVOL record number of the document's head page.
    void InvoiceRec(int32_t record) { head_ = record; }
    // Builds the rows; never raises (see PageChainBuilder::GetDetail).
    void GetDetail() { builder_.GetDetail(head_); }

    static const PageChainPolicy kPolicy;

  private:
    int32_t head_ = 0;
};

// The chain walks of a document from its head page (record string and record number): the
// chain field at 110 of the last page read (page 1's date as mmddyy), and the sum of the slot
// counts of every page. Bounded; raise err::kPageChain or the engine's errors.
int32_t FollowTicketChain(const std::string& head_record, int32_t head);
// A page whose slot count is more than its record holds is err::kPageChain; records, when
// given, receives the record number of every page after the head.
int32_t CountTicketItems(const std::string& head_record, int32_t head,
                         std::vector<int32_t>* records = nullptr);

}  // namespace dv
