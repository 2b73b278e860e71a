#include "sampledata/units_data.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/control_file.h"
#include "sampledata/damage.h"
#include "sampledata/formats.h"
#include "sampledata/parts_data.h"

namespace dv::sample {
namespace {

constexpr int32_t kUnitlLength = 512, kLunitlLength = 64;
constexpr int32_t kFplnlLength = 96, kFpexlLength = 32;
constexpr int32_t kPartlLength = 192, kEpartlLength = 96;
constexpr int32_t kLineLimit = 1000;

const char* const kMakes[] = {"KESTREL", "VANTOR", "ORLAN", "BRISCO", "HALDEN", "CORVEX"};
const char* const kKinds[] = {"COMPACT TRACTOR", "ZERO TURN MOWER", "UTILITY VEHICLE",
                              "LOADER BACKHOE",  "LAWN TRACTOR",    "SKID STEER"};
const char* const kColors[] = {"GREEN", "RED", "BLUE", "ORNGE", "GRAY", "BLACK"};
const char* const kLocations[] = {"LOT 1 ", "LOT 2 ", "SHOWRM", "YARD  ", "SHOP  "};
const char* const kRemarks[] = {"CUSTOMER ADDED LOADER",    "DEALER PREP INCLUDED",
                                "FRONT WEIGHTS ON ORDER",   "CALL BEFORE DELIVERY",
                                "PAINT TOUCH-UP, SEE PHIL", "BATTERY REPLACED AT PREP"};
const char* const kLedgerTexts[] = {"FREIGHT IN", "DEALER PREP", "SETUP LABOR", "ATTACHMENT"};

template <typename T, size_t N>
const T& Pick(Random& r, const T (&items)[N]) {
    return items[static_cast<size_t>(r.Between(0, static_cast<int64_t>(N) - 1))];
}

std::string Padded(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
}

int32_t ReadC(const std::string& bytes, size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 8) | static_cast<unsigned char>(bytes[at + 1]);
}

struct Model {
    std::string number;  // with its dash
    std::string stripped;
    std::string description;
    std::string make;
    int32_t cost = 0;  // cents
    bool in_parts = true;
};

struct UnitLine {
    int32_t number = 0;
    std::vector<Model> models;
};

// The unit lines of the parts data: type "U" at 142 of LINEL; when none lies below 1000, the
// last line below 1000 (the first line when it is the only one) becomes one.
std::vector<UnitLine> FindUnitLines(DataSetWriter& set, int32_t& internal_line) {
    RecordFileWriter& linel = set.Records("LINEL");
    std::vector<UnitLine> lines;
    int32_t last_below = 0;
    internal_line = 0;
    for (int32_t n = 1; n <= linel.Count(); ++n) {
        const std::string& rec = linel.Get(n);
        const int32_t line = ReadC(rec, 2);
        if (line >= kLineLimit) {
            internal_line = line;
            continue;
        }
        last_below = n;
        if (rec[141] == 'U') lines.push_back({line, {}});
    }
    if (lines.empty() && last_below > 0) {
        std::string rec = linel.Get(last_below);
        rec[141] = 'U';
        linel.Set(last_below, rec);
        lines.push_back({ReadC(rec, 2), {}});
    }
    return lines;
}

// A few models per unit line, added to the parts files except the last of each line.
void AddModels(DataSetWriter& set, Random& r, std::vector<UnitLine>& lines,
               std::map<std::string, int32_t>& part_costs) {
    RecordFileWriter& partl = set.Records("PARTL");
    RecordFileWriter& epartl = set.Records("EPARTL");
    IndexWriter& parti = set.Index("PARTI");
    int seq = 0;
    for (UnitLine& line : lines) {
        const int count = static_cast<int>(r.Between(3, 5));
        for (int i = 0; i < count; ++i, ++seq) {
            Model m;
            m.make = Pick(r, kMakes);
            const std::string digits = std::to_string(1100 + seq * 7);
            m.number = m.make.substr(0, 2) + "-" + digits + static_cast<char>('A' + seq % 5);
            m.stripped = m.make.substr(0, 2) + digits + static_cast<char>('A' + seq % 5);
            m.description = std::string(Pick(r, kKinds)) + " " + digits.substr(0, 2);
            m.cost = static_cast<int32_t>(r.Between(350000, 4200000));
            m.in_parts = i + 1 < count;
            if (m.in_parts) {
                RecordBuilder p(kPartlLength + kEpartlLength);
                p.Bin(1, 'J', 1)
                    .Bin(3, 'C', line.number)
                    .PartNumber(5, m.number)
                    .Text(19, "EA", 2)
                    .Bin(43, 'K', m.cost + m.cost / 4)
                    .Bin(61, 'K', m.cost)
                    .Text(179, m.description, 14);
                const std::string& whole = p.bytes();
                const int32_t n = partl.Add(whole.substr(0, kPartlLength));
                epartl.Add(whole.substr(kPartlLength));
                parti.Add(whole.substr(2, 14), n);
                part_costs[whole.substr(2, 14)] = m.cost;
            }
            line.models.push_back(m);
        }
    }
}

struct PartRef {
    std::string key;  // 14 bytes: line (C) and packed part number
};

// The parts an extent may name: PARTI keys of lines 1 to 998.
std::vector<PartRef> ExtentParts(DataSetWriter& set) {
    std::vector<PartRef> parts;
    for (const auto& [key, record] : set.Index("PARTI").Sorted()) {
        const int32_t line = ReadC(key, 0);
        if (line >= 1 && line <= 998) parts.push_back({key});
        if (parts.size() >= 400) break;
    }
    return parts;
}

enum class FloorState { kOpen, kSoldOnly, kInvoicedOnly, kBoth };

struct Writers {
    RecordFileWriter& unitl;
    RecordFileWriter& lunitl;
    RecordFileWriter& fplnl;
    RecordFileWriter& fpexl;
    IndexWriter& uniti;
    IndexWriter& luniti;
    IndexWriter& fplni;
};

// One unit's ledger chain; returns its first record and adds its amounts to sum.
int32_t AddLedger(Writers& w, Random& r, int32_t line, const std::string& unit, int32_t cost,
                  const Day& received, int64_t& sum, int32_t& entries) {
    std::vector<std::pair<std::string, int32_t>> items = {{"UNIT COST", cost}};
    const int more = static_cast<int>(r.Between(0, 3));
    for (int i = 0; i < more; ++i)
        items.emplace_back(Pick(r, kLedgerTexts), static_cast<int32_t>(r.Between(2500, 90000)));
    if (r.Between(0, 5) == 0)
        items.emplace_back("FACTORY REBATE", -static_cast<int32_t>(r.Between(10000, 60000)));
    const int32_t first = w.lunitl.Count() + 1;
    for (size_t i = 0; i < items.size(); ++i) {
        const int32_t next = i + 1 < items.size() ? first + static_cast<int32_t>(i) + 1 : 0;
        RecordBuilder b = w.lunitl.NewRecord();
        b.Bin(1, 'J', 1)
            .Bin(3, 'C', line)
            .Raw(5, unit)
            .DayNumber(13, received.y, received.m, received.d)
            .Raw(15, i == 0 ? "PJ" : "GJ")
            .Bin(17, 'C', r.Between(1000, 9999))
            .Raw(19, Padded(items[i].first, 30))
            .Bin(49, 'L', i == 0 ? 1240 : 1245)
            .Bin(57, 'L', items[i].second)
            .Bin(61, 'L', next);
        w.lunitl.Add(b);
        sum += items[i].second;
        ++entries;
    }
    return first;
}

// The extent kinds every demo set holds at least once, written into the first chains.
struct ExtentFirsts {
    bool other_code = false;    // a text record of another code than REM
    bool missing_part = false;  // a part line of a part PARTI does not hold
    bool remark = false;
};

// One floored unit's extent chain; returns its first record (0 for none).
// A forced chain (the first open unit's, so every set lists extents) has three records at least.
int32_t AddExtents(Writers& w, Random& r, const std::vector<PartRef>& parts, bool force,
                   ExtentFirsts& firsts, int32_t& extents) {
    const bool none = r.Between(0, 9) >= 4;
    if ((none && !force) || parts.empty()) return 0;
    const int count = std::max(force ? 3 : 1, static_cast<int>(r.Between(1, 4)));
    const int32_t first = w.fpexl.Count() + 1;
    for (int i = 0; i < count; ++i) {
        const int32_t next = i + 1 < count ? first + i + 1 : 0;
        RecordBuilder b = w.fpexl.NewRecord();
        b.Bin(1, 'C', 1).Bin(29, 'D', next);
        const bool remark = i > 0 && (!firsts.remark || r.Between(0, 9) < 3);
        if (remark) {
            firsts.remark = true;
            b.Text(3, "REM", 2, TextSet::kNames).Text(5, Pick(r, kRemarks), 24, TextSet::kNames);
        } else if (i == 0 && count > 1 && !firsts.other_code) {
            firsts.other_code = true;
            b.Text(3, "MSC", 2, TextSet::kNames)
                .Text(5, "MISC CHARGES SEE FILE", 24, TextSet::kNames);
        } else {
            const int32_t qty = static_cast<int32_t>(r.Between(1, 4));
            const int32_t cost = static_cast<int32_t>(r.Between(800, 45000));
            if (!firsts.missing_part && firsts.other_code) {
                firsts.missing_part = true;
                b.Bin(3, 'C', 1).Text(5, "NLA0000", 12);
            } else {
                const PartRef& p = parts[static_cast<size_t>(
                    r.Between(0, static_cast<int64_t>(parts.size()) - 1))];
                b.Raw(3, p.key);
            }
            b.Bin(17, 'J', qty).Bin(19, 'D', cost).Bin(22, 'D', int64_t{cost} * qty);
        }
        w.fpexl.Add(b);
        ++extents;
    }
    return first;
}

}  // namespace

