#include "sampledata/parts_data.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <limits>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dv::sample {
namespace {

constexpr int32_t kLinelLength = 192, kElinelLength = 64;
constexpr int32_t kPartlLength = 192, kEpartlLength = 96;
constexpr int32_t kVndrlLength = 96;
constexpr int32_t kDocRecord = 38;
constexpr int32_t kInternalLine = 1200;

constexpr std::string_view kLetters = "ABCDEFGHJKLMNPRSTUVWXYZ";
constexpr std::string_view kCommodities = "ABCDEFGHJKMNPRSTW";

const char* const kMakers[] = {"KESTREL", "VANTOR",  "ORLAN",   "BRISCO", "HALDEN",  "TAMRA",
                               "CORVEX",  "MERIDAN", "NORDALE", "PELLAN", "QUINTEX", "RADLEY",
                               "SOLVA",   "TREVAN",  "ULMER",   "WESTAR", "ASHLAND", "BROOKE"};

struct Goods {
    const char* name;
    char type;   // the line type: U units, R rentals, P parts
    int weight;  // how many of the parts it gets, relative
};
const Goods kGoods[] = {
    {"PARTS", 'P', 10},       {"SERVICE PARTS", 'P', 8},     {"ACCESSORIES", 'P', 5},
    {"APPAREL", 'P', 3},      {"OIL AND CHEMICALS", 'P', 2}, {"TIRES AND WHEELS", 'P', 3},
    {"UNITS", 'U', 0},        {"COMPACT TRACTORS", 'U', 0},  {"MOWER UNITS", 'U', 0},
    {"RENTAL FLEET", 'R', 1}, {"BATTERIES", 'P', 2},         {"FILTERS", 'P', 4},
};

const char* const kNouns[] = {
    "GASKET",  "FILTER",   "BEARING", "SEAL",      "BOLT",   "NUT",     "WASHER", "SPARK PLUG",
    "BELT",    "HOSE",     "CLAMP",   "BRAKE PAD", "CABLE",  "LEVER",   "MIRROR", "GRIP",
    "CHAIN",   "SPROCKET", "PISTON",  "RING SET",  "VALVE",  "SWITCH",  "FUSE",   "BULB",
    "PUMP",    "IMPELLER", "BLADE",   "SPINDLE",   "PULLEY", "TIRE",    "TUBE",   "RIM",
    "BATTERY", "RELAY",    "SENSOR",  "O RING",    "SHIM",   "BUSHING", "SPRING", "DECAL"};
const char* const kQualifiers[] = {"OIL",   "AIR",   "FUEL",  "FRONT",    "REAR",  "LEFT",
                                   "RIGHT", "UPPER", "LOWER", "HEAD",     "DRIVE", "CLUTCH",
                                   "IDLER", "WHEEL", "DECK",  "THROTTLE", "SEAT",  "HYD"};

const char* const kVendorFirst[] = {"KESTREL",  "BLUE RIVER", "NORTHWIND", "IRONGATE",
                                    "SUMMIT",   "PRAIRIE",    "LAKESHORE", "HIGHLINE",
                                    "REDSTONE", "CEDAR",      "GRANITE",   "SILVERLAKE",
                                    "TRIPOINT", "OAKRIDGE",   "FAIRFIELD", "HARBOR"};
const char* const kVendorSecond[] = {"SUPPLY CO",      "DISTRIBUTING", "PARTS INC", "WHOLESALE",
                                     "POWER PRODUCTS", "EQUIPMENT",    "TIRE CO",   "INDUSTRIES"};
const char* const kCities[] = {"SPRINGFIELD, OH", "DAYTON, OH",   "FORT WAYNE, IN",
                               "PEORIA, IL",      "MADISON, WI",  "DES MOINES, IA",
                               "LANSING, MI",     "ROCKFORD, IL", "TOLEDO, OH"};

const char* const kComments[] = {
    "SHIP VIA GROUND",          "CALL BEFORE DELIVERY",    "STOCK ORDER",
    "RUSH, CUSTOMER WAITING",   "BACKORDERS TO FOLLOW",    "RETURN FOR CREDIT, OVERSTOCK",
    "DAMAGED IN SHIPMENT",      "WRONG PART SHIPPED",      "SEASONAL STOCKING ORDER",
    "CONFIRM PRICING WITH REP", "DELIVER TO SERVICE DOOR", "FREIGHT ALLOWED OVER 500"};

template <typename T, size_t N>
const T& Pick(Random& r, const T (&items)[N]) {
    return items[static_cast<size_t>(r.Between(0, static_cast<int64_t>(N) - 1))];
}

char PickChar(Random& r, std::string_view set) {
    return set[static_cast<size_t>(r.Between(0, static_cast<int64_t>(set.size()) - 1))];
}

std::string Letters(Random& r, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s.push_back(PickChar(r, kLetters));
    return s;
}

std::string Digits(Random& r, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s.push_back(static_cast<char>('0' + r.Between(0, 9)));
    return s;
}

// A figure stored as a signed 32-bit field; the planning below keeps every one in range, so a
// figure outside it is the writer's own mistake, never silently capped.
int32_t Checked32(int64_t v) {
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        throw std::logic_error("a sample figure of " + std::to_string(v) + " overflows 32 bits");
    return static_cast<int32_t>(v);
}

// The most a line's year-to-date sales or goods cost may reach: its previous year is stored
// as up to 120 % of its year to date, and that must fit a signed 32-bit field too.
constexpr int64_t kLineFigureLimit = int64_t{std::numeric_limits<int32_t>::max()} * 5 / 6;

// A part number with dashes, unique through its sequence number: every form holds all six
// digits of 100000 + seq.
std::string PartNumber(Random& r, int64_t seq) {
    const std::string s = std::to_string(100000 + seq);
    switch (r.Between(0, 4)) {
        case 0:
            return Letters(r, 2) + s;
        case 1:
            return s + "-" + Letters(r, 3) + "-" + Digits(r, 3);
        case 2:
            return s.substr(0, 3) + "-" + s.substr(3) + "-" + Letters(r, 1);
        case 3:
            return Digits(r, 2) + "-" + s;
        default:
            return Letters(r, 1) + s + Letters(r, 1);
    }
}

std::string Description(Random& r) {
    std::string d = Pick(r, kNouns);
    if (r.Between(0, 3) != 0) d += std::string(", ") + Pick(r, kQualifiers);
    return d.substr(0, 21);
}

struct LineInfo {
    int32_t number = 0;
    std::string alpha;
    std::string name;
    char type = 'P';
    std::string codes;  // the own commodity code first
    int weight = 0;
    int32_t vendor = 0;
    int64_t cost = 0, mtd_sales = 0, mtd_cogs = 0, ytd_sales = 0, ytd_cogs = 0;
    int64_t mtd_count = 0, ytd_count = 0;
};

struct PartInfo {
    std::string key;  // bytes 3-16 of the record: the PARTI key
    int32_t cost = 0;
};

std::vector<LineInfo> PlanLines(Random& r, int32_t count) {
    std::vector<LineInfo> lines;
    std::set<std::string> names;
    int32_t number = 1;
    for (int32_t i = 0; i < count; ++i) {
        LineInfo l;
        l.number = number;
        number += static_cast<int32_t>(r.Between(1, 4));
        const Goods& goods = Pick(r, kGoods);
        std::string maker = Pick(r, kMakers);
        l.name = maker + " " + goods.name;
        if (!names.insert(l.name).second) l.name += " " + std::to_string(l.number);
        l.name = l.name.substr(0, 30);
        l.alpha = maker.substr(0, 2) + std::string(1, goods.name[0]);
        l.type = goods.type;
        l.weight = goods.weight;
        std::string codes(1, PickChar(r, kCommodities));
        const int more = static_cast<int>(r.Between(0, 3));
        while (static_cast<int>(codes.size()) < 1 + more) {
            const char c = PickChar(r, kCommodities);
            if (codes.find(c) == std::string::npos) codes.push_back(c);
        }
        l.codes = codes;
        lines.push_back(l);
    }
    // Every set has parts to show: the first line always carries parts.
    if (!lines.empty() && lines[0].weight == 0) {
        lines[0].type = 'P';
        lines[0].weight = 10;
    }
    LineInfo internal;
    internal.number = kInternalLine;
    internal.alpha = "INT";
    internal.name = "INTERNAL SHOP SUPPLIES";
    internal.codes = "Z";
    internal.cost = 1234500;
    lines.push_back(internal);
    return lines;
}

// The lines a part is drawn from, each as often as its weight.
std::vector<size_t> LineDraw(const std::vector<LineInfo>& lines) {
    std::vector<size_t> draw;
    for (size_t i = 0; i < lines.size(); ++i)
        for (int w = 0; w < lines[i].weight; ++w) draw.push_back(i);
    return draw;
}

std::vector<PartInfo> AddParts(DataSetWriter& set, Random& r, std::vector<LineInfo>& lines,
                               int32_t count) {
    RecordFileWriter& partl = set.AddRecordFile("PARTL", kPartlLength);
    RecordFileWriter& epartl = set.AddRecordFile("EPARTL", kEpartlLength);
    IndexWriter& parti = set.AddIndex("PARTI", 14);
    const std::vector<size_t> draw = LineDraw(lines);
    std::vector<PartInfo> parts;
    parts.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count && !draw.empty(); ++i) {
        LineInfo& line =
            lines[draw[static_cast<size_t>(r.Between(0, static_cast<int64_t>(draw.size()) - 1))]];
        // Costs mostly small, a few large; prices above cost.
        const int32_t cost = static_cast<int32_t>(r.Between(0, 9) < 8 ? r.Between(45, 4500)
                                                                      : r.Between(4500, 95000));
        const int32_t list = cost + cost * static_cast<int32_t>(r.Between(25, 90)) / 100;
        int32_t on_hand = static_cast<int32_t>(
            r.Between(0, 4) == 0 ? 0 : r.Between(1, 12) * 10 + (r.Between(0, 9) == 0 ? 5 : 0));
        int32_t mtd_sold = static_cast<int32_t>(r.Between(0, 6));
        int32_t ytd_sold = mtd_sold + static_cast<int32_t>(r.Between(0, 60));
        // A line that has reached its limit gets parts without stock or without sales, so
        // that its figures stay the sums of its parts' (only the large set gets there).
        if (line.cost + int64_t{cost} * on_hand / 10 > kLineFigureLimit) on_hand = 0;
        if (line.ytd_sales + int64_t{ytd_sold} * list > kLineFigureLimit) mtd_sold = ytd_sold = 0;
        const int64_t mtd_sales = int64_t{mtd_sold} * list;
        const int64_t ytd_sales = int64_t{ytd_sold} * list;
        const Day changed = DaysBack(r.Between(0, 900));
        const Day demand = DaysBack(r.Between(0, 365));
        const Day stocked = DaysBack(r.Between(200, 4000));
        const Day stockout = DaysBack(r.Between(0, 700));
        const Day received = DaysBack(r.Between(0, 300));
        const std::string number = PartNumber(r, i);
        const char codes[6] = {line.codes[static_cast<size_t>(
                                   r.Between(0, static_cast<int64_t>(line.codes.size()) - 1))],
                               "EEEPS"[r.Between(0, 4)],
                               r.Between(0, 3) ? 'Y' : 'N',
                               static_cast<char>('A' + r.Between(0, 4)),
                               static_cast<char>('A' + r.Between(0, 4)),
                               r.Between(0, 5) ? 'S' : 'N'};

        RecordBuilder p(kPartlLength + kEpartlLength);
        p.Bin(1, 'J', 1)
            .Bin(3, 'C', line.number)
            .PartNumber(5, number)
            .Text(19, r.Between(0, 3) ? "EA" : "PK", 2)
            .Text(21, std::string(codes, 6), 4)
            .Bin(25, 'J', r.Between(1, 4) == 1 ? 10 : 1)
            .Bin(27, 'C', r.Between(0, 9) == 0 ? 2 : 0)
            .Bin(29, 'C', r.Between(0, 3))
            .Bin(33, 'C', r.Between(4, 40))
            .Raw(35, std::string(1, static_cast<char>('A' + r.Between(0, 4))))
            .Bin(36, 'K', on_hand)
            .Bin(39, 'C', r.Between(0, 3) == 0 ? r.Between(1, 20) : 0)
            .Bin(41, 'C', r.Between(0, 15) == 0 ? r.Between(1, 5) : 0)
            .Bin(43, 'K', list);
        for (int k = 0; k < 5; ++k) p.Bin(46 + 3 * k, 'K', list - list * (k + 1) * 4 / 100);
        p.Bin(61, 'K', cost)
            .Bin(64, 'K', r.Between(0, 300))
            .Bin(67, 'K', r.Between(0, 200))
            .Yymmdd(70, changed.y, changed.m, changed.d)
            .Yymmdd(73, demand.y, demand.m, demand.d)
            .Bin(76, 'J', mtd_sold)
            .Bin(78, 'C', r.Between(0, 2))
            .Bin(80, 'J', ytd_sold + r.Between(0, 10))
            .Bin(82, 'J', ytd_sold)
            .Bin(84, 'C', r.Between(0, 3))
            .Bin(86, 'C', r.Between(0, 5))
            .Bits(88, static_cast<uint8_t>(r.Between(0, 255) & 0xEC), true)
            .Bits(89,
                  static_cast<uint8_t>((r.Between(0, 9) == 0 ? 0x10 : 0) |
                                       (r.Between(0, 3) == 0 ? 0x02 : 0)),
                  true)
            .Bin(90, 'C', r.Between(1, 400))
            .Bin(92, 'B', r.Between(0, 30))
            .Bin(93, 'B', r.Between(0, 10))
            .Bin(94, 'B', r.Between(1, 3))
            .Raw(95, r.Between(0, 1) ? "SRI" : "RSS")
            .Yymmdd(98, stocked.y, stocked.m, stocked.d)
            .Bin(101, 'J', r.Between(0, 80))
            .Bin(103, 'J', r.Between(0, 80));
        for (int k = 0; k < 12; ++k) p.Bin(105 + 2 * k, 'J', r.Between(0, 8));
        if (r.Between(0, 19) == 0) {
            const std::string sub = "S" + std::to_string(100000 + i);
            p.Text(129, sub, 10);
        }
        p.Raw(141, std::string(1, PickChar(r, kLetters)) + Digits(r, 2) + "-" + Digits(r, 2))
            .Bin(148, 'D', r.Between(0, 5) == 0 ? 10 * r.Between(1, 3) : 0)
            .Bin(151, 'K', on_hand / 10 + r.Between(0, 3))
            .Bin(154, 'K', cost)
            .Bin(158, 'K', cost + r.Between(-20, 20))
            .Bin(161, 'C', 0)
            .Bin(163, 'L', mtd_sales)
            .Bin(167, 'L', int64_t{mtd_sold} * cost)
            .Bin(171, 'L', ytd_sales)
            .Bin(175, 'L', int64_t{ytd_sold} * cost)
            .Text(179, Description(r), 14)
            .Bin(193, 'J', r.Between(0, 80));
        for (int k = 0; k < 24; ++k) p.Bin(195 + 2 * k, 'J', r.Between(0, 8));
        for (int k = 0; k < 12; ++k) p.Bin(243 + 2 * k, 'J', r.Between(0, 8));
        p.Bin(267, 'C', r.Between(0, 30))
            .Bin(269, 'C', r.Between(1, 10))
            .Bin(271, 'C', r.Between(1, 20))
            .Bits(273, static_cast<uint8_t>(r.Between(0, 3) << 1), true)
            .DayNumber(274, stockout.y, stockout.m, stockout.d)
            .Bin(276, 'B', r.Between(0, 6))
            .DayNumber(277, received.y, received.m, received.d)
            .Bin(279, 'C', r.Between(1, 24))
            .Raw(281, "S")
            .Bin(282, 'B', r.Between(0, 5))
            .Bin(283, 'C', r.Between(1, 24))
            .Raw(285, std::string(1, static_cast<char>('A' + r.Between(0, 3))))
            .Bin(286, 'D', r.Between(0, 9) == 0 ? r.Between(6, 48) : 0);

        const std::string& whole = p.bytes();
        const int32_t n = partl.Add(whole.substr(0, kPartlLength));
        epartl.Add(whole.substr(kPartlLength));
        parti.Add(whole.substr(2, 14), n);
        parts.push_back({whole.substr(2, 14), cost});

        line.cost += int64_t{cost} * on_hand / 10;
        line.mtd_sales += mtd_sales;
        line.ytd_sales += ytd_sales;
        line.mtd_cogs += int64_t{mtd_sold} * cost;
        line.ytd_cogs += int64_t{ytd_sold} * cost;
        line.mtd_count += mtd_sold;
        line.ytd_count += ytd_sold;
    }
    return parts;
}

