// The per-document order files: every pending return to a vendor and every purchase order is
// a small file of 38-byte records of its own in the data directory, named by a key of RTTBI
// (returns) or PUTBI (purchase orders). Record 0 is not read, record 1 is the header, records
// 2-5 the four comment lines, record 6 the totals and records 7 on the document's lines.
//
// Money is whole cents (int64_t for totals, int32_t for a line's unit cost), dates dv::Date.
// Nothing here switches the packed-text alphabet.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/business_basic.h"
#include "engine/dates.h"

namespace dv {

inline constexpr int32_t kOrderRecordLength = 38;
inline constexpr int32_t kOrderKeyLength = 16;
inline constexpr int32_t kFirstOrderLine = 7;  // records 7 to LastRecord are lines
inline constexpr int32_t kPartLineKind = 4;    // the only line kind the views show
inline constexpr const char* kVendorNotFound = "Vendor not found";
inline constexpr const char* kPartNotFound = "Part Not Found";

// One key of RTTBI or PUTBI.
struct OrderIndexEntry {
    std::string key;     // the key as the index holds it (16 bytes)
    std::string name;    // the document's file name: bytes 1-10, trailing NUL/tab/LF/CR/blank cut
    int32_t type = 0;    // the document type, B at 16
    int32_t record = 0;  // the record number the entry points to (never read)

    char First() const { return key.empty() ? '\0' : key[0]; }
};

// The Returns view's rule: type 20 and a first character "R".
bool IsReturnEntry(const OrderIndexEntry& entry);
// The Open Purchase Orders view's rule, on the type written in decimal: a first character "V"
// with a type that begins with the digit 2 (2, 20-29, 200-255), or any key whose type begins
// with the digit 6 (6, 60-69).
bool IsPurchaseOrderEntry(const OrderIndexEntry& entry);

// Visits every key of RTTBI or PUTBI in key order, from the smallest key not below the bytes
// 0x00 0x01, until the index yields record 0. Engine errors reach the caller; a visit that
// raises ends the walk.
void WalkOrderIndex(const std::string& index,
                    const std::function<void(const OrderIndexEntry&)>& visit);

// Whether a name taken from an index key or a header may name a document file: not empty and
// without NUL, slash, backslash or "..", so that no key reaches outside the data directory.
bool IsSafeDocumentName(std::string_view name);

// The same walk for a view that reads one document per entry: the entries `keep` accepts
// are collected, their documents fetched several at a time (OrderDocumentFetch), and visit
// called for each in key order with its document (null when Open would give none). An error
// of the walk ends it where it happens: the entries before it are still visited, then the
// error is raised, as when each document is read during the walk. An error of visit ends
// everything at once.
void WalkOrderDocuments(
    const std::string& index, const std::function<bool(const OrderIndexEntry&)>& keep,
    const std::function<void(const OrderIndexEntry&, std::unique_ptr<class OrderDocument>)>& visit);

// Record 1.
struct OrderHeader {
    std::string number;       // the document number, trailing filler cut
    int32_t vendor = 0;       // C at 11
    int32_t date_code = 0;    // D at 13, the number mmddyy as stored
    Date date = EmptyDate();  // that number as a date; 1/1/68 for 0 or no date
    int32_t drop_ship = 0;    // L at 17: the drop-ship invoice number, 0 when none
};

// A document line, records 7 on.
struct OrderLine {
    int32_t kind = 0;         // J at 1; 4 is a part line
    int32_t line = 0;         // C at 3: the part's product line
    std::string part_key;     // bytes 3-16: the part's PARTI key, byte for byte
    std::string part_number;  // 5, 12 packed: 18 characters without dashes
    int32_t quantity = 0;     // K at 18, whole units
    int32_t unit_cost = 0;    // D at 33, cents; 0: the part's own cost applies
};

// Decoders of the record kinds; each raises 31 for a record too short for a field.
OrderHeader DecodeOrderHeader(std::string_view record);
// The comment text of records 2-5: the packed bytes at 3-37, 54 characters (53 when a word of
// the text lies above the packed range), trailing blanks kept.
std::string DecodeOrderComment(std::string_view record);
int64_t DecodeOrderTotal(std::string_view record);  // cents, L at 22 of record 6
OrderLine DecodeOrderLine(std::string_view record);

// One open document file. The file is closed when the object goes, on every path.
class OrderDocument {
  public:
    // Opens the document's file in the data directory. Gives none when the name is not safe
    // (IsSafeDocumentName), names one of the engine's own files (IsEngineFile: FILE0, a
    // directory file, a container), or no such file exists inside the share (a symbolic link
    // that leads out of it counts as missing); errors of the open itself reach the caller.
    static std::unique_ptr<OrderDocument> Open(const std::string& name);
    ~OrderDocument();
    OrderDocument(const OrderDocument&) = delete;
    OrderDocument& operator=(const OrderDocument&) = delete;

