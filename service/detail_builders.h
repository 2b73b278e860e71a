// The shop-job and warranty detail builders: two more policies of the page-chain builder
// (records/page_chain.h), which walks a document's chain of pages from its head page down to
// page 1 and returns its lines as DetailLine rows with totals by line code.
//
// clsShopDetail: a shop job of INVOL from its head page. Element 6 of every row is the request
// segment of the row's page (B at 97). Totals: "500" labor, "502" freight, "550" miscellaneous,
// any other code (not "REM") parts; shop supplies, tax and deposit stay 0.
//
// clsWarrDetail: a warranty claim, found by its WARRI key (the shop reference, or shop reference
// x 100 + request), whose header in WARRL names its head page (Inv_Ptr). Element 6 stays empty.
// Totals: "500" labor, any other code (not "REM") parts: "502" and "550" count as parts.
//
// Neither selects a packed-text alphabet: slot texts decode under the one in force. Both clear
// their rows, totals and error flag at the start of every GetDetail, so a claim that fails
// early never carries the previous claim's totals. Failures go to the application event log
// under "clsShopDetail : GetDetail" (or BuildPage, BuildDetail) and set DetailError; GetDetail
// never raises. The warranty builder takes whatever claim WARRI's search gives for its key, with
// no test that the key matched: a key WARRI lacks gives the claim of the next higher key, one
// above every key record 0, whose read fails (81).
#pragma once

#include <cstdint>

#include "records/page_chain.h"

namespace dv {

class cBusinessBasic;

// The WARRL record of a claim's key: the record of the first WARRI key not below it, at its
// absolute value; 0 when no key lies at or above it.
int32_t FindClaim(cBusinessBasic& engine, int32_t key);

class clsShopDetail : public PageChainDocument {
  public:
    enum Total { kParts, kLabor, kSupplies, kMisc, kTax, kDeposit, kFreight, kTotals };

    clsShopDetail();

    // The INVOL record number of the job's head page.
    void ShopRec(int32_t record) { head_ = record; }
    void GetDetail() { builder_.GetDetail(head_); }
    // The totals in cents: quantity in whole units x net price each.
    int64_t ShopPartTotal() const { return builder_.Total(kParts); }
    int64_t ShopLabTotal() const { return builder_.Total(kLabor); }
    int64_t ShopSupTotal() const { return builder_.Total(kSupplies); }
    int64_t ShopMiscTotal() const { return builder_.Total(kMisc); }
    int64_t ShopTaxTotal() const { return builder_.Total(kTax); }
    int64_t ShopDepTotal() const { return builder_.Total(kDeposit); }
    int64_t ShopFrtTotal() const { return builder_.Total(kFreight); }

    static const PageChainPolicy kPolicy;

  private:
    int32_t head_ = 0;
};

class clsWarrDetail : public PageChainDocument {
  public:
    enum Total { kParts, kLabor, kTotals };

    clsWarrDetail();

    // The claim's WARRI key.
    void ShopRef(int32_t key) { key_ = key; }
    // Kept and never read (the views set it to 0).
    void DDisplay(int32_t value) { display_ = value; }
    // Finds the claim by its exact key, reads its header and builds its pages' rows.
    void GetDetail();
    int64_t WarrPartTotal() const { return builder_.Total(kParts); }
    int64_t WarrLabTotal() const { return builder_.Total(kLabor); }

    static const PageChainPolicy kPolicy;

  private:
    int32_t key_ = 0;
    int32_t display_ = 0;
};

}  // namespace dv
