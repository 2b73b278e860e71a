#include "parts/order_files.h"

#include "engine/codec.h"
#include "engine/error.h"
#include "engine/fill_cache.h"
#include "engine/index_cursor.h"
#include "engine/key_lookup.h"
#include "engine/logical.h"
#include "engine/packed_text.h"
#include "engine/system.h"
#include "engine/tables.h"
#include "parts/record_fields.h"

namespace dv {
namespace {

cBusinessBasic& Engine(const char* source) {
    cBusinessBasic* engine = mBusinessBasic.get();
    if (engine == nullptr) RaisePlatform(err::kNoObject, source);
    return *engine;
}

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
    cBusinessBasic& engine = Engine("WalkOrderIndex");
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
    cBusinessBasic& engine = Engine("OrderDocument");
    // The engine's own files (the control file, a directory file, a container) are never read
    // as documents: such a key reads as one whose file is missing.
    if (IsEngineFile(DataPath(name))) return nullptr;
    // A file someone else holds open is read, but left open afterwards.
    const bool was_open = IsOpen(DataPath(name));
    std::string path = name;
    int32_t last = 0;
    LogicalFileRef file = engine.PhysLogicalOpen(path, "L", kOrderRecordLength, last);
    if (!file) return nullptr;
    return std::unique_ptr<OrderDocument>(
        new OrderDocument(name, std::move(path), std::move(file), !was_open));
}

OrderDocument::OrderDocument(std::string name, std::string path, LogicalFileRef file,
                             bool close_after)
    : name_(std::move(name)),
      path_(std::move(path)),
      file_(std::move(file)),
      close_after_(close_after) {}

OrderDocument::~OrderDocument() {
    try {
        Forget(file_);
        if (close_after_ && mBusinessBasic) mBusinessBasic->CloseFile(path_);
    } catch (const BasicError&) {
        // Closing is best effort: the file is released with the engine in any case.
    }
}

int32_t OrderDocument::LastRecord() const {
    return file_->LastRecord;
}

int32_t OrderDocument::LineRecords() const {
    return LastRecord() >= kFirstOrderLine ? LastRecord() - kFirstOrderLine + 1 : 0;
}

std::string OrderDocument::Record(int32_t n) const {
    int16_t flag = 0;
    return Engine("OrderDocument").LreadFile(file_, n, flag);
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
        cBusinessBasic& engine = Engine("VendorName");
        const int32_t record = FindByNumber(engine, "VNDRI", vendor);
        if (record <= 0) return kVendorNotFound;
        int16_t flag = 0;
        return UcmView(fields::Mid(engine.LreadFile("VNDRL", record, flag), 6, 20));
    });
}

std::optional<OrderSummary> ReadOrderSummary(const std::string& name) {
    const std::unique_ptr<OrderDocument> doc = OrderDocument::Open(name);
    if (!doc) return std::nullopt;
    const OrderHeader header = doc->Header();
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
    cBusinessBasic& engine = Engine("LookUpLinePart");
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