void AddLines(Random& r, std::vector<LineInfo>& lines, RecordFileWriter& linel,
              RecordFileWriter& elinel, IndexWriter& linei, IndexWriter& comodi) {
    int32_t commodity_entries = 0;
    for (LineInfo& l : lines) {
        RecordBuilder b(kLinelLength + kElinelLength);
        const int64_t ordered = r.Between(200, 6000);
        const int64_t pieces = ordered * r.Between(1, 4);
        const int64_t dollars = l.ytd_sales / 100 + r.Between(100, 5000);
        const Day last_gen = DaysBack(r.Between(10, 400));
        b.Bin(1, 'J', 1)
            .Bin(3, 'C', l.number)
            .Text(5, l.alpha, 2)
            .Text(7, l.name, 20)
            .Raw(27, r.Between(0, 2) ? "Y" : "N")
            .Raw(28, l.codes.substr(0, 1))
            .Bin(29, 'B', r.Between(1, 12))
            .Bin(33, 'C', r.Between(2, 12))
            .Bin(35, 'C', r.Between(20, 60))
            .Bin(37, 'C', r.Between(10, 25))
            .Raw(39, "ANANAN")
            .Raw(45, "PRIOR ");
        for (int k = 0; k < 6; ++k) {
            b.Bin(51 + 4 * k, 'B', k + 1)
                .Bin(52 + 4 * k, 'B', r.Between(0, 3))
                .Bin(53 + 4 * k, 'J', r.Between(-30, 45));
        }
        b.Bin(75, 'L', Checked32(l.cost))
            .Bin(79, 'L', Checked32(l.cost / 40))
            .Bin(83, 'L', Checked32(l.mtd_count))
            .Bin(87, 'L', Checked32(l.mtd_sales))
            .Bin(91, 'L', Checked32(l.mtd_cogs))
            // The year to date is stored without the current month.
            .Bin(95, 'L', Checked32(l.ytd_count - l.mtd_count))
            .Bin(99, 'L', Checked32(l.ytd_sales - l.mtd_sales))
            .Bin(103, 'L', Checked32(l.ytd_cogs - l.mtd_cogs))
            .Bin(107, 'L', Checked32(l.ytd_count * r.Between(80, 120) / 100))
            .Bin(111, 'L', Checked32(l.ytd_sales * r.Between(80, 120) / 100))
            .Bin(115, 'L', Checked32(l.ytd_cogs * r.Between(80, 120) / 100))
            .Bin(119, 'C', r.Between(20, 40))
            .Raw(121, "Y")
            .Bin(122, 'C', r.Between(0, 15))
            .Raw(124, r.Between(0, 1) ? "Y" : "N")
            .Bin(125, 'C', r.Between(50, 500))
            .Text(127, "INV", 2)
            .Bin(129, 'B', l.type == 'U' ? 24 : r.Between(0, 12));
        for (int k = 0; k < 4; ++k)
            b.Bin(130 + 3 * k, 'B', 12 * (k + 1)).Bin(131 + 3 * k, 'C', 5 + 3 * k);
        b.Raw(142, std::string(1, l.type))
            .Bin(143, 'L', l.type == 'U' ? r.Between(100, 900) : 0)
            .Bin(147, 'B', 1)
            .Bin(148, 'L', l.vendor)
            .Bin(152, 'J', ordered / 12)
            .Bin(154, 'J', ordered / 12 * r.Between(85, 100) / 100)
            .Bin(156, 'K', pieces / 12)
            .Bin(159, 'K', pieces / 12 * r.Between(85, 100) / 100)
            .Bin(162, 'L', dollars / 12)
            .Bin(166, 'L', dollars / 12 * r.Between(85, 100) / 100)
            .Bin(170, 'K', ordered)
            .Bin(173, 'K', ordered * r.Between(82, 100) / 100)
            .Bin(176, 'L', pieces)
            .Bin(180, 'L', pieces * r.Between(82, 100) / 100)
            .Bin(184, 'L', dollars)
            .Bin(188, 'L', dollars * r.Between(82, 100) / 100)
            .Bin(193, 'L', l.vendor)
            .Raw(197, "S")
            .Bin(198, 'B', r.Between(0, 20))
            .Raw(203, "  ")
            .DayNumber(205, last_gen.y, last_gen.m, last_gen.d)
            .Bin(207, 'L', Checked32(l.cost * r.Between(95, 105) / 100))
            .Bin(211, 'L', Checked32(l.cost / 40))
            .Bin(215, 'L', Checked32(l.cost * r.Between(85, 115) / 100))
            .Bin(219, 'L', Checked32(l.cost / 45));
        const std::string& whole = b.bytes();
        const int32_t n = linel.Add(whole.substr(0, kLinelLength));
        elinel.Add(whole.substr(kLinelLength));
        linei.Add(whole.substr(2, 2), n);
        for (char code : l.codes) {
            std::string key(4, '\0');
            key[0] = static_cast<char>(l.number >> 8);
            key[1] = static_cast<char>(l.number & 0xFF);
            key[2] = code;
            comodi.Add(key, ++commodity_entries);
        }
    }
}

