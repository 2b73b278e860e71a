// Golden bytes: each layout the writer produces, pinned by bytes written out by hand from the
// dealer's file layouts, without the engine.
#include <gtest/gtest.h>

#include <string>

#include "sampledata/data_set.h"
#include "sampledata/formats.h"
#include "sampledata/index_writer.h"
#include "sampledata/record_file_writer.h"

namespace dv::sample {
namespace {

// "00 08 FF" -> the three bytes.
std::string Hex(std::string_view text) {
    std::string out;
    int nibble = -1;
    for (char c : text) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            continue;
        if (nibble < 0) {
            nibble = v;
        } else {
            out.push_back(static_cast<char>(nibble * 16 + v));
            nibble = -1;
        }
    }
    return out;
}

std::string Zeros(size_t n) {
    return std::string(n, '\0');
}

TEST(DirectoryEntry, NameFlagsPositionLengthTypeLastRecord) {
    DirectoryEntryFields f;
    f.name = "PARTL";
    f.position = 3;
    f.record_length = 100;
    f.file_type = 'L';
    f.last_record = 250;
    const std::string expected = std::string("PARTL") + Hex("00") +  // name, bytes 1-6
                                 Hex("00 00") +                      // flags at 7
                                 Hex("00 00") +                      // 9-10 unused
                                 Hex("00 00 03") +                   // Position D at 11
                                 Hex("00 64") +                      // RecordLength C at 14
                                 "L" +                               // FileType at 16
                                 Hex("00 00 00 FA") +                // LastRecord L at 17
                                 Zeros(12);                          // 21-32
    EXPECT_EQ(DirectoryEntry(f), expected);
}

TEST(DirectoryEntry, LongNamesFillTheFlagsWordAndRefuseFlags) {
    DirectoryEntryFields f;
    f.name = "ABCDEFGHIJ";
    f.position = 0x010203;
    EXPECT_EQ(DirectoryEntry(f).substr(0, 13), "ABCDEFGHIJ" + Hex("01 02 03"));
    f.flags = 1;
    EXPECT_THROW(DirectoryEntry(f), std::invalid_argument);
    f.name = "ABCDEFGHIJK";
    f.flags = 0;
    EXPECT_THROW(DirectoryEntry(f), std::invalid_argument);
}

TEST(RecordZero, CountsAndFreeChainOfARecordFile) {
    RecordFileWriter file("TESTL", 20);
    std::string live(20, 'x');
    live[0] = 0;
    live[1] = 1;  // status word 1
    file.Add(live);
    file.Add(live);
    file.Add(live);
    EXPECT_EQ(file.AddDeleted(), 4);
    file.Add(live);
    file.Spare(2);
    const std::string bytes = file.Bytes();
    ASSERT_EQ(bytes.size(), 8u * 20u);                // records 0 to LastRecord 7
    EXPECT_EQ(bytes.substr(0, 20), Hex("FF FE"        // status -2
                                       "00 00 00 04"  // free chain: record 4
                                       "00 00 00 05"  // highest used record
                                       "00 00 00 04"  // active records
                                       "00 00 00 00 00 00"));
    EXPECT_EQ(bytes.substr(40, 20), live);                                  // record 2 at 2 x 20
    EXPECT_EQ(bytes.substr(80, 20), Hex("00 00 FF FF FF FF") + Zeros(14));  // deleted record 4
    EXPECT_EQ(bytes.substr(120, 40), Zeros(40));                            // spare records 6 and 7
}

TEST(RecordZero, EmptyFileHasEmptyChain) {
    EXPECT_EQ(RecordFileWriter("X", 16).Bytes(),
              Hex("FF FE FF FF FF FF 00 00 00 00 00 00 00 00 00 00"));
}

TEST(IndexFormat, HeaderAndSingleLeaf) {
    IndexWriter index("TESTI", 4);
    index.Add("BBBB", 7).Add("AAAA", 9);
    const BuiltIndex built = index.Build();
    ASSERT_EQ(built.bytes.size(), 2u * 512u);
    EXPECT_EQ(built.bytes.substr(0, 512), Hex("00 08"  // entry size: key length + 4
                                              "00 3F"  // 508 / 8 = 63 entries per node
                                              "00 01"  // capacity: LastRecord
                                              "00 02"
                                              "00 01"  // root node
                                              "00 3F"  // fill
                                              "00 00 00 00") +
                                              Zeros(496));
    EXPECT_EQ(built.bytes.substr(512, 512), Hex("00 03"     // entries
                                                "FF FF") +  // the last leaf
                                                "AAAA" +
                                                Hex("00 00 00 09") +  //
                                                "BBBB" + Hex("00 00 00 07") +
                                                Hex("FF FF FF FF FF FF FF FF") +  // end marker
                                                Zeros(512 - 28));
}

TEST(IndexFormat, TwentyKeysAtFillThreeMakeThreeLevels) {
    // 21 entries (20 keys and the end marker) in seven leaves 1-7 of three; three inner nodes
    // 8 (leaves 1-2), 9 (3-4), 10 (5-7), the fuller last; the root 11 over them.
    IndexWriter index("TESTI", 3);
    for (int i = 19; i >= 0; --i) {
        const std::string key = "K" + std::string(1, static_cast<char>('0' + i / 10)) +
                                std::string(1, static_cast<char>('0' + i % 10));
        index.Add(key, 100 + i);
    }
    index.Fill(3);
    const BuiltIndex built = index.Build();
    ASSERT_EQ(built.bytes.size(), 12u * 512u);
    EXPECT_EQ(built.bytes.substr(0, 14), Hex("00 07 00 48 00 0B 00 02 00 0B 00 03 00 00"));
    auto node = [&](int k) { return built.bytes.substr(static_cast<size_t>(k) * 512, 512); };
    EXPECT_EQ(node(11), Hex("00 03 00 00") + "K05" + Hex("00 00 00 08") + "K11" +
                            Hex("00 00 00 09") + Hex("FF FF FF 00 00 00 0A") + Zeros(512 - 25));
    EXPECT_EQ(node(10), Hex("00 03 00 00") + "K14" + Hex("00 00 00 05") + "K17" +
                            Hex("00 00 00 06") + Hex("FF FF FF 00 00 00 07") + Zeros(512 - 25));
    EXPECT_EQ(node(8), Hex("00 02 00 00") + "K02" + Hex("00 00 00 01") + "K05" +
                           Hex("00 00 00 02") + Zeros(512 - 18));
    EXPECT_EQ(node(1), Hex("00 03 00 02") + "K00" + Hex("00 00 00 64") + "K01" +
                           Hex("00 00 00 65") + "K02" + Hex("00 00 00 66") + Zeros(512 - 25));
    EXPECT_EQ(node(7), Hex("00 03 FF FF") + "K18" + Hex("00 00 00 76") + "K19" +
                           Hex("00 00 00 77") + Hex("FF FF FF FF FF FF FF") + Zeros(512 - 25));
}

TEST(LinksFile, EntryOfEachRegisteredFile) {
    DataSetWriter set(DataSetOptions{.terminals = {{"WS1", "1"}}});
    set.AddRecordFile("PARTL", 64);
    set.AddIndex("PARTI", 14);
    set.AddLink(":D01:GONEL", "D01:NOSUCH");
    const DataSetImage image = set.Build();
    const std::string& links = image.File("DS1/TMARLNK/LINKSFILE");
    ASSERT_EQ(links.size(), 3u * 160u);
    EXPECT_EQ(links.substr(0, 160),
              " :D01:PARTL" + std::string(69, ' ') + " D01:DATAD1" + std::string(69, ' '));
    EXPECT_EQ(links.substr(160 + 1, 10), ":D01:PARTI");
    EXPECT_EQ(links.substr(320 + 80, 11), " D01:NOSUCH");
}

TEST(Ttymap, OneLinePerTerminal) {
    DataSetOptions o;
    o.terminals = {{"WS12", "12,extra"}, {"10.1.2.3", "4"}};
    const DataSetImage image = DataSetWriter(o).Build();
    EXPECT_EQ(image.File("DS1/TMARLNK/ttymap"),
              "WS12" + std::string(12, ' ') + "12,extra\n10.1.2.3" + std::string(8, ' ') + "4\n");
    EXPECT_THROW(TtymapLine("TWO WORDS", "1"), std::invalid_argument);
}

TEST(DataDirectory, DirectoryFileAndContainerOfSeveralFiles) {
    DataSetWriter set(DataSetOptions{.terminals = {{"WS1", "1"}}});
    RecordFileWriter& lines = set.AddRecordFile("LINEL", 100);
    for (int i = 0; i < 7; ++i) lines.Add(std::string(100, static_cast<char>('a' + i)));
    set.AddIndex("LINEI", 2).Add("AB", 1);
    set.AddRecordFile("VENDL", 40, "PARTD1");
    const DataSetImage image = set.Build();

    // LINEL at block 1 (block 0 of the container is left free): 8 x 100 bytes = 2 blocks.
    const std::string& dir = image.File("DS1/TMARLNK/D01/DATAD1");
    ASSERT_EQ(dir.size(), 64u);
    EXPECT_EQ(dir.substr(0, 32),
              "LINEL" + Zeros(5) + Hex("00 00 01 00 64") + "L" + Hex("00 00 00 07") + Zeros(12));
    EXPECT_EQ(dir.substr(32, 32),
              "LINEI" + Zeros(5) + Hex("00 00 03 02 00") + "I" + Hex("00 00 00 01") + Zeros(12));
    const std::string& container = image.File("DS1/TMARLNK/D01/DATADB");
    EXPECT_EQ(container.size(), 5u * 512u);
    EXPECT_EQ(container.substr(3 * 100 + 512, 100), std::string(100, 'c'));  // record 3
    EXPECT_EQ(container.substr(3 * 512, 2), Hex("00 06"));                   // LINEI header
    EXPECT_EQ(image.RecordOffset("LINEL", 3), 812);
    EXPECT_EQ(image.File("DS1/TMARLNK/D01/PARTD1").substr(0, 16),
              "VENDL" + Zeros(5) + Hex("00 00 01 00 28") + "L");
    EXPECT_EQ(image.File("DS1/TMARLNK/D01/PARTDB").size(), 1024u);
}

TEST(ControlFile, StoreNameCaptionsAndOptionsByBlockNumber) {
    DataSetWriter set(DataSetOptions{.terminals = {{"WS1", "1"}}});
    set.SetOption(320, true);
    const std::string file0 = set.Build().File("DS1/TMARLNK/D01/FILE0");
    ASSERT_GE(file0.size(), 572u * 512u);
    EXPECT_EQ(file0.substr(512 + 150, 35), "NORTHFIELD EQUIPMENT & SERVICE     ");
    EXPECT_EQ(file0.substr(4 * 512 + 432, 8), "HOURS   ");
    EXPECT_EQ(file0.substr(4 * 512 + 492, 8), "KEY NO  ");
    EXPECT_EQ(file0.substr(205312 + 316, 1), "N");
    EXPECT_EQ(file0.substr(205312 + 319, 1), "Y");
    EXPECT_EQ(file0.substr(301 * 512, 512), Zeros(512));
}

TEST(CatalogSettings, SectionAndKeys) {
    EXPECT_EQ(DataSetWriter(DataSetOptions{.terminals = {{"WS1", "1"}}}).Build().catalog_ini,
              "[Sendrake]\nServer=DS1\nDataShare=TMARLNK\nCatalogShare=CATCON\nDirectory=D01\n"
              "TerminalID=7\nCustomerNumber=40217\n");
}

}  // namespace
}  // namespace dv::sample
