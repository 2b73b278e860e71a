#include "engine/index_cursor.h"

#include "engine/business_basic.h"
#include "engine/index.h"
#include "engine/tables.h"

namespace dv {

KeyRange KeyRange::From(std::string from) {
    return {std::move(from), {}};
}

KeyRange KeyRange::Between(std::string from, std::string below) {
    return {std::move(from), std::move(below)};
}

KeyRange KeyRange::Prefix(std::string_view prefix) {
    // The keys that start with prefix sort below prefix with its last byte that is not 0xFF
    // raised by one and what follows cut off; a prefix of 0xFF bytes only runs to the end.
    std::string below(prefix);
    while (!below.empty() && static_cast<unsigned char>(below.back()) == 0xFF) below.pop_back();
    if (!below.empty())
        below.back() = static_cast<char>(static_cast<unsigned char>(below.back()) + 1);
    return {std::string(prefix), std::move(below)};
}

IndexCursor::IndexCursor(cBusinessBasic& engine, std::string index)
    : engine_(&engine), index_(std::move(index)), cursor_(kCursorSize, '\0') {}

int32_t IndexCursor::record() const {
    return AbsoluteRecord(raw_record_);
}

void IndexCursor::Run(Step step) {
    // The engine's call writes key and record only as it goes; they are taken over once it
    // succeeded, so a failing step leaves the cursor's entry as it was.
    scratch_ = key_;
    int32_t record = raw_record_;
    int16_t flag = 0;
    try {
        (engine_->*step)(index_, cursor_, scratch_, record, flag);
    } catch (const BasicError& e) {
        failure_ = e;
        return;
    }
    key_.swap(scratch_);
    raw_record_ = record;
}

void IndexCursor::Seek(std::string_view key) {
    failure_.reset();
    key_.assign(key);
    raw_record_ = 0;
    Run(&cBusinessBasic::KFind);
}

void IndexCursor::Next() {
    if (ok()) Run(&cBusinessBasic::KNext);
}

void IndexCursor::Prev() {
    if (ok()) Run(&cBusinessBasic::KPrev);
}

void IndexCursor::Check() const {
    if (failure_) throw *failure_;
}

bool IndexCursor::Inside(const KeyRange& range) {
    if (!Valid()) return false;
    if (range.below.empty()) return true;
    if (key_.size() < range.below.size()) {
        failure_ = BasicError(err::kIndexHeader, "KFind",
                              "Index file " + index_ + ": its keys of " +
                                  std::to_string(key_.size()) + " bytes are shorter than the " +
                                  std::to_string(range.below.size()) + " bytes a walk compares");
        return false;
    }
    return CompareKeys(key_, range.below) < 0;
}

int32_t FindRecord(cBusinessBasic& engine, const std::string& index, std::string_view key) {
    IndexCursor cursor(engine, index);
    cursor.Seek(key);
    cursor.Check();
    return cursor.raw_record() > 0 ? cursor.raw_record() : 0;
}

}  // namespace dv