UnitsFilesSummary AddUnitsFiles(DataSetWriter& set, const DemoPlan& plan) {
    Random r{0x0017C0DEull};
    UnitsFilesSummary s;
    Writers w{set.AddRecordFile("UNITL", kUnitlLength),
              set.AddRecordFile("LUNITL", kLunitlLength),
              set.AddRecordFile("FPLNL", kFplnlLength),
              set.AddRecordFile("FPEXL", kFpexlLength),
              set.AddIndex("UNITI", 8),
              set.AddIndex("LUNITI", 10),
              set.AddIndex("FPLNI", 26)};

    // Nothing any form shows follows each caption.
    for (int32_t at : file0::kUnitCaptionAt)
        set.File0()
            .Block(file0::kUnitCaptionBlock)
            .Raw(at + file0::kUnitCaptionSize, std::string(12, '#'));

    int32_t internal_line = 0;
    std::vector<UnitLine> lines = FindUnitLines(set, internal_line);
    s.unit_lines = static_cast<int32_t>(lines.size());
    std::map<std::string, int32_t> part_costs;
    AddModels(set, r, lines, part_costs);
    const std::vector<PartRef> parts = ExtentParts(set);
    if (internal_line != 0 && !lines.empty()) {
        UnitLine internal{internal_line, {lines[0].models.back()}};
        lines.push_back(internal);
    }

    const int32_t per_line = std::max<int32_t>(4, plan.units / std::max<int32_t>(1, s.unit_lines));
    ExtentFirsts firsts;
    int floored_sold = 0;
    int seq = 0;
    bool day_one_written = false;
    for (size_t li = 0; li < lines.size(); ++li) {
        const UnitLine& line = lines[li];
        const bool shown = line.number < kLineLimit;
        const int32_t count = shown ? per_line : 1;
        for (int32_t i = 0; i < count; ++i, ++seq) {
            const Model& m = line.models[static_cast<size_t>(
                r.Between(0, static_cast<int64_t>(line.models.size()) - 1))];
            const std::string unit = Padded("U" + std::to_string(1001 + seq), 8);
            const std::string serial = m.stripped.substr(0, 2) + std::to_string(700000 + seq * 13);
            const Day received = DaysBack(r.Between(20, 700));
            // Units 1, 3 and 5 are sold in every set, so each floor-plan state appears.
            const bool sold = r.Between(0, 9) < 3 || seq == 1 || seq == 3 || seq == 5;
            const bool day_one = !sold && !day_one_written && shown && i == 2;
            day_one_written = day_one_written || day_one;
            const Day sold_on = DaysBack(r.Between(0, 19));
            const int32_t cost = static_cast<int32_t>(m.cost + r.Between(-20000, 20000));

            int64_t ledger = 0;
            const int32_t chain =
                AddLedger(w, r, line.number, unit, cost, received, ledger, s.ledger_entries);
            RecordBuilder u = w.unitl.NewRecord();
            u.Bin(1, 'J', 1)
                .Bin(3, 'C', line.number)
                .PartNumber(5, m.number)
                .Raw(20, unit)
                .Text(28, m.description, 14)
                .Raw(42, Padded(m.make, 15))
                .Text(57, serial, 12)
                .Raw(69, m.make.substr(0, 3) + "01")
                .Bin(74, 'C', 2018 + r.Between(0, 7))
                .Raw(76, "S" + std::to_string(100 + r.Between(0, 899)))
                .Raw(80, r.Between(0, 1) ? "D3" : "G2")
                .Raw(82, Padded("E" + std::to_string(5000000 + seq * 31), 12))
                .Raw(94, r.Between(0, 2) ? "4W" : "2W")
                .Raw(96, Pick(r, kColors))
                .Bin(101, 'D', r.Between(0, 9) < 6 ? r.Between(0, 40) : r.Between(40, 2500))
                .Raw(104, sold ? "S" : "A")
                .Raw(105, r.Between(0, 1) ? "N" : "U")
                .Raw(106, Pick(r, kLocations))
                .Bin(112, 'L', r.Between(0, 1500))
                .Bin(116, 'L', 40000 + r.Between(0, 9999))
                .Raw(120, Padded(Pick(r, kColors), 12))
                .Raw(132, Padded("KEY " + std::to_string(r.Between(10, 99)), 12))
                .DayNumber(147, received.y, received.m, received.d)
                .Bin(155, 'L', m.cost + m.cost / 5)
                .Bin(159, 'L', m.cost + m.cost / 3)
                .Text(177, "FL" + std::to_string(30000 + seq), 7)
                .Bin(184, 'L', 1240)
                .Bin(188, 'L', 5240)
                .Bin(192, 'L', 5245)
                .Bin(196, 'C', 1)
                .Bin(206, 'L', 100 + r.Between(0, 50))
                .Raw(211, Padded("FI" + std::to_string(50000 + seq), 9))
                .Bin(505, 'L', chain);
            if (sold) {
                const int32_t price = cost + static_cast<int32_t>(r.Between(30000, 400000));
                u.Bin(144, 'D', 1000 + r.Between(0, 400))
                    .DayNumber(149, sold_on.y, sold_on.m, sold_on.d)
                    .Bin(151, 'L', 880000 + seq)
                    .Bin(163, 'L', price)
                    .Bin(210, 'B', r.Between(1, 12));
            } else if (day_one) {
                u.Bin(149, 'J', 1);
            }
            const int32_t n = w.unitl.Add(u);
            w.uniti.Add(unit, n);
            w.luniti.Add(RecordBuilder(10).Bin(1, 'C', line.number).Raw(3, unit).bytes(), n);
            ++s.units;
            if (shown && !sold) {
                ++s.units_in_stock;
                s.units_cents += ledger;
            }

            // Most units are floored; the day-one unit always is.
            if (!day_one && seq > 5 && r.Between(0, 9) >= 7) continue;
            FloorState state = FloorState::kOpen;
            if (sold) {
                constexpr int64_t kFirst[3] = {6, 8, 0};  // sold only, invoiced only, both
                const int64_t k = floored_sold < 3 ? kFirst[floored_sold] : r.Between(0, 9);
                ++floored_sold;
                state = k < 6 ? FloorState::kBoth
                              : (k < 8 ? FloorState::kSoldOnly : FloorState::kInvoicedOnly);
            } else if (r.Between(0, 11) == 0) {
                state = FloorState::kInvoicedOnly;  // a deposit invoice before the sale
            }
            // One in eight is floored at cost 0 and valued at its model's part cost.
            const bool zero_cost = r.Between(0, 7) == 0;
            RecordBuilder f = w.fplnl.NewRecord();
            f.Bin(1, 'J', 1)
                .Bin(3, 'C', line.number)
                .Text(5, m.stripped, 12)
                .Text(17, serial, 12, TextSet::kNames)
                .Text(29, "FP-" + std::to_string(4000 + seq), 6, TextSet::kNames)
                .Text(35, "A-" + std::to_string(seq % 100), 4, TextSet::kNames)
                .DayNumber(39, received.y, received.m, received.d);
            const Day due = DaysBack(r.Between(-180, 60));
            f.DayNumber(43, due.y, due.m, due.d);
            if (r.Between(0, 3) == 0) {
                const Day paid = DaysBack(r.Between(0, 30));
                f.DayNumber(45, paid.y, paid.m, paid.d)
                    .Text(47, "P" + std::to_string(r.Between(1000, 9999)), 4, TextSet::kNames);
            }
            f.Bin(51, 'K', zero_cost ? 0 : cost);
            if (state == FloorState::kSoldOnly || state == FloorState::kBoth)
                f.DayNumber(41, sold_on.y, sold_on.m, sold_on.d).Bin(54, 'K', cost + 50000);
            if (day_one) f.Bin(41, 'J', 1);
            if (state == FloorState::kInvoicedOnly || state == FloorState::kBoth)
                f.Bin(57, 'D', 1000 + r.Between(0, 400)).Bin(60, 'L', 880000 + seq);
            f.Text(72, "ACTIVE", 4, TextSet::kNames).Bin(76, 'C', r.Between(0, 12));
            const bool first_open =
                shown && state == FloorState::kOpen && !day_one && s.floored_open == 0;
            f.Bin(94, 'D', AddExtents(w, r, parts, first_open, firsts, s.extents));
            const int32_t fn = w.fplnl.Add(f);
            w.fplni.Add(f.bytes().substr(2, 26), fn);
            ++s.floored;
            if (shown && state == FloorState::kOpen && !day_one) {
                ++s.floored_open;
                if (!zero_cost) {
                    s.floor_plan_cents += cost;
                } else {
                    const auto hit = part_costs.find(f.bytes().substr(2, 14));
                    if (hit != part_costs.end()) s.floor_plan_cents += hit->second;
                }
            }
        }
    }
    return s;
}

