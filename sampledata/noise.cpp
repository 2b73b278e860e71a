#include "sampledata/noise.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/control_file.h"
#include "sampledata/demo_set.h"
#include "sampledata/formats.h"
#include "sampledata/index_writer.h"
#include "sampledata/record_builder.h"

namespace dv::sample::noise {
namespace {

// The bytes a trimmed name drops from its end: filler the dealer system may pad a name with.
constexpr char kFiller[] = {'\0', '\t', '\n', '\r', ' '};

bool IsFiller(char c) {
    return std::find(std::begin(kFiller), std::end(kFiller), c) != std::end(kFiller);
}

uint64_t Hash(std::string_view text) {
    uint64_t h = 0xCBF29CE484222325ull;
    for (const char c : text) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
    return h;
}

// The bytes drawn for one part of the set: a sequence of its own from the seed and the part's
// name, so that the noise of one file does not move when another file changes.
class Draw {
  public:
    Draw(uint64_t seed, std::string_view what) : random_(seed ^ Hash(what)) {}

    char Byte() { return static_cast<char>(random_.Next() & 0xFF); }
    int64_t Between(int64_t low, int64_t high) { return random_.Between(low, high); }
    bool OneIn(int64_t n) { return random_.Between(1, n) == 1; }
    char Filler() { return kFiller[random_.Between(0, 4)]; }
    std::string Bytes(size_t n) {
        std::string out(n, '\0');
        for (char& c : out) c = Byte();
        return out;
    }
    // Upper-case letters and digits.
    std::string Word(size_t least, size_t most) {
        static constexpr std::string_view kChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        std::string out(
            static_cast<size_t>(Between(static_cast<int64_t>(least), static_cast<int64_t>(most))),
            ' ');
        for (char& c : out) c = kChars[static_cast<size_t>(Between(0, kChars.size() - 1))];
        return out;
    }
    // Printable characters other than the comma.
    std::string Text(size_t least, size_t most) {
        std::string out(
            static_cast<size_t>(Between(static_cast<int64_t>(least), static_cast<int64_t>(most))),
            ' ');
        for (char& c : out) {
            c = static_cast<char>(Between(' ', '~'));
            if (c == ',') c = ';';
        }
        return out;
    }

  private:
    Random random_;
};

// A big-endian field at a 1-based position of a record, unsigned; 0 where the record ends first.
uint32_t Field(std::string_view record, int64_t at, int width) {
    if (at < 1 || at - 1 + width > static_cast<int64_t>(record.size())) return 0;
    return GetBE(record, static_cast<int32_t>(at), width);
}

int32_t StatusWord(std::string_view record) {
    return static_cast<int16_t>(Field(record, 1, 2));
}

// Which bits of each byte of one record its readers decode, by the position the readers address:
// a main record and its extension record joined, main first. `first` is the position of the
// record's own first byte (1 for a main record, the main record's length + 1 for an extension).
class Kept {
  public:
    Kept(int64_t first, size_t size) : first_(first), bits_(size, 0) {}

    Kept& Bytes(int64_t from, int64_t to) {
        for (int64_t p = from; p <= to; ++p) Bits(p, 0xFF);
        return *this;
    }
    Kept& Bits(int64_t at, uint8_t bits) {
        const int64_t i = at - first_;
        if (i >= 0 && i < static_cast<int64_t>(bits_.size())) bits_[static_cast<size_t>(i)] |= bits;
        return *this;
    }
    // Draws every bit not kept of the bytes from data on.
    void Apply(char* data, Draw& draw) const {
        for (size_t i = 0; i < bits_.size(); ++i) {
            const auto keep = bits_[i];
            if (keep == 0xFF) continue;
            const auto drawn = static_cast<uint8_t>(draw.Byte());
            data[i] = static_cast<char>((static_cast<uint8_t>(data[i]) & keep) |
                                        (drawn & static_cast<uint8_t>(~keep)));
        }
    }

