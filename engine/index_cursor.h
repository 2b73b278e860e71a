// IndexCursor: a position in one keyed index, over the engine's KFind, KNext and KPrev. The
// engine's 544-byte cursor, its key buffer and its flag stay inside; a caller sees the key and
// the record number of the entry the cursor is at.
//
// A cursor is either positioned at an entry or not Valid(): before the first Seek, at either
// end of the index, or after a step that failed. The status is sticky: the first step that
// raises a BasicError (a damaged index, a file that can't be read) ends the walk, the error is
// kept in status(), and every later Next or Prev does nothing; only Seek starts afresh. So a
// plain loop ends on the first failure:
//
//     IndexCursor lines(engine, "LINEI");
//     for (lines.Seek(from); lines.Valid(); lines.Next()) {
//         ... lines.key(), lines.record() ...
//     }
//     lines.Check();  // raises the failure that ended the loop, if any
//
// Walk() is that loop over a KeyRange with the Check at its end. A caller that keeps what it
// found before a failure reads ok() instead of calling Check(). Errors of the visit itself
// (a record that can't be read) are no step of the cursor: they leave Walk() at once.
//
// Not thread-safe; the engine is not either.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "engine/error.h"

namespace dv {

class cBusinessBasic;

// The keys a walk visits: from the first key at or above `from` (a shorter key reads as padded
// with zero bytes), while the keys sort below `below`; an empty `below` walks to the end of the
// index.
struct KeyRange {
    std::string from;
    std::string below;

    // Every key from `from` to the end of the index.
    static KeyRange From(std::string from);
    // Every key at or above `from` and below `below`.
    static KeyRange Between(std::string from, std::string below);
    // Every key that starts with `prefix`.
    static KeyRange Prefix(std::string_view prefix);
};

class IndexCursor {
  public:
    // A cursor over the index of that logical name, not yet positioned.
    IndexCursor(cBusinessBasic& engine, std::string index);

    // Positions the cursor at the first key at or above `key` and clears any earlier failure.
    void Seek(std::string_view key);
    // The entry after (before) the current one; past the last (first) entry the cursor is no
    // longer Valid(). Nothing happens after a failure.
    void Next();
    void Prev();

    // At an entry: no failure, and a record number above 0 (the end marker's reads as 0).
    bool Valid() const { return ok() && record() > 0; }
    // The key of the entry, as long as the index's keys. After a failure, key() and record()
    // stay at the last entry the cursor reached.
    const std::string& key() const { return key_; }
    // The record number the entry points to.
    int32_t record() const;
    // The record number as the engine's last step gave it: a Seek that found no exact match
    // gives the record of the key it stopped on negated, as KFind does. For logs that report it.
    int32_t raw_record() const { return raw_record_; }
    // The index's logical name.
    const std::string& index() const { return index_; }

    bool ok() const { return !failure_.has_value(); }
    const std::optional<BasicError>& status() const { return failure_; }
    // Raises the failure that ended the walk; nothing when there was none.
    void Check() const;

    // Visits every entry of `range` in key order. visit(const IndexCursor&) may return bool:
    // false ends the walk there. A walk that ends at a key past the range reads the entry after
    // it too, so that keys out of order there raise their error (1010, 1001). Raises the failure of
    // a step that ends the walk, and error 1006 when the index's keys are shorter than
    // `range.below`, so that no key could be told inside or outside the range.
    template <typename Visit>
    void Walk(const KeyRange& range, Visit&& visit);

  private:
    using Step = void (cBusinessBasic::*)(const std::string&, std::string&, std::string&, int32_t&,
                                          int16_t&);
    void Run(Step step);
    // Valid(), and the key inside range; a key too short to compare is a failure.
    bool Inside(const KeyRange& range);

    cBusinessBasic* engine_;
    std::string index_;
    std::string cursor_;
    std::string key_;
    std::string scratch_;  // the key buffer of the step under way
    int32_t raw_record_ = 0;
    std::optional<BasicError> failure_;
};

template <typename Visit>
void IndexCursor::Walk(const KeyRange& range, Visit&& visit) {
    for (Seek(range.from); Inside(range); Next()) {
        if constexpr (std::is_void_v<std::invoke_result_t<Visit&, const IndexCursor&>>) {
            visit(std::as_const(*this));
        } else if (!visit(std::as_const(*this))) {
            Check();
            return;
        }
    }
    // A walk that ends at a key past its range takes one step more: a key damaged into one that
    // sorts past the range (a line's key turned into the next line's) is followed by a key that
    // sorts below it, which the step raises (1010, or 1001 across leaves), where the walk would
    // otherwise end early and quietly leave out the rest of the range. Any other failure of
    // that step lies outside the range and is not this walk's.
    if (Valid()) {
        Next();
        if (failure_ && failure_->number() != err::kIndexKeyOrder &&
            failure_->number() != err::kIndexCycle)
            failure_.reset();
    }
    Check();
}

// The record the index holds under exactly `key` (padded or cut to the index's key length),
// or 0 when it holds no such key. Raises the error of a failed search.
int32_t FindRecord(cBusinessBasic& engine, const std::string& index, std::string_view key);

}  // namespace dv