namespace {

// A field of record n of a record file in the image.
int64_t FieldOf(const DataSetImage& image, std::string_view name, int32_t record, int32_t at,
                int width) {
    const LogicalPlacement& p = image.Logical(name);
    const int64_t offset = image.RecordOffset(name, record) + at - 1;
    return GetBE(image.File(p.container), static_cast<int32_t>(offset + 1), width);
}

// The chains the views walk: the extents of the first floored unit neither sold nor invoiced
// that has some, and the ledger of the first unit in stock (below line 1000) that has one.
int32_t OpenUnitExtents(const DataSetImage& image) {
    for (int32_t n = 1; n <= image.Logical("FPLNL").last_record; ++n) {
        const int64_t chain = FieldOf(image, "FPLNL", n, 94, 3);
        if (FieldOf(image, "FPLNL", n, 41, 2) == 0 && FieldOf(image, "FPLNL", n, 60, 4) == 0 &&
            FieldOf(image, "FPLNL", n, 3, 2) < kLineLimit && chain != 0)
            return static_cast<int32_t>(chain);
    }
    return 0;
}
int32_t StockUnitLedger(const DataSetImage& image) {
    for (int32_t n = 1; n <= image.Logical("UNITL").last_record; ++n) {
        const int64_t chain = FieldOf(image, "UNITL", n, 505, 4);
        if (FieldOf(image, "UNITL", n, 149, 2) <= 1 &&
            FieldOf(image, "UNITL", n, 3, 2) < kLineLimit && chain != 0)
            return static_cast<int32_t>(chain);
    }
    return 0;
}

void LoopExtents(DataSetImage& i) {
    damage::LoopRecordChain(i, "FPEXL", 29, 3, OpenUnitExtents(i));
}
void LoopLedger(DataSetImage& i) {
    damage::LoopRecordChain(i, "LUNITL", 61, 4, StockUnitLedger(i));
}
void ExtentsPastEnd(DataSetImage& i) {
    damage::ChainPastLastRecord(i, "FPEXL", 29, 3, OpenUnitExtents(i));
}
void LedgerPastEnd(DataSetImage& i) {
    damage::ChainPastLastRecord(i, "LUNITL", 61, 4, StockUnitLedger(i));
}
void DeletedLedger(DataSetImage& i) {
    damage::ZeroRecord(i, "LUNITL", StockUnitLedger(i));
}
void ShortUnits(DataSetImage& i) {
    damage::ShortenRecords(i, "UNITL", 140);
}

}  // namespace

void units_damage::DeletedLedgerEntry(DataSetImage& image) {
    DeletedLedger(image);
}

const std::vector<NamedDamage>& UnitsDamageKinds() {
    static const std::vector<NamedDamage> kinds = {
        {"fpexl-loop", &LoopExtents},        {"lunitl-loop", &LoopLedger},
        {"fpexl-past-end", &ExtentsPastEnd}, {"lunitl-past-end", &LedgerPastEnd},
        {"unitl-short", &ShortUnits},        {"lunitl-deleted", &DeletedLedger},
    };
    return kinds;
}

}  // namespace dv::sample
