#include "parts/order_files.h"

#include <algorithm>
#include <cerrno>
#include <exception>

#include "engine/codec.h"
#include "engine/error.h"
#include "engine/fill_cache.h"
#include "engine/index_cursor.h"
#include "engine/key_lookup.h"
#include "engine/limits.h"
#include "engine/live_record.h"
#include "engine/logical.h"
#include "engine/packed_text.h"
#include "engine/physical.h"
#include "engine/record_fields.h"
#include "engine/system.h"
#include "engine/tables.h"
#include "platform/fetch_pool.h"
#include "platform/paths.h"

namespace dv {
namespace {

// The full path the engine gives a bare name of the data directory, or empty without a
// system object.
std::string DataPath(const std::string& name) {
    return mSystem ? mSystem->TMARLNK() + "\\" + name : std::string();
}

bool IsOpen(const std::string& path) {
    return mOpenFiles && mOpenFiles->Find(path) != nullptr;
}

// Drops the logical-file entry a document open added, so that walks on every refresh do not
// pile up entries of closed files.
void Forget(const LogicalFileRef& file) {
    if (!mLogicalFiles) return;
    int32_t index = 1;
    for (const auto& slot : *mLogicalFiles) {
        if (slot.item == file) {
            mLogicalFiles->Remove(index);
            return;
        }
        ++index;
    }
}

}  // namespace

bool IsReturnEntry(const OrderIndexEntry& entry) {
    return entry.type == 20 && entry.First() == 'R';
}

bool IsPurchaseOrderEntry(const OrderIndexEntry& entry) {
    const char lead = std::to_string(entry.type)[0];
    return (entry.First() == 'V' && lead == '2') || lead == '6';
}

void WalkOrderIndex(const std::string& index,
                    const std::function<void(const OrderIndexEntry&)>& visit) {
    cBusinessBasic& engine = RequireEngine("WalkOrderIndex");
    std::string from(kOrderKeyLength, '\0');
    Pack("C", from, 1, 1);
    IndexCursor(engine, index).Walk(KeyRange::From(from), [&](const IndexCursor& at) {
        OrderIndexEntry entry;
        entry.key = at.key();
        entry.name = Trun(std::string_view(at.key()).substr(0, 10), 1);
        entry.type = Unpack("B", at.key(), kOrderKeyLength);
        entry.record = at.record();
        visit(entry);
    });
}

bool IsSafeDocumentName(std::string_view name) {
    return !name.empty() && name.find('\0') == std::string_view::npos &&
           name.find('/') == std::string_view::npos && name.find('\\') == std::string_view::npos &&
           name.find("..") == std::string_view::npos;
}

OrderHeader DecodeOrderHeader(std::string_view record) {
    OrderHeader h;
    h.number = Trun(fields::Mid(record, 3, 8), 1);
    h.vendor = Unpack("C", record, 11);
    h.date_code = Unpack("D", record, 13);
    h.date = UnPackDate("D", record, 13);
    h.drop_ship = Unpack("L", record, 17);
    return h;
}

std::string DecodeOrderComment(std::string_view record) {
    std::string packed(fields::Mid(record, 3, 35));
    return Ucm(packed);
}

int64_t DecodeOrderTotal(std::string_view record) {
    return Unpack("L", record, 22);
}

OrderLine DecodeOrderLine(std::string_view record) {
    OrderLine l;
    l.kind = Unpack("J", record, 1);
    l.line = Unpack("C", record, 3);
    l.quantity = Unpack("K", record, 18);
    l.unit_cost = Unpack("D", record, 33);
    l.part_key = std::string(record.substr(2, 14));
    l.part_number = UcmView(record.substr(4, 12));
    return l;
}

std::unique_ptr<OrderDocument> OrderDocument::Open(const std::string& name) {
    if (!IsSafeDocumentName(name)) return nullptr;
    cBusinessBasic& engine = RequireEngine("OrderDocument");
    // The engine's own files (the control file, a directory file, a container) are never read
    // as documents: such a key reads as one whose file is missing.
    if (IsEngineFile(DataPath(name))) return nullptr;
    // A file someone else holds open is read, but left open afterwards.
    const bool was_open = IsOpen(DataPath(name));
    std::string path = name;
    int32_t last = 0;
    LogicalFileRef file = engine.PhysLogicalOpen(path, "L", kOrderRecordLength, last);
    if (!file) return nullptr;
    auto document = std::unique_ptr<OrderDocument>(
        new OrderDocument(name, std::move(path), std::move(file), !was_open));
    // No real order comes near the limit: a larger file (a sparse one of gigabytes, a writer run
    // away) is damage, reported before a single line is read (the document closes again).
    if (static_cast<int64_t>(last) + 1 > kDocumentFileLimit / kOrderRecordLength) {
        throw TooLarge(err::kDocumentTooLarge, "OrderDocument", "Document file", DataPath(name),
                       kDocumentFileLimit);
    }
    return document;
}

OrderDocument::OrderDocument(std::string name, std::string path, LogicalFileRef file,
                             bool close_after)
    : name_(std::move(name)),
      path_(std::move(path)),
      file_(std::move(file)),
      close_after_(close_after) {}

OrderDocument::OrderDocument(std::string name, std::string path, std::string bytes)
    : name_(std::move(name)),
      path_(std::move(path)),
      close_after_(false),
      fetched_(true),
      bytes_(std::move(bytes)) {
    last_record_ = CheckedPosition(static_cast<int64_t>(bytes_.size()) / kOrderRecordLength - 1,
                                   "iPhysLogicalOpen");
}

OrderDocument::~OrderDocument() {
    if (fetched_) return;
    try {
        Forget(file_);
        if (close_after_ && mBusinessBasic) mBusinessBasic->CloseFile(path_);
    } catch (const BasicError&) {
        // Closing is best effort: the file is released with the engine in any case.
    }
}

int32_t OrderDocument::LastRecord() const {
    return fetched_ ? last_record_ : file_->LastRecord;
}

int32_t OrderDocument::LineRecords() const {
    return LastRecord() >= kFirstOrderLine ? LastRecord() - kFirstOrderLine + 1 : 0;
}

std::string OrderDocument::Record(int32_t n) const {
    if (fetched_) {
        cLogicalFile file;
        file.FileName = path_;
        file.LastRecord = last_record_;
        CheckRecordNumber(file, n, "iLreadFile");
        return bytes_.substr(static_cast<size_t>(n) * kOrderRecordLength, kOrderRecordLength);
    }
    int16_t flag = 0;
    return RequireEngine("OrderDocument").LreadFile(file_, n, flag);
}

std::array<std::string, 4> OrderDocument::Comments() const {
    std::array<std::string, 4> lines;
    for (int32_t i = 0; i < 4; ++i)
        lines[static_cast<size_t>(i)] = DecodeOrderComment(Record(i + 2));
    return lines;
}

std::string VendorName(int32_t vendor) {
    // Many documents of a load name the same vendor: one lookup per vendor and load.
    return RememberForFill("VendorName", std::to_string(vendor), [vendor]() -> std::string {
        cBusinessBasic& engine = RequireEngine("VendorName");
        const int32_t record = FindByNumber(engine, "VNDRI", vendor);
        if (record <= 0) return kVendorNotFound;
        // The name is the one field of a vendor record: its other bytes, the status word
        // included, may hold anything.
        int16_t flag = 0;
        const std::string data = engine.LreadFile("VNDRL", record, flag);
        return UcmView(fields::Mid(data, 6, 20));
    });
}

// Documents fetched ahead of the row being built, at most: with documents of a few hundred bytes
// a few dozen keep every worker busy, and the memory held stays small.
constexpr size_t kDocumentsAhead = 64;

struct OrderDocumentFetch::Pending {
    std::unique_ptr<platform::FetchPool> pool;
};

OrderDocumentFetch::OrderDocumentFetch(const std::vector<std::string>& names)
    : names_(names),
      slots_(names.size(), -1),
      locals_(names.size()),
      pending_(std::make_unique<Pending>()) {
    int workers = platform::FetchWorkers();
    if (workers <= 0 || !mSystem) return;
    paths_.reserve(names_.size());
    for (const std::string& name : names_) paths_.push_back(DataPath(name));
    std::vector<platform::FetchRequest> requests;
    // Every document lies in the data folder, so every one lies inside the same share folder:
    // found once, with the first safe name.
    std::optional<std::optional<std::string>> share;
    for (size_t i = 0; i < names_.size(); ++i) {
        // What Open would refuse or read through the engine is left to it.
        if (!IsSafeDocumentName(names_[i])) continue;
        const std::string& path = paths_[i];
        if (IsEngineFile(path) || IsOpen(path)) continue;
        const std::optional<std::string> local = platform::LocalPath(path);
        if (!share) share = platform::ShareFolder(path);
        if (!local || !*share) continue;
        slots_[i] = static_cast<int>(requests.size());
        locals_[i] = *local;
        platform::FetchRequest request{*local, **share, kDocumentFetchLimit};
        // Over SMB the data folder's listing gave the document's length: no status request.
        if (const auto entry = platform::ListedEntry(*local);
            entry && entry->kind == platform::RemoteEntry::Kind::kFile)
            request.listed_length = entry->size;
        requests.push_back(std::move(request));
    }
    if (requests.empty()) return;
    if (platform::IsShareUrl(requests.front().local_path))
        workers = std::min(workers, platform::kSmbFetchWorkers);
    pending_->pool = std::make_unique<platform::FetchPool>(
        std::move(requests), workers, kDocumentsAhead, platform::CurrentFetcherFactory());
}

OrderDocumentFetch::~OrderDocumentFetch() = default;

std::unique_ptr<OrderDocument> OrderDocumentFetch::Take(size_t i) {
    if (i >= names_.size()) return nullptr;
    const std::string& name = names_[i];
    if (slots_[i] < 0 || !pending_->pool) return OrderDocument::Open(name);
    platform::FetchedFile fetched = pending_->pool->Take(static_cast<size_t>(slots_[i]));
    const std::string& path = paths_[i];
    // Opened by someone since the walk: read through the engine, as Open does.
    if (!mBusinessBasic || IsOpen(path) || IsEngineFile(path)) return OrderDocument::Open(name);
    switch (fetched.outcome) {
        case platform::FetchedFile::Outcome::kRead:
            return std::unique_ptr<OrderDocument>(
                new OrderDocument(name, path, std::move(fetched.bytes)));
        case platform::FetchedFile::Outcome::kFailed:
            // Missing as written: Open looks for the name without regard to case.
            if (IsMissingFile(fetched.error)) {
                // Missing as written: the data folder is listed (once a load) for the name in
                // another letter case; a name it lacks is missing, as Open finds it. Its path
                // was resolved at the walk, perhaps before another document's miss listed it.
                if (platform::OtherCasePath(path, locals_[i],
                                            platform::Relook::kEvenIfListedBefore))
                    return OrderDocument::Open(name);
                return nullptr;
            }
            if (fetched.read_error) {
                const std::optional<std::string> local = platform::LocalPath(path);
                throw ReadFailure(fetched.error, "iReadFile", local.value_or(path));
            }
            throw OpenFailure(fetched.error, "iOpenFile", path, locals_[i]);
        case platform::FetchedFile::Outcome::kTooLarge:
        case platform::FetchedFile::Outcome::kNotFetched:
            break;
    }
    return OrderDocument::Open(name);
}

void WalkOrderDocuments(
    const std::string& index, const std::function<bool(const OrderIndexEntry&)>& keep,
    const std::function<void(const OrderIndexEntry&, std::unique_ptr<OrderDocument>)>& visit) {
    std::vector<OrderIndexEntry> entries;
    std::exception_ptr walk_error;
    try {
        WalkOrderIndex(index, [&](const OrderIndexEntry& entry) {
            if (keep(entry)) entries.push_back(entry);
        });
    } catch (...) {
        walk_error = std::current_exception();
    }
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const OrderIndexEntry& entry : entries) names.push_back(entry.name);
    OrderDocumentFetch documents(names);
    for (size_t i = 0; i < entries.size(); ++i) visit(entries[i], documents.Take(i));
    if (walk_error) std::rethrow_exception(walk_error);
}

