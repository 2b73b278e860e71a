// One typed test over the field table of a record class. A record's own test file describes
// the class with a small struct and instantiates the suite for it:
//
//   struct PartsLayout {
//       using Record = clsParts;
//       static constexpr size_t kLength = 300;            // the record string the tests use
//       static std::string Full();                         // every field given a value of its own
//       static std::span<const BinaryCase<Record>> Binaries();  // written by hand from the layout
//   };
//   INSTANTIATE_TYPED_TEST_SUITE_P(Parts, RecordLayoutTest, PartsLayout);
//
// The suite checks that every hand-written binary field decodes from its place, that the table
// holds a field of that place and code for the member, that packing over the bytes read gives
// the same bytes, and that unpacking what was packed into a blank record gives back every field
// the table names (a class whose Pack writes some bytes in a form of its own gives them as
// `static std::string Repacked()`). What only one class has (flag bytes, part numbers, lists) stays
// in that class's own tests.
//
// Two hooks serve a class of several record variants, or one whose fields are mostly custom:
// `static std::vector<fields::Field<Record>> Fields()` names the fields of the variant Full()
// holds, in place of the class's Layout(); `static void ExpectSameCustom(const Record& a,
// const Record& b)` compares after the round trip the members the custom fields fill, which the
// table names no member for.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "engine/dates.h"
#include "engine/packed_text.h"
#include "engine/record_fields.h"

namespace dv::testing {

// One binary field written by hand: `stored` under `code` at 1-based `position`, which the
// member reads back as `expected`.
template <typename R>
struct BinaryCase {
    int32_t position;
    char code;
    int64_t stored;
    std::variant<int32_t R::*, int64_t R::*, int16_t R::*> member;
    int64_t expected;
};

template <typename R>
int64_t MemberValue(const R& r, const std::variant<int32_t R::*, int64_t R::*, int16_t R::*>& m) {
    return std::visit([&](auto p) { return static_cast<int64_t>(r.*p); }, m);
}

template <typename R>
bool SameMember(const fields::Field<R>& f,
                const std::variant<int32_t R::*, int64_t R::*, int16_t R::*>& m) {
    if (const auto* p = std::get_if<int32_t R::*>(&m)) return f.i32 == *p;
    if (const auto* p = std::get_if<int64_t R::*>(&m)) return f.i64 == *p;
    return f.i16 == std::get<int16_t R::*>(m);
}

// Expects a and b to hold the same value in the member the field fills; a custom field names
// no member and is left to the class's own tests.
template <typename R>
void ExpectSameField(const fields::Field<R>& f, const R& a, const R& b) {
    if (f.i32 != nullptr) {
        EXPECT_EQ(b.*f.i32, a.*f.i32) << f.name;
    }
    if (f.i64 != nullptr) {
        EXPECT_EQ(b.*f.i64, a.*f.i64) << f.name;
    }
    if (f.i16 != nullptr) {
        EXPECT_EQ(b.*f.i16, a.*f.i16) << f.name;
    }
    if (f.text != nullptr) {
        EXPECT_EQ(b.*f.text, a.*f.text) << f.name;
    }
    if (f.date != nullptr) {
        EXPECT_EQ(b.*f.date, a.*f.date) << f.name;
    }
}

// The fields a layout describes: its own Fields(), else its class's Layout().
template <typename Layout>
std::vector<fields::Field<typename Layout::Record>> LayoutFields() {
    if constexpr (requires { Layout::Fields(); }) {
        return Layout::Fields();
    } else {
        const auto table = Layout::Record::Layout();
        return {table.begin(), table.end()};
    }
}

template <typename Layout>
class RecordLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAlphabet(); }
    void TearDown() override { ResetAlphabet(); }
};

TYPED_TEST_SUITE_P(RecordLayoutTest);

TYPED_TEST_P(RecordLayoutTest, EveryBinaryFieldDecodesFromItsPlace) {
    using Record = typename TypeParam::Record;
    const std::string full = TypeParam::Full();
    ASSERT_EQ(full.size(), TypeParam::kLength);
    Record r;
    r.Unpack(full);
    for (const BinaryCase<Record>& c : TypeParam::Binaries())
        EXPECT_EQ(MemberValue(r, c.member), c.expected) << "field at " << c.position;
}

TYPED_TEST_P(RecordLayoutTest, EveryHandWrittenFieldStandsInTheTable) {
    using Record = typename TypeParam::Record;
    const auto table = LayoutFields<TypeParam>();
    for (const BinaryCase<Record>& c : TypeParam::Binaries()) {
        int found = 0;
        for (const fields::Field<Record>& f : table) {
            if (f.position == c.position && SameMember(f, c.member)) {
                ++found;
                EXPECT_EQ(f.code, c.code) << f.name;
                EXPECT_EQ(f.width, fields::CodeWidth(c.code)) << f.name;
                EXPECT_LE(static_cast<size_t>(f.position + f.width - 1), TypeParam::kLength)
                    << f.name;
            }
        }
        EXPECT_EQ(found, 1) << "field at " << c.position;
    }
}

TYPED_TEST_P(RecordLayoutTest, PackRewritesTheSameBytes) {
    using Record = typename TypeParam::Record;
    const std::string full = TypeParam::Full();
    Record r;
    r.Unpack(full);
    std::string again = full;
    r.Pack(again);
    // A class that writes some fields in a form of its own names the bytes it writes back.
    if constexpr (requires { TypeParam::Repacked(); }) {
        EXPECT_EQ(again, TypeParam::Repacked());
    } else {
        EXPECT_EQ(again, full);
    }
}

TYPED_TEST_P(RecordLayoutTest, UnpackPackUnpackKeepsEveryField) {
    using Record = typename TypeParam::Record;
    Record first;
    first.Unpack(TypeParam::Full());
    std::string blank(TypeParam::kLength, '\0');
    first.Pack(blank);
    EXPECT_EQ(blank.size(), TypeParam::kLength);
    Record second;
    second.Unpack(blank);
    // A field Pack leaves alone (the record holds it in another field too) is not in blank.
    for (const fields::Field<Record>& f : LayoutFields<TypeParam>())
        if (f.written) {
            ExpectSameField(f, first, second);
        }
    if constexpr (requires { TypeParam::ExpectSameCustom(first, second); })
        TypeParam::ExpectSameCustom(first, second);
}

REGISTER_TYPED_TEST_SUITE_P(RecordLayoutTest, EveryBinaryFieldDecodesFromItsPlace,
                            EveryHandWrittenFieldStandsInTheTable, PackRewritesTheSameBytes,
                            UnpackPackUnpackKeepsEveryField);

}  // namespace dv::testing
