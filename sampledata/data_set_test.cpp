// The data-set writer's tree on disk, its registration rules, and each kind of damage landing
// on the bytes it names.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "sampledata/damage.h"
#include "sampledata/data_set.h"
#include "sampledata/demo_set.h"
#include "sampledata/formats.h"

namespace dv::sample {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

DataSetOptions Quiet() {
    DataSetOptions o;
    o.terminals = {{"WS1", "7"}};
    return o;
}

// A record file of 30 records of 40 bytes and its index (20 keys at fill 3: three levels).
DataSetImage Sample() {
    DataSetWriter set(Quiet());
    RecordFileWriter& recs = set.AddRecordFile("ITEML", 40);
    IndexWriter& index = set.AddIndex("ITEMI", 4);
    for (int i = 1; i <= 30; ++i) {
        RecordBuilder r = recs.NewRecord();
        r.Bin(1, 'J', 1).Bin(3, 'L', i * 11);
        recs.Add(r);
        if (i <= 20) index.Add(r.bytes().substr(2, 4), i);
    }
    index.Fill(3);
    return set.Build();
}

TEST(DataSetWriter, WritesTheShareTreeAndTheCatalog) {
    char pattern[] = "/tmp/dv-sample-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path root = pattern;
    const DataSetImage image = Sample();
    image.Write(root / "share", root / "tmp");
    for (const char* f : {"LINKSFILE", "ttymap", "D01/DATAD1", "D01/DATADB", "D01/FILE0"})
        EXPECT_TRUE(fs::is_regular_file(root / "share/DS1/TMARLNK" / f)) << f;
    EXPECT_EQ(ReadAll(root / "share/DS1/TMARLNK/D01/DATADB"), image.File("DS1/TMARLNK/D01/DATADB"));
    EXPECT_EQ(ReadAll(root / "tmp/tMRCatalog.ini"), image.catalog_ini);
    fs::remove_all(root);
}

TEST(DataSetWriter, RegistrationRules) {
    DataSetWriter set(Quiet());
    set.AddRecordFile("PARTL", 10);
    EXPECT_THROW(set.AddIndex("partl", 4), std::invalid_argument);  // names are one key
    EXPECT_THROW(set.AddRecordFile("ELEVENCHARS", 10), std::invalid_argument);
    EXPECT_THROW(set.AddRecordFile("OTHERL", 10, "DATAD2"), std::invalid_argument);  // DATADB
    EXPECT_THROW(set.Records("PARTL").Add("short"), std::invalid_argument);
    EXPECT_THROW(set.Index("PARTL"), std::out_of_range);
    EXPECT_EQ(&set.Records("PARTL"), &set.Records("PARTL"));
    set.AddPlainFile("FILE0", "");
    EXPECT_THROW(set.Build(), std::invalid_argument);  // clashes with the control file
}

TEST(DataSetWriter, PlainRecordFilesAndBlocks) {
    DataSetWriter set(Quiet());
    set.AddPlainFile("RT000123", PlainRecords(38, {std::string(38, 'a'), std::string(38, 'b')}));
    set.File0().Block(450).Raw(1, "OPEN");
    const DataSetImage image = set.Build();
    EXPECT_EQ(image.File("DS1/TMARLNK/D01/RT000123"), std::string(38, 'a') + std::string(38, 'b'));
    EXPECT_EQ(image.File("DS1/TMARLNK/D01/FILE0").substr(450 * 512, 4), "OPEN");
    EXPECT_THROW(PlainRecords(38, {"x"}), std::invalid_argument);
}

TEST(DemoSet, SameBytesEveryTime) {
    const DataSetImage a = BuildDemoSet(Scale::kTiny);
    const DataSetImage b = BuildDemoSet(Scale::kTiny);
    EXPECT_EQ(a.files, b.files);
    EXPECT_TRUE(a.files.count("DS1/TMARLNK/D01/DATAD1"));
    EXPECT_EQ(ParseScale("large"), Scale::kLarge);
    EXPECT_FALSE(ParseScale("huge").has_value());
}

TEST(DemoSet, DatesCountBackFromTheAsOfDayOfThePlan) {
    const DataSetImage fixed = BuildDemoSet(Scale::kTiny);
    EXPECT_EQ(AsOf(), kFixedAsOf);
    DemoPlan plan = PlanFor(Scale::kTiny);
    EXPECT_EQ(plan.as_of, kFixedAsOf);
    plan.as_of = {2026, 3, 2};
    const DataSetImage later = BuildDemoSet(plan);
    EXPECT_EQ(AsOf(), kFixedAsOf);  // the run's day ends with the run
    // Only dated records differ: the product lines and the catalog settings do not.
    EXPECT_NE(later.files, fixed.files);
    EXPECT_EQ(later.catalog_ini, fixed.catalog_ini);
    const auto linel = [](const DataSetImage& image) {
        const LogicalPlacement& p = image.Logical("LINEL");
        return image.File(p.container)
            .substr(static_cast<size_t>(p.position) * 512,
                    static_cast<size_t>(p.record_length) * static_cast<size_t>(p.last_record + 1));
    };
    EXPECT_EQ(linel(later), linel(fixed));
}

TEST(DemoSet, AsOfDaysParse) {
    EXPECT_EQ(ParseCalendarDay("2024-11-15"), (CalendarDay{2024, 11, 15}));
    EXPECT_EQ(ParseCalendarDay("2028-02-29"), (CalendarDay{2028, 2, 29}));
    for (const char* bad : {"", "2024-1-15", "2025-02-29", "2024-13-01", "1969-12-31", "2100-01-01",
                            "11/15/2024", "2024-11-15x", "20a4-11-15"})
        EXPECT_FALSE(ParseCalendarDay(bad).has_value()) << bad;
    const CalendarDay today = Today();
    EXPECT_GE(today.year, 2024);
}

TEST(NamedDamage, EachBreaksTheDemoSetOfEveryScaleItRuns) {
    const DataSetImage clean = BuildDemoSet(Scale::kTiny);
    std::set<std::string_view> names;
    for (const damage::NamedDamage& d : damage::NamedDamages()) {
        SCOPED_TRACE(std::string(d.name));
        EXPECT_TRUE(names.insert(d.name).second);
        EXPECT_EQ(damage::FindNamedDamage(d.name), &d);
        EXPECT_FALSE(d.description.empty());
        DataSetImage image = clean;
        ASSERT_NO_THROW(d.apply(image));
        EXPECT_NE(image.files, clean.files);
    }
    EXPECT_EQ(damage::FindNamedDamage("no-such-damage"), nullptr);
}

TEST(NamedDamage, ADamageOfBytesAnEarlierOneCutAwayIsNamed) {
    const damage::NamedDamage* cut = damage::FindNamedDamage("linel-cut");
    const damage::NamedDamage* root = damage::FindNamedDamage("linei-root");
    ASSERT_TRUE(cut && root);
    DataSetImage image = BuildDemoSet(Scale::kTiny);
    const damage::NamedDamage* cut_last[] = {root, cut};
    EXPECT_NO_THROW(damage::ApplyNamedDamages(image, cut_last));
    image = BuildDemoSet(Scale::kTiny);
    const damage::NamedDamage* cut_first[] = {cut, root};
    try {
        damage::ApplyNamedDamages(image, cut_first);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("--damage linei-root finds nothing to damage", 0),
                  0u);
    }
}