  private:
    int64_t first_;
    std::vector<uint8_t> bits_;
};

// What the readers of a record depend on beyond its own bytes.
struct Context {
    std::set<int32_t> invol_heads;    // INVOL records named as a document's head page
    std::set<int32_t> warrl_headers;  // WARRL records WARRI names: the claim headers
};

using Layout = void (*)(Kept&, std::string_view record, int32_t number, const Context&);

// ---- The record layouts, as their readers decode them (positions of the joined record).

void ProductLine(Kept& k, std::string_view, int32_t, const Context&) {
    // Bytes 30-32, 192 and 199-202 lie between fields; the record's fields end at 222.
    k.Bytes(3, 29).Bytes(33, 191).Bytes(193, 198).Bytes(203, 222);
}

// An extension record that no reader joins to its main record: the views and lookups of product
// lines and parts pass the main record alone.
void NotJoined(Kept&, std::string_view, int32_t, const Context&) {}

void PartRecord(Kept& k, std::string_view, int32_t, const Context&) {
    // Bytes 31-32, 147 and 157 lie between fields; 88, 89 and 273 hold flags in a few of their
    // bits; the fields end at 288.
    k.Bytes(3, 30).Bytes(33, 87).Bits(88, 0xEC).Bits(89, 0x3A).Bytes(90, 146).Bytes(148, 156);
    k.Bytes(158, 272).Bits(273, 0x06).Bytes(274, 288);
}

void Vendor(Kept& k, std::string_view, int32_t, const Context&) {
    k.Bytes(6, 25);  // the name is all a vendor's readers take
}

void Customer(Kept& k, std::string_view, int32_t, const Context&) {
    // Byte 92 holds four flags in its low bits; 293-296 lie between fields, which end at 300.
    k.Bytes(3, 91).Bits(92, 0x0F).Bytes(93, 292).Bytes(297, 300);
}

void Counterman(Kept& k, std::string_view, int32_t, const Context&) {
    k.Bytes(3, 199).Bytes(205, 400);
}

void ChartAccount(Kept& k, std::string_view, int32_t, const Context&) {
    k.Bytes(3, 39);  // company, account, class and name
}

void LedgerDetail(Kept& k, std::string_view, int32_t, const Context&) {
    k.Bytes(5, 8).Bytes(53, 59);  // account, sign, millions and cents
}

void Unit(Kept& k, std::string_view, int32_t, const Context&) {
    k.Bytes(3, 18).Bytes(20, 232).Bytes(501, 512);
}

void UnitLedger(Kept& k, std::string_view, int32_t, const Context&) {
    k.Bytes(3, 52).Bytes(57, 64);
}

void FloorPlan(Kept& k, std::string_view, int32_t, const Context&) {
    k.Bytes(3, 80).Bytes(94, 96);
}

void Extent(Kept& k, std::string_view r, int32_t, const Context&) {
    // Bytes 3-4 as a number from 1 to 998 make a part line, whose fields leave 25-28 unread;
    // anything else a text record, read to its link.
    const uint32_t line = Field(r, 3, 2);
    k.Bytes(1, 4);
    if (line >= 1 && line <= 998)
        k.Bytes(5, 24).Bytes(29, 31);
    else
        k.Bytes(5, 31);
}

// The line slots a page counts (B at 146), 44 bytes each from 161: a remark line ("REM") is read
// whole, any other line up to its cost (slot bytes 1-38).
void LineSlots(Kept& k, std::string_view r) {
    static const uint32_t kRemark = GetBE(PackText("REM"), 1, 2);
    const uint32_t count = Field(r, 146, 1);
    for (uint32_t j = 0; j < count; ++j) {
        const int64_t at = 161 + 44 * int64_t{j};
        if (at > static_cast<int64_t>(r.size())) break;
        k.Bytes(at, at + (Field(r, at, 2) == kRemark ? 43 : 37));
    }
}

bool InvoiceStatus(int32_t status) {
    for (const int32_t s : {1, 2, 3, 13, 17, 19, 99})
        if (status == s) return true;
    return false;
}

void InvoicePage(Kept& k, std::string_view r, int32_t n, const Context& c) {
    // What every walk of a page chain reads on every page: the status word, the link (page 1's
    // date), the page number and the slot count; a shop-job page's lines belong to its request.
    k.Bytes(1, 2).Bytes(110, 112).Bytes(115, 115).Bytes(146, 146);
    const int32_t status = StatusWord(r);
    const bool shop = status == 80 || status == 81;
    if (shop) k.Bytes(97, 97);
    if (c.invol_heads.count(n) != 0) {
        // A document's head page: the header, as its status word chooses the variant.
        k.Bytes(12, 13).Bytes(113, 114).Bytes(123, 140).Bytes(145, 145).Bytes(147, 149);
        k.Bytes(157, 157);
        if (shop) {
            k.Bytes(3, 115).Bits(116, 0xC0).Bytes(117, 143).Bytes(151, 154).Bytes(156, 156);
        } else if (InvoiceStatus(status)) {
            k.Bytes(3, 5).Bytes(48, 51).Bytes(54, 62).Bits(63, 0x03).Bytes(64, 76).Bytes(86, 109);
            k.Bits(116, 0x36).Bytes(117, 122).Bytes(141, 143).Bytes(151, status == 2 ? 154 : 152);
            k.Bytes(156, 156).Bytes(158, 160);
        }
    }
    LineSlots(k, r);
}

void WarrantyRecord(Kept& k, std::string_view r, int32_t n, const Context& c) {
    if (c.warrl_headers.count(n) != 0) {
        k.Bytes(1, 274).Bytes(276, 391).Bytes(401, 505).Bytes(507, 512);  // a claim header
        return;
    }
    // A page of a claim's lines: what the walk of its chain reads.
    k.Bytes(110, 112).Bytes(115, 115).Bytes(146, 146);
    LineSlots(k, r);
}

struct RecordFile {
    std::string_view name;
    Layout layout;
    std::string_view main;  // for an extension file, the file whose records it continues
};

const RecordFile kRecordFiles[] = {
    {"LINEL", &ProductLine, ""},    {"ELINEL", &NotJoined, "LINEL"},
    {"PARTL", &PartRecord, ""},     {"EPARTL", &NotJoined, "PARTL"},
    {"VNDRL", &Vendor, ""},         {"CUSTL", &Customer, ""},
    {"ECUSTL", &Customer, "CUSTL"}, {"MANL", &Counterman, ""},
    {"EMANL", &Counterman, "MANL"}, {"INVOL", &InvoicePage, ""},
    {"CHRTL", &ChartAccount, ""},   {"GLDTL", &LedgerDetail, ""},
    {"UNITL", &Unit, ""},           {"LUNITL", &UnitLedger, ""},
    {"FPLNL", &FloorPlan, ""},      {"FPEXL", &Extent, ""},
    {"WARRL", &WarrantyRecord, ""},
};

// An index, and the key bytes and record numbers its readers do not read.
struct IndexFile {
    std::string_view name;
    int32_t order_from = 0;  // key bytes from..to only order the keys; 0: every byte is read
    int32_t order_to = 0;
    bool records_unread = false;  // an entry's record number only ends the walk when below 1
};

const IndexFile kIndexFiles[] = {
    {"LINEI"},
    {"COMODI", 4, 4, true},
    {"PARTI"},
    {"VNDRI"},
    {"RTTBI", 11, 15, true},
    {"PUTBI", 11, 15, true},
    {"CUSTI"},
    {"TICKI"},
    {"MANI"},
    {"CHRTI"},
    {"GLDTI", 7, 10},
    {"UNITI"},
    {"LUNITI", 3, 10},
    {"FPLNI", 3, 26},
    {"WARRI"},
};

// ---- Index nodes in the image.

struct Node {
    int32_t count = 0;
    int32_t next = 0;
    char* bytes = nullptr;  // the node's 512 bytes in the container
};

class IndexImage {
  public:
    IndexImage(DataSetImage& image, const LogicalPlacement& p)
        : p_(p), container_(image.File(p.container)) {
        const char* header = Block(0);
        if (header == nullptr) throw std::invalid_argument(p.name + " has no header block");
        entry_size_ = static_cast<int32_t>(GetBE(std::string_view(header, kBlock), 1, 2));
        root_ = static_cast<int32_t>(GetBE(std::string_view(header, kBlock), 9, 2));
        if (entry_size_ < 5 || entry_size_ > kNodeEntryBytes)
            throw std::invalid_argument(p.name + " has an entry size of " +
                                        std::to_string(entry_size_));
    }
    int32_t entry_size() const { return entry_size_; }
    int32_t key_length() const { return entry_size_ - 4; }
    int32_t last() const { return p_.last_record; }
    char* Block(int32_t n) {
        const int64_t at = (int64_t{p_.position} + n) * kBlock;
        return at + kBlock <= static_cast<int64_t>(container_.size()) ? &container_[at] : nullptr;
    }
    // Node n, or none when it lies outside the file; its count cut to what fits in 512 bytes.
    bool Read(int32_t n, Node& node) {
        if (n < 1 || n > p_.last_record) return false;
        node.bytes = Block(n);
        if (node.bytes == nullptr) return false;
        const std::string_view b(node.bytes, kBlock);
        node.count =
            std::min<int32_t>(static_cast<int32_t>(GetBE(b, 1, 2)), kNodeEntryBytes / entry_size_);
        node.next = static_cast<int32_t>(GetBE(b, 3, 2));
        return true;
    }
    char* Entry(const Node& node, int32_t i) {  // entry i from 0
        return node.bytes + kNodeHeaderSize + static_cast<ptrdiff_t>(i) * entry_size_;
    }
    std::string Key(const Node& node, int32_t i) {
        return std::string(Entry(node, i), static_cast<size_t>(key_length()));
    }
    int32_t Pointer(const Node& node, int32_t i) {
        return static_cast<int32_t>(
            GetBE(std::string_view(Entry(node, i), entry_size_), key_length() + 1, 4));
    }
    // The nodes a walk can reach: the root and its subtrees, and the leaves chained from them.
    std::set<int32_t> Reached() {
        std::set<int32_t> reached;
        std::vector<int32_t> pending = {root_};
        while (!pending.empty()) {
            const int32_t n = pending.back();
            pending.pop_back();
            Node node;
            if (reached.count(n) != 0 || !Read(n, node)) continue;
            reached.insert(n);
            if (node.next == 0) {
                for (int32_t i = 0; i < node.count; ++i) pending.push_back(Pointer(node, i));
            } else if (node.next != kLastLeaf) {
                pending.push_back(node.next);
            }
        }
        return reached;
    }
    // The leaf entries in chain order, from the leaf the root's first entries lead to.
    std::vector<std::pair<std::string, int32_t>> LeafEntries() {
        std::vector<std::pair<std::string, int32_t>> out;
        int32_t n = root_;
        Node node;
        for (int32_t depth = 0; depth < kMaxDepth && Read(n, node) && node.next == 0; ++depth) {
            if (node.count < 1) return out;
            n = Pointer(node, 0);
        }
        std::set<int32_t> seen;
        while (seen.insert(n).second && Read(n, node) && node.next != 0) {
            for (int32_t i = 0; i < node.count; ++i)
                out.emplace_back(Key(node, i), Pointer(node, i));
            if (node.next == kLastLeaf) break;
            n = node.next;
        }
        return out;
    }

