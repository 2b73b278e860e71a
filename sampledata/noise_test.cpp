// Noise lands where no reader looks and nowhere else: the bytes each layout's readers decode are
// the noiseless set's, the others are drawn, and every index walk meets the same records in the
// same order.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine/control_file.h"
#include "sampledata/data_set.h"
#include "sampledata/demo_set.h"
#include "sampledata/formats.h"
#include "sampledata/noise.h"

namespace dv::sample {
namespace {

DataSetImage Noisy(uint64_t seed) {
    DataSetImage image = BuildDemoSet(Scale::kTiny);
    noise::AddNoise(image, seed);
    return image;
}

using Bytes = std::function<std::string(const DataSetImage&)>;

// `length` bytes of a logical file's container from the offset `at` gives.
Bytes Slice(std::string name, std::function<int64_t(const DataSetImage&)> at, int32_t length) {
    return [=](const DataSetImage& image) {
        return image.File(image.Logical(name).container)
            .substr(static_cast<size_t>(at(image)), static_cast<size_t>(length));
    };
}
// Bytes from..to (1-based) of record n of a record file.
Bytes Record(std::string name, int32_t n, int32_t from, int32_t to) {
    return Slice(
        name, [=](const DataSetImage& i) { return i.RecordOffset(name, n) + from - 1; },
        to - from + 1);
}
// Bytes from..to of node n of an index (0: its header).
Bytes Node(std::string name, int32_t n, int32_t from, int32_t to) {
    return Slice(
        name, [=](const DataSetImage& i) { return i.NodeOffset(name, n) + from - 1; },
        to - from + 1);
}
// Bytes from..to of a file of the data directory (byte 1 its first).
Bytes Plain(std::string name, int64_t from, int64_t to) {
    return [=](const DataSetImage& image) {
        return image.File(image.DataPath(name))
            .substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1));
    };
}
Bytes Block0(int32_t block, int32_t from, int32_t to) {
    return Plain(file0::kName, int64_t{block} * file0::kBlockSize + from,
                 int64_t{block} * file0::kBlockSize + to);
}

TEST(Noise, KeepsWhatReadersDecodeAndDrawsTheRest) {
    struct Case {
        const char* what;
        Bytes bytes;
        bool kept;
    };
    const Case cases[] = {
        {"a vendor's name", Record("VNDRL", 1, 6, 25), true},
        {"a vendor's number and status word", Record("VNDRL", 1, 1, 5), false},
        {"a vendor's address", Record("VNDRL", 1, 26, 96), false},
        {"a product line's fields", Record("LINEL", 1, 3, 29), true},
        {"a product line's status word and bytes 30-32", Record("LINEL", 1, 1, 2), false},
        {"a product line's extension", Record("ELINEL", 1, 1, 64), false},
        {"record zero's counts", Record("LINEL", 0, 1, 14), true},
        {"record zero after its counts", Record("LINEL", 0, 15, 192), false},
        {"a customer's fields, main and extension", Record("ECUSTL", 1, 1, 100), true},
        {"a customer's extension past its fields", Record("ECUSTL", 1, 101, 128), false},
        {"a pick ticket's head page header", Record("INVOL", 3, 3, 5), true},
        {"the link field of the ticket's page 1 (its date)", Record("INVOL", 1, 110, 112), true},
        {"the header of a page below the head", Record("INVOL", 1, 3, 5), false},
        {"a claim header's unread bytes", Record("WARRL", 1, 392, 400), false},
        {"an index header's entry size", Node("PUTBI", 0, 1, 2), true},
        {"an index header's root", Node("PUTBI", 0, 9, 10), true},
        {"an index header's other fields", Node("PUTBI", 0, 11, 512), false},
        {"a document key's name", Node("PUTBI", 1, 5, 14), true},
        {"a document key's bytes 11-15", Node("PUTBI", 1, 15, 19), false},
        {"a document key's record number", Node("PUTBI", 1, 21, 24), false},
        {"the store name", Block0(file0::kStoreBlock, 151, 185), true},
        {"the rest of the store name's block", Block0(file0::kStoreBlock, 1, 150), false},
        {"a block no view reads", Block0(2, 1, 512), false},
        {"a document's number, vendor, date", Plain("R10001", 38 + 3, 38 + 15), true},
        {"a document's record 0", Plain("R10001", 1, 38), false},
    };
    const DataSetImage plain = BuildDemoSet(Scale::kTiny);
    const DataSetImage noisy = Noisy(7);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.kept)
            EXPECT_EQ(c.bytes(noisy), c.bytes(plain));
        else
            EXPECT_NE(c.bytes(noisy), c.bytes(plain));
    }
    EXPECT_EQ(Noisy(7).files, noisy.files);
    EXPECT_NE(Noisy(8).files, noisy.files);
}

// The records of each index in the order its leaves hold them.
std::vector<int32_t> LeafRecords(const DataSetImage& image, const std::string& index) {
    const LogicalPlacement& p = image.Logical(index);
    const std::string& container = image.File(p.container);
    std::vector<int32_t> records;
    for (size_t l = 0; l < p.index.leaves.size(); ++l) {
        const auto at = static_cast<size_t>(image.NodeOffset(index, p.index.leaves[l]));
        const std::string node = container.substr(at, kBlock);
        for (int32_t i = 0; i < p.index.leaf_counts[l]; ++i)
            records.push_back(static_cast<int32_t>(
                GetBE(node, kNodeHeaderSize + (i + 1) * p.index.entry_size - 3, 4)));
    }
    return records;
}

TEST(Noise, EveryWalkMeetsTheSameRecordsInTheSameOrder) {
    const DataSetImage plain = BuildDemoSet(Scale::kTiny);
    const DataSetImage noisy = Noisy(3);
    // The keys that only order (LUNITI's and FPLNI's after the line, GLDTI's after the account)
    // are redrawn in their order; RTTBI's, PUTBI's and COMODI's records are never read.
    for (const char* index : {"LINEI", "PARTI", "VNDRI", "CUSTI", "TICKI", "MANI", "CHRTI", "GLDTI",
                              "UNITI", "LUNITI", "FPLNI", "WARRI"}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(LeafRecords(noisy, index), LeafRecords(plain, index));
    }
    for (const char* index : {"LUNITI", "FPLNI"})
        EXPECT_NE(Node(index, 1, 7, 10)(noisy), Node(index, 1, 7, 10)(plain)) << index;
}

TEST(Noise, ARecordNotInUseKeepsItsStatusWordAndLink) {
    DataSetWriter set;
    RecordFileWriter& vendors = set.AddRecordFile("VNDRL", 96);
    vendors.Add(vendors.NewRecord().Bin(1, 'J', 1).Text(6, "SUMMIT SUPPLY", 20));
    vendors.AddDeleted();
    DataSetImage image = set.Build();
    const DataSetImage plain = image;
    noise::AddNoise(image, 1);
    EXPECT_EQ(Record("VNDRL", 2, 1, 6)(image), Record("VNDRL", 2, 1, 6)(plain));
    EXPECT_NE(Record("VNDRL", 2, 7, 96)(image), Record("VNDRL", 2, 7, 96)(plain));

    DataSetWriter other;
    other.AddRecordFile("ITEML", 40);
    DataSetImage unknown = other.Build();
    EXPECT_THROW(noise::AddNoise(unknown, 1), std::invalid_argument);
}

}  // namespace
}  // namespace dv::sample