// Each damage changes the bytes it names and nothing that the test reads back otherwise.
class Damage : public ::testing::Test {
  protected:
    DataSetImage image = Sample();
    const LogicalPlacement& index = image.Logical("ITEMI");
    std::string& container = image.File(index.container);
    uint32_t At(int64_t offset, int width) {
        return GetBE(container, static_cast<int32_t>(offset + 1), width);
    }
};

TEST_F(Damage, LeafChainLoop) {
    ASSERT_EQ(index.index.leaves.size(), 7u);
    damage::LoopLeafChain(image, "ITEMI");
    EXPECT_EQ(At(image.NodeOffset("ITEMI", index.index.leaves.back()) + 2, 2),
              static_cast<uint32_t>(index.index.leaves.front()));
    damage::LoopLeafChain(image, "ITEMI", 2, 1);
    EXPECT_EQ(At(image.NodeOffset("ITEMI", index.index.leaves[2]) + 2, 2),
              static_cast<uint32_t>(index.index.leaves[1]));
}

TEST_F(Damage, EntryCountRootChildAndRecordPointer) {
    damage::SetEntryCount(image, "ITEMI");
    EXPECT_EQ(At(image.NodeOffset("ITEMI", index.index.leaves.front()), 2), 508u / 8u + 1u);
    damage::SetRoot(image, "ITEMI");
    EXPECT_EQ(At(image.NodeOffset("ITEMI", 0) + 8, 2),
              static_cast<uint32_t>(index.last_record + 1));
    damage::SetChild(image, "ITEMI", 2);
    EXPECT_EQ(At(image.NodeOffset("ITEMI", index.index.root) + 4 + 8 + 4, 4),
              static_cast<uint32_t>(index.last_record + 1));
    // The fifth key is the second of the second leaf.
    damage::RecordPointerPastLastRecord(image, "ITEMI", "ITEML", 4);
    EXPECT_EQ(At(image.NodeOffset("ITEMI", index.index.leaves[1]) + 4 + 8 + 4, 4), 31u);
}