  private:
    const LogicalPlacement& p_;
    std::string& container_;
    int32_t entry_size_ = 0;
    int32_t root_ = 0;
};

bool IsEndMarker(std::string_view key) {
    return std::all_of(key.begin(), key.end(), [](char c) { return c == '\xFF'; });
}

std::vector<std::pair<std::string, int32_t>> LeafEntriesOf(DataSetImage& image,
                                                           std::string_view index) {
    for (const LogicalPlacement& p : image.logical)
        if (p.name == index && p.file_type == 'I') return IndexImage(image, p).LeafEntries();
    return {};
}

// Redraws the key bytes that only order the keys: within each run of keys alike before them, new
// bytes drawn in the keys' order, so that every walk and search meets the keys as before.
std::map<std::string, std::string> RedrawnKeys(IndexImage& index, const IndexFile& desc,
                                               Draw& draw) {
    std::map<std::string, std::string> out;
    if (desc.order_from < 1 || desc.order_to > index.key_length()) return out;
    std::set<std::string> keys;
    for (const auto& [key, record] : index.LeafEntries())
        if (!IsEndMarker(key)) keys.insert(key);  // std::string orders bytes as unsigned
    const auto from = static_cast<size_t>(desc.order_from - 1);
    const auto length = static_cast<size_t>(desc.order_to - desc.order_from + 1);
    const std::vector<std::string> sorted(keys.begin(), keys.end());
    for (size_t i = 0; i < sorted.size();) {
        size_t j = i;
        while (j < sorted.size() && sorted[j].compare(0, from, sorted[i], 0, from) == 0) ++j;
        const size_t m = j - i;
        const bool room = length >= 4 || (size_t{1} << (8 * length)) >= m;
        std::set<std::string> drawn;
        while (room && drawn.size() < m) drawn.insert(draw.Bytes(length));
        auto next = drawn.begin();
        for (size_t k = i; k < j; ++k) {
            std::string key = sorted[k];
            if (room) key.replace(from, length, *next++);
            out[sorted[k]] = key;
        }
        i = j;
    }
    return out;
}

void NoiseIndex(DataSetImage& image, const LogicalPlacement& p, const IndexFile& desc,
                uint64_t seed) {
    Draw draw(seed, p.name);
    IndexImage index(image, p);
    const std::map<std::string, std::string> redrawn = RedrawnKeys(index, desc, draw);
    const std::set<int32_t> reached = index.Reached();
    for (int32_t n = 1; n <= index.last(); ++n) {
        Node node;
        if (!index.Read(n, node)) continue;
        if (reached.count(n) == 0) {  // a node no walk reaches
            Kept(1, kBlock).Apply(node.bytes, draw);
            continue;
        }
        for (int32_t i = 0; i < node.count; ++i) {
            const std::string key = index.Key(node, i);
            const auto hit = redrawn.find(key);
            if (hit != redrawn.end()) hit->second.copy(index.Entry(node, i), hit->second.size());
            if (node.next != 0 && desc.records_unread && !IsEndMarker(key)) {
                std::string entry(index.Entry(node, i), static_cast<size_t>(index.entry_size()));
                PutBE(entry, index.key_length() + 1, 4,
                      draw.Between(1, std::numeric_limits<int32_t>::max()));
                entry.copy(index.Entry(node, i), entry.size());
            }
        }
        // The bytes after the entries.
        const int64_t used = kNodeHeaderSize + int64_t{node.count} * index.entry_size();
        Kept(1, kBlock).Bytes(1, used).Apply(node.bytes, draw);
    }
    // The header: the walk reads the entry size and the root.
    Kept(1, kBlock).Bytes(1, 2).Bytes(9, 10).Apply(index.Block(0), draw);
    // The keys keep their order.
    const auto entries = index.LeafEntries();
    for (size_t i = 1; i < entries.size(); ++i)
        if (CompareKeys(entries[i - 1].first, entries[i].first) > 0)
            throw std::logic_error("noise changed the order of the keys of " + p.name);
}

void NoiseRecordFile(DataSetImage& image, const LogicalPlacement& p, const RecordFile& desc,
                     int64_t first, const std::vector<bool>& free_records, const Context& c,
                     uint64_t seed) {
    Draw draw(seed, p.name);
    std::string& container = image.File(p.container);
    const int64_t base = int64_t{p.position} * kBlock;
    const int64_t length = p.record_length;
    if (length < 1) return;
    // Record zero: its status word, the free chain's head, the highest used record and the count
    // of active records.
    if (length >= kRecordZeroSize && base + length <= static_cast<int64_t>(container.size()))
        Kept(1, static_cast<size_t>(length)).Bytes(1, 14).Apply(&container[base], draw);
    for (int32_t n = 1; n <= p.last_record; ++n) {
        const int64_t at = base + n * length;
        if (at + length > static_cast<int64_t>(container.size())) break;
        const std::string_view record(&container[at], static_cast<size_t>(length));
        Kept k(first, static_cast<size_t>(length));
        if (static_cast<size_t>(n) < free_records.size() && free_records[static_cast<size_t>(n)]) {
            k.Bytes(1, 6);  // not in use: the status word and the free chain's link
        } else {
            desc.layout(k, record, n, c);
        }
        k.Apply(&container[at], draw);
    }
}

// The records of a main file whose status word says they are not in use.
std::vector<bool> FreeRecords(DataSetImage& image, const LogicalPlacement& p) {
    std::vector<bool> free(static_cast<size_t>(std::max(p.last_record, 0)) + 1, false);
    const std::string& container = image.File(p.container);
    for (int32_t n = 1; n <= p.last_record && p.record_length >= 2; ++n) {
        const int64_t at = (int64_t{p.position} * kBlock) + int64_t{n} * p.record_length;
        if (at + 2 > static_cast<int64_t>(container.size())) break;
        free[static_cast<size_t>(n)] = StatusWord(std::string_view(&container[at], 2)) <= 0;
    }
    return free;
}

// The blocks and bytes of each container that no logical file covers: block 0, and the tail of a
// record file's last block.
void NoiseContainerGaps(DataSetImage& image, uint64_t seed) {
    std::map<std::string, std::vector<std::pair<int64_t, int64_t>>> covered;
    for (const LogicalPlacement& p : image.logical) {
        const int64_t start = int64_t{p.position} * kBlock;
        const int64_t size = p.file_type == 'I'
                                 ? (int64_t{p.last_record} + 1) * kBlock
                                 : std::max<int64_t>(kRecordZeroSize, (int64_t{p.last_record} + 1) *
                                                                          p.record_length);
        covered[p.container].emplace_back(start, start + size);
    }
    for (const auto& [path, spans] : covered) {
        if (image.files.count(path) == 0) continue;
        std::string& container = image.File(path);
        Draw draw(seed, path);
        Kept k(0, container.size());
        for (const auto& [from, to] : spans) k.Bytes(from, to - 1);
        k.Apply(container.data(), draw);
    }
}

// The directory entries: the bytes after LastRecord, and the filler after each name.
void NoiseDirectories(DataSetImage& image, uint64_t seed) {
    std::set<std::string> paths;
    for (const LogicalPlacement& p : image.logical) paths.insert(p.directory_file);
    for (const std::string& path : paths) {
        if (image.files.count(path) == 0) continue;
        std::string& entries = image.File(path);
        Draw draw(seed, path);
        for (size_t at = 0; at + kDirectoryEntrySize <= entries.size(); at += kDirectoryEntrySize) {
            size_t end = kDirectoryNameSize;
            while (end > 0 && IsFiller(entries[at + end - 1])) --end;
            for (size_t i = end; i < kDirectoryNameSize; ++i) entries[at + i] = draw.Filler();
            for (size_t i = 20; i < kDirectoryEntrySize; ++i) entries[at + i] = draw.Byte();
        }
    }
}

// FILE0: the blocks and positions the views read are kept; an empty slot of the open shop-job
// table holds any number below 1.
void NoiseControlFile(DataSetImage& image, const Context&, uint64_t seed) {
    const std::string path = image.DataPath(file0::kName);
    if (image.files.count(path) == 0) return;
    std::string& file = image.File(path);
    Draw draw(seed, path);
    const int32_t blocks = static_cast<int32_t>(file.size() / file0::kBlockSize);
    for (int32_t b = 0; b < blocks; ++b) {
        char* block = &file[static_cast<size_t>(b) * file0::kBlockSize];
        Kept k(1, file0::kBlockSize);
        if (b == file0::kStoreBlock) {
            k.Bytes(file0::kStoreNameAt, file0::kStoreNameAt + file0::kStoreNameSize - 1);
        } else if (b == file0::kUnitCaptionBlock) {
            for (const int32_t at : file0::kUnitCaptionAt)
                k.Bytes(at, at + file0::kUnitCaptionSize - 1);
        } else if (b >= file0::kSavedFirstBlock && b <= file0::kSavedLastBlock) {
            for (int32_t j = 0; j < file0::kSavedSubBlocks; ++j)
                k.Bytes(file0::SavedSlotAt(j, 0), (j + 1) * file0::kSavedSubBlockSize);
        } else if (b == file0::kOptionBlock) {
            k.Bytes(file0::kOptionShopSegments, file0::kOptionShopSegments);
            k.Bytes(file0::kOptionWarrantySegments, file0::kOptionWarrantySegments);
        } else if (b == file0::kCallResultBlock) {
            const int32_t names = file0::kBlockSize / file0::kCallResultSize;
            k.Bytes(1, file0::CallResultAt(names) + file0::kCallResultSize - 1);
        } else if (b == file0::kSubStatusBlock) {
            k.Bytes(file0::SubStatusAt(1), file0::SubStatusAt(5) + file0::kSubStatusSize - 1);
        } else if ((b >= file0::kJobTableFirstBlock && b <= file0::kJobTableLowLastBlock) ||
                   (b >= file0::kJobTableHighFirstBlock && b <= file0::kJobTableLastBlock)) {
            k.Bytes(1, file0::kBlockSize);
            std::string copy(block, file0::kBlockSize);
            for (int32_t s = 0; s < file0::kJobSlots; ++s) {
                const int32_t at = 4 * s + 1;
                if (static_cast<int32_t>(GetBE(copy, at, 4)) < 1)
                    PutBE(copy, at, 4, draw.Between(std::numeric_limits<int32_t>::min(), 0));
            }
            copy.copy(block, copy.size());
        }
        k.Apply(block, draw);
    }
}

// The per-document order files of RTTBI's and PUTBI's keys: 38-byte records from byte 0.
void NoiseDocuments(DataSetImage& image, uint64_t seed) {
    constexpr int32_t kRecord = 38;
    std::set<std::string> names;
    for (const char* index : {"RTTBI", "PUTBI"}) {
        for (const auto& [key, record] : LeafEntriesOf(image, index)) {
            if (IsEndMarker(key)) continue;
            std::string name = key.substr(0, 10);
            while (!name.empty() && IsFiller(name.back())) name.pop_back();
            if (!name.empty()) names.insert(name);
        }
    }
    for (const std::string& name : names) {
        const std::string path = image.DataPath(name);
        if (image.files.count(path) == 0) continue;
        std::string& file = image.File(path);
        Draw draw(seed, path);
        const size_t records = file.size() / kRecord;
        for (size_t n = 0; n < records; ++n) {
            const std::string_view r(&file[n * kRecord], kRecord);
            Kept k(1, kRecord);
            if (n == 1) {
                k.Bytes(3, 15).Bytes(17, 20);  // number, vendor, date; drop-ship number
            } else if (n >= 2 && n <= 5) {
                k.Bytes(3, 37);  // a comment line
            } else if (n == 6) {
                k.Bytes(22, 25);  // the total
            } else if (n >= 7) {
                k.Bytes(1, 2).Bytes(33, 35);  // the line's kind and cost
                if (StatusWord(r) == 4) k.Bytes(3, 16).Bytes(18, 20);
            }
            k.Apply(&file[n * kRecord], draw);
        }
        // A tail shorter than a record is no record.
        if (file.size() % kRecord != 0)
            Kept(0, file.size() % kRecord).Apply(&file[records * kRecord], draw);
        else
            file += draw.Bytes(static_cast<size_t>(draw.Between(0, kRecord - 1)));
    }
}

// Lines of a text file, each with its line end.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find('\n', at);
        const size_t next = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(at, next - at));
        at = next;
    }
    return lines;
}

