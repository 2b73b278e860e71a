#include "sampledata/service_data.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>

#include "sampledata/as_of.h"
#include "sampledata/damage.h"
#include "sampledata/formats.h"
#include "service/shop_page.h"

namespace dv::sample {
namespace {

// The status word of a shop-job page.
constexpr int32_t kShopStatus = 80;

// The day the jobs' and claims' dates are counted back from.

const char* const kSubStatusNames[5] = {"WAITING PARTS", "WAITING APPROVL", "IN PROGRESS",
                                        "ON HOLD", "READY FOR PICKUP"};
const char* const kClaimNames[] = {"HARLAN FARMS",      "BECKER LAWN CARE",  "OSTROM DAIRY",
                                   "VOGEL ORCHARDS",    "MARSH LANDSCAPING", "DUNBAR RENTALS",
                                   "FENWICK TREE CARE", "GRAYSON ACRES",     "HOLLIS GRAIN"};
const char* const kCallResults[] = {"NO ANSWER",    "LEFT MESSAGE", "NOTIFIED",
                                    "WILL PICK UP", "APPROVED",     "DECLINED"};
// Equipment brought in for repair: a made-up brand (15 characters at most) and a description
// (21 at most).
const char* const kBrands[][2] = {
    {"VESKAR", "TRACTOR VT390"},   {"ALDRIM", "CHAINSAW AC25"}, {"QUARNE", "MOWER ZT48"},
    {"ROVENNA", "GENERATOR RG22"}, {"ZELMAR", "UTILITY ZU4"},   {"TRENHOLT", "SIDE BY SIDE T57"},
};
// Lines of a job or a claim: code, part, description, price range in cents.
struct LineKind {
    const char* code;
    const char* part;
    const char* description;
    int32_t low, high;
};
const LineKind kLineKinds[] = {
    {"120", "FLTR4455", "OIL FILTER", 600, 2400}, {"120", "BLT7781", "DRIVE BELT", 2500, 9000},
    {"130", "SPK100", "SPARK PLUG", 300, 1200},   {"500", "LABOR", "SHOP LABOR", 6500, 11000},
    {"502", "FREIGHT", "FREIGHT IN", 1500, 4000}, {"550", "SUPPLIES", "SHOP SUPPLIES", 200, 1500},
};
const char* const kStatuses[] = {"O", "1", "C", "B", "2", "S", "3", "O", "4", "5", "C", "O"};

// Days after 12/31/67 of the day `back` days before the as-of day.
int32_t DaysBack(int32_t back) {
    const CalendarDay as_of = AsOf();
    return DaysFromBase(as_of.year, as_of.month, as_of.day) - back;
}

// The civil date of a day number, for the mmddyy fields.
struct Ymd {
    int y, m, d;
};
Ymd CivilOfDay(int32_t day_number) {
    using namespace std::chrono;
    const year_month_day ymd{sys_days{year{1967} / 12 / 31} + days{day_number}};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

struct Line {
    std::string code, part, description;
    int32_t tenths, net, cost;
};

Line MakeLine(Random& r, int kind_index, bool odd_quantity) {
    const LineKind& k = kLineKinds[kind_index];
    Line l{k.code, k.part, k.description, 0, 0, 0};
    l.tenths = static_cast<int32_t>(r.Between(1, 4) * 10 + (odd_quantity ? 5 : 0));
    l.net = static_cast<int32_t>(r.Between(k.low, k.high));
    l.cost = l.net * 6 / 10;
    return l;
}

// quantity in whole units (toward zero) x net, as the detail builders total a line.
int64_t LineTotal(const Line& l) {
    return static_cast<int64_t>(l.tenths / 10) * l.net;
}

std::string SlotBytes(const Line& l) {
    RecordBuilder b(44);
    if (l.code == "REM") return b.Text(1, "REM", 2).Text(3, l.part, 42).str();
    return b.Text(1, l.code, 2)
        .Text(3, l.part, 12)
        .Text(17, l.description, 14)
        .Bin(31, 'J', l.tenths)
        .Bin(33, 'K', l.net)
        .Bin(36, 'D', l.cost)
        .str();
}

// Writes the pages of one document into `file`, page 1 first, each page's lines in its slots;
// `header` fills the fields beside the chain fields of every page. Returns the head record.
template <typename Header>
int32_t AddPages(RecordFileWriter& file, int32_t status,
                 const std::vector<std::vector<Line>>& pages, Ymd date, const Header& header) {
    int32_t below = 0;
    for (size_t p = 0; p < pages.size(); ++p) {
        RecordBuilder b = file.NewRecord();
        b.Bin(1, 'J', status);
        header(b, static_cast<int32_t>(p));
        if (p == 0)
            b.Mmddyy(110, date.y, date.m, date.d);
        else
            b.Bin(110, 'K', below);
        b.Bin(115, 'B', static_cast<int64_t>(p + 1));
        b.Bin(146, 'B', static_cast<int64_t>(pages[p].size()));
        for (size_t j = 0; j < pages[p].size() && j < 8; ++j)
            b.Raw(161 + 44 * static_cast<int32_t>(j), SlotBytes(pages[p][j]));
        below = file.Add(b);
    }
    return below;
}

std::vector<int32_t> CustomerAccounts(DataSetWriter& set) {
    std::vector<int32_t> accounts;
    if (set.Has("CUSTI")) {
        for (const auto& [key, record] : set.Index("CUSTI").Sorted()) {
            if (key.size() < 4 || record < 1) continue;
            const auto* k = reinterpret_cast<const unsigned char*>(key.data());
            const uint32_t v = (uint32_t{k[0]} << 24) | (uint32_t{k[1]} << 16) |
                               (uint32_t{k[2]} << 8) | uint32_t{k[3]};
            if (v == 0xFFFFFFFFu) continue;
            accounts.push_back(static_cast<int32_t>(v));
        }
    }
    if (accounts.empty())
        for (int32_t a = 1001; a <= 1012; ++a) accounts.push_back(a);
    return accounts;
}

std::vector<int32_t> PeopleNumbers(DataSetWriter& set, bool mechanics) {
    std::vector<int32_t> numbers;
    if (set.Has("MANI")) {
        for (const auto& [key, record] : set.Index("MANI").Sorted()) {
            if (key.size() < 2 || record < 1) continue;
            const int32_t n =
                (static_cast<unsigned char>(key[0]) << 8) | static_cast<unsigned char>(key[1]);
            if (n == 0 || n > 255) continue;
            if ((n >= 50) == mechanics) numbers.push_back(n);
        }
    }
    if (numbers.empty()) numbers.push_back(mechanics ? 50 : 1);
    return numbers;
}

int32_t JobNumberOf(int32_t i, int32_t count) {
    // The first half below 1000 (at most 300 jobs, 101 to 998), the rest from 1000 up to the
    // table's last slot, 7 apart while they fit, so both parts of the table are used and no two
    // jobs share a number.
    const int32_t low = std::min((count + 1) / 2, 300);
    if (i < low) return 101 + i * 3;
    const int32_t high = count - low;
    const int32_t step = std::clamp((kLastJob - 1000) / std::max(1, high - 1), 1, 7);
    return 1000 + (i - low) * step;
}

}  // namespace

JobSlot JobTableSlot(int32_t job) {
    if (job < 1 || job > kLastJob)
        throw std::out_of_range("no table slot for job " + std::to_string(job));
    JobSlot s;
    s.block = file0::JobBlock(job);
    s.position = file0::JobSlotAt(job);
    return s;
}

ServiceSummary AddServiceFiles(DataSetWriter& set, const DemoPlan& plan) {
    Random r(0x5E2B1CE5ull);
    ServiceSummary summary;
    RecordFileWriter& invol =
        set.Has("INVOL") ? set.Records("INVOL") : set.AddRecordFile("INVOL", kInvolLength);
    if (invol.record_length() != kInvolLength) throw std::logic_error("INVOL pages are 512 bytes");
    const std::vector<int32_t> accounts = CustomerAccounts(set);
    const std::vector<int32_t> mechanics = PeopleNumbers(set, true);
    const std::vector<int32_t> countermen = PeopleNumbers(set, false);

    // The control file's names and options.
    BlockFile& control = set.File0();
    for (int n = 1; n <= 5; ++n) {
        std::string name = kSubStatusNames[n - 1];
        name.resize(file0::kSubStatusSize, ' ');
        control.Block(file0::kSubStatusBlock).Raw(file0::SubStatusAt(n), name);
    }
    for (size_t n = 0; n < std::size(kCallResults); ++n) {
        std::string name = kCallResults[n];
        name.resize(file0::kCallResultSize, ' ');
        control.Block(file0::kCallResultBlock)
            .Raw(file0::CallResultAt(static_cast<int32_t>(n) + 1), name);
    }
    set.SetOption(file0::kOptionShopSegments, plan.warranty_segments);
    set.SetOption(file0::kOptionWarrantySegments, plan.warranty_segments);

    // Shop jobs.
    const int32_t jobs = std::max(plan.shop_jobs, 5);
    for (int32_t i = 0; i < jobs; ++i) {
        const int32_t job = JobNumberOf(i, jobs);
        const std::string status = kStatuses[i % std::size(kStatuses)];
        const int32_t requests =
            static_cast<int32_t>(1 + (i % 3 == 1 ? 1 : 0) + (i % 5 == 2 ? 2 : 0));
        std::vector<std::vector<Line>> pages;
        int64_t sub_total = 0;
        for (int32_t p = 0; p < requests; ++p) {
            std::vector<Line> lines;
            const int n = static_cast<int>(r.Between(2, 6));
            for (int k = 0; k < n; ++k) {
                Line l = MakeLine(r, static_cast<int>(r.Between(0, 5)), k == 1 && i % 4 == 0);
                sub_total += LineTotal(l);
                lines.push_back(l);
            }
            if (p == 0 && i % 3 == 0)
                lines.push_back({"REM", "CUSTOMER REPORTS HARD START", "", 0, 0, 0});
            pages.push_back(lines);
        }
        const int32_t account =
            i == 3 ? kShopMissingCustomer : accounts[static_cast<size_t>(i) % accounts.size()];
        const auto& brand = kBrands[static_cast<size_t>(i) % std::size(kBrands)];
        const int32_t day_in = DaysBack(static_cast<int32_t>(r.Between(3, 60)));
        const int32_t day_done = day_in + static_cast<int32_t>(r.Between(1, 3));
        const bool warranty = i % 4 == 1;
        const int32_t shop_ref = 5000 + i;
        const int32_t mechanic = mechanics[static_cast<size_t>(i) % mechanics.size()];
        const int32_t counterman = countermen[static_cast<size_t>(i) % countermen.size()];
        const int64_t meter = r.Between(50, 30000);
        auto header = [&](RecordBuilder& b, int32_t page) {
            b.Bin(3, 'L', account)
                .Bin(7, 'D', account)
                .Bin(10, 'C', 0)
                .Bin(14, 'D', meter)
                .Bin(17, 'C', day_in)
                .Bin(shop_page::CallDayAt(0), 'C', day_in + 1)
                .Bin(shop_page::CallDayAt(1), 'C',
                     i % 6 == 0 ? shop_page::kNoCallDay : (i % 2 == 0 ? day_in + 2 : 0))
                .Bin(shop_page::CallDayAt(2), 'C', 0)
                .Bin(120, 'B', 1 + i % 6)
                .Bin(121, 'B', i % 2 == 0 ? 1 + (i + 2) % 6 : 0)
                .Text(27, brand[0], 10)
                .Text(37, brand[1], 14)
                .Text(51, "SN" + std::to_string(700000 + i * 37), 12)
                .Bin(75, 'L', shop_ref)
                .Bin(79, 'B', mechanic)
                .Bin(81, 'C', 100 + i * 5)
                .Bin(shop_page::kCompletedDayAt, 'C', status == "C" ? day_done : 0)
                .Bin(shop_page::kCheckedInDayAt, 'C', day_in)
                .Bin(97, 'B', page)
                .Raw(99, status)
                .Bin(101, 'C', job)
                .Text(105, "5550" + std::to_string(100 + i), 8)
                .Bin(113, 'B', counterman)
                .Bin(116, 'B', 128)
                .Bin(117, 'C', warranty ? 40 + i % 3 : 0)
                .Raw(119, warranty ? "Y" : "N")
                .Bin(123, 'B', 1)
                .Bin(125, 'L', sub_total)
                .Bin(141, 'D', 0xFFFFFF);
        };
        const Ymd opened = CivilOfDay(day_in);
        const int32_t head = AddPages(invol, kShopStatus, pages, opened, header);
        const JobSlot slot = JobTableSlot(job);
        control.Block(slot.block).Bin(slot.position, 'L', head);
        summary.jobs.push_back(job);
        if (status != "B") {
            summary.listed_jobs.push_back(job);
            summary.open_total_cents += sub_total;
        }
    }
    // The table order: blocks 451-458, then 501-571, slots in order.
    std::sort(summary.jobs.begin(), summary.jobs.end(), [](int32_t a, int32_t b) {
        const JobSlot sa = JobTableSlot(a), sb = JobTableSlot(b);
        return sa.block != sb.block ? sa.block < sb.block : sa.position < sb.position;
    });
    std::vector<int32_t> listed;
    for (int32_t j : summary.jobs)
        if (std::find(summary.listed_jobs.begin(), summary.listed_jobs.end(), j) !=
            summary.listed_jobs.end())
            listed.push_back(j);
    summary.listed_jobs = listed;

    // Warranty claims: headers first (records 1 to n), then their pages.
    RecordFileWriter& warrl = set.AddRecordFile("WARRL", kWarrlLength);
    IndexWriter& warri = set.AddIndex("WARRI", 4);
    const int32_t claims = plan.claims > 0 ? plan.claims : std::max(6, plan.shop_jobs / 3);
    struct Claim {
        RecordBuilder header{kWarrlLength};
        std::vector<std::vector<Line>> pages;
        int32_t key = 0;
        bool listed = false;
        int64_t parts = 0, labor = 0;
    };
    std::vector<Claim> list(static_cast<size_t>(claims));
    for (int32_t c = 0; c < claims; ++c) {
        Claim& claim = list[static_cast<size_t>(c)];
        // Kinds: listed (billed, not reconciled), reconciled, unbilled, status 2; the first
        // claim is always listed, and claims billed on 1/1/69 and 1/1/00 are listed too.
        const int kind = c == 0 ? 0 : (c % 7 == 3 ? 1 : (c % 7 == 5 ? 2 : (c % 7 == 6 ? 3 : 0)));
        const int32_t shop_ref = 7000 + c;
        const int32_t request = 1 + c % 3;
        claim.key = plan.warranty_segments ? shop_ref * 100 + request : shop_ref;
        const int32_t account = accounts[static_cast<size_t>(c * 5) % accounts.size()];
        const auto& brand = kBrands[static_cast<size_t>(c + 2) % std::size(kBrands)];
        const int npages = c % 4 == 2 ? 2 : 1;
        for (int p = 0; p < npages; ++p) {
            std::vector<Line> lines;
            const int n = static_cast<int>(r.Between(1, 5));
            for (int k = 0; k < n; ++k) {
                Line l = MakeLine(r, static_cast<int>(r.Between(0, 5)), k == 0 && c % 3 == 0);
                (l.code == "500" ? claim.labor : claim.parts) += LineTotal(l);
                lines.push_back(l);
            }
            if (p == 0 && c % 2 == 0)
                lines.push_back({"REM", "WARRANTY AUTH 44" + std::to_string(c), "", 0, 0, 0});
            claim.pages.push_back(lines);
        }
        RecordBuilder& h = claim.header;
        const int32_t billed_day = DaysBack(static_cast<int32_t>(r.Between(5, 90)));
        const Ymd billed = CivilOfDay(billed_day);
        h.Bin(1, 'C', kind == 3 ? 2 : 1)
            .Bin(3, 'C', 10 + c % 4)
            .Bin(5, 'L', shop_ref)
            .Text(9, "FAILED UNDER NORMAL USE", 40)
            .Text(129, "REPLACED FAILED PART", 40)
            .Text(251, "M" + std::to_string(100 + c), 8)
            .Bin(269, 'D', r.Between(10, 2000))
            .Mmddyy(272, billed.y, billed.m, std::max(1, billed.d - 1))
            .Bin(276, 'C', 612)
            .Bin(278, 'L', 5550100 + c)
            .Mmddyy(284, 2022, 1 + c % 12, 10)
            .Bin(288, 'L', claim.parts)
            .Bin(292, 'L', claim.labor)
            .Text(304, "NORTHFIELD EQUIPMENT", 20)
            .Text(324, "12 MILL ROAD", 20)
            .Text(354, "SPRINGVALE", 16)
            .Text(370, "MN", 2)
            .Text(372, "55001", 6)
            .Bin(409, 'L', account)
            .Text(413, kClaimNames[static_cast<size_t>(c) % std::size(kClaimNames)], 20)
            .Text(433, brand[0], 10)
            .Text(443, brand[1], 14)
            .Text(457, "SN" + std::to_string(810000 + c * 11), 12)
            .Text(469, "ENG" + std::to_string(920000 + c * 13), 12)
            .Bin(481, 'L', 60000 + c)
            .Bin(507, 'C', 200 + c);
        if (kind != 2) {
            if (c == 4)
                h.Mmddyy(403, 1969, 1, 1);  // raw 10169
            else if (c == 8)
                h.Mmddyy(403, 2000, 1, 1);  // raw 10100
            else
                h.Mmddyy(403, billed.y, billed.m, billed.d);
        }
        if (kind == 1) h.Bin(401, 'C', billed_day + 10);
        claim.listed = kind == 0;
        warrl.Add(h);  // record c + 1
    }
    for (int32_t c = 0; c < claims; ++c) {
        Claim& claim = list[static_cast<size_t>(c)];
        const int32_t head =
            AddPages(warrl, 1, claim.pages, Ymd{2024, 6, 1}, [](RecordBuilder&, int32_t) {});
        claim.header.Bin(509, 'L', head);
        warrl.Set(c + 1, claim.header.bytes());
        std::string key(4, '\0');
        PutBE(key, 1, 4, claim.key);
        warri.Add(key, c + 1);
    }
    std::vector<std::pair<int32_t, size_t>> by_key;
    for (size_t c = 0; c < list.size(); ++c) by_key.emplace_back(list[c].key, c);
    std::sort(by_key.begin(), by_key.end());
    for (const auto& [key, c] : by_key) {
        if (!list[c].listed) continue;
        summary.listed_keys.push_back(key);
        summary.warranty_parts_cents += list[c].parts;
        summary.warranty_labor_cents += list[c].labor;
    }
    summary.claims = claims;
    return summary;
}

}  // namespace dv::sample

namespace dv::sample::damage {
namespace {

void PutRecordField(DataSetImage& image, std::string_view file, int32_t record, int32_t position,
                    int width, int64_t value) {
    const LogicalPlacement& p = image.Logical(file);
    if (record < 1 || record > p.last_record) throw std::out_of_range("no such record");
    std::string& container = image.File(p.container);
    const int64_t at = image.RecordOffset(file, record) + position - 1;
    if (at < 0 || static_cast<size_t>(at + width) > container.size())
        throw std::out_of_range("damage outside the container of " + p.name);
    PutBE(container, static_cast<int32_t>(at + 1), width, value);
}

int32_t RecordField(const DataSetImage& image, std::string_view file, int32_t record,
                    int32_t position, int width) {
    const std::string& container = image.File(image.Logical(file).container);
    const int64_t at = image.RecordOffset(file, record) + position - 1;
    int64_t v = 0;
    for (int i = 0; i < width; ++i)
        v = (v << 8) | static_cast<unsigned char>(container.at(static_cast<size_t>(at + i)));
    return static_cast<int32_t>(v);
}

}  // namespace

void ClaimWithoutPages(DataSetImage& image, int32_t claim) {
    PutRecordField(image, "WARRL", claim, 509, 4, 0);
}

void LoopClaimPages(DataSetImage& image, int32_t claim) {
    const int32_t head = RecordField(image, "WARRL", claim, 509, 4);
    PutRecordField(image, "WARRL", head, 110, 3, head);
    PutRecordField(image, "WARRL", head, 115, 1, 2);
}

void DeletedClaimPage(DataSetImage& image, int32_t claim) {
    ZeroRecord(image, "WARRL", RecordField(image, "WARRL", claim, 509, 4));
}

void DeletedJobPage(DataSetImage& image, int32_t job) {
    const JobSlot slot = JobTableSlot(job);
    const std::string& control = image.File(image.DataPath(file0::kName));
    const int64_t at = static_cast<int64_t>(slot.block) * kBlock + slot.position;
    if (static_cast<size_t>(at + 3) > control.size()) throw std::out_of_range("FILE0 is too short");
    ZeroRecord(image, "INVOL", static_cast<int32_t>(GetBE(control, static_cast<int32_t>(at), 4)));
}

void JobSlotPastLastRecord(DataSetImage& image, int32_t job) {
    const JobSlot slot = JobTableSlot(job);
    std::string& control = image.File(image.DataPath(file0::kName));
    const int64_t at = static_cast<int64_t>(slot.block) * kBlock + slot.position;
    if (static_cast<size_t>(at + 3) > control.size()) throw std::out_of_range("FILE0 is too short");
    PutBE(control, static_cast<int32_t>(at), 4, image.Logical("INVOL").last_record + 1);
}

}  // namespace dv::sample::damage
