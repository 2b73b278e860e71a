// Test support for the counter-sales views: customers and counter documents written byte by
// byte from their layouts into a small data set.
#pragma once

#include <string>
#include <vector>

#include "records/test_support.h"
#include "test_support/views/view_test_support.h"

namespace dv::sales_views_test {

using sample::RecordBuilder;
using sample::TextSet;

struct Cust {
    int32_t account = 0;
    std::string name;
    std::string credit_code = "G";
    int32_t limit = 0;          // whole units
    int64_t mtd_balance = 0;    // cents
    int64_t statement_due = 0;  // cents
    std::vector<std::string> address = {"", "", ""};
};

// A document's header fields, copied to each of its pages.
struct Doc {
    int32_t status = 1;
    int32_t number = 0;
    int32_t account = 0;
    int32_t ship_to = 0;
    int32_t counterman = 0;
    int32_t salesman = 0;
    int32_t delivery = 0;
    std::string po;
    int64_t sub_total = 0;
};

class SalesViewTest : public views_test::ViewTest {
  protected:
    SalesViewTest() {
        custl_ = &set.AddRecordFile("CUSTL", 192);
        ecustl_ = &set.AddRecordFile("ECUSTL", 128);
        custi_ = &set.AddIndex("CUSTI", 4);
        invol_ = &set.AddRecordFile("INVOL", sales_test::kInvolLength);
        ticki_ = &set.AddIndex("TICKI", 4);
    }

    void AddCustomer(const Cust& c) {
        RecordBuilder r(320);
        r.Bin(1, 'J', 1)
            .Bin(3, 'D', c.account)
            .Text(6, c.name, 20, TextSet::kNames)
            .Raw(96, c.credit_code)
            .Bin(103, 'L', c.limit)
            .Bin(149, 'L', c.mtd_balance)
            .Bin(169, 'L', c.statement_due);
        for (int i = 0; i < 3; ++i)
            r.Text(26 + 20 * i, c.address[static_cast<size_t>(i)], 20, TextSet::kNames);
        const int32_t n = custl_->Add(r.bytes().substr(0, 192));
        ecustl_->Add(r.bytes().substr(192));
        custi_->Add(RecordBuilder(4).Bin(1, 'L', c.account).str(), n);
    }

    // The pages of a document, page 1 first; pages[i] the slot count of page i + 1 (slots past
    // eight are counted only). Returns the head's record.
    int32_t AddDocument(const Doc& d, int32_t mmddyy, const std::vector<int32_t>& pages,
                        const std::vector<std::string>& slots = {}) {
        int32_t previous = 0;
        for (size_t p = 0; p < pages.size(); ++p) {
            std::vector<std::string> page_slots;
            if (p == 0) page_slots = slots;
            RecordBuilder b =
                sales_test::Page(static_cast<int32_t>(p + 1), p == 0 ? mmddyy : previous,
                                 page_slots, pages[p], d.status);
            b.Bin(3, 'D', d.account)
                .Bin(106, 'L', d.number)
                .Bin(113, 'B', d.counterman)
                .Bin(114, 'B', d.salesman)
                .Text(117, d.po, 6)
                .Bin(124, 'B', d.delivery)
                .Bin(125, 'L', d.sub_total)
                .Bin(141, 'K', d.ship_to);
            previous = invol_->Add(b);
        }
        return previous;
    }

    void AddTicket(const Doc& d, int32_t head) {
        ticki_->Add(RecordBuilder(4).Bin(1, 'L', d.number).str(), head);
    }

    // A saved-invoice directory slot: block 301-325, sub-block 0-3, slot 0-30.
    void SetSavedSlot(int32_t block, int32_t sub, int32_t slot, int32_t head) {
        set.File0().Block(block).Bin(sub * 128 + 5 + 4 * slot, 'L', head);
    }

    sample::RecordFileWriter* custl_;
    sample::RecordFileWriter* ecustl_;
    sample::IndexWriter* custi_;
    sample::RecordFileWriter* invol_;
    sample::IndexWriter* ticki_;
};

}  // namespace dv::sales_views_test