std::string LineEnd(const std::string& line) {
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) return "\r\n";
    if (!line.empty() && line.back() == '\n') return "\n";
    return "";
}

// The receivables summary: the header line is not read; the lines after it give two pieces
// (empty pieces left out), and further pieces are not read.
void NoiseReceivables(DataSetImage& image, uint64_t seed) {
    const std::string path = image.DataPath("DARR.KRLI");
    if (image.files.count(path) == 0) return;
    Draw draw(seed, path);
    std::string out;
    const std::vector<std::string> lines = Lines(image.File(path));
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string end = LineEnd(lines[i]);
        std::string line = lines[i].substr(0, lines[i].size() - end.size());
        if (i == 0) {
            line = draw.Text(0, 40);
        } else {
            size_t pieces = 0;
            for (size_t at = 0; at <= line.size();) {
                const size_t comma = std::min(line.find(',', at), line.size());
                if (comma > at) ++pieces;
                at = comma + 1;
            }
            if (pieces >= 2) {
                const size_t comma = line.find(',');
                if (draw.OneIn(2)) line.insert(comma, ",");
                for (int64_t k = draw.Between(1, 2); k > 0; --k) line += "," + draw.Text(1, 12);
            }
        }
        out += line + end;
    }
    image.File(path) = out;
}

