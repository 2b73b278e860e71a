#include "sampledata/damage.h"

#include <stdexcept>
#include <string>

#include "sampledata/formats.h"
#include "sampledata/sales_data.h"
#include "sampledata/service_data.h"
#include "sampledata/units_data.h"

namespace dv::sample::damage {
namespace {

LogicalPlacement& IndexOf(DataSetImage& image, std::string_view index) {
    LogicalPlacement& p = image.Logical(index);
    if (p.file_type != 'I') throw std::invalid_argument(std::string(index) + " is no index");
    return p;
}

// Writes a big-endian field at a byte offset of the container, within the image.
void PutAt(DataSetImage& image, const LogicalPlacement& p, int64_t offset, int width,
           int64_t value) {
    std::string& container = image.File(p.container);
    if (offset < 0 || static_cast<size_t>(offset + width) > container.size())
        throw std::out_of_range("damage outside the container of " + p.name);
    PutBE(container, static_cast<int32_t>(offset + 1), width, value);
}

int64_t NodeAt(const LogicalPlacement& p, int32_t node) {
    return (static_cast<int64_t>(p.position) + node) * kBlock;
}

// Rewrites the directory entry of a placement after a change of its fields; a placement whose
// entry was removed (RemoveDirectoryEntry) has none to rewrite.
void RewriteEntry(DataSetImage& image, const LogicalPlacement& p) {
    if (p.entry < 0) return;
    image.File(p.directory_file)
        .replace(static_cast<size_t>(p.entry) * kDirectoryEntrySize, kDirectoryEntrySize,
                 DirectoryEntry(p.Entry()));
}

}  // namespace

void Truncate(DataSetImage& image, const std::string& path, int64_t size) {
    std::string& bytes = image.File(path);
    if (size < 0) throw std::invalid_argument("negative size");
    if (static_cast<size_t>(size) < bytes.size()) bytes.resize(static_cast<size_t>(size));
}

void TruncateLogical(DataSetImage& image, std::string_view name, int64_t keep) {
    const LogicalPlacement& p = image.Logical(name);
    Truncate(image, p.container, static_cast<int64_t>(p.position) * kBlock + keep);
}

void LoopLeafChain(DataSetImage& image, std::string_view index, int32_t from, int32_t to) {
    LogicalPlacement& p = IndexOf(image, index);
    const auto& leaves = p.index.leaves;
    const int32_t n = static_cast<int32_t>(leaves.size());
    if (from < 0) from = n - 1;
    if (from >= n || to < 0 || to >= n) throw std::out_of_range("no such leaf");
    PutAt(image, p, NodeAt(p, leaves[static_cast<size_t>(from)]) + 2, 2,
          leaves[static_cast<size_t>(to)]);
}

void SetEntryCount(DataSetImage& image, std::string_view index, int32_t node, int32_t count) {
    LogicalPlacement& p = IndexOf(image, index);
    if (node == 0) node = p.index.leaves.front();
    if (count < 0) count = kNodeEntryBytes / p.index.entry_size + 1;
    PutAt(image, p, NodeAt(p, node), 2, count);
}

void SetRoot(DataSetImage& image, std::string_view index, int32_t node) {
    LogicalPlacement& p = IndexOf(image, index);
    if (node < 0) node = p.last_record + 1;
    PutAt(image, p, NodeAt(p, 0) + 8, 2, node);
}

void SetChild(DataSetImage& image, std::string_view index, int32_t entry, int32_t child) {
    LogicalPlacement& p = IndexOf(image, index);
    if (p.index.depth < 2) throw std::invalid_argument(p.name + " has no inner node");
    if (child < 0) child = p.last_record + 1;
    const int64_t at = NodeAt(p, p.index.root) + kNodeHeaderSize +
                       static_cast<int64_t>(entry - 1) * p.index.entry_size + p.index.key_length;
    PutAt(image, p, at, 4, child);
}

void SetRecordPointer(DataSetImage& image, std::string_view index, int32_t ordinal,
                      int32_t record) {
    LogicalPlacement& p = IndexOf(image, index);
    int32_t remaining = ordinal;
    for (size_t i = 0; i < p.index.leaves.size(); ++i) {
        const int32_t count = p.index.leaf_counts[i];
        if (remaining < count) {
            const int64_t at = NodeAt(p, p.index.leaves[i]) + kNodeHeaderSize +
                               static_cast<int64_t>(remaining) * p.index.entry_size +
                               p.index.key_length;
            PutAt(image, p, at, 4, record);
            return;
        }
        remaining -= count;
    }
    throw std::out_of_range(p.name + " has no key " + std::to_string(ordinal));
}

void RecordPointerPastLastRecord(DataSetImage& image, std::string_view index,
                                 std::string_view record_file, int32_t ordinal) {
    SetRecordPointer(image, index, ordinal, image.Logical(record_file).last_record + 1);
}

void RemoveDirectoryEntry(DataSetImage& image, std::string_view name) {
    const LogicalPlacement p = image.Logical(name);
    image.File(p.directory_file)
        .erase(static_cast<size_t>(p.entry) * kDirectoryEntrySize, kDirectoryEntrySize);
    for (LogicalPlacement& other : image.logical)
        if (other.directory_file == p.directory_file && other.entry > p.entry) --other.entry;
    image.Logical(name).entry = -1;
}

void RemoveDirectoryFile(DataSetImage& image, std::string_view name) {
    image.files.erase(image.Logical(name).directory_file);
}

void RemoveContainer(DataSetImage& image, std::string_view name) {
    image.files.erase(image.Logical(name).container);
}

void ShortenRecords(DataSetImage& image, std::string_view name, int32_t length) {
    LogicalPlacement& p = image.Logical(name);
    if (p.file_type != 'L') throw std::invalid_argument(p.name + " is no record file");
    if (length < 1 || length >= p.record_length)
        throw std::invalid_argument("a shorter record length must be 1 to record length - 1");
    std::string& container = image.File(p.container);
    const size_t base = static_cast<size_t>(p.position) * kBlock;
    const size_t old_length = static_cast<size_t>(p.record_length);
    const size_t new_length = static_cast<size_t>(length);
    const size_t records = static_cast<size_t>(p.last_record) + 1;
    // Moving records down to their new places, in order, never overwrites one not yet moved;
    // record zero keeps its header.
    for (size_t n = 1; n < records; ++n)
        container.replace(base + n * new_length, new_length,
                          container.substr(base + n * old_length, new_length));
    const size_t old_end = base + records * old_length;
    for (size_t at = base + records * new_length; at < old_end; ++at) container[at] = '\0';
    p.record_length = length;
    RewriteEntry(image, p);
}

namespace {

// The link of record n of a record file, and the first record whose link is not 0.
struct ChainLink {
    const LogicalPlacement* file = nullptr;
    int32_t record = 0;
    int32_t link = 0;
};

int64_t LinkOffset(const DataSetImage& image, const LogicalPlacement& p, int32_t record,
                   int32_t link_at) {
    return image.RecordOffset(p.name, record) + link_at - 1;
}

ChainLink FirstLink(DataSetImage& image, std::string_view name, int32_t link_at, int width) {
    const LogicalPlacement& p = image.Logical(name);
    if (p.file_type != 'L') throw std::invalid_argument(p.name + " is no record file");
    const std::string& container = image.File(p.container);
    for (int32_t n = 1; n <= p.last_record; ++n) {
        const int64_t at = LinkOffset(image, p, n, link_at);
        const int32_t link =
            static_cast<int32_t>(GetBE(container, static_cast<int32_t>(at + 1), width));
        if (link >= 1 && link <= p.last_record && link != n) return {&p, n, link};
    }
    throw std::invalid_argument("no chain in " + p.name);
}

}  // namespace

int32_t LoopRecordChain(DataSetImage& image, std::string_view name, int32_t link_at, int width,
                        int32_t first) {
    if (first <= 0) {
        const ChainLink c = FirstLink(image, name, link_at, width);
        PutAt(image, *c.file, LinkOffset(image, *c.file, c.link, link_at), width, c.record);
        return c.link;
    }
    const LogicalPlacement& p = image.Logical(name);
    const std::string& container = image.File(p.container);
    int32_t last = first;
    for (int32_t steps = 0; steps < p.last_record; ++steps) {
        const int64_t at = LinkOffset(image, p, last, link_at);
        const int32_t next =
            static_cast<int32_t>(GetBE(container, static_cast<int32_t>(at + 1), width));
        if (next < 1 || next > p.last_record) break;
        last = next;
    }
    PutAt(image, p, LinkOffset(image, p, last, link_at), width, first);
    return last;
}

int32_t ChainPastLastRecord(DataSetImage& image, std::string_view name, int32_t link_at, int width,
                            int32_t first) {
    if (first <= 0) first = FirstLink(image, name, link_at, width).record;
    const LogicalPlacement& p = image.Logical(name);
    PutAt(image, p, LinkOffset(image, p, first, link_at), width, p.last_record + 1);
    return first;
}

void ZeroRecord(DataSetImage& image, std::string_view name, int32_t record) {
    const LogicalPlacement& p = image.Logical(name);
    if (p.file_type != 'L') throw std::invalid_argument(p.name + " is no record file");
    std::string& container = image.File(p.container);
    const int64_t at = image.RecordOffset(name, record);
    if (record < 1 || at < 0 || static_cast<size_t>(at + p.record_length) > container.size())
        throw std::out_of_range("record " + std::to_string(record) + " outside " + p.name);
    container.replace(static_cast<size_t>(at), static_cast<size_t>(p.record_length),
                      static_cast<size_t>(p.record_length), '\0');
}

void SetRecordField(DataSetImage& image, std::string_view name, int32_t record, int32_t at,
                    int width, int64_t value) {
    const LogicalPlacement& p = image.Logical(name);
    PutAt(image, p, image.RecordOffset(name, record) + at - 1, width, value);
}

namespace {

// The whole of a file of the link share (not a logical file): removed.
void RemoveShareFile(DataSetImage& image, std::string_view name) {
    if (image.files.erase(image.LinkShare() + "/" + std::string(name)) == 0)
        throw std::invalid_argument("no " + std::string(name) + " in the data set");
}

// One line per damage: its name, what it does, and how.
const NamedDamage kNamedDamages[] = {
    // Start-up.
    {"ttymap-missing", "the terminal map ttymap is missing: start-up fails with -10",
     [](DataSetImage& image) { RemoveShareFile(image, "ttymap"); }},
    // Product lines, parts, vendors and orders.
    {"linel-cut", "the container is cut after LINEL's fifth record, and the files behind it",
     [](DataSetImage& image) {
         TruncateLogical(image, "LINEL", int64_t{image.Logical("LINEL").record_length} * 6);
     }},
    {"linei-root", "LINEI's root lies above its LastRecord: the index range message",
     [](DataSetImage& image) { SetRoot(image, "LINEI"); }},
    {"linei-count", "LINEI's first leaf counts more entries than a node holds",
     [](DataSetImage& image) { SetEntryCount(image, "LINEI"); }},
    {"linei-pointer", "LINEI's fourth key points past the end of LINEL",
     [](DataSetImage& image) { RecordPointerPastLastRecord(image, "LINEI", "LINEL", 3); }},
    {"parti-missing", "PARTI is missing: order details show \"Part Not Found\"",
     [](DataSetImage& image) { RemoveDirectoryEntry(image, "PARTI"); }},
    {"partl-short", "PARTL's records end at byte 62, before the part's cost",
     [](DataSetImage& image) { ShortenRecords(image, "PARTL", 62); }},
    {"vndri-missing", "VNDRI is missing: the returns and purchase orders fail",
     [](DataSetImage& image) { RemoveDirectoryEntry(image, "VNDRI"); }},
    {"putbi-missing", "PUTBI is missing: Open Purchase Orders fails",
     [](DataSetImage& image) { RemoveDirectoryEntry(image, "PUTBI"); }},
    // Damage that used to read as plausible figures (each now a numbered error).
    {"linei-record-zero", "LINEI's fourth key points to record 0: error 1012",
     [](DataSetImage& image) { SetRecordPointer(image, "LINEI", 3, 0); }},
    {"rttbi-no-end", "RTTBI's last leaf lost its end marker: error 1013",
     [](DataSetImage& image) {
         LogicalPlacement& p = IndexOf(image, "RTTBI");
         SetEntryCount(image, "RTTBI", p.index.leaves.back(), p.index.leaf_counts.back() - 1);
     }},
    {"datadb-cut", "LINEL's container is cut inside LINEL: 1061 for the files behind it",
     [](DataSetImage& image) {
         const LogicalPlacement& p = image.Logical("LINEL");
         TruncateLogical(image, "LINEL",
                         int64_t{p.record_length} * (p.last_record / 2) + p.record_length / 2);
     }},
    {"vndrl-length-0", "VNDRL's directory entry has record length 0: error 1061",
     [](DataSetImage& image) {
         LogicalPlacement& p = image.Logical("VNDRL");
         p.record_length = 0;
         RewriteEntry(image, p);
     }},
    {"darr-short", "DARR.KRLI ends after line 20, before its total: A/R fails with 1071",
     [](DataSetImage& image) {
         std::string& text = image.File(image.DataPath("DARR.KRLI"));
         size_t at = 0;
         for (int line = 0; line < 20 && at != std::string::npos; ++line)
             at = text.find('\n', at == 0 ? 0 : at + 1);
         if (at != std::string::npos) text.resize(at + 1);
     }},
    {"saved-names-ticket", "the first saved invoice slot names the first pick ticket: error 1030",
     &sales_damage::SavedSlotNamesTicket},
    {"linel-deleted", "LINEL's fourth record is all zeros: read as it is, a line of no figures",
     [](DataSetImage& image) { ZeroRecord(image, "LINEL", 4); }},
    {"lunitl-deleted", "a unit in stock's first ledger entry is all zeros: $0, and its chain ends",
     &units_damage::DeletedLedgerEntry},
    // A vendor record's one field is its name: what lies before it is no damage.
    {"vndrl-number", "every VNDRL record's status 0, its number at 3 plus 1: no error, names shown",
     [](DataSetImage& image) {
         const LogicalPlacement& p = image.Logical("VNDRL");
         for (int32_t n = 1; n <= p.last_record; ++n) {
             const std::string& c = image.File(p.container);
             const auto at = static_cast<int32_t>(image.RecordOffset("VNDRL", n) + 3);
             SetRecordField(image, "VNDRL", n, 3, 3, int64_t{GetBE(c, at, 3)} + 1);
             SetRecordField(image, "VNDRL", n, 1, 2, 0);
         }
     }},
    {"return-header-zeroed", "the first return's header (record 1 of R10001) is zeroed: error 1064",
     [](DataSetImage& image) {
         std::string& file = image.File(image.DataPath("R10001"));
         file.replace(38, 38, std::string(38, '\0'));
     }},
    {"ticki-names-other", "TICKI's first key names the second pick ticket's head: error 1063",
     &sales_damage::TicketNamesOther},
    // Customers and counter documents (sales_data.h: the first pick ticket is INVOL 1-3).
    {"invol-loop", "the first pick ticket's page 2 links back to its head: error 1030",
     &sales_damage::LoopPageChain},
    {"invol-page-deleted", "the first pick ticket's page 2 reads as deleted: error 1062",
     [](DataSetImage& image) { ZeroRecord(image, "INVOL", 2); }},
    {"invol-page-0", "the first pick ticket's page 2 has page number 0",
     [](DataSetImage& image) { sales_damage::PageByte(image, 0); }},
    {"invol-page-201", "the first pick ticket's page 2 has page number 201: error 1030",
     [](DataSetImage& image) { sales_damage::PageByte(image, 201); }},
    {"invol-missing-page", "the first pick ticket's head links past page 2 to page 1",
     &sales_damage::MissingMiddlePage},
    {"invol-slot-count", "the first pick ticket's page 1 counts 255 line slots",
     &sales_damage::SlotCountPastRecord},
    {"invol-date-0", "the first pick ticket's date is 0: Open Sales Orders fails with 13",
     &sales_damage::ZeroDate},
    {"ticki-past-end", "TICKI's first ticket points past the end of INVOL: error 81",
     &sales_damage::TicketHeadPastLastRecord},
    {"saved-past-end", "the first saved invoice of FILE0's directory lies past INVOL's end",
     &sales_damage::SavedHeadPastLastRecord},
    {"darr-missing", "the receivables summary DARR.KRLI is missing: A/R hides its grids, no error",
     &sales_damage::RemoveReceivables},
    {"darr-malformed", "DARR.KRLI's fifth line has no amount: A/R fails with 9",
     &sales_damage::MalformedReceivables},
    // Shop jobs and warranty claims.
    {"file0-job-slot", "job 107's open-job slot names a record past INVOL: Open Shop Work fails",
     [](DataSetImage& image) { JobSlotPastLastRecord(image, 107); }},
    {"job-page-deleted", "the page job 107's open-job slot names reads as deleted: error 1062",
     [](DataSetImage& image) { DeletedJobPage(image, 107); }},
    {"warrl-page-deleted",
     "the first claim's head page is all zeros, page 0: its row reads \"Error in warranty detail\"",
     [](DataSetImage& image) { DeletedClaimPage(image, 1); }},
    {"warrl-no-pages",
     "the first claim points at no page: its row reads \"Error in warranty detail\"",
     [](DataSetImage& image) { ClaimWithoutPages(image, 1); }},
    {"warrl-loop", "the second claim's head page links to itself: a failure row, never a hang",
     [](DataSetImage& image) { LoopClaimPages(image, 2); }},
};

}  // namespace

std::span<const NamedDamage> NamedDamages() {
    return kNamedDamages;
}

const NamedDamage* FindNamedDamage(std::string_view name) {
    for (const NamedDamage& d : kNamedDamages)
        if (d.name == name) return &d;
    return nullptr;
}

void ApplyNamedDamages(DataSetImage& image, std::span<const NamedDamage* const> damages) {
    for (const NamedDamage* damage : damages) {
        try {
            damage->apply(image);
        } catch (const std::out_of_range&) {
            throw std::runtime_error("--damage " + std::string(damage->name) +
                                     " finds nothing to damage: an earlier --damage removed the "
                                     "bytes it writes to (give that one last)");
        }
    }
}

}  // namespace dv::sample::damage