std::vector<int32_t> AddVendors(DataSetWriter& set, Random& r, int32_t count) {
    RecordFileWriter& vndrl = set.AddRecordFile("VNDRL", kVndrlLength);
    IndexWriter& vndri = set.AddIndex("VNDRI", 4);
    // Numbers from 1 to 999, drawn without repeats and kept in order; 999 itself is left out
    // for the document whose vendor VNDRI does not hold.
    std::vector<int32_t> pool(998);
    for (int32_t i = 0; i < 998; ++i) pool[static_cast<size_t>(i)] = i + 1;
    for (size_t i = pool.size() - 1; i > 0; --i)
        std::swap(pool[i], pool[static_cast<size_t>(r.Between(0, static_cast<int64_t>(i)))]);
    pool.resize(static_cast<size_t>(std::clamp(count, 1, 998)));
    std::sort(pool.begin(), pool.end());
    std::set<std::string> names;
    for (int32_t vendor : pool) {
        std::string name = std::string(Pick(r, kVendorFirst)) + " " + Pick(r, kVendorSecond);
        if (!names.insert(name).second) name += " " + std::to_string(vendor);
        RecordBuilder v = vndrl.NewRecord();
        v.Bin(1, 'J', 1)
            .Bin(3, 'D', vendor)
            .Text(6, name, 20)
            .Text(26, std::to_string(r.Between(100, 9999)) + " INDUSTRIAL PKWY", 20)
            .Text(46, Pick(r, kCities), 20)
            .Raw(66, "800555" + Digits(r, 4));
        const int32_t n = vndrl.Add(v);
        vndri.Add(RecordBuilder(4).Bin(1, 'L', vendor).bytes(), n);
    }
    return pool;
}

