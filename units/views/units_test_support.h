// Test support for the units views: product lines with a type, floored units, extents, units
// and ledger entries, each written byte by byte from its layout, on the view fixture of the
// parts views (an engine on a fresh share, a view context, a captured log).
#pragma once

#include <string>
#include <vector>

#include "sampledata/record_builder.h"
#include "shell/detail_form.h"
#include "test_support/views/view_test_support.h"

namespace dv::units_test {

using sample::RecordBuilder;
using sample::TextSet;

struct Line {
    int32_t line = 1;
    std::string name = {};
    char type = 'U';
};
// LINEL (192 bytes: line at 3, name at 7, type at 142), LINEI and an empty COMODI.
inline void AddLines(sample::DataSetWriter& set, const std::vector<Line>& lines) {
    auto& linel = set.AddRecordFile("LINEL", 192);
    auto& linei = set.AddIndex("LINEI", 2);
    set.AddIndex("COMODI", 4);
    for (const Line& l : lines) {
        RecordBuilder r(192);
        r.Bin(1, 'J', 1).Bin(3, 'C', l.line).Text(7, l.name, 20).Raw(142, std::string(1, l.type));
        linei.Add(r.bytes().substr(2, 2), linel.Add(r));
    }
}

// One floored unit of FPLNL (96 bytes); its FPLNI key is bytes 3-28.
struct Floored {
    int32_t line = 1;
    std::string model = "MX100";
    std::string serial = "SN1";
    int32_t sold_day = 0;                         // raw J at 41
    int32_t invoice = 0;                          // L at 60
    int64_t cost = 0;                             // K at 51, cents
    int64_t price = 0;                            // K at 54
    int32_t account = 0;                          // D at 57
    int32_t received = 20000, due = 0, paid = 0;  // raw days
    std::string ref1 = "R1", ref2 = "R2", payment = {};
    int32_t extents = 0;  // D at 94

    std::string Bytes() const {
        return RecordBuilder(96)
            .Bin(1, 'J', 1)
            .Bin(3, 'C', line)
            .Text(5, model, 12)
            .Text(17, serial, 12, TextSet::kNames)
            .Text(29, ref1, 6, TextSet::kNames)
            .Text(35, ref2, 4, TextSet::kNames)
            .Bin(39, 'J', received)
            .Bin(41, 'J', sold_day)
            .Bin(43, 'J', due)
            .Bin(45, 'J', paid)
            .Text(47, payment, 4, TextSet::kNames)
            .Bin(51, 'K', cost)
            .Bin(54, 'K', price)
            .Bin(57, 'D', account)
            .Bin(60, 'L', invoice)
            .Bin(94, 'D', extents)
            .str();
    }
};
inline void AddFloorPlan(sample::DataSetWriter& set, const std::vector<Floored>& units) {
    auto& fplnl = set.AddRecordFile("FPLNL", 96);
    auto& fplni = set.AddIndex("FPLNI", 26);
    for (const Floored& u : units) {
        const std::string bytes = u.Bytes();
        fplni.Add(bytes.substr(2, 26), fplnl.Add(bytes));
    }
}

// FPEXL records (32 bytes), in the order given: a part line, or a text record of a code.
struct Extent {
    int32_t line = 0;       // 1-998: a part line
    std::string code = {};  // otherwise: the text code
    std::string text = {};  // the part number, or the comment
    int32_t quantity = 0;
    int64_t cost = 0, net = 0;
    int32_t next = 0;
};
inline void AddExtents(sample::DataSetWriter& set, const std::vector<Extent>& extents) {
    auto& fpexl = set.AddRecordFile("FPEXL", 32);
    for (const Extent& x : extents) {
        RecordBuilder r(32);
        r.Bin(1, 'C', 1).Bin(29, 'D', x.next);
        if (x.code.empty()) {
            r.Bin(3, 'C', x.line).Text(5, x.text, 12).Bin(17, 'J', x.quantity);
            r.Bin(19, 'D', x.cost).Bin(22, 'D', x.net);
        } else {
            r.Text(3, x.code, 2, TextSet::kNames).Text(5, x.text, 24, TextSet::kNames);
        }
        fpexl.Add(r);
    }
}

// One unit of UNITL (512 bytes) and its LUNITI and UNITI keys.
struct Unit {
    int32_t line = 1;
    std::string number = "U1";  // padded to 8
    std::string model = "MX100";
    std::string make = "KESTREL";
    std::string description = "TRACTOR";
    int32_t sold_day = 0;  // raw J at 149
    int32_t ledger = 0;    // L at 505
    int32_t meter = 0;

    std::string Padded() const {
        std::string n = number;
        n.resize(8, ' ');
        return n;
    }
    std::string Bytes() const {
        return RecordBuilder(512)
            .Bin(1, 'J', 1)
            .Bin(3, 'C', line)
            .PartNumber(5, model)
            .Raw(20, Padded())
            .Text(28, description, 14)
            .Raw(42, make)
            .Bin(101, 'D', meter)
            .Bin(149, 'J', sold_day)
            .Bin(505, 'L', ledger)
            .str();
    }
};
inline void AddUnits(sample::DataSetWriter& set, const std::vector<Unit>& units) {
    auto& unitl = set.AddRecordFile("UNITL", 512);
    auto& uniti = set.AddIndex("UNITI", 8);
    auto& luniti = set.AddIndex("LUNITI", 10);
    for (const Unit& u : units) {
        const int32_t n = unitl.Add(u.Bytes());
        uniti.Add(u.Padded(), n);
        luniti.Add(RecordBuilder(10).Bin(1, 'C', u.line).Raw(3, u.Padded()).bytes(), n);
    }
}

// LUNITL entries (64 bytes) in order: amount in cents and the next entry.
inline void AddLedger(sample::DataSetWriter& set,
                      const std::vector<std::pair<int64_t, int32_t>>& entries) {
    auto& lunitl = set.AddRecordFile("LUNITL", 64);
    for (const auto& [amount, next] : entries)
        lunitl.Add(RecordBuilder(64).Bin(1, 'J', 1).Bin(57, 'L', amount).Bin(61, 'L', next));
}

// A damage function of the sample writer that breaks a record chain.
using ChainDamage = int32_t (*)(sample::DataSetImage&, std::string_view, int32_t, int, int32_t);

}  // namespace dv::units_test