    const std::string& Name() const { return name_; }
    // The whole quotient of the file's length by 38, minus 1.
    int32_t LastRecord() const;
    // The number of line records, records 7 to LastRecord.
    int32_t LineRecords() const;

    // Record n, 38 bytes; 81 "Illegal Record Number for File: " outside 1 to LastRecord.
    std::string Record(int32_t n) const;
    OrderHeader Header() const { return DecodeOrderHeader(Record(1)); }
    std::array<std::string, 4> Comments() const;
    int64_t TotalCents() const { return DecodeOrderTotal(Record(6)); }
    OrderLine Line(int32_t record) const { return DecodeOrderLine(Record(record)); }

  private:
    friend class OrderDocumentFetch;
    OrderDocument(std::string name, std::string path, LogicalFileRef file, bool close_after);
    // A document fetched whole beforehand: its records come from bytes, with the checks and
    // the messages of a read through the engine.
    OrderDocument(std::string name, std::string path, std::string bytes);
    std::string name_;
    std::string path_;  // the full path the engine opened
    LogicalFileRef file_;
    bool close_after_;  // false when the file was open before (the engine keeps it open)
    bool fetched_ = false;
    std::string bytes_;        // a fetched document's whole file
    int32_t last_record_ = 0;  // a fetched document's LastRecord
};

// The documents a view's index walk named, fetched several at a time (platform/fetch_pool.h)
// while the view builds its rows in order. Take(i) gives what OrderDocument::Open(names[i])
// would give at that moment, and raises what it would raise: a document fetched whole is
// served from its bytes; one that was missing, too large for a fetch, open in the engine
// already or not fetched at all is opened then, one at a time. A fetch that failed raises the
// error of that open or read. With no workers (FetchWorkers() 0) every document is opened one
// at a time. The pool's threads end with this object.
class OrderDocumentFetch {
  public:
    explicit OrderDocumentFetch(const std::vector<std::string>& names);
    ~OrderDocumentFetch();
    OrderDocumentFetch(const OrderDocumentFetch&) = delete;
    OrderDocumentFetch& operator=(const OrderDocumentFetch&) = delete;

    // Document i, to be taken in order.
    std::unique_ptr<OrderDocument> Take(size_t i);

  private:
    struct Pending;
    std::vector<std::string> names_;
    std::vector<int> slots_;           // the pool's request of each name, or -1 (opened when taken)
    std::vector<std::string> locals_;  // the local path each request was fetched from
    std::vector<std::string> paths_;   // each name's share path (DataPath) as the walk found it
    std::unique_ptr<Pending> pending_;
};

// The longest document file a fetch reads whole (a document of over 6,000 lines); a longer one
// is opened and read when its row is built.
inline constexpr size_t kDocumentFetchLimit = 256 * 1024;

// The vendor's name: 30 characters packed at 6 of its VNDRL record, found through VNDRI by
// the vendor number; "Vendor not found" when VNDRI has no exact entry. Within a fill each
// vendor is looked up once.
std::string VendorName(int32_t vendor);

// What a view's row shows of one document.
struct OrderSummary {
    std::string name;    // the file name from the index key
    std::string number;  // the document number from the header
    int32_t vendor = 0;
    std::string vendor_name;  // or "Vendor not found"
    int32_t date_code = 0;    // mmddyy as stored
    Date date = EmptyDate();
    int64_t total_cents = 0;
};

// Raises 1064 "Document file PATH holds no document number in its header" when the header's
// number (bytes 3-10, trailing filler cut) is empty: a header zeroed or blanked names no file,
// and its row would show no number, whatever vendor and total records 1 and 6 hold. A number
// other than the file's name is no damage: the row shows it, and the detail opens the file it
// names.
void CheckDocumentNumber(const std::string& name, const OrderHeader& header);

// Reads one document for its row: header, vendor name, number, date and total. None when the
// document has no file (or its name is not safe). A file without record 6 raises 81, a header
// of no number 1064 (CheckDocumentNumber).
std::optional<OrderSummary> ReadOrderSummary(const std::string& name);
// The same from a document opened or fetched already; none for a null document.
std::optional<OrderSummary> ReadOrderSummary(std::unique_ptr<OrderDocument> doc);

// What PARTI and PARTL hold of the part on a document line.
struct LinePart {
    bool found = false;  // PARTI holds the key exactly and its PARTL record was read
    // 21 characters packed at 179, or "Part Not Found" when the part was not found or its
    // record ends before the description.
    std::string description = kPartNotFound;
    int32_t cost = 0;  // cents, bytes 61-63 read unsigned; 0 when not found or not read
};

// Looks the part of a line up by its 14-byte key; found only on an exact match.
LinePart LookUpLinePart(const std::string& part_key);
// The same step by step into part, which keeps what the steps before a failing one read:
// the search, the read of the PARTL record, its description, then its cost. The failing
// step's error reaches the caller.
void LookUpLinePart(const std::string& part_key, LinePart& part);

}  // namespace dv