constexpr int32_t kMissingVendor = 999;

struct DocLine {
    int32_t kind = 4;
    std::string part_key;  // 14 bytes
    int32_t quantity = 0;
    int32_t unit_cost = 0;  // 0: the part's own cost
};

// The bytes of one document file and its total in cents.
std::string DocumentBytes(const std::string& number, int32_t vendor, const Day& date,
                          int32_t drop_ship, const std::array<std::string, 4>& comments,
                          const std::vector<DocLine>& lines, int64_t total) {
    std::vector<std::string> records;
    records.push_back(RecordBuilder(kDocRecord).Raw(1, number.substr(0, kDocRecord)).str());
    std::string padded = number;
    padded.resize(8, ' ');
    records.push_back(RecordBuilder(kDocRecord)
                          .Bin(1, 'J', 1)
                          .Raw(3, padded)
                          .Bin(11, 'C', vendor)
                          .Mmddyy(13, date.y, date.m, date.d)
                          .Bin(17, 'L', drop_ship)
                          .str());
    for (const std::string& c : comments)
        records.push_back(RecordBuilder(kDocRecord).Bin(1, 'J', 1).Text(3, c, 35).str());
    records.push_back(
        RecordBuilder(kDocRecord).Bin(1, 'J', 1).Bin(22, 'L', Checked32(total)).str());
    for (const DocLine& l : lines) {
        RecordBuilder b(kDocRecord);
        b.Bin(1, 'J', l.kind);
        if (l.part_key.size() == 14) b.Raw(3, l.part_key);
        b.Bin(18, 'K', l.quantity).Bin(33, 'D', l.unit_cost);
        records.push_back(b.str());
    }
    return PlainRecords(kDocRecord, records);
}

