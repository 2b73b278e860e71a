#include "engine/tables.h"

#include <gtest/gtest.h>

#include "engine/business_basic.h"
#include "engine/physical.h"
#include "test_support/engine_fixture.h"

namespace dv {
namespace {

using testing::ExpectError;
using testing::LinkEntry;

TEST(KeyedCollectionTest, OrderKeysAndErrors) {
    cLogicalFiles table;
    table.Add("A", "L", nullptr, 0, 0, 10, 1, "PartL");
    table.Add("B", "L", nullptr, 0, 0, 10, 1, "");
    table.Add("C", "L", nullptr, 0, 0, 10, 1, "LINEL");
    ASSERT_EQ(table.Count(), 3);
    EXPECT_EQ(table.Item(1)->FileName, "A");
    EXPECT_EQ(table.Item(2)->FileName, "B");
    EXPECT_EQ(table.Item("PARTL")->FileName, "A");  // keys ignore letter case
    EXPECT_EQ(table.Item("linel")->FileName, "C");
    EXPECT_EQ(table.Find("nope"), nullptr);
    EXPECT_EQ(table.Find(""), nullptr);  // a keyless item is found by no key
    ExpectError([&] { table.Item("nope"); }, 5, "cLogicalFiles",
                "Invalid procedure call or argument");
    ExpectError([&] { table.Item(0); }, 9, "cLogicalFiles", "Subscript out of range");
    ExpectError([&] { table.Item(4); }, 9, "cLogicalFiles", "Subscript out of range");
    ExpectError([&] { table.Add("D", "L", nullptr, 0, 0, 10, 1, "partl"); }, 457, "cLogicalFiles",
                "This key is already associated with an element of this collection");
    EXPECT_EQ(table.Count(), 3);  // the failed Add stored nothing

    EXPECT_EQ(table.Find("PartL")->FileName, "A");  // found, and remembered: it is
    table.Remove("PARTL");                          // forgotten with the item
    EXPECT_EQ(table.Count(), 2);
    EXPECT_EQ(table.Item(1)->FileName, "B");
    EXPECT_EQ(table.Find("PartL"), nullptr);
    table.Add("D", "L", nullptr, 0, 0, 10, 1, "partl");  // the key is free again
    EXPECT_EQ(table.Find("PartL")->FileName, "D");
    table.Remove(1);
    std::string order;
    for (const auto& slot : table) order += slot.item->FileName;
    EXPECT_EQ(order, "CD");
    table.Remove(2);
    EXPECT_EQ(table.Find("PartL"), nullptr);
    ExpectError([&] { table.Remove("nope"); }, 5, "cLogicalFiles",
                "Invalid procedure call or argument");
    ExpectError([&] { table.Remove(3); }, 9, "cLogicalFiles", "Subscript out of range");
}

TEST(LinksTest, EntriesAreCutIn160BytePieces) {
    std::string bytes = LinkEntry(":D01:PARTL", "D01:DATAD1");
    // A name field that starts with a blank keeps it; trailing filler of every kind goes.
    std::string padded = LinkEntry(" PARTI", "D01:DATAD2");
    padded.replace(7, 4, std::string("\0\t\r\n", 4));
    bytes += padded;
    bytes += LinkEntry(":d01:partl", "D01:OTHER");  // differs only in case: dropped
    bytes += LinkEntry(std::string("\0\t\r\n   ", 7), "D01:IGNORED");  // empty name: skipped
    bytes += std::string(" SHORTNAME");  // a last, short piece: name at 2-10, no target
    const cLinks links(bytes);
    ASSERT_EQ(links.Count(), 3);
    EXPECT_EQ(links.Item(":D01:PARTL")->ResolutionFile, "D01:DATAD1");
    EXPECT_EQ(links.Item(2)->LinkFile, " PARTI");
    EXPECT_EQ(links.Item(3)->LinkFile, "SHORTNAME");
    EXPECT_EQ(links.Item(3)->ResolutionFile, "");
}

TEST(LinksTest, A170ByteFileGivesTwoPieces) {
    std::string bytes = LinkEntry(":D01:LINEL", "D01:DATAD1") + " ABCDEFGHIJ";
    ASSERT_EQ(bytes.size(), 171u);
    bytes.pop_back();  // 170 bytes: the second piece holds characters 2-10
    const cLinks links(bytes);
    ASSERT_EQ(links.Count(), 2);
    EXPECT_EQ(links.Item(2)->LinkFile, "ABCDEFGHI");
    EXPECT_EQ(links.Item(2)->ResolutionFile, "");
}

TEST(LinksTest, AddIgnoresADuplicateAndReturnsTheNewEntry) {
    cLinks links(std::string_view{});
    EXPECT_EQ(links.Count(), 0);
    links.Add("A", "first", "A");
    const auto second = links.Add("a", "second", "a");
    EXPECT_EQ(second->ResolutionFile, "second");
    EXPECT_EQ(links.Count(), 1);
    EXPECT_EQ(links.Item("A")->ResolutionFile, "first");
}

class OpenFilesTest : public testing::EngineFixture {};

TEST_F(OpenFilesTest, ReleasingTheTableClosesEveryFileAHolderStillSees) {
    WriteMinimalDataSet();
    WriteShareFile("D01/FILE0", std::string(1024, 'x'));
    StartEngine();
    std::string name = "FILE0";
    const OpenFileRef file = mBusinessBasic->OpenFile(name);
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->handle);
    const cLogicalFile held{"X", "L", file, 0, 0, 16, 1};
    mOpenFiles.reset();
    EXPECT_EQ(held.OpenFile, file);  // the holder keeps its cOpenFile...
    EXPECT_FALSE(file->handle);      // ...whose file is closed
    ExpectError([&] { iReadFile(file, 1, 0); }, 52, "iReadFile", "Bad file name or number");
}

}  // namespace
}  // namespace dv
