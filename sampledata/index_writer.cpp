#include "sampledata/index_writer.h"

#include <algorithm>
#include <stdexcept>

#include "sampledata/formats.h"

namespace dv::sample {
namespace {

using Entry = std::pair<std::string, int32_t>;

// Splits n items into ceil(n / fill) groups whose sizes differ by at most one, the larger ones
// last, so no node is left nearly empty and the last leaf never holds the end marker alone
// (KLast would find no key before it).
std::vector<size_t> GroupSizes(size_t n, size_t fill) {
    const size_t groups = (n + fill - 1) / fill;
    std::vector<size_t> sizes(groups, n / groups);
    for (size_t i = 0; i < n % groups; ++i) ++sizes[groups - 1 - i];
    return sizes;
}

}  // namespace

int CompareKeys(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int d = static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
        if (d != 0) return d;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

IndexWriter::IndexWriter(std::string name, int32_t key_length)
    : name_(std::move(name)), key_length_(key_length) {
    if (key_length_ < 1 || key_length_ > kNodeEntryBytes - 4)
        throw std::invalid_argument("key length of " + name_ + " must be 1 to 504");
}

int32_t IndexWriter::MaxFill() const {
    return kNodeEntryBytes / (key_length_ + 4);
}

IndexWriter& IndexWriter::Add(std::string_view key, int32_t record) {
    if (static_cast<int32_t>(key.size()) > key_length_)
        throw std::invalid_argument(name_ + ": key longer than " + std::to_string(key_length_));
    std::string k(key);
    k.resize(static_cast<size_t>(key_length_), '\0');
    if (k == EndMarkerKey(key_length_))
        throw std::invalid_argument(name_ + ": a key of all 0xFF bytes is the end marker's");
    entries_.emplace_back(std::move(k), record);
    return *this;
}

IndexWriter& IndexWriter::Fill(int32_t entries_per_node) {
    if (entries_per_node != 0 && (entries_per_node < 2 || entries_per_node > MaxFill()))
        throw std::invalid_argument(name_ + ": fill must be 2 to " + std::to_string(MaxFill()));
    fill_ = entries_per_node;
    return *this;
}

IndexWriter& IndexWriter::InnerFill(int32_t entries_per_node) {
    if (entries_per_node != 0 && (entries_per_node < 2 || entries_per_node > MaxFill()))
        throw std::invalid_argument(name_ + ": fill must be 2 to " + std::to_string(MaxFill()));
    inner_fill_ = entries_per_node;
    return *this;
}

IndexWriter& IndexWriter::Spare(int32_t nodes) {
    if (nodes < 0) throw std::invalid_argument("spare nodes must not be negative");
    spare_ = nodes;
    return *this;
}

IndexWriter& IndexWriter::HeaderValue(int32_t value) {
    header_value_ = value;
    return *this;
}

std::vector<Entry> IndexWriter::Sorted() const {
    std::vector<Entry> sorted = entries_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Entry& a, const Entry& b) {
        const int c = CompareKeys(a.first, b.first);
        return c != 0 ? c < 0 : a.second < b.second;
    });
    return sorted;
}

BuiltIndex IndexWriter::Build() const {
    const int32_t fill = fill_ == 0 ? MaxFill() : fill_;
    const int32_t inner_fill = inner_fill_ == 0 ? fill : inner_fill_;
    std::vector<Entry> level = Sorted();
    level.emplace_back(EndMarkerKey(key_length_), -1);
    if (fill < 2 && level.size() > 1)
        throw std::invalid_argument(name_ + ": keys of " + std::to_string(key_length_) +
                                    " bytes leave room for one entry per node");

    BuiltIndex out;
    IndexLayout& lay = out.layout;
    lay.key_length = key_length_;
    lay.entry_size = key_length_ + 4;
    lay.fill = fill;

    // Nodes in the order they are numbered, each with its entries and next-leaf field.
    std::vector<std::string> nodes;
    bool leaves = true;
    while (true) {
        const std::vector<size_t> sizes =
            GroupSizes(level.size(), static_cast<size_t>(leaves ? fill : inner_fill));
        const int32_t first = static_cast<int32_t>(nodes.size()) + 1;
        if (first - 1 + static_cast<int64_t>(sizes.size()) + spare_ > kMaxNode)
            throw std::length_error(name_ + ": more nodes than an index can number");
        std::vector<Entry> parents;
        std::vector<int32_t> numbers;
        size_t at = 0;
        for (size_t g = 0; g < sizes.size(); ++g) {
            const int32_t number = first + static_cast<int32_t>(g);
            const std::vector<Entry> group(level.begin() + static_cast<ptrdiff_t>(at),
                                           level.begin() + static_cast<ptrdiff_t>(at + sizes[g]));
            at += sizes[g];
            const int32_t next = !leaves ? 0 : (g + 1 < sizes.size() ? number + 1 : kLastLeaf);
            nodes.push_back(IndexNode(group, next));
            parents.emplace_back(group.back().first, number);
            numbers.push_back(number);
        }
        lay.levels.push_back(numbers);
        if (leaves)
            for (const size_t size : sizes) lay.leaf_counts.push_back(static_cast<int32_t>(size));
        leaves = false;
        if (parents.size() == 1) break;
        level = std::move(parents);
    }
    lay.leaves = lay.levels.front();
    lay.root = lay.levels.back().front();
    lay.depth = static_cast<int32_t>(lay.levels.size());
    if (lay.depth > kMaxDepth)
        throw std::length_error(name_ + ": " + std::to_string(lay.depth) +
                                " levels; a cursor holds " + std::to_string(kMaxDepth));
    lay.last_record = static_cast<int32_t>(nodes.size()) + spare_;

    IndexHeaderFields h;
    h.entry_size = lay.entry_size;
    h.entries_per_node = MaxFill();
    h.capacity = lay.last_record;
    h.root = lay.root;
    h.fill = fill;
    h.header_value = header_value_;
    out.bytes = IndexHeader(h);
    out.bytes.reserve((static_cast<size_t>(lay.last_record) + 1) * kBlock);
    for (const std::string& node : nodes) out.bytes += node;
    out.bytes.resize((static_cast<size_t>(lay.last_record) + 1) * kBlock, '\0');
    return out;
}

}  // namespace dv::sample