TEST_F(Damage, MissingFilesAndTruncation) {
    const std::string dir = image.Logical("ITEMI").directory_file;
    damage::RemoveDirectoryEntry(image, "ITEML");
    EXPECT_EQ(image.File(dir).size(), 32u);
    EXPECT_EQ(image.File(dir).substr(0, 5), "ITEMI");
    EXPECT_EQ(image.Logical("ITEMI").entry, 0);
    EXPECT_EQ(image.File("DS1/TMARLNK/LINKSFILE").substr(1, 10), ":D01:ITEML");

    damage::TruncateLogical(image, "ITEMI", 512 + 100);
    EXPECT_EQ(static_cast<int64_t>(image.File(index.container).size()),
              image.NodeOffset("ITEMI", 1) + 100);

    damage::RemoveContainer(image, "ITEMI");
    EXPECT_EQ(image.files.count(index.container), 0u);
    damage::RemoveDirectoryFile(image, "ITEMI");
    EXPECT_EQ(image.files.count(dir), 0u);
}

TEST_F(Damage, ShortRecordsKeepTheirFirstBytes) {
    damage::ShortenRecords(image, "ITEML", 4);
    const LogicalPlacement& p = image.Logical("ITEML");
    EXPECT_EQ(p.record_length, 4);
    const std::string& c = image.File(p.container);
    for (int n : {1, 2, 30}) {
        // Status word 1, then the first two bytes of the number n x 11.
        const int64_t at = image.RecordOffset("ITEML", n);
        EXPECT_EQ(GetBE(c, static_cast<int32_t>(at + 1), 2), 1u) << n;
        EXPECT_EQ(GetBE(c, static_cast<int32_t>(at + 3), 2), 0u) << n;
    }
    EXPECT_EQ(GetBE(image.File(p.directory_file), 14, 2), 4u);
    EXPECT_THROW(damage::ShortenRecords(image, "ITEML", 4), std::invalid_argument);
}

// Two damages on one file: the records are cut, and the removed entry stays removed (the
// entry that took its place in the directory file is not overwritten).
TEST_F(Damage, ShortRecordsOfAFileWithoutDirectoryEntry) {
    const std::string dir = image.Logical("ITEML").directory_file;
    damage::RemoveDirectoryEntry(image, "ITEML");
    const std::string entries = image.File(dir);
    damage::ShortenRecords(image, "ITEML", 4);
    EXPECT_EQ(image.Logical("ITEML").record_length, 4);
    EXPECT_EQ(image.File(dir), entries);
}

}  // namespace
}  // namespace dv::sample
