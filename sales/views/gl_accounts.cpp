#include "sales/views/gl_accounts.h"

#include <algorithm>
#include <exception>

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/dates.h"
#include "engine/error.h"
#include "engine/index_cursor.h"
#include "records/clock_text.h"
#include "shell/number_format.h"
#include "shell/operation_log.h"
#include "shell/settings_store.h"
#include "shell/view.h"

namespace dv {
namespace {

constexpr std::string_view kCrLf = "\r\n";

const GLSide kAsset{GLClass::kAsset,
                    "Asset",
                    "A",
                    'A',
                    "frmGLA",
                    "G/L Asset Total",
                    "grdGLCash",
                    "General Ledger Asset Accounts",
                    "Loading General Ledger Asset Accounts...",
                    4,
                    ""};
const GLSide kLiability{GLClass::kLiability,
                        "Liability",
                        "L",
                        'L',
                        "frmGLL",
                        "G/L Liabilities",
                        "grdGLPay",
                        "General Ledger Liability Accounts",
                        "Loading General Ledger Liability Accounts...",
                        9,
                        "Total "};

// G/L detail fields.
constexpr int32_t kDetailAccountAt = 5;
constexpr int32_t kDetailSignAt = 53;
constexpr int32_t kDetailMillionsAt = 54;
constexpr int32_t kDetailCentsAt = 56;
constexpr int64_t kMillion = 1000000;

// The chart walk starts at company 0, account 1.
constexpr int32_t kFirstChartAccount = 1;

}  // namespace

const GLSide& SideOf(GLClass gl_class) {
    return gl_class == GLClass::kAsset ? kAsset : kLiability;
}

const GLSide& SideOfMode(std::string_view mode) {
    return mode == "A" ? kAsset : kLiability;
}

int64_t LeadingNumber(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    size_t i = 0;
    while (i < text.size() && blank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (blank(c)) continue;
        if (c < '0' || c > '9') break;
        const uint64_t d = static_cast<uint64_t>(c - '0');
        if (value > (static_cast<uint64_t>(INT64_MAX) - d) / 10)
            RaisePlatform(err::kOverflow, "Val");
        value = value * 10 + d;
    }
    return negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
}

std::vector<GLAccountRef> ParseAccountList(const std::optional<std::string>& stored) {
    const std::string text = stored ? *stored : std::string(kDefaultAccountList);
    std::vector<GLAccountRef> list;
    for (const std::string& entry : Split(text, ",")) {
        const std::string_view e = entry;
        list.push_back({LeadingNumber(e.substr(0, 2)),
                        LeadingNumber(e.substr(std::min<size_t>(2, e.size())))});
    }
    return list;
}

std::string AccountEntry(int64_t company, int64_t account) {
    return FormatNumber(Number::Whole(company), "00") + std::to_string(account);
}

int64_t DetailAmount(std::string_view record) {
    const int64_t amount = int64_t{Unpack("C", record, kDetailMillionsAt)} * kMillion +
                           Unpack("L", record, kDetailCentsAt);
    return Unpack("B", record, kDetailSignAt) == 1 ? -amount : amount;
}

ChartAccount ReadChartRecord(std::string_view record) {
    ChartAccount a;
    a.company = Unpack("C", record, 3);
    a.account = Unpack("L", record, 5);
    a.class_char = std::string(record.substr(std::min<size_t>(8, record.size()), 1));
    a.name = std::string(record.substr(std::min<size_t>(9, record.size()), 30));
    return a;
}

std::optional<int64_t> GetGLBalance(const std::string& key, int32_t account,
                                    std::string_view form) {
    int64_t sum = 0;
    int32_t record = 0;
    int32_t last_account = 0;
    try {
        cBusinessBasic& engine = RequireEngine("GetGLBalance");
        // The walk keeps to the company's keys: the detail of another company under the same
        // account number belongs to that company's balance.
        KeyRange range = KeyRange::Prefix(std::string_view(key).substr(0, 2));
        range.from = key;
        std::string scratch;
        IndexCursor(engine, "GLDTI").Walk(range, [&](const IndexCursor& at) {
            record = at.raw_record();
            // Decoded before the walk's next read.
            const std::string_view data = engine.LreadFileView("GLDTL", at.record(), scratch);
            last_account = Unpack("L", data, kDetailAccountAt);
            if (last_account != account) return false;
            sum += DetailAmount(data);
            return true;
        });
        return sum;
    } catch (const std::exception& e) {
        int32_t number = 0;
        std::string description;
        ErrorParts(e, number, description);
        mLogLine = "*Error in " + std::string(form) +
                   " GetGLBalance function error # :  " + std::to_string(number) + "  " +
                   std::string(kCrLf) + description + "  at line :0" + std::string(kCrLf) +
                   "gldtl record =" + std::to_string(record) + std::string(kCrLf) +
                   "Acct=" + std::to_string(last_account);
        WriteLog(mLogPath, mLogLine);
        return std::nullopt;
    }
}

// ---- The account picker ----

AccountPicker::AccountPicker(std::string_view mode) : side_(&SideOfMode(mode)) {
    available_caption_ = side_->gl_class == GLClass::kAsset ? "Avalable Asset Accounts"
                                                            : "Avalable Liability Accounts";
    for (GridModel* g : {&available_, &display_}) {
        g->AddColumn({std::string(kPickerCompany), std::string(kPickerCompany), "", false, false,
                      CellAlignment::kRight, 0});
        g->AddColumn({std::string(kPickerAccount), std::string(kPickerAccount), "", false, false,
                      CellAlignment::kRight, 0});
        g->AddColumn({std::string(kPickerName), std::string(kPickerName), "", false, false,
                      CellAlignment::kLeft, 0});
    }
    GetGLAccount();
}

void AccountPicker::GetGLAccount() {
    int step = 0;
    int32_t record = 0, found = 0, counter = 0;
    const std::string gl_type(1, side_->class_char);
    try {
        cBusinessBasic& engine = RequireEngine("GetGLAccount");
        step = 1;
        std::string key(6, '\0');
        Pack("L", key, kFirstChartAccount, 3);
        IndexCursor chart(engine, "CHRTI");
        int16_t flag = 0;
        step = 2;
        chart.Seek(key);
        chart.Check();
        found = chart.raw_record();
        record = chart.record();
        counter = 1;
        while (chart.Valid()) {
            step = 3;
            const ChartAccount a = ReadChartRecord(engine.LreadFile("CHRTL", record, flag));
            if (a.class_char == gl_type) {
                step = 4;
                const int row = available_.AddRow();
                available_.SetCell(row, kPickerCompany, std::to_string(a.company));
                available_.SetCell(row, kPickerAccount, std::to_string(a.account));
                available_.SetCell(row, kPickerName, a.name);
            }
            step = 5;
            chart.Next();
            chart.Check();
            record = chart.record();
            ++counter;
        }
    } catch (const std::exception& e) {
        int32_t number = 0;
        std::string description;
        ErrorParts(e, number, description);
        const auto* basic = dynamic_cast<const BasicError*>(&e);
        const std::string source = basic ? basic->source() : std::string();
        const Date now = Now();
        const std::string crlf(kCrLf);
        mLogLine = "*" + ShortDateText(now) + " : " + ShortTimeText(now) +
                   " : module frmsetup/getglaccount" + crlf + std::to_string(number) + "  " +
                   description + "  " + source + crlf + "---posit = " + std::to_string(step) +
                   "  Gltype=" + gl_type + crlf +
                   "---error line =  0 cr = " + std::to_string(record) +
                   " crx = " + std::to_string(found) + crlf + "---cnt = " + std::to_string(counter);
        WriteLog(mLogPath, mLogLine);
        error_message_ = "Error :" + std::to_string(number) + " " + description + crlf +
                         "can not load GL chart of accounts !";
        mLogLine = "*" + error_message_;
        WriteLog(mLogPath, mLogLine);
    }
    available_.MoveFirst();
}

void AccountPicker::Select(int index, int row, bool selected) {
    std::vector<Bookmark>& list = selection_[index ? 1 : 0];
    const Bookmark b = grid(index).BookmarkOf(row);
    const auto at = std::find(list.begin(), list.end(), b);
    if (selected && at == list.end()) list.push_back(b);
    if (!selected && at != list.end()) list.erase(at);
}

void AccountPicker::ClearSelection(int index) {
    selection_[index ? 1 : 0].clear();
}

void AccountPicker::MoveLine(int from, int to, Bookmark bookmark) {
    const GridModel& source = grid(from);
    GridModel& target = grid(to);
    const int row = source.RowOf(bookmark);
    if (row < 0) return;
    const int added = target.AddRow();
    for (int c = 0; c < source.ColumnCount(); ++c)
        target.SetCell(added, source.Column(c).name, source.CellText(row, c));
    target.SetCurrentRow(added);
}

void AccountPicker::DeleteSelected(int index) {
    GridModel& g = grid(index);
    std::vector<Bookmark>& list = selection_[index ? 1 : 0];
    // The rows that stay, in their order; the grid is rebuilt from them.
    std::vector<std::vector<std::string>> kept;
    for (int r = 0; r < g.RowCount(); ++r) {
        if (std::find(list.begin(), list.end(), g.BookmarkOf(r)) != list.end()) continue;
        std::vector<std::string> cells;
        for (int c = 0; c < g.ColumnCount(); ++c) cells.push_back(g.CellText(r, c));
        kept.push_back(std::move(cells));
    }
    list.clear();
    g.RemoveAll();
    for (const auto& cells : kept) {
        const int r = g.AddRow();
        for (int c = 0; c < g.ColumnCount(); ++c) g.SetCell(r, c, cells[static_cast<size_t>(c)]);
    }
    g.MoveFirst();
}

void AccountPicker::Move(int index) {
    switch (index) {
        case 0:
        case 2: {
            const int from = index == 0 ? 0 : 1;
            const std::vector<Bookmark> list = selection_[from];
            for (auto it = list.rbegin(); it != list.rend(); ++it) MoveLine(from, 1 - from, *it);
            DeleteSelected(from);
            break;
        }
        case 1: {
            available_.MoveFirst();
            for (int r = 0; r < available_.RowCount(); ++r) {
                MoveLine(0, 1, available_.BookmarkOf(r));
                Select(0, r);
            }
            DeleteSelected(0);
            break;
        }
        case 3: {
            display_.MoveFirst();
            for (int r = 0; r < display_.RowCount(); ++r) MoveLine(1, 0, display_.BookmarkOf(r));
            ClearSelection(1);
            display_.RemoveAll();
            break;
        }
        default:
            break;
    }
}

std::string AccountPicker::AccountsText() const {
    std::string text;
    for (int r = 0; r < display_.RowCount(); ++r) {
        text += AccountEntry(LeadingNumber(display_.CellText(r, kPickerCompany)),
                             LeadingNumber(display_.CellText(r, kPickerAccount)));
        text += ",";
    }
    if (!text.empty()) text.pop_back();
    return text;
}

std::string AccountPicker::Done() {
    close_ = Close::kDone;
    std::string text = AccountsText();
    AppSettings().Save(kSettingsApplication, side_->section, kSettingsKey, text);
    return text;
}

}  // namespace dv