// The key of a document in RTTBI or PUTBI: its name at 1 (NUL padded), its type at 16.
std::string DocumentKey(const std::string& name, int32_t type) {
    return RecordBuilder(16).Raw(1, name.substr(0, 10)).Bin(16, 'B', type).str();
}

struct DocPlan {
    std::string index;  // RTTBI or PUTBI
    std::string name;
    int32_t type = 0;
    int32_t vendor = 0;
    bool returns = false;
    bool credit = false;        // a return of negative quantities
    bool unknown_part = false;  // one line whose part PARTI lacks
};

int32_t AddDocument(DataSetWriter& set, Random& r, const DocPlan& d,
                    const std::vector<PartInfo>& parts) {
    std::vector<DocLine> lines;
    int64_t total = 0;
    const int32_t count = static_cast<int32_t>(r.Between(1, d.returns ? 6 : 14));
    for (int32_t i = 0; i < count && !parts.empty(); ++i) {
        if (r.Between(0, 11) == 0) {
            lines.push_back({1, std::string(), 0, 0});  // a line of another kind
            continue;
        }
        const PartInfo& part =
            parts[static_cast<size_t>(r.Between(0, static_cast<int64_t>(parts.size()) - 1))];
        DocLine l;
        l.part_key = part.key;
        l.quantity = static_cast<int32_t>(d.returns ? r.Between(1, 4) : r.Between(1, 24));
        if (d.credit) l.quantity = -l.quantity;
        l.unit_cost =
            r.Between(0, 3) == 0 ? 0 : part.cost * static_cast<int32_t>(r.Between(90, 100)) / 100;
        total += int64_t{l.quantity} * (l.unit_cost != 0 ? l.unit_cost : part.cost);
        lines.push_back(l);
    }
    if (d.unknown_part) {
        DocLine l;
        l.part_key = RecordBuilder(14).Bin(1, 'C', 1).Text(3, "NLA9999", 12).str();
        l.quantity = 2;
        l.unit_cost = 1895;
        total += 2 * 1895;
        lines.push_back(l);
    }
    std::array<std::string, 4> comments;
    for (std::string& c : comments)
        if (r.Between(0, 2) == 0) c = Pick(r, kComments);
    const Day date = DaysBack(r.Between(0, 120));
    const int32_t drop_ship =
        !d.returns && r.Between(0, 9) == 0 ? static_cast<int32_t>(r.Between(100000, 999999)) : 0;
    set.Index(d.index).Add(DocumentKey(d.name, d.type), 1);
    set.AddPlainFile(d.name,
                     DocumentBytes(d.name, d.vendor, date, drop_ship, comments, lines, total));
    return 1;
}

}  // namespace