void CheckDocumentNumber(const std::string& name, const OrderHeader& header) {
    if (!header.number.empty()) return;
    throw BasicError(err::kDocumentNumberMissing, "OrderDocument",
                     "Document file " + DataPath(name) + " holds no document number in its header");
}

std::optional<OrderSummary> ReadOrderSummary(const std::string& name) {
    return ReadOrderSummary(OrderDocument::Open(name));
}

std::optional<OrderSummary> ReadOrderSummary(std::unique_ptr<OrderDocument> doc) {
    if (!doc) return std::nullopt;
    const std::string name = doc->Name();
    const OrderHeader header = doc->Header();
    CheckDocumentNumber(name, header);
    OrderSummary s;
    s.name = name;
    s.vendor = header.vendor;
    s.vendor_name = VendorName(header.vendor);
    s.number = header.number;
    s.date_code = header.date_code;
    s.date = header.date;
    s.total_cents = doc->TotalCents();
    return s;
}

LinePart LookUpLinePart(const std::string& part_key) {
    LinePart part;
    LookUpLinePart(part_key, part);
    return part;
}

void LookUpLinePart(const std::string& part_key, LinePart& part) {
    part = LinePart{};
    cBusinessBasic& engine = RequireEngine("LookUpLinePart");
    const int32_t record = FindRecord(engine, "PARTI", part_key);
    if (record == 0) return;
    int16_t flag = 0;
    const std::string rec = engine.LreadFile("PARTL", record, flag);
    part.found = true;
    constexpr int32_t kDescriptionAt = 179;
    if (rec.size() >= kDescriptionAt)
        part.description = UcmView(fields::Mid(rec, kDescriptionAt, 14));
    part.cost = Unpack("D", rec, 61);
}

}  // namespace dv
