#include "sampledata/sales_data.h"

#include <algorithm>
#include <chrono>
#include <set>
#include <stdexcept>

#include "engine/control_file.h"
#include "sampledata/as_of.h"
#include "sampledata/damage.h"

namespace dv::sample {
namespace {

template <typename T, size_t N>
const T& Pick(Random& r, const T (&items)[N]) {
    return items[static_cast<size_t>(r.Between(0, static_cast<int64_t>(N) - 1))];
}

const char* const kFirst[] = {"ASHFORD", "BELLAMY", "CARROW",  "DUNMORE",  "ELLISON",  "FAIRLEY",
                              "GARLAND", "HOLLIS",  "IVERSON", "JARRETT",  "KENDALL",  "LOWELL",
                              "MERCER",  "NORWOOD", "OAKLEY",  "PRESCOTT", "QUINLAN",  "RUTLEDGE",
                              "SUTTER",  "TILDEN",  "UPTON",   "VAUGHN",   "WHITCOMB", "YARBROUGH"};
const char* const kKinds[] = {"FARMS",        "FARM-SUPPLY", "LAWN CARE",    "LANDSCAPING",
                              "CONSTRUCTION", "EXCAVATING",  "TREE SERVICE", "GOLF CLUB",
                              "ORCHARDS",     "DAIRY",       "RENTALS",      "CO-OP"};
const char* const kPeople[] = {"JOHN", "MARY", "DAVE", "ANNA", "PETE", "LISA", "MARK", "SUE"};
const char* const kStreets[] = {"RIVER RD",   "COUNTY RD 12", "MAIN ST",   "STATE RTE 4",
                                "MILL CREEK", "ORCHARD LN",   "HIGHWAY 9", "LAKE AVE"};
const char* const kTowns[] = {"SPRINGFIELD, OH 45501", "DAYTON, OH 45402",   "XENIA, OH 45385",
                              "URBANA, OH 43078",      "TROY, OH 45373",     "PIQUA, OH 45356",
                              "LIMA, OH 45801",        "RICHMOND, IN 47374", "MUNCIE, IN 47302"};
const char* const kItems[] = {"BLADE, MOWER",   "FILTER, OIL",   "BELT, DRIVE",  "SPARK PLUG",
                              "TIRE, FRONT",    "BATTERY",       "SEAT COVER",   "HYD HOSE",
                              "GREASE, CASE",   "CHAIN, SAW",    "BAR OIL, GAL", "PULLEY, IDLER",
                              "BEARING, WHEEL", "CABLE, CLUTCH", "GLOVES, PAIR", "TRIMMER LINE"};
const char* const kRemarks[] = {"CUSTOMER WILL PICK UP",   "CALL WHEN PARTS ARRIVE",
                                "SHIP VIA GROUND",         "HOLD FOR PAYMENT",
                                "DELIVER WITH NEXT ROUTE", "QUOTE GOOD FOR 30 DAYS"};

struct Customer {
    int32_t account = 0;
    int32_t record = 0;
};

std::vector<Customer> AddCustomers(DataSetWriter& set, Random& r, int32_t count) {
    RecordFileWriter& custl = set.AddRecordFile("CUSTL", kCustlLength);
    RecordFileWriter& ecustl = set.AddRecordFile("ECUSTL", kEcustlLength);
    IndexWriter& custi = set.AddIndex("CUSTI", 4);
    std::vector<Customer> customers;
    std::set<std::string> names;
    int32_t account = 100;
    for (int32_t i = 0; i < count; ++i) {
        account += static_cast<int32_t>(r.Between(1, 40));
        std::string name = std::string(Pick(r, kFirst)) + " " + Pick(r, kKinds);
        if (!names.insert(name).second) name += " " + std::to_string(account);
        const bool charge = r.Between(0, 9) < 7;
        const int32_t limit = charge ? static_cast<int32_t>(r.Between(5, 150) * 100) : 0;
        // Balances mostly within the limit, a few over it.
        const int64_t mtd = charge ? r.Between(0, limit * 60LL) : 0;
        const int64_t statement = charge ? r.Between(0, limit * 50LL) : 0;
        const int64_t over30 = statement * r.Between(0, 40) / 100;
        const int64_t over60 = over30 * r.Between(0, 50) / 100;
        const int64_t over90 = over60 * r.Between(0, 50) / 100;
        const Day setup = DaysBack(r.Between(400, 9000));
        const Day sale = DaysBack(r.Between(0, 120));
        const Day paid = DaysBack(r.Between(0, 90));
        const Day closed = DaysBack(r.Between(15, 45));
        RecordBuilder c(kCustlLength + kEcustlLength);
        c.Bin(1, 'J', 1)
            .Bin(3, 'D', account)
            .Text(6, name, 20, TextSet::kNames)
            .Text(26, "ATTN " + std::string(Pick(r, kPeople)), 20, TextSet::kNames)
            .Text(46, std::to_string(r.Between(100, 9999)) + " " + Pick(r, kStreets), 20,
                  TextSet::kNames)
            .Text(66, Pick(r, kTowns), 20, TextSet::kNames)
            .Bin(86, 'C', r.Between(0, 1) ? 937 : 513)
            .Bin(88, 'L', r.Between(2000000, 9999999))
            .Bits(92, static_cast<uint8_t>(r.Between(0, 15)), true)
            .Bin(93, 'B', r.Between(1, 4))
            .Bin(94, 'B', r.Between(1, 9))
            .Bin(95, 'B', r.Between(1, 12))
            .Raw(96, charge ? "G" : "C")
            .Raw(97, r.Between(0, 4) ? "T" : "E")
            .Bin(98, 'B', 1)
            .Bin(99, 'B', 1)
            .Raw(100, charge ? "O" : "B")
            .Bin(101, 'B', r.Between(0, 3))
            .Bin(102, 'B', charge ? 1 : 0)
            .Bin(103, 'L', limit)
            .Bin(107, 'C', r.Between(0, 5))
            .Bin(109, 'B', r.Between(1, 5))
            .Bin(110, 'J', r.Between(-5, 5))
            .Mmddyy(112, setup.y, setup.m, setup.d)
            .Mmddyy(115, sale.y, sale.m, sale.d)
            .Mmddyy(118, paid.y, paid.m, paid.d)
            .Bin(121, 'L', mtd)
            .Bin(125, 'L', mtd * 7 / 10)
            .Bin(129, 'L', mtd)
            .Bin(133, 'L', r.Between(0, 5000))
            .Bin(137, 'L', statement / 2)
            .Bin(141, 'L', 0)
            .Bin(145, 'L', r.Between(0, 2000))
            .Bin(149, 'L', mtd)
            .Bin(153, 'L', statement - over30)
            .Bin(157, 'L', over30 - over60)
            .Bin(161, 'L', over60 - over90)
            .Bin(165, 'L', over90)
            .Bin(169, 'L', statement)
            .Bin(173, 'L', mtd * r.Between(4, 11))
            .Bin(177, 'L', mtd * r.Between(3, 7))
            .Bin(181, 'C', 0)
            .Raw(183, "A")
            .Bin(184, 'B', r.Between(0, 3))
            .Bits(185, static_cast<uint8_t>(r.Between(0, 31)), true)
            .Bin(186, 'L', mtd * r.Between(5, 12))
            .Bin(190, 'L', mtd * r.Between(3, 8))
            .Yymmdd(194, closed.y, closed.m, closed.d)
            .Bin(197, 'L', 0)
            .Bin(201, 'L', r.Between(0, 3) ? r.Between(2000000, 9999999) : 0)
            .Text(205, std::string(Pick(r, kPeople)) + "/ORDERS", 12)
            .Text(217, std::string(Pick(r, kPeople)) + "/BILLING", 12)
            .Text(229, "TX" + std::to_string(r.Between(100000, 999999)), 8)
            .Raw(237, "ZONE" + std::to_string(r.Between(1, 9)))
            .Bin(242, 'K', r.Between(0, 40))
            .Bin(245, 'K', r.Between(0, 40))
            .Bin(248, 'K', r.Between(40, 400))
            .Bin(251, 'K', r.Between(40, 400))
            .Bin(254, 'K', r.Between(40, 400))
            .Bin(257, 'K', r.Between(40, 400))
            .Text(260, std::to_string(r.Between(100000000, 999999999)), 10)
            .Bin(270, 'B', r.Between(0, 6))
            .Bin(271, 'B', r.Between(0, 3))
            .Bin(272, 'B', r.Between(0, 1))
            .Bin(273, 'L', limit + r.Between(0, 5000))
            .Bin(277, 'L', 0)
            .Bin(281, 'L', r.Between(0, 50000))
            .Bin(285, 'C', r.Between(0, 2) ? 937 : 0)
            .Bin(287, 'C', r.Between(0, 4) ? 0 : 513)
            .Bin(289, 'L', r.Between(0, 4) ? 0 : r.Between(2000000, 9999999))
            .Bin(297, 'L', 0);
        const std::string& whole = c.bytes();
        const int32_t n = custl.Add(whole.substr(0, kCustlLength));
        ecustl.Add(whole.substr(kCustlLength));
        custi.Add(RecordBuilder(4).Bin(1, 'L', account).str(), n);
        customers.push_back({account, n});
    }
    return customers;
}

struct DocPlan {
    int32_t status = 1;
    int32_t number = 0;
    int32_t account = 0;
    int32_t ship_to = 0;  // -1: the customer's own account (FF FF FF)
    int32_t pages = 1;    // at least
    Day date{};
};

// Writes one counter document; returns its head and adds its sub-total.
int32_t AddCounterDocument(RecordFileWriter& invol, Random& r, const DocPlan& d,
                           int64_t& sub_total) {
    std::vector<std::string> slots;
    const int32_t lines =
        std::max<int32_t>(1, (d.pages - 1) * kInvolSlotsPerPage +
                                 static_cast<int32_t>(r.Between(1, kInvolSlotsPerPage)));
    int64_t total = 0;
    for (int32_t i = 0; i < lines; ++i) {
        if (i > 0 && r.Between(0, 9) == 0) {
            slots.push_back(InvolRemarkSlot(Pick(r, kRemarks)));
            continue;
        }
        const int64_t kind = r.Between(0, 19);
        const char* code = kind == 0 ? "500" : kind == 1 ? "502" : kind == 2 ? "550" : "120";
        const int32_t tenths =
            static_cast<int32_t>(r.Between(1, 12) * 10 + (r.Between(0, 9) == 0 ? 5 : 0));
        const int32_t cost = static_cast<int32_t>(r.Between(150, 25000));
        const int32_t net = cost + cost * static_cast<int32_t>(r.Between(15, 60)) / 100;
        std::string part =
            std::to_string(r.Between(10, 99)) + "-" + std::to_string(r.Between(1000, 9999));
        if (kind == 0) part = "LABOR";
        slots.push_back(InvolItemSlot(code, part, kind == 0 ? "SHOP LABOR" : Pick(r, kItems),
                                      tenths, net, cost));
        total += int64_t{tenths / 10} * net;
    }
    RecordBuilder h(kInvolRecordLength);
    h.Bin(1, 'J', d.status)
        .Bin(3, 'D', d.account)
        .DayNumber(48, d.date.y, d.date.m, d.date.d)
        .Bin(50, 'C', r.Between(700, 1800))
        .Bin(54, 'B', r.Between(1, 9))
        .DayNumber(55, d.date.y, d.date.m, d.date.d)
        .Bin(106, 'L', d.number)
        .Bin(113, 'B', r.Between(1, 12))
        .Bin(114, 'B', r.Between(1, 6))
        .Text(117, r.Between(0, 2) ? "" : "PO" + std::to_string(r.Between(1000, 99999)), 6)
        .Bin(123, 'B', r.Between(1, 4))
        .Bin(124, 'B', r.Between(0, 3))
        .Bin(125, 'L', total)
        .Bin(135, 'C', 650)
        .Bin(137, 'L', total * 65 / 1000)
        .Bin(141, 'K', d.ship_to)
        .Raw(147, "C")
        .Raw(148, "T")
        .Bin(157, 'B', 30);
    sub_total += total;
    return AddInvolDocument(invol, h, slots, d.date.Mmddyy());
}

}  // namespace

std::string InvolItemSlot(std::string_view code, std::string_view part_with_dashes,
                          std::string_view description, int32_t tenths, int32_t net, int32_t cost) {
    RecordBuilder s(44);
    s.Text(1, code, 2, TextSet::kNames)
        .PartNumber(3, part_with_dashes)
        .Text(17, description, 14, TextSet::kNames)
        .Bin(31, 'J', tenths)
        .Bin(33, 'K', net)
        .Bin(36, 'D', cost);
    return s.str();
}

std::string InvolRemarkSlot(std::string_view text) {
    return RecordBuilder(44)
        .Text(1, "REM", 2, TextSet::kNames)
        .Text(3, text, 42, TextSet::kNames)
        .str();
}

int32_t AddInvolDocument(RecordFileWriter& invol, const RecordBuilder& header,
                         const std::vector<std::string>& slots, int32_t date_mmddyy) {
    const int32_t pages = std::max<int32_t>(
        1, (static_cast<int32_t>(slots.size()) + kInvolSlotsPerPage - 1) / kInvolSlotsPerPage);
    int32_t previous = 0;
    for (int32_t p = 1; p <= pages; ++p) {
        RecordBuilder page = header;
        const size_t first = static_cast<size_t>((p - 1) * kInvolSlotsPerPage);
        const size_t count =
            std::min(slots.size() - std::min(slots.size(), first), size_t{kInvolSlotsPerPage});
        page.Bin(110, 'K', p == 1 ? date_mmddyy : previous)
            .Bin(115, 'B', p)
            .Bin(146, 'B', static_cast<int64_t>(count));
        for (size_t j = 0; j < count; ++j)
            page.Raw(161 + 44 * static_cast<int32_t>(j), slots[first + j]);
        previous = invol.Add(page);
    }
    return previous;
}

std::string ReceivablesSummary(Random& r, int32_t futures, int64_t* total_cents) {
    static const char* const kRows[] = {"CURRENT",        "OVER 30 DAYS",   "OVER 60 DAYS",
                                        "OVER 90 DAYS",   "OVER 120 DAYS",  "FINANCE CHARGES",
                                        "UNAPPLIED CASH", "CREDIT BALANCES"};
    std::string text = "A/R SUMMARY AS OF ENDDAY\r\n";
    int64_t total = 0;
    // Lines 2 to 29: the aging table by bucket and branch; line 30: the total.
    for (int line = 2; line <= 29; ++line) {
        const char* row = kRows[(line - 2) % 8];
        int64_t cents = r.Between(0, 4) == 0 ? 0 : r.Between(1000, 2500000);
        if (std::string_view(row) == "UNAPPLIED CASH" || std::string_view(row) == "CREDIT BALANCES")
            cents = -cents / 10;
        total += cents;
        text += std::string(row) + " BR" + std::to_string((line - 2) / 8 + 1) + "," +
                std::to_string(cents) + "\r\n";
    }
    text += "TOTAL RECEIVABLES," + std::to_string(total) + "\r\n";
    for (int32_t f = 1; f <= futures; ++f)
        text += "PERIOD " + std::to_string(f) + "," + std::to_string(r.Between(0, 900000)) + "\r\n";
    if (total_cents) *total_cents = total;
    return text;
}

SalesFilesSummary AddSalesFiles(DataSetWriter& set, const DemoPlan& plan) {
    Random r(0x53414C4553444F43ull);  // this data's own sequence
    SalesFilesSummary summary;
    const std::vector<Customer> customers = AddCustomers(set, r, std::max(plan.customers, 3));
    summary.customers = static_cast<int32_t>(customers.size());
    for (const Customer& c : customers) summary.accounts.push_back(c.account);
    auto any_account = [&] {
        return customers[static_cast<size_t>(
                             r.Between(0, static_cast<int64_t>(customers.size()) - 1))]
            .account;
    };

    RecordFileWriter& invol = set.AddRecordFile("INVOL", kInvolRecordLength);
    IndexWriter& ticki = set.AddIndex("TICKI", 4);
    const int32_t budget = std::max(plan.invoice_pages, 20);
    const int32_t tickets = plan.tickets > 0 ? plan.tickets : std::clamp(budget / 60, 4, 600);
    const int32_t saved =
        std::min(plan.saved_invoices > 0 ? plan.saved_invoices : std::clamp(budget / 100, 3, 3100),
                 kSavedInvoiceSlots);

    for (int32_t i = 0; i < tickets; ++i) {
        DocPlan d;
        d.status = 1;
        d.number = 500001 + i * 3 + static_cast<int32_t>(r.Between(0, 2));
        d.account = i == 2 ? kTicketMissingCustomer : any_account();
        d.ship_to = i % 5 == 1 ? any_account() : (i % 5 == 3 ? -1 : 0);
        d.pages = i == 0 ? 3 : (r.Between(0, 3) == 0 ? static_cast<int32_t>(r.Between(2, 4)) : 1);
        d.date = DaysBack(r.Between(0, 45));
        const int32_t head = AddCounterDocument(invol, r, d, summary.ticket_total_cents);
        ticki.Add(RecordBuilder(4).Bin(1, 'L', d.number).str(), head);
        if (i == 0) {
            summary.first_ticket_head = head;
            summary.first_ticket_number = d.number;
        }
    }
    summary.tickets = tickets;

    // Saved invoices, listed in the directory from its first slot on, a few sub-blocks left
    // with zero slots between used ones.
    std::vector<int32_t> saved_heads;
    for (int32_t i = 0; i < saved; ++i) {
        DocPlan d;
        d.status = 3;
        d.number = 700001 + i;
        d.account = any_account();
        d.ship_to = i % 4 == 1 ? any_account() : 0;
        d.pages = r.Between(0, 2) == 0 ? 2 : 1;
        d.date = DaysBack(r.Between(0, 20));
        saved_heads.push_back(AddCounterDocument(invol, r, d, summary.saved_total_cents));
    }
    summary.saved_invoices = saved;
    size_t next = 0;
    for (int32_t b = file0::kSavedFirstBlock;
         b <= file0::kSavedLastBlock && next < saved_heads.size(); ++b) {
        for (int32_t j = 0; j < file0::kSavedSubBlocks && next < saved_heads.size(); ++j) {
            RecordBuilder& block = set.File0().Block(b);
            // bytes 1-4: not part of the directory
            block.Bin(j * file0::kSavedSubBlockSize + 1, 'L', 0x53415645);
            for (int32_t k = 0; k < file0::kSavedSlots && next < saved_heads.size(); ++k) {
                if ((k + j) % 7 == 3) continue;  // an empty slot between used ones
                block.Bin(file0::SavedSlotAt(j, k), 'L', saved_heads[next++]);
            }
        }
    }

    // Posted invoices fill the rest of the pages budget.
    int32_t number = 100001;
    while (invol.Count() < budget) {
        DocPlan d;
        static const int32_t kStatuses[] = {13, 17, 19, 99, 2};
        d.status = kStatuses[r.Between(0, 4)];
        d.number = number++;
        d.account = any_account();
        d.pages = r.Between(0, 5) == 0 ? 2 : 1;
        d.date = DaysBack(r.Between(0, 700));
        int64_t ignored = 0;
        AddCounterDocument(invol, r, d, ignored);
        ++summary.invoices;
    }

    const int32_t futures = plan.scale == Scale::kTiny ? 3 : 6;
    set.AddPlainFile("DARR.KRLI", ReceivablesSummary(r, futures, &summary.receivables_cents));
    return summary;
}

namespace sales_damage {
namespace {

// Writes a big-endian field into record n of a record file of the image.
void PutField(DataSetImage& image, std::string_view file, int32_t record, int32_t position,
              int width, int64_t value) {
    const LogicalPlacement& p = image.Logical(file);
    if (record < 1 || record > p.last_record)
        throw std::out_of_range("no record " + std::to_string(record) + " in " + p.name);
    std::string& container = image.File(p.container);
    const int64_t at = image.RecordOffset(file, record) + position - 1;
    for (int i = width - 1; i >= 0; --i, value >>= 8)
        container.at(static_cast<size_t>(at + i)) = static_cast<char>(value & 0xFF);
}

}  // namespace

void LoopPageChain(DataSetImage& image) {
    PutField(image, "INVOL", 2, 110, 3, 3);
}
void PageByte(DataSetImage& image, int32_t value) {
    PutField(image, "INVOL", 2, 115, 1, value);
}
void MissingMiddlePage(DataSetImage& image) {
    PutField(image, "INVOL", 3, 110, 3, 1);
}
void SlotCountPastRecord(DataSetImage& image) {
    PutField(image, "INVOL", 1, 146, 1, 255);
}
void TicketHeadPastLastRecord(DataSetImage& image) {
    damage::RecordPointerPastLastRecord(image, "TICKI", "INVOL", 0);
}
void TicketNamesOther(DataSetImage& image) {
    // The first ticket's pages are INVOL 1-3: the second ticket's head is record 4.
    damage::SetRecordPointer(image, "TICKI", 0, 4);
}
void SavedHeadPastLastRecord(DataSetImage& image) {
    std::string& control = image.File(image.DataPath(file0::kName));
    const int64_t value = image.Logical("INVOL").last_record + 1;
    // The first slot of the directory.
    const auto at = static_cast<size_t>(file0::kSavedFirstBlock * file0::kBlockSize +
                                        file0::SavedSlotAt(0, 0) - 1);
    for (int i = 3; i >= 0; --i)
        control.at(at + static_cast<size_t>(3 - i)) = static_cast<char>((value >> (8 * i)) & 0xFF);
}
void SavedSlotNamesTicket(DataSetImage& image) {
    std::string& file0 = image.File(image.DataPath("FILE0"));
    const size_t at = 301 * 512 + 4;
    const char head[4] = {0, 0, 0, 3};  // the first pick ticket's head page
    file0.replace(at, 4, head, 4);
}
void ZeroDate(DataSetImage& image) {
    PutField(image, "INVOL", 1, 110, 3, 0);
}
void RemoveReceivables(DataSetImage& image) {
    image.files.erase(image.DataPath("DARR.KRLI"));
}
void MalformedReceivables(DataSetImage& image) {
    std::string& text = image.File(image.DataPath("DARR.KRLI"));
    size_t at = 0;
    for (int line = 1; line < 5; ++line) at = text.find("\r\n", at) + 2;
    const size_t comma = text.find(',', at);
    text.erase(comma, text.find("\r\n", at) - comma);
}

}  // namespace sales_damage

}  // namespace dv::sample