PartsFilesSummary AddPartsFiles(DataSetWriter& set, const DemoPlan& plan) {
    Random r(0x50415254534C4E45ull);  // this data's own sequence
    PartsFilesSummary summary;

    RecordFileWriter& linel = set.AddRecordFile("LINEL", kLinelLength);
    RecordFileWriter& elinel = set.AddRecordFile("ELINEL", kElinelLength);
    IndexWriter& linei = set.AddIndex("LINEI", 2);
    IndexWriter& comodi = set.AddIndex("COMODI", 4);

    std::vector<LineInfo> lines = PlanLines(r, std::max(plan.product_lines, 1));
    const std::vector<PartInfo> parts = AddParts(set, r, lines, plan.parts);
    const std::vector<int32_t> vendors = AddVendors(set, r, std::max(plan.vendors, 1));
    auto any_vendor = [&] {
        return vendors[static_cast<size_t>(r.Between(0, static_cast<int64_t>(vendors.size()) - 1))];
    };
    for (LineInfo& l : lines) l.vendor = any_vendor();
    AddLines(r, lines, linel, elinel, linei, comodi);
    summary.lines = static_cast<int32_t>(lines.size());
    summary.parts = static_cast<int32_t>(parts.size());
    summary.vendors = static_cast<int32_t>(vendors.size());
    for (const LineInfo& l : lines)
        if (l.number < 1000) summary.inventory_cents += Checked32(l.cost);

    set.AddIndex("RTTBI", 16);
    set.AddIndex("PUTBI", 16);
    const int32_t returns = plan.returns > 0 ? plan.returns : std::max(3, plan.vendors / 4);
    for (int32_t i = 0; i < returns; ++i) {
        DocPlan d;
        d.index = "RTTBI";
        d.returns = true;
        d.name = "R" + std::to_string(10001 + i);
        // Most are pending (type 20); a few are of another type, which the view leaves out.
        d.type = i % 9 == 4 ? 21 : 20;
        d.vendor = i == 1 ? kMissingVendor : any_vendor();
        d.credit = i == 2;
        summary.returns += AddDocument(set, r, d, parts);
    }
    const int32_t orders =
        plan.orders > 0 ? plan.orders : std::max(6, plan.vendors + plan.vendors / 4);
    const int32_t order_types[] = {20, 20, 20, 25, 2, 29, 20, 3};
    for (int32_t i = 0; i < orders; ++i) {
        DocPlan d;
        d.index = "PUTBI";
        if (i % 7 == 3) {
            // Special orders: taken for their type whatever the first character.
            d.vendor = any_vendor();
            d.name = "S" + std::to_string(200001 + i);
            d.type = i % 2 ? 6 : 64;
        } else {
            d.vendor = any_vendor();
            // The vendor and a sequence: three digits for the first 900 orders, four past them,
            // so that no two orders share a file.
            const std::string sequence =
                i < 900 ? std::to_string(100 + i) : std::to_string(10000 + i).substr(1);
            d.name = "V" + std::to_string(1000 + d.vendor).substr(1) + sequence;
            d.type = order_types[i % 8];
        }
        d.unknown_part = i == 0;
        summary.orders += AddDocument(set, r, d, parts);
    }
    // An index entry whose document file is gone.
    set.Index("PUTBI").Add(DocumentKey("V9990001", 20), 1);
    return summary;
}

}  // namespace dv::sample
