#include "sampledata/accounting_data.h"

#include <cstdlib>
#include <string>

namespace dv::sample {
namespace {

const char* const kFirstNames[] = {"JOHN", "MARY",  "DAVE",  "LINDA", "TOM",  "SUSAN",
                                   "MIKE", "KAREN", "STEVE", "ANNE",  "BILL", "RUTH",
                                   "GREG", "DIANE", "PAUL",  "CAROL", "JIM",  "EMMA"};
const char* const kLastNames[] = {"HARLAN",  "BECKER",   "OSTROM",   "VOGEL",  "LINDQUIST",
                                  "MARSH",   "PETERSEN", "KOWALSKI", "DUNBAR", "FENWICK",
                                  "GRAYSON", "HOLLIS",   "JANSEN",   "KELLER", "MORROW"};

template <typename T, size_t N>
const T& Pick(Random& r, const T (&items)[N]) {
    return items[static_cast<size_t>(r.Between(0, static_cast<int64_t>(N) - 1))];
}

struct People {
    int32_t countermen;
    int32_t mechanics;
};

People PeopleFor(Scale scale) {
    switch (scale) {
        case Scale::kTiny:
            return {3, 2};
        case Scale::kDemo:
            return {8, 5};
        case Scale::kLarge:
            return {30, 20};
    }
    return {3, 2};
}

// One person's record, MANL and EMANL joined.
RecordBuilder Person(Random& r, int32_t number, const std::string& name, bool mechanic) {
    RecordBuilder b(kManlLength + kEmanlLength);
    const std::string alpha = name.substr(0, 1) + name.substr(name.find(' ') + 1, 2);
    b.Bin(1, 'J', 1)
        .Bin(3, 'C', number)
        .Text(5, alpha, 2, TextSet::kNames)
        .Text(7, name, 20, TextSet::kNames)
        .Mmddyy(27, static_cast<int>(r.Between(2004, 2023)), static_cast<int>(r.Between(1, 12)),
                static_cast<int>(r.Between(1, 28)))
        .Bin(196, 'B', r.Between(0, 30))
        .Bin(197, 'B', r.Between(0, 30))
        .Bin(198, 'C', r.Between(0, 9999) + (mechanic ? 10000 : 0))
        .Raw(393, "PW" + std::to_string(1000 + number * 37 % 9000) + "  ");
    return b;
}

struct ChartEntry {
    int32_t account;
    char cls;  // "A" asset, "L" liability, anything else neither
    const char* name;
    int64_t scale;  // the size of a typical entry, in cents
};

// One company's chart. Both companies share the account numbers, so a balance that ran on into
// the other company's detail would show.
const ChartEntry kChart[] = {
    {100, 'A', "CASH IN BANK - OPERATING", 2500000},
    {110, 'A', "PETTY CASH", 5000},
    {120, 'A', "CASH IN BANK - PAYROLL", 1500000},
    {200, 'A', "ACCOUNTS RECEIVABLE - TRADE", 800000},
    {230, 'A', "PARTS INVENTORY", 1200000},
    {240, 'A', "UNIT INVENTORY - NEW", 500000000},
    {250, 'A', "UNIT INVENTORY - USED", 30000000},
    {300, 'L', "ACCOUNTS PAYABLE - TRADE", 900000},
    {310, 'L', "FLOOR PLAN PAYABLE", 450000000},
    {320, 'L', "SALES TAX PAYABLE", 150000},
    {330, 'L', "CUSTOMER DEPOSITS", 250000},
    {340, 'L', "ACCRUED PAYROLL", 400000},
    {400, 'E', "RETAINED EARNINGS", 5000000},
    {500, 'I', "SALES - PARTS", 700000},
};

void AddLedger(DataSetWriter& set, Random& r, int32_t entries_per_account,
               AccountingSummary& summary) {
    RecordFileWriter& chrtl = set.AddRecordFile("CHRTL", kChrtlLength);
    IndexWriter& chrti = set.AddIndex("CHRTI", 6);
    RecordFileWriter& gldtl = set.AddRecordFile("GLDTL", kGldtlLength);
    IndexWriter& gldti = set.AddIndex("GLDTI", 10);
    for (int32_t company = 1; company <= 2; ++company) {
        for (const ChartEntry& c : kChart) {
            std::string name = c.name;
            if (company == 2) name = "BR " + name;
            name.resize(30, ' ');
            RecordBuilder chart(kChrtlLength);
            chart.Bin(1, 'J', 1)
                .Bin(3, 'C', company)
                .Bin(5, 'L', c.account)
                .Raw(9, std::string(1, c.cls))
                .Raw(10, name);
            chrti.Add(RecordBuilder(6).Bin(1, 'C', company).Bin(3, 'L', c.account).bytes(),
                      chrtl.Add(chart));
            // Liabilities carry credits (sign 1) against a few debits; assets the other way.
            const bool credit_side = c.cls == 'L';
            int64_t balance = 0;
            const int64_t entries = r.Between(entries_per_account / 2, entries_per_account);
            for (int64_t e = 0; e < entries; ++e) {
                const bool credit = r.Between(0, 3) == 0 ? !credit_side : credit_side;
                const int64_t amount = r.Between(c.scale / 20, c.scale) / company;
                RecordBuilder d(kGldtlLength);
                d.Bin(1, 'J', 1)
                    .Bin(3, 'C', company)
                    .Bin(5, 'L', c.account)
                    .Bin(53, 'B', credit ? 1 : 0)
                    .Bin(54, 'C', amount / 1000000)
                    .Bin(56, 'L', amount % 1000000);
                gldti.Add(RecordBuilder(10)
                              .Bin(1, 'C', company)
                              .Bin(3, 'L', c.account)
                              .Bin(7, 'L', static_cast<int64_t>(e) + 1)
                              .bytes(),
                          gldtl.Add(d));
                balance += credit ? -amount : amount;
            }
            summary.balances.push_back({company, c.account, c.cls, balance});
        }
    }
}

}  // namespace

AccountingSummary AddAccountingFiles(DataSetWriter& set, const DemoPlan& plan) {
    Random r(0xAC0C0417ull);
    const People people = PeopleFor(plan.scale);
    RecordFileWriter& manl = set.AddRecordFile("MANL", kManlLength);
    RecordFileWriter& emanl = set.AddRecordFile("EMANL", kEmanlLength);
    IndexWriter& mani = set.AddIndex("MANI", 2);
    AccountingSummary summary;

    auto add = [&](const RecordBuilder& b) {
        const std::string& whole = b.bytes();
        const int32_t n = manl.Add(whole.substr(0, kManlLength));
        emanl.Add(whole.substr(kManlLength));
        mani.Add(whole.substr(2, 2), n);
    };

    // The house counter: sales rung up without a counterman.
    {
        RecordBuilder house = Person(r, 0, "HOUSE ACCOUNT", false);
        house.Bin(30, 'L', 3).Bin(34, 'L', 7).Bin(54, 'L', 18250).Bin(38, 'L', 18250);
        add(house);
    }
    for (int32_t i = 0; i < people.countermen; ++i) {
        const int32_t number = i + 1;
        const std::string name = std::string(Pick(r, kFirstNames)) + " " + Pick(r, kLastNames);
        RecordBuilder b = Person(r, number, name, false);
        // Today.
        const int64_t invoices = r.Between(0, 4) == 0 ? 0 : r.Between(2, 45);
        const int64_t items = invoices * r.Between(1, 6);
        const int64_t mdse = invoices * r.Between(1500, 24000);
        const int64_t mdse_cost = mdse * r.Between(55, 78) / 100;
        const int64_t labor = invoices == 0 ? 0 : r.Between(0, 3) * r.Between(4500, 32000);
        const int64_t discounts = mdse * r.Between(0, 6) / 100;
        const int64_t taxes = (mdse + labor - discounts) * 7 / 100;
        const int64_t charges = (mdse + labor - discounts + taxes) * r.Between(20, 60) / 100;
        const int64_t cash = mdse + labor - discounts + taxes - charges;
        // Refunds are stored negative on some counters and positive on others; the view's
        // net cash takes their size.
        const int64_t refunds = r.Between(0, 2) == 0 ? r.Between(500, 9000) : 0;
        const int64_t refunds_stored = r.Between(0, 1) ? -refunds : refunds;
        const int64_t payments = r.Between(0, 1) ? r.Between(2000, 150000) : 0;
        const int64_t payments_stored = -payments;  // received on account: credits
        const int64_t deposits = r.Between(0, 3) == 0 ? r.Between(5000, 50000) : 0;
        b.Bin(30, 'L', invoices)
            .Bin(34, 'L', items)
            .Bin(38, 'L', cash)
            .Bin(42, 'L', charges)
            .Bin(46, 'L', refunds_stored)
            .Bin(50, 'L', r.Between(0, 3) == 0 ? -r.Between(100, 5000) : 0)
            .Bin(54, 'L', mdse)
            .Bin(58, 'L', mdse_cost)
            .Bin(62, 'L', labor)
            .Bin(66, 'L', labor * r.Between(30, 50) / 100)
            .Bin(70, 'L', discounts)
            .Bin(74, 'L', payments_stored)
            .Bin(78, 'L', taxes)
            .Bin(82, 'L', payments / 50)
            .Bin(86, 'L', 0)
            .Bin(190, 'C', r.Between(0, 4))
            .Bin(90, 'L', mdse - discounts)
            .Bin(94, 'L', mdse_cost)
            .Bin(98, 'L', labor)
            .Bin(102, 'L', labor * 40 / 100)
            .Bin(106, 'L', discounts);
        // The month and the year, each with today's figures in it.
        const int64_t mtd = mdse + r.Between(10, 22) * r.Between(40000, 300000);
        const int64_t ytd = mtd + r.Between(9, 10) * r.Between(3000000, 9000000);
        const int64_t blocks[2][5] = {{mtd, mtd * 68 / 100, mtd / 6, mtd / 15, mtd * 3 / 100},
                                      {ytd, ytd * 68 / 100, ytd / 6, ytd / 15, ytd * 3 / 100}};
        for (int k = 0; k < 2; ++k) {
            const int32_t at = k == 0 ? 110 : 150;
            for (int f = 0; f < 5; ++f) b.Bin(at + 4 * f, 'L', blocks[k][f]);
            for (int f = 0; f < 5; ++f) b.Bin(at + 20 + 4 * f, 'L', blocks[k][f] * 97 / 100);
        }
        b.Bin(192, 'C', r.Between(5, 60)).Bin(194, 'C', r.Between(60, 700));
        b.Bin(333, 'L', deposits)
            .Bin(337, 'L', r.Between(0, 4) == 0 ? r.Between(1000, 20000) : 0)
            .Bin(341, 'L', deposits + r.Between(0, 400000))
            .Bin(345, 'L', r.Between(0, 200000))
            .Bin(349, 'L', deposits + r.Between(400000, 4000000))
            .Bin(353, 'L', r.Between(200000, 2000000));
        add(b);
        summary.countermen.push_back(number);
        summary.todays_mdse_cents += mdse;
        summary.todays_net_cash_cents += std::llabs(cash) + std::llabs(deposits) -
                                         std::llabs(refunds_stored) + std::llabs(payments_stored);
    }
    for (int32_t i = 0; i < people.mechanics; ++i) {
        const int32_t number = kFirstMechanic + i;
        const std::string name = std::string(Pick(r, kFirstNames)) + " " + Pick(r, kLastNames);
        RecordBuilder b = Person(r, number, name, true);
        // Billed and actual hours' worth, this month and twelve months back.
        for (int k = 0; k < 13; ++k) {
            const int64_t actual = r.Between(8000, 17000);
            b.Bin(205 + 8 * k, 'L', actual * r.Between(85, 125) / 100)
                .Bin(209 + 8 * k, 'L', actual);
        }
        add(b);
        summary.mechanics.push_back(number);
    }
    AddLedger(set, r,
              plan.ledger_entries > 0      ? plan.ledger_entries
              : plan.scale == Scale::kTiny ? 4
              : plan.scale == Scale::kDemo ? 30
                                           : 400,
              summary);
    return summary;
}

}  // namespace dv::sample
