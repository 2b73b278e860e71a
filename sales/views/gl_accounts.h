// The general-ledger pieces the G/L views and the account setup dialog share: the stored account
// list, the chart of accounts, the balance walk over the G/L detail, and the account picker.
//
// Stored account list: per-user setting "Dashvane" / "Asset" or "Liability" / "Accounts", the
// entries joined by ",". An entry is the company formatted "00" followed by the account in plain
// digits: company 1, account 100 is "01100". A reader takes the company from the first two
// characters and the account from the rest, so a company of 100 or more, which the writer keeps
// at all its digits, reads back as its first two digits with the rest in front of the account
// ("1005" written for company 100, account 5 reads as company 10, account 5). The format is kept
// as it is because stored lists depend on it.
//
// Files: CHRTI (6-byte key: company C at 1, account L at 3) and CHRTL (company C at 3, account L
// at 5, class character at 9, "A" asset or "L" liability, name in the 30 characters from 10);
// GLDTI (10-byte key: company C at 1, account L at 3, four further bytes) and GLDTL (account L
// at 5, sign B at 53, millions C at 54, cents L at 56). An entry's amount in cents is millions
// x 1,000,000 + cents, negated when the sign byte is 1; balances are 64-bit cents.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/grid_model.h"

namespace dv {

// The two classes of account the G/L views show.
enum class GLClass { kAsset, kLiability };

// What differs between the asset and the liability side.
struct GLSide {
    GLClass gl_class;
    std::string_view section;       // "Asset" / "Liability"
    std::string_view mode;          // the setup mode: "A" / "L"
    char class_char;                // the chart's class character
    std::string_view form;          // "frmGLA" / "frmGLL"
    std::string_view caption;       // the window caption
    std::string_view grid;          // "grdGLCash" / "grdGLPay"
    std::string_view heading;       // "General Ledger Asset Accounts" / "... Liability ..."
    std::string_view progress;      // the splash text while the view loads
    int recap_label;                // 4 / 9
    std::string_view total_prefix;  // before the total in lbltotal: "" / "Total "
};
const GLSide& SideOf(GLClass gl_class);
// The setup mode's side: "A" is the asset side, any other value the liability side.
const GLSide& SideOfMode(std::string_view mode);

inline constexpr std::string_view kSettingsKey = "Accounts";
// What stands for an account list the store does not hold.
inline constexpr std::string_view kDefaultAccountList = "1";

struct GLAccountRef {
    int64_t company = 0;
    int64_t account = 0;
    bool operator==(const GLAccountRef&) const = default;
};

// The leading number of a text: blanks skipped, an optional sign, then digits until the first
// other character; 0 when there is none. Digits beyond 64 bits raise the platform's overflow.
int64_t LeadingNumber(std::string_view text);

// The entries of a stored list (absent: the default "1"), empty pieces dropped, in list order.
std::vector<GLAccountRef> ParseAccountList(const std::optional<std::string>& stored);

// One entry as the list stores it: the company as "00", then the account.
std::string AccountEntry(int64_t company, int64_t account);

// The amount of one GLDTL record in cents; raises the engine's 31 when the record is too short.
int64_t DetailAmount(std::string_view record);

// A chart-of-accounts record's fields.
struct ChartAccount {
    int32_t company = 0;
    int32_t account = 0;
    std::string class_char;  // position 9, one character
    std::string name;        // 30 characters from 10, as stored
};
ChartAccount ReadChartRecord(std::string_view record);

// The balance of one account: the GLDTL amounts of the GLDTI entries from the 10-byte key on,
// while the record's account equals `account` and the key's company equals the search key's.
// Errors are handled here: one entry in the operation log (with `form`'s routine text) and
// nullopt, which the caller shows as 0.
std::optional<int64_t> GetGLBalance(const std::string& key, int32_t account, std::string_view form);

// The picker's grids: "Co #", "Account #", "Account Name".
inline constexpr std::string_view kPickerCompany = "Co #";
inline constexpr std::string_view kPickerAccount = "Account #";
inline constexpr std::string_view kPickerName = "Account Name";

// The account setup dialog's core. It opens for one side with an empty "Account to Display"
// grid and every chart account of the side's class in the available grid; the four moves copy
// rows between the grids; Done builds the list to store from the display grid.
class AccountPicker {
  public:
    // How the dialog closed.
    enum class Close { kOpen, kDone, kCancel, kCloseBox };

    // Loads for the setup mode ("A" asset, anything else liability) and fills the available
    // grid from the chart. A chart that fails to load leaves the rows read so far, logs two
    // entries and sets error_message().
    explicit AccountPicker(std::string_view mode);

    const GLSide& side() const { return *side_; }
    // "Avalable Asset Accounts" / "Avalable Liability Accounts", as the dialog has always
    // spelled it.
    const std::string& available_caption() const { return available_caption_; }
    GridModel& grid(int index) { return index == 0 ? available_ : display_; }
    const GridModel& grid(int index) const { return index == 0 ? available_ : display_; }

    // The selection list of a grid, in the order the rows were selected.
    const std::vector<Bookmark>& selection(int index) const { return selection_[index ? 1 : 0]; }
    // Adds a row to a grid's selection (a row already selected stays where it is), or removes
    // it.
    void Select(int index, int row, bool selected = true);
    void ClearSelection(int index);

    // The move buttons: 0 Move Selected and 1 Move All to the display grid, 2 and 3 back. Move
    // Selected copies the selected rows in the reverse order of the selection list and deletes
    // them; Move All copies every row in grid order and empties the source. Any other index does
    // nothing.
    void Move(int index);
    // Copies the row of `bookmark` in grid `from` to the end of grid `to`, column by name.
    void MoveLine(int from, int to, Bookmark bookmark);

    // The list the display grid stands for: entries joined by ",", empty for no row.
    std::string AccountsText() const;
    // Done: stores the list under the side's section of the settings store (settings_store.h)
    // and returns it. Cancel and the close box store nothing.
    std::string Done();
    void Cancel() { close_ = Close::kCancel; }
    void CloseBox() { close_ = Close::kCloseBox; }
    Close closed() const { return close_; }
    // The program-wide cancel flag as the G/L view reads it: -1 after Cancel, else 0.
    int16_t cancel_flag() const { return close_ == Close::kCancel ? -1 : 0; }

    // The message box text of a chart that failed to load; empty when it loaded.
    const std::string& error_message() const { return error_message_; }

  private:
    void GetGLAccount();
    void DeleteSelected(int index);

    const GLSide* side_;
    std::string available_caption_;
    GridModel available_{"grdA(0)"};
    GridModel display_{"grdA(1)"};
    std::vector<Bookmark> selection_[2];
    Close close_ = Close::kOpen;
    std::string error_message_;
};

}  // namespace dv
