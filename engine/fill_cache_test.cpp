// The per-fill cache: a fill reads each piece of a file once, a later fill reads it again, and
// what a read returns is byte for byte what a read straight from the file returns.
#include "engine/fill_cache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/index.h"
#include "engine/logical.h"
#include "engine/physical.h"
#include "platform/file_calls.h"
#include "test_support/engine_fixture.h"

namespace dv {
namespace {

using testing::Be;
using testing::DirEntry;
using testing::LinkEntry;
using testing::PutAt;

constexpr int32_t kSmallRecords = 6;     // SMALL: 6 records of 100 bytes, read whole
constexpr int32_t kLargeRecords = 3000;  // LARGE: 300,000 bytes, past the whole-file size
constexpr int32_t kLargeAt = 4;          // the block LARGE starts at

std::string Record(int n, char fill = 'r') {
    std::string r(100, fill);
    PutAt(r, 0, Be(2, 1));
    PutAt(r, 2, "REC" + std::to_string(n));
    return r;
}

uint64_t Reads() {
    return platform::FileCallCounts().reads;
}

class FillCacheTest : public testing::EngineFixture {
  protected:
    void SetUp() override {
        WriteMinimalDataSet();
        WriteShareFile("LINKSFILE", LinkEntry(":D01:SMALL", "D01:DATAD1") +
                                        LinkEntry(":D01:LARGE", "D01:DATAD1") +
                                        LinkEntry(":D01:KEYSI", "D01:DATAD1"));
        const sample::BuiltIndex index = KeysIndex();
        const int32_t index_at = kLargeAt + (kLargeRecords + 1) * 100 / 512 + 1;
        WriteShareFile("D01/DATAD1",
                       DirEntry("SMALL", 0, 1, 100, 'L', kSmallRecords) +
                           DirEntry("LARGE", 0, kLargeAt, 100, 'L', kLargeRecords) +
                           DirEntry("KEYSI", 0, index_at, 0, 'I', index.layout.last_record));
        for (int n = 1; n <= kSmallRecords; ++n) PutAt(container_, 512 + n * 100, Record(n));
        for (int n = 1; n <= kLargeRecords; ++n)
            PutAt(container_, kLargeAt * 512 + n * 100, Record(n));
        PutAt(container_, static_cast<size_t>(index_at) * 512, index.bytes);
        WriteShareFile("D01/DATADB", container_);
        StartEngine();
        small_ = iLogicalOpen("SMALL");
        large_ = iLogicalOpen("LARGE");
        keys_ = iLogicalOpen("KEYSI");
        ASSERT_TRUE(small_ && large_ && keys_);
    }

    // 600 keys of 4 bytes in leaves of 20: two levels, 30 leaves.
    static sample::BuiltIndex KeysIndex() {
        testing::Entries entries;
        for (int k = 1; k <= 600; ++k) entries.emplace_back(Be(4, k * 10), k);
        return testing::BuildIndex(4, entries, 20, 40);
    }

    // Changes record n of SMALL on disk.
    void RewriteSmall(int n, char fill) {
        PutAt(container_, 512 + n * 100, Record(n, fill));
        WriteShareFile("D01/DATADB", container_);
    }