// The terminal map: fields after the second and text after a comma in the second are not read,
// and blanks of any number separate the fields; lines for other computers are passed over.
void NoiseTerminalMap(DataSetImage& image, uint64_t seed) {
    const std::string path = image.LinkShare() + "/ttymap";
    if (image.files.count(path) == 0) return;
    Draw draw(seed, path);
    auto blanks = [&](int64_t least) {
        return std::string(static_cast<size_t>(draw.Between(least, 4)), ' ');
    };
    auto other = [&] {
        return draw.OneIn(2) ? draw.Word(1, 10) + "\n"
                             : "DVNOISE-" + draw.Word(2, 6) + blanks(1) + draw.Word(1, 3) + "\n";
    };
    std::string out;
    for (const std::string& line : Lines(image.File(path))) {
        if (draw.OneIn(2)) out += other();
        std::vector<std::string> fields;
        for (size_t at = 0; at < line.size();) {
            const size_t end = std::min(line.find_first_of(" \n", at), line.size());
            if (end > at) fields.push_back(line.substr(at, end - at));
            at = end + 1;
        }
        if (fields.size() < 2) {
            out += line;
            continue;
        }
        std::string noisy = blanks(0) + fields[0] + blanks(1) + fields[1];
        if (draw.OneIn(2)) noisy += "," + draw.Word(1, 6);
        for (size_t f = 2; f < fields.size(); ++f) noisy += blanks(1) + fields[f];
        for (int64_t k = draw.Between(0, 2); k > 0; --k) noisy += blanks(1) + draw.Word(1, 8);
        out += noisy + blanks(0) + "\n";
    }
    out += other();
    image.File(path) = out;
}

// LINKSFILE: bytes 1 and 81 of each entry are not read; the filler after a name may be any of the
// bytes a trimmed name drops.
void NoiseLinks(DataSetImage& image, uint64_t seed) {
    const std::string path = image.LinkShare() + "/LINKSFILE";
    if (image.files.count(path) == 0) return;
    std::string& links = image.File(path);
    Draw draw(seed, path);
    for (size_t at = 0; at + kLinkEntrySize <= links.size(); at += kLinkEntrySize) {
        links[at] = draw.Byte();
        links[at + 1 + kLinkFieldSize] = draw.Byte();
        for (const size_t field : {at + 1, at + 2 + kLinkFieldSize}) {
            size_t end = kLinkFieldSize;
            while (end > 0 && IsFiller(links[field + end - 1])) --end;
            for (size_t i = end; i < kLinkFieldSize; ++i) links[field + i] = draw.Filler();
        }
    }
}

// The catalog settings: other sections, and other keys of its own section, are not read.
void NoiseCatalog(DataSetImage& image, uint64_t seed) {
    Draw draw(seed, "tMRCatalog.ini");
    auto section = [&] {
        std::string s = "[DVNOISE" + draw.Word(1, 6) + "]\n";
        for (int64_t k = draw.Between(1, 3); k > 0; --k)
            s += "X" + draw.Word(1, 8) + "=" + draw.Word(0, 12) + "\n";
        return s;
    };
    std::string ini = image.catalog_ini;
    const size_t own = ini.find("]\n");
    if (own != std::string::npos)
        ini.insert(own + 2, "X" + draw.Word(1, 8) + "=" + draw.Word(0, 12) + "\n");
    image.catalog_ini = section() + ini + section();
}