    std::string container_;
    std::shared_ptr<cLogicalFile> small_, large_, keys_;
};

TEST_F(FillCacheTest, AFillReadsASmallFileOnceAndAnswersFromItUntilItEnds) {
    // Without a fill, one read per record, as before.
    uint64_t before = Reads();
    for (int n = 1; n <= kSmallRecords; ++n) EXPECT_EQ(iLreadFile(small_, n), Record(n));
    EXPECT_EQ(Reads() - before, static_cast<uint64_t>(kSmallRecords));

    {
        const FillCache fill;
        before = Reads();
        for (int pass = 0; pass < 2; ++pass)
            for (int n = 1; n <= kSmallRecords; ++n) EXPECT_EQ(iLreadFile(small_, n), Record(n));
        EXPECT_EQ(Reads() - before, 1u);  // the whole file, once
        // A change on disk during the fill: the fill goes on with what it read.
        RewriteSmall(2, 'x');
        EXPECT_EQ(iLreadFile(small_, 2), Record(2));
        {
            const FillCache nested;  // shares the running fill
            EXPECT_EQ(iLreadFile(small_, 2), Record(2));
        }
        EXPECT_EQ(Reads() - before, 1u);
    }
    // The next fill sees the change.
    const FillCache next;
    EXPECT_EQ(iLreadFile(small_, 2), Record(2, 'x'));
}

TEST_F(FillCacheTest, AViewOfAReadShowsTheHeldBytesOrTheScratchItWasReadInto) {
    const FileExtent extent = LogicalExtent(*small_);
    std::string scratch = "untouched";
    // Without a fill: read into the scratch.
    EXPECT_EQ(iReadFileView(small_->OpenFile, 100, 512 + 300, extent, scratch), Record(3));
    EXPECT_EQ(scratch, Record(3));
    const FillCache fill;
    const uint64_t before = Reads();
    scratch = "untouched";
    // The first read takes the whole file, the view shows its copy; the next reads are held.
    EXPECT_EQ(iReadFileView(small_->OpenFile, 100, 512 + 100, extent, scratch), Record(1));
    for (int n = 2; n <= kSmallRecords; ++n) {
        scratch = "untouched";
        const std::string_view held =
            iReadFileView(small_->OpenFile, 100, 512 + n * 100, extent, scratch);
        EXPECT_EQ(held, Record(n));
        EXPECT_EQ(scratch, "untouched");  // seen in place, not copied
    }
    EXPECT_EQ(iLreadFileView(small_, 4, scratch), Record(4));  // a record, by its number
    EXPECT_EQ(scratch, "untouched");
    EXPECT_EQ(Reads() - before, 1u);
    EXPECT_EQ(iReadFileView(small_->OpenFile, 0, 512, extent, scratch), "");
}

TEST_F(FillCacheTest, AnAscendingWalkIsReadAheadAndRandomReadsOnce) {
    std::vector<std::string> plain;
    for (int n = 1; n <= kLargeRecords; ++n) plain.push_back(iLreadFile(large_, n));
    const FillCache fill;
    uint64_t before = Reads();
    for (int n = 1; n <= kLargeRecords; ++n)
        ASSERT_EQ(iLreadFile(large_, n), plain[static_cast<size_t>(n - 1)]) << n;
    // Two single reads, then windows of 64 and 128 KiB and the rest: 300,000 bytes in 5 reads.
    EXPECT_LE(Reads() - before, 5u);

    // Records read out of order: each once, the second time from the cache.
    before = Reads();
    const int picks[] = {2900, 17, 1500, 2900, 17, 1500};
    {
        const FillCache other;  // nested: the same fill
        for (int n : picks) EXPECT_EQ(iLreadFile(large_, n), plain[static_cast<size_t>(n - 1)]);
    }
    // All three lie in the last windows kept.
    EXPECT_EQ(Reads() - before, 0u);
    FillCache::Drop();
    before = Reads();
    for (int n : picks) EXPECT_EQ(iLreadFile(large_, n), plain[static_cast<size_t>(n - 1)]);
    EXPECT_EQ(Reads() - before, 3u);
}

TEST_F(FillCacheTest, ManyRecordsReadAtRandomAreReadInWholeChunks) {
    std::vector<std::string> plain;
    for (int n = 1; n <= kLargeRecords; ++n) plain.push_back(iLreadFile(large_, n));
    const FillCache fill;
    const uint64_t before = Reads();
    // 300 records all over the file, never two close together in a row.
    for (int i = 0; i < 300; ++i) {
        const int n = (i * 1237) % kLargeRecords + 1;
        ASSERT_EQ(iLreadFile(large_, n), plain[static_cast<size_t>(n - 1)]) << n;
    }
    // As many reads of one record as LARGE holds chunks, then the chunks.
    const int64_t chunks = (kLargeRecords * 100 + kDenseChunkBytes - 1) / kDenseChunkBytes;
    EXPECT_EQ(Reads() - before, static_cast<uint64_t>(2 * chunks));
    // The last record, whose chunk is shorter, reads as it does straight from the file.
    EXPECT_EQ(iLreadFile(large_, kLargeRecords), plain.back());
}

TEST_F(FillCacheTest, IndexSearchesOfOneFillReadEachNodeOnce) {
    auto find = [&](int32_t value) {
        std::string cursor(kCursorSize, '\0');
        std::string key = Be(4, value);
        int32_t record = 0;
        iKFind(keys_, cursor, key, record);
        return record;
    };
    const FillCache fill;
    const uint64_t before = Reads();
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(find(4410), 441);
        EXPECT_EQ(find(4415), -442);
        EXPECT_EQ(find(1), -1);
        EXPECT_EQ(find(999999), 0);
    }
    // The index is small: read whole by the first search.
    EXPECT_EQ(Reads() - before, 1u);
}

TEST_F(FillCacheTest, AWriteDropsWhatTheFillKept) {
    SetWritesAllowed(true);
    const FillCache fill;
    EXPECT_EQ(iLreadFile(small_, 3), Record(3));
    iLwriteFile(small_, 3, Record(3, 'w'));
    EXPECT_EQ(iLreadFile(small_, 3), Record(3, 'w'));
}

TEST_F(FillCacheTest, OffTheCacheReadsEveryTime) {
    FillCache::SetEnabled(false);
    {
        const FillCache fill;
        EXPECT_FALSE(FillCache::Active());
        const uint64_t before = Reads();
        for (int pass = 0; pass < 2; ++pass) iLreadFile(small_, 1);
        EXPECT_EQ(Reads() - before, 2u);
    }
    FillCache::SetEnabled(true);
}

TEST(RememberForFill, OneAnswerPerQuestionPerFillAndNoErrorKept) {
    int computed = 0;
    auto ask = [&](std::string_view key) {
        return RememberForFill("Vendor", key, [&] {
            ++computed;
            return "name of " + std::string(key);
        });
    };
    EXPECT_EQ(ask("7"), "name of 7");
    EXPECT_EQ(ask("7"), "name of 7");
    EXPECT_EQ(computed, 2);  // no fill: asked each time
    {
        const FillCache fill;
        EXPECT_EQ(ask("7"), "name of 7");
        EXPECT_EQ(ask("8"), "name of 8");
        EXPECT_EQ(ask("7"), "name of 7");
        EXPECT_EQ(RememberForFill("Customer", "7", [] { return std::string("other kind"); }),
                  "other kind");
        EXPECT_EQ(computed, 4);
        int failures = 0;
        for (int i = 0; i < 2; ++i) {
            try {
                RememberForFill("Vendor", "9", [&]() -> std::string {
                    ++failures;
                    throw BasicError(91, "test", "failed");
                });
            } catch (const BasicError&) {
            }
        }
        EXPECT_EQ(failures, 2);
    }
    const FillCache next;
    EXPECT_EQ(ask("7"), "name of 7");
    EXPECT_EQ(computed, 5);
}

}  // namespace
}  // namespace dv