// Reads what the readers of one file depend on in others: the head pages of INVOL's documents
// and the claim headers of WARRL.
Context ContextOf(DataSetImage& image) {
    Context c;
    for (const auto& [key, record] : LeafEntriesOf(image, "TICKI"))
        if (record > 0 && !IsEndMarker(key)) c.invol_heads.insert(record);
    for (const auto& [key, record] : LeafEntriesOf(image, "WARRI"))
        if (record > 0 && !IsEndMarker(key)) c.warrl_headers.insert(record);
    const std::string path = image.DataPath(file0::kName);
    if (image.files.count(path) != 0) {
        const std::string& file = image.File(path);
        auto slot = [&](int32_t block, int32_t at) -> int32_t {
            const size_t offset = static_cast<size_t>(block) * file0::kBlockSize;
            if (offset + file0::kBlockSize > file.size()) return 0;
            return static_cast<int32_t>(
                GetBE(std::string_view(&file[offset], file0::kBlockSize), at, 4));
        };
        for (int32_t b = file0::kSavedFirstBlock; b <= file0::kSavedLastBlock; ++b)
            for (int32_t j = 0; j < file0::kSavedSubBlocks; ++j)
                for (int32_t k = 0; k < file0::kSavedSlots; ++k)
                    if (const int32_t n = slot(b, file0::SavedSlotAt(j, k)); n != 0)
                        c.invol_heads.insert(n);
        for (int32_t job = 0; job <= file0::kLastJobNumber; ++job)
            if (const int32_t n = slot(file0::JobBlock(job), file0::JobSlotAt(job)); n > 0)
                c.invol_heads.insert(n);
    }
    return c;
}

}  // namespace

void AddNoise(DataSetImage& image, uint64_t seed) {
    const Context context = ContextOf(image);
    std::map<std::string, std::vector<bool>> free_records;
    for (const LogicalPlacement& p : image.logical)
        if (p.file_type == 'L') free_records[p.name] = FreeRecords(image, p);
    for (const LogicalPlacement& p : image.logical) {
        if (p.file_type == 'I') {
            const auto* desc = std::find_if(std::begin(kIndexFiles), std::end(kIndexFiles),
                                            [&](const IndexFile& f) { return f.name == p.name; });
            if (desc == std::end(kIndexFiles))
                throw std::invalid_argument("noise knows no layout of the index " + p.name);
            NoiseIndex(image, p, *desc, seed);
            continue;
        }
        const auto* desc = std::find_if(std::begin(kRecordFiles), std::end(kRecordFiles),
                                        [&](const RecordFile& f) { return f.name == p.name; });
        if (desc == std::end(kRecordFiles))
            throw std::invalid_argument("noise knows no layout of the record file " + p.name);
        int64_t first = 1;
        std::string owner = p.name;
        if (!desc->main.empty()) {
            first = int64_t{image.Logical(desc->main).record_length} + 1;
            owner = std::string(desc->main);
        }
        NoiseRecordFile(image, p, *desc, first, free_records[owner], context, seed);
    }
    NoiseContainerGaps(image, seed);
    NoiseDirectories(image, seed);
    NoiseControlFile(image, context, seed);
    NoiseDocuments(image, seed);
    NoiseReceivables(image, seed);
    NoiseTerminalMap(image, seed);
    NoiseLinks(image, seed);
    NoiseCatalog(image, seed);
}

}  // namespace dv::sample::noise
