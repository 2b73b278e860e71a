// dashvane-dump as a user runs it: on the demo data set written by the sample writer, with and
// without --refresh, and on a catalog that is missing or names an unreachable share.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "platform/test_support.h"
#include "sampledata/damage.h"
#include "sampledata/demo_set.h"
#include "sampledata/formats.h"
#include "sampledata/noise.h"
#include "sampledata/this_computer.h"
#include "shell/qt/qt_settings_store.h"

#ifndef DASHVANE_DUMP
#error "DASHVANE_DUMP names the dashvane-dump binary"
#endif

namespace dv {
namespace {

// A small JSON reader: enough to check the document's shape and read its texts.
struct Json {
    using Array = std::vector<Json>;
    using Object = std::vector<std::pair<std::string, Json>>;
    std::variant<std::nullptr_t, bool, double, std::string, Array, Object> v;

    const Json& operator[](std::string_view key) const {
        for (const auto& [k, val] : std::get<Object>(v)) {
            if (k == key) return val;
        }
        throw std::out_of_range("no member " + std::string(key));
    }
    const Json& operator[](size_t i) const { return std::get<Array>(v).at(i); }
    size_t size() const {
        return std::holds_alternative<Array>(v) ? std::get<Array>(v).size()
                                                : std::get<Object>(v).size();
    }
    const std::string& str() const { return std::get<std::string>(v); }
};

class JsonReader {
  public:
    explicit JsonReader(std::string_view text) : t_(text) {}
    Json Value() {
        Blanks();
        if (p_ >= t_.size()) throw std::runtime_error("end of text");
        const char c = t_[p_];
        if (c == '{') return Obj();
        if (c == '[') return Arr();
        if (c == '"') return Json{Str()};
        if (Take("true")) return Json{true};
        if (Take("false")) return Json{false};
        if (Take("null")) return Json{nullptr};
        size_t used = 0;
        const double d = std::stod(std::string(t_.substr(p_)), &used);
        p_ += used;
        return Json{d};
    }
    bool AtEnd() {
        Blanks();
        return p_ == t_.size();
    }

  private:
    void Blanks() {
        while (p_ < t_.size() &&
               (t_[p_] == ' ' || t_[p_] == '\n' || t_[p_] == '\r' || t_[p_] == '\t'))
            ++p_;
    }
    bool Take(std::string_view word) {
        if (t_.substr(p_, word.size()) != word) return false;
        p_ += word.size();
        return true;
    }
    void Expect(char c) {
        Blanks();
        if (p_ >= t_.size() || t_[p_] != c)
            throw std::runtime_error(std::string("expected ") + c + " at " + std::to_string(p_));
        ++p_;
    }
    std::string Str() {
        Expect('"');
        std::string out;
        while (true) {
            if (p_ >= t_.size()) throw std::runtime_error("unterminated string");
            const unsigned char c = static_cast<unsigned char>(t_[p_++]);
            if (c == '"') return out;
            if (c < 0x20) throw std::runtime_error("raw control character in a string");
            if (c != '\\') {
                out.push_back(static_cast<char>(c));
                continue;
            }
            const char e = t_[p_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out.push_back(e);
                    break;
                case 'n':
                    out.push_back('\n');
                    break;
                case 'r':
                    out.push_back('\r');
                    break;
                case 't':
                    out.push_back('\t');
                    break;
                case 'b':
                    out.push_back('\b');
                    break;
                case 'f':
                    out.push_back('\f');
                    break;
                case 'u': {
                    const unsigned cp = std::stoul(std::string(t_.substr(p_, 4)), nullptr, 16);
                    p_ += 4;
                    if (cp > 0xFF) throw std::runtime_error("unexpected code point");
                    out.push_back(static_cast<char>(cp));
                    break;
                }
                default:
                    throw std::runtime_error("bad escape");
            }
        }
    }
    Json Arr() {
        Expect('[');
        Json::Array a;
        Blanks();
        if (t_[p_] == ']') {
            ++p_;
            return Json{a};
        }
        while (true) {
            a.push_back(Value());
            Blanks();
            if (t_[p_] == ']') {
                ++p_;
                return Json{a};
            }
            Expect(',');
        }
    }
    Json Obj() {
        Expect('{');
        Json::Object o;
        Blanks();
        if (t_[p_] == '}') {
            ++p_;
            return Json{o};
        }
        while (true) {
            Blanks();
            std::string key = Str();
            Expect(':');
            o.emplace_back(std::move(key), Value());
            Blanks();
            if (t_[p_] == '}') {
                ++p_;
                return Json{o};
            }
            Expect(',');
        }
    }
    std::string_view t_;
    size_t p_ = 0;
};

struct DumpRun {
    int status = -1;
    std::string out;
    std::string err;
};

class DumpTest : public ::testing::Test {
  protected:
    DumpTest()
        : shares_env_("DASHVANE_SHARES", root_ / "share"),
          tmpdir_env_("TMPDIR", root_ / "tmp"),
          temp_env_("TEMP", root_ / "tmp"),
          config_env_("XDG_CONFIG_HOME", root_ / "config") {}

    DumpRun Dump(const std::string& args = "", const std::string& program = DASHVANE_DUMP) {
        const std::string err_path = root_ / "stderr.txt";
        const std::string command = run_as_ + "'" + program + "' " + args + " 2>'" + err_path + "'";
        DumpRun run;
        FILE* p = ::popen(command.c_str(), "r");
        if (p == nullptr) return run;
        char buf[65536];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) run.out.append(buf, n);
        const int raw = ::pclose(p);
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.err = testing::ReadFileBytes(err_path);
        return run;
    }
    void WriteDemo() {
        sample::BuildDemoSet(sample::Scale::kDemo).Write(root_ / "share", root_ / "tmp");
    }
    // The demo set with several leaves in PUTBI and LINEI, so that a chain can come back and a
    // leaf can be other than the last.
    static sample::DataSetImage SeveralLeaves() {
        sample::DataSetWriter writer;
        sample::DemoPlan plan = sample::PlanFor(sample::Scale::kDemo);
        sample::AddDemoFiles(writer, plan);
        writer.Index("PUTBI").Fill(4);
        writer.Index("LINEI").Fill(4);
        return writer.Build();
    }
    static std::vector<Json> Documents(const std::string& out) {
        std::vector<Json> docs;
        JsonReader reader(out);
        while (!reader.AtEnd()) docs.push_back(reader.Value());
        return docs;
    }
    static size_t Count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }
    std::string LogFile() const { return testing::ReadFileBytes(root_ / "tmp/dvoperation.log"); }

    testing::TempFolder root_;
    testing::ScopedEnv shares_env_;
    testing::ScopedEnv tmpdir_env_;
    testing::ScopedEnv temp_env_;
    testing::ScopedEnv config_env_;  // never the user's own stored settings
    std::string run_as_;             // a command the dump is run under (another user's rights)
};

// The length of a date and time of the log ("12/10/2026 4:33:55 PM") at `at`, or 0. Each
// letter d of the shape stands for one or two digits, D for exactly as many as it repeats.
size_t TimeStampAt(std::string_view text, size_t at) {
    static constexpr std::string_view kShape = "d/d/DDDD d:DD:DD ?M";
    const auto digit = [&](size_t i) {
        return i < text.size() && text[i] >= '0' && text[i] <= '9';
    };
    size_t i = at;
    for (const char c : kShape) {
        if (c == 'd') {
            if (!digit(i)) return 0;
            i += digit(i + 1) ? 2 : 1;
        } else if (c == 'D') {
            if (!digit(i++)) return 0;
        } else if (c == '?') {
            if (i >= text.size() || (text[i] != 'A' && text[i] != 'P')) return 0;
            ++i;
        } else if (i >= text.size() || text[i++] != c) {
            return 0;
        }
    }
    return i - at;
}

// The text with every date and time of the log as <when>: they differ between two runs.
std::string WithoutTimes(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (const size_t n = TimeStampAt(text, i); n > 0) {
            out += "<when>";
            i += n;
        } else {
            out += text[i++];
        }
    }
    return out;
}

void ExpectShape(const Json& doc) {
    ASSERT_EQ(doc["status"].size(), 4u);
    ASSERT_EQ(doc["recap"].size(), 22u);
    for (size_t i = 0; i < 22; ++i) {
        EXPECT_EQ(std::get<double>(doc["recap"][i]["index"].v), static_cast<double>(i));
        (void)doc["recap"][i]["text"].str();
        EXPECT_TRUE(std::holds_alternative<bool>(doc["recap"][i]["error"].v));
    }
    EXPECT_TRUE(std::holds_alternative<Json::Object>(doc["views"].v));
    EXPECT_TRUE(std::holds_alternative<Json::Array>(doc["log"].v));
}

TEST_F(DumpTest, DemoDataSetGivesStatusStoreNameAndRecap) {
    WriteDemo();
    const DumpRun run = Dump();
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<Json> docs = Documents(run.out);
    ASSERT_EQ(docs.size(), 1u);
    const Json& doc = docs[0];
    ExpectShape(doc);

    const std::string me = sample::ThisComputer().name;
    EXPECT_EQ(doc["status"][0].str(), "Client :" + me);
    EXPECT_EQ(doc["status"][1].str(), "Host :DS1");
    EXPECT_EQ(doc["status"][2].str(), "Terminal :7");
    EXPECT_EQ(doc["status"][3].str(), "Source :D01      Store # ");
    const std::string store = "NORTHFIELD EQUIPMENT & SERVICE";
    EXPECT_EQ(doc["store_name"].str(), store + std::string(35 - store.size(), ' '));

    // Every view that exists wrote its figures without an error.
    for (size_t i = 0; i < 22; ++i) EXPECT_FALSE(std::get<bool>(doc["recap"][i]["error"].v)) << i;
    ASSERT_GE(doc["log"].size(), 1u);
    EXPECT_NE(doc["log"][0].str().find("  Program Start from : " + me + "  Terminal :7"),
              std::string::npos);
    EXPECT_EQ(run.err, "");
    // The log file holds the start line and, after the run, the end line.
    const std::string log = LogFile();
    EXPECT_EQ(Count(log, "Program Start from"), 1u);
    EXPECT_NE(log.find("  Program End \r\n"), std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
}

// The account lists the window saves through its store are the ones the headless run shows: one
// store and one file, found the same way by both programs whether HOME is set or not. The window's
// store saves in a process of its own, as the desktop program does (QSettings settles its folder
// once a process).
TEST_F(DumpTest, GLViewsShowTheAccountListsTheWindowSaved) {
    WriteDemo();
    struct Case {
        const char* what;
        std::optional<std::string> home, config;  // nothing: unset
        std::string file;                         // the one settings file
    };
    const std::string root = root_.path();
    const Case cases[] = {
        {"HOME alone", root + "/home", std::nullopt, root + "/home/.config/Dashvane/Dashvane.conf"},
        {"HOME unset", std::nullopt, root + "/config", root + "/config/Dashvane/Dashvane.conf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto set = [](const char* name, const std::optional<std::string>& value) {
            value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
        };
        const pid_t window = ::fork();
        ASSERT_GE(window, 0);
        if (window == 0) {
            set("HOME", c.home);
            set("XDG_CONFIG_HOME", c.config);
            const std::unique_ptr<SettingsStore> store = qt::MakeUserSettingsStore();
            store->Save(kSettingsApplication, "Asset", "Accounts", "01100,01200");
            store->Save(kSettingsApplication, "Liability", "Accounts", "");
            std::_Exit(0);
        }
        int saved = -1;
        ASSERT_EQ(::waitpid(window, &saved, 0), window);
        ASSERT_EQ(saved, 0);
        const std::string before = testing::ReadFileBytes(c.file);
        ASSERT_NE(before, "");

        run_as_ = "env ";
        for (const auto& [name, value] : {std::pair{"HOME", c.home}, {"XDG_CONFIG_HOME", c.config}})
            if (!value) run_as_ += std::string("-u ") + name + " ";
        for (const auto& [name, value] : {std::pair{"HOME", c.home}, {"XDG_CONFIG_HOME", c.config}})
            if (value) run_as_ += std::string(name) + "='" + *value + "' ";
        const DumpRun run = Dump();
        ASSERT_EQ(run.status, 0) << run.err;
        const std::vector<Json> docs = Documents(run.out);
        ASSERT_EQ(docs.size(), 1u);
        const Json& views = docs[0]["views"];
        const Json& assets = views["frmGLA"]["grids"];
        EXPECT_EQ(std::get<Json::Object>(assets.v).begin()->second["rows"].size(), 2u);
        const Json& liability_rows =
            std::get<Json::Object>(views["frmGLL"]["grids"].v).begin()->second["rows"];
        EXPECT_EQ(liability_rows.size(), 0u);  // an empty list is a list, not the default
        EXPECT_EQ(testing::ReadFileBytes(c.file), before);  // read, never written
    }
}

TEST_F(DumpTest, RefreshPrintsASecondDocument) {
    WriteDemo();
    const DumpRun run = Dump("--refresh");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<Json> docs = Documents(run.out);
    ASSERT_EQ(docs.size(), 2u);
    ExpectShape(docs[1]);
    EXPECT_EQ(docs[1]["status"][2].str(), "Terminal :7");
    EXPECT_EQ(docs[1]["store_name"].str(), docs[0]["store_name"].str());
    for (size_t i = 0; i < 22; ++i)
        EXPECT_EQ(docs[1]["recap"][i]["text"].str(), docs[0]["recap"][i]["text"].str()) << i;
    EXPECT_EQ(docs[1]["log"].size(), 0u);  // a refresh that succeeds logs nothing
}

TEST_F(DumpTest, MissingCatalogLoadsNothingAndSaysSoOnStderr) {
    const DumpRun run = Dump();
    EXPECT_EQ(run.status, 1);
    const std::vector<Json> docs = Documents(run.out);
    ASSERT_EQ(docs.size(), 1u);
    ExpectShape(docs[0]);
    EXPECT_EQ(docs[0]["status"][0].str(), "");
    EXPECT_EQ(docs[0]["views"].size(), 0u);
    EXPECT_NE(run.err.find("EpcError: You are missing file: "), std::string::npos) << run.err;
    EXPECT_EQ(Count(run.err, "Connection Error"), 1u) << run.err;
    ASSERT_EQ(docs[0]["log"].size(), 3u);
    EXPECT_EQ(docs[0]["log"][1].str().rfind("*Form VODOD2 load error :", 0), 0u);
    EXPECT_EQ(docs[0]["log"][2].str().rfind("*Error  91 : ", 0), 0u);
}

TEST_F(DumpTest, UnreachableShareShowsTwoConnectionMessages) {
    WriteDemo();
    testing::WriteFile(root_ / "tmp/tMRCatalog.ini",
                       "[Sendrake]\r\nServer=DS9\r\nDirectory=D01\r\n");
    const DumpRun run = Dump();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(
        Count(run.err, "Connection Error: You are attempting to connect to: \\\\DS9\\TMARLNK\\"),
        2u)
        << run.err;
    const std::vector<Json> docs = Documents(run.out);
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(docs[0]["status"][1].str(), "");
    EXPECT_EQ(docs[0]["store_name"].str(), "");
    EXPECT_EQ(docs[0]["log"].size(), 3u);
}

// The speed knobs change no figure: a load through the per-fill cache gives, byte for byte, what
// reads straight from the files give, and so do the documents fetched one at a time or by one
// worker and the allocator's defaults in place of the heap's tuning, on the demo set and on
// damaged ones (where an error ends a walk part way).
TEST_F(DumpTest, NoSpeedKnobChangesAFigureOfAnyView) {
    namespace damage = sample::damage;
    struct Case {
        const char* name;
        std::function<void(sample::DataSetImage&)> damage;
    };
    const Case cases[] = {
        {"undamaged", [](sample::DataSetImage&) {}},
        {"looped PUTBI leaves", [](auto& i) { damage::LoopLeafChain(i, "PUTBI", 2, 0); }},
        {"LINEI entry count", [](auto& i) { damage::SetEntryCount(i, "LINEI", 1); }},
        {"RTTBI root", [](auto& i) { damage::SetRoot(i, "RTTBI"); }},
        {"LINEI pointer",
         [](auto& i) { damage::RecordPointerPastLastRecord(i, "LINEI", "LINEL", 5); }},
        {"VNDRL missing", [](auto& i) { damage::RemoveDirectoryEntry(i, "VNDRL"); }},
        {"PUTBI cut", [](auto& i) { damage::TruncateLogical(i, "PUTBI", 3 * 512 + 100); }},
        {"short LINEL", [](auto& i) { damage::ShortenRecords(i, "LINEL", 40); }},
    };
    auto figures = [&](const DumpRun& run) { return WithoutTimes(run.out); };
    int set = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sample::DataSetImage image = SeveralLeaves();
        c.damage(image);
        const std::string dir = "set" + std::to_string(set++);
        image.Write(root_ / (dir + "/share"), root_ / "tmp");
        const testing::ScopedEnv shares("DASHVANE_SHARES", root_ / (dir + "/share"));
        const DumpRun cached = Dump("--refresh");
        const DumpRun plain = Dump("--refresh --no-cache");
        EXPECT_EQ(cached.status, plain.status);
        EXPECT_EQ(cached.err, plain.err);
        EXPECT_EQ(figures(cached), figures(plain));
        ASSERT_EQ(Documents(cached.out).size(), 2u);
        // The documents fetched one at a time, by one worker and by the default pool.
        for (const char* workers : {"0", "1"}) {
            const DumpRun run = Dump(std::string("--refresh --fetch-workers ") + workers);
            EXPECT_EQ(run.status, cached.status) << workers;
            EXPECT_EQ(run.err, cached.err) << workers;
            EXPECT_EQ(figures(run), figures(cached)) << workers;
        }
        // The allocator's defaults in place of the heap's tuning.
        const testing::ScopedEnv heap("DASHVANE_HEAP_TUNING", "0");
        const DumpRun untuned = Dump("--refresh");
        EXPECT_EQ(untuned.status, cached.status);
        EXPECT_EQ(untuned.err, cached.err);
        EXPECT_EQ(figures(untuned), figures(cached));
    }
}

// Every damage the sample writer knows by name, with its details: the load that fetches the
// order documents several at a time gives what the load that reads each when its row is built
// gives, and so does the load that reads straight from the files.
TEST_F(DumpTest, FetchingDocumentsAheadChangesNothingOnAnyNamedDamage) {
    const auto figures = [&](const DumpRun& run) { return WithoutTimes(run.out); };
    std::vector<std::string> kinds = {""};
    for (const sample::damage::NamedDamage& d : sample::damage::NamedDamages())
        kinds.emplace_back(d.name);
    for (const std::string& kind : kinds) {
        SCOPED_TRACE(kind.empty() ? "undamaged" : kind);
        std::filesystem::remove_all(root_ / "share");
        std::filesystem::remove_all(root_ / "tmp");
        sample::DataSetImage image = sample::BuildDemoSet(sample::Scale::kTiny);
        if (!kind.empty()) sample::damage::FindNamedDamage(kind)->apply(image);
        image.Write(root_ / "share", root_ / "tmp");
        const DumpRun pooled = Dump("--details");
        const DumpRun alone = Dump("--details --fetch-workers 0");
        const DumpRun plain = Dump("--details --no-cache --fetch-workers 0");
        EXPECT_EQ(pooled.status, alone.status);
        EXPECT_EQ(pooled.err, alone.err);
        EXPECT_EQ(figures(pooled), figures(alone));
        EXPECT_EQ(figures(plain), figures(alone));
    }
}

// The damage kinds of the cheap checks, each on the tiny demo set: its error shows in the fill's
// error path (red recap labels, the log line naming the file and place), and every recap figure
// still in black is the undamaged set's.
TEST_F(DumpTest, DamageOfEachCheckShowsItsErrorAndNoOtherFigureMoves) {
    const std::set<size_t> line_views = {1, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
    const std::set<size_t> every_view_but_ar_and_cash = {1,  2,  3,  4,  5,  6,  7,  8,  9,  11,
                                                         12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
    struct Row {
        const char* kind;
        std::set<size_t> red;
        const char* log;  // a text one line of the operation log holds
    };
    const Row rows[] = {
        {"linei-record-zero", line_views,
         "GetLineData routine error # :  1012  Damaged index file LINEI: entry 4 of leaf 1 points "
         "to record 0"},
        {"rttbi-no-end",
         {5},
         "GetReturn routine error # :  1013  Damaged index file RTTBI: the last leaf"},
        // The cut lies before the blocks of every file behind LINEL: their entries fail first.
        {"datadb-cut", every_view_but_ar_and_cash,
         "GetLineData routine error # :  1061  Damaged directory file"},
        {"vndrl-length-0",
         {5, 8},
         "GetPO routine error # :  1061  Damaged directory file \\\\DS1\\TMARLNK\\D01\\DATAD1: "
         "the entry of VNDRL has record length 0"},
        {"darr-short", {0}, "GetAR routine error # :  1071  Receivables summary "},
        {"saved-names-ticket",
         {2},
         "GetPTSData routine error # :  1030  Damaged page chain in file INVOL: record 3 is named "
         "as a document twice"},
        {"return-header-zeroed",
         {5},
         "GetReturn routine error # :  1064  Document file \\\\DS1\\TMARLNK\\D01\\R10001 holds "
         "no document number in its header"},
        {"ticki-names-other",
         {2},
         "GetPTSData routine error # :  1063  Record 4 of INVOL holds number "},
        {"invol-page-deleted",
         {2},
         "GetPTSData routine error # :  1062  Record 2 of INVOL is not in use (status word 0), "
         "yet the link of record 3 names it"},
        {"job-page-deleted",
         {3},
         "GetShopData routine error # :  1062  Record 37 of INVOL is not in use (status word 0), "
         "yet the job table of FILE0 names it"},
    };
    const auto load = [&](const std::string& kind) {
        std::filesystem::remove_all(root_ / "share");
        std::filesystem::remove_all(root_ / "tmp");
        sample::DataSetImage image = sample::BuildDemoSet(sample::Scale::kTiny);
        if (!kind.empty()) {
            const sample::damage::NamedDamage* d = sample::damage::FindNamedDamage(kind);
            EXPECT_NE(d, nullptr) << kind;
            if (d != nullptr) d->apply(image);
        }
        image.Write(root_ / "share", root_ / "tmp");
        const DumpRun run = Dump();
        EXPECT_EQ(run.status, 0) << run.err;
        std::vector<Json> docs = Documents(run.out);
        EXPECT_EQ(docs.size(), 1u);
        return docs.empty() ? Json{} : docs[0];
    };
    const Json undamaged = load("");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kind);
        const Json doc = load(row.kind);
        std::set<size_t> red;
        for (size_t i = 0; i < 22; ++i) {
            if (std::get<bool>(doc["recap"][i]["error"].v)) {
                red.insert(i);
            } else if (!doc["recap"][i]["text"].str().empty()) {
                EXPECT_EQ(doc["recap"][i]["text"].str(), undamaged["recap"][i]["text"].str()) << i;
            }
        }
        EXPECT_EQ(red, row.red);
        std::string lines;
        for (size_t i = 0; i < doc["log"].size(); ++i) lines += doc["log"][i].str() + "\n";
        EXPECT_NE(lines.find(row.log), std::string::npos) << lines;
    }
}

// Bytes no reader decodes, changed: every view, total, recap figure, log line and detail is the
// undamaged set's. The status word of a record is read only where the record's own layout
// gives it a meaning (INVOL's page kinds, a claim's status); elsewhere it may hold anything.
TEST_F(DumpTest, BytesNoReaderDecodesChangeNothing) {
    using Image = sample::DataSetImage;
    // Bytes 1-2 of every record of a file (or of the records `which` picks) as 0, -1 or -32768
    // in turn: a deleted record's status, a run of 0xFF, the sign bit alone.
    const auto status_words = [](Image& image, std::string_view file,
                                 const std::function<bool(int32_t)>& which) {
        const int64_t values[] = {0x0000, 0xFFFF, 0x8000};
        for (int32_t n = 1; n <= image.Logical(file).last_record; ++n) {
            if (which(n)) sample::damage::SetRecordField(image, file, n, 1, 2, values[n % 3]);
        }
    };
    const auto every = [](int32_t) { return true; };
    // A claim's pages: the chain from each header's Inv_Ptr (L at 509) down the links at 110.
    const auto claim_pages = [](const Image& image) {
        const auto& p = image.Logical("WARRL");
        const std::string& c = image.File(p.container);
        const auto field = [&](int32_t n, int32_t at, int width) {
            return sample::GetBE(c, static_cast<int32_t>(image.RecordOffset("WARRL", n) + at),
                                 width);
        };
        std::set<int32_t> pages;
        for (int32_t n = 1; n <= p.last_record; ++n) {
            if (field(n, 5, 4) < 7000 || field(n, 5, 4) >= 8000) continue;  // not a header
            for (int32_t page = static_cast<int32_t>(field(n, 509, 4)); page > 0;) {
                pages.insert(page);
                if (field(page, 115, 1) < 2) break;
                page = static_cast<int32_t>(field(page, 110, 3));
            }
        }
        return pages;
    };
    const struct {
        const char* name;
        std::function<void(Image&)> damage;
    } rows[] = {
        {"vndrl-number",
         [](Image& i) { sample::damage::FindNamedDamage("vndrl-number")->apply(i); }},
        {"status words no layout reads",
         [&](Image& i) {
             for (const char* file : {"LINEL", "PARTL", "VNDRL", "CUSTL", "MANL", "CHRTL", "GLDTL",
                                      "UNITL", "LUNITL", "FPLNL", "FPEXL"})
                 status_words(i, file, every);
             const std::set<int32_t> pages = claim_pages(i);
             ASSERT_FALSE(pages.empty());
             status_words(i, "WARRL", [&](int32_t n) { return pages.count(n) != 0; });
         }},
    };
    const auto details = [&](const std::function<void(Image&)>& damage) {
        std::filesystem::remove_all(root_ / "share");
        std::filesystem::remove_all(root_ / "tmp");
        Image image = sample::BuildDemoSet(sample::Scale::kTiny);
        damage(image);
        image.Write(root_ / "share", root_ / "tmp");
        const DumpRun run = Dump("--details");
        EXPECT_EQ(run.status, 0) << run.err;
        return WithoutTimes(run.out);
    };
    const std::string undamaged = details([](Image&) {});
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(details(row.damage), undamaged);
    }
}

// Noise in every byte no reader of the dealer's files decodes (sampledata/noise.h), on the demo set
// and its segment form, by several seeds: the dump with every detail is the noiseless set's.
TEST_F(DumpTest, NoiseInBytesNoReaderDecodesChangesNothing) {
    const auto details = [&](bool segments, std::optional<uint64_t> seed) {
        std::filesystem::remove_all(root_ / "share");
        std::filesystem::remove_all(root_ / "tmp");
        sample::DemoPlan plan = sample::PlanFor(sample::Scale::kDemo);
        plan.warranty_segments = segments;
        sample::DataSetImage image = sample::BuildDemoSet(plan);
        if (seed) sample::noise::AddNoise(image, *seed);
        image.Write(root_ / "share", root_ / "tmp");
        DumpRun run = Dump("--details");
        run.out = WithoutTimes(run.out);
        return run;
    };
    for (const bool segments : {false, true}) {
        const DumpRun plain = details(segments, std::nullopt);
        EXPECT_EQ(plain.status, 0) << plain.err;
        for (const uint64_t seed : {1u, 2u, 0x5EED5EEDu}) {
            SCOPED_TRACE((segments ? "segments, seed " : "demo, seed ") + std::to_string(seed));
            const DumpRun noisy = details(segments, seed);
            EXPECT_EQ(noisy.status, plain.status);
            EXPECT_EQ(noisy.err, plain.err);
            EXPECT_EQ(noisy.out, plain.out);
        }
    }
}

// Each named damage on a set with noise (the noise first, as dashvane-sample --noise applies it):
// the dump shows that damage's own error and every other figure as the damaged set without noise.
TEST_F(DumpTest, NoiseLeavesEachNamedDamageItsOwnError) {
    const auto details = [&](const sample::damage::NamedDamage& damage,
                             std::optional<uint64_t> seed) {
        std::filesystem::remove_all(root_ / "share");
        std::filesystem::remove_all(root_ / "tmp");
        sample::DataSetImage image = sample::BuildDemoSet(sample::Scale::kTiny);
        if (seed) sample::noise::AddNoise(image, *seed);
        damage.apply(image);
        image.Write(root_ / "share", root_ / "tmp");
        DumpRun run = Dump("--details");
        run.out = WithoutTimes(run.out);
        return run;
    };
    for (const sample::damage::NamedDamage& damage : sample::damage::NamedDamages()) {
        SCOPED_TRACE(std::string(damage.name));
        const DumpRun plain = details(damage, std::nullopt);
        const DumpRun noisy = details(damage, 11);
        EXPECT_EQ(noisy.status, plain.status);
        EXPECT_EQ(noisy.err, plain.err);
        EXPECT_EQ(noisy.out, plain.out);
    }
}

// The sample writer's damage on demand, as a script uses it: a set broken by name, then dumped.
TEST_F(DumpTest, NamedDamagesOfTheSampleWriterShowTheirErrorPaths) {
    const auto sample = [&](const std::string& args) {
        const std::string command = std::string("'") + DASHVANE_SAMPLE +
                                    "' --scale tiny --as-of 2024-11-15 " + args + " '" +
                                    root_.path() + "' >/dev/null 2>&1";
        return std::system(command.c_str());
    };
    ASSERT_EQ(sample("--noise 5 --damage linei-root --damage vndri-missing"), 0);
    DumpRun run = Dump();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("Index is returning information out of Range.  File: LINEI"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find("File not Found: \\\"VNDRI\\\""), std::string::npos);

    std::filesystem::remove_all(root_ / "share");  // a run overwrites only what it writes
    ASSERT_EQ(sample("--damage ttymap-missing"), 0);
    run = Dump();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("Terminal File 'ttymap' not found"), std::string::npos) << run.out;

    EXPECT_NE(sample("--damage no-such-damage"), 0);
    for (const char* seed : {"", "-1", "x7", "18446744073709551616"})
        EXPECT_NE(sample(std::string("--noise=") + seed), 0) << seed;
}

// Damaged and hostile data sets, each the way a user meets it: the exit status, the recap
// labels the load marks red ("Data Error !"), a line of the operation log, and no sanitizer
// report from the run. A damage is a kind of the sample writer's or a few bytes or a special
// file put in place by hand.
TEST_F(DumpTest, DamagedSetsEndInTheErrorPathsOfTheirViews) {
    namespace fs = std::filesystem;
    namespace damage = sample::damage;
    using Image = sample::DataSetImage;
    // Recap labels: 1 inventory, 5 returns, 8 purchase orders, 11 floor plan, 12 units, 13-21
    // profit. The last three read product lines through LINEI too.
    struct Row {
        const char* name;
        std::function<void(Image&)> damage = [](Image&) {};  // on the image before it is written
        // After the set is written into its folder (share/, tmp/).
        std::function<void(const fs::path& set)> by_hand = [](const fs::path&) {};
        int status = 0;
        std::set<size_t> red = {};
        const char* log = "";          // a text one line of the operation log holds
        const char* absent = nullptr;  // a text the document does not hold
    };
    const std::string link_share = "share/DS1/TMARLNK";
    const std::string data = link_share + "/D01";
    const auto sparse = [](const fs::path& file, uintmax_t size) { fs::resize_file(file, size); };
    constexpr uintmax_t k2GiB = uintmax_t{2} << 30;
    const std::set<size_t> line_views = {1, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
    const std::set<size_t> every_view_but_ar_and_cash = {1,  2,  3,  4,  5,  6,  7,  8,  9,  11,
                                                         12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
    const Row rows[] = {
        {.name = "RTTBI pointer 80 00 00 00",
         .damage =
             [](Image& i) {
                 damage::SetRecordPointer(i, "RTTBI", 0, std::numeric_limits<int32_t>::min());
             },
         .red = {5},
         .log = "*Error in frmReturn GetReturn routine error # :  1009  "},
        {.name = "LINEI root above LastRecord",
         .damage = [](Image& i) { damage::SetRoot(i, "LINEI"); },
         .red = line_views,
         .log = "*Error in frmInv GetLineData routine error # :  1002  "},
        {.name = "PUTBI root above LastRecord",
         .damage = [](Image& i) { damage::SetRoot(i, "PUTBI"); },
         .red = {8},
         .log = "*Error in frmPO GetPO routine error # :  1002  "},
        {.name = "WARRI root above LastRecord",
         .damage = [](Image& i) { damage::SetRoot(i, "WARRI"); },
         .red = {6},
         .log = "*Error in frmWarranty.form load routine error # :  1002  "},
        {.name = "PUTBI leaf counting 0 entries",
         .damage =
             [](Image& i) {
                 damage::SetEntryCount(i, "PUTBI", i.Logical("PUTBI").index.leaves[1], 0);
             },
         .red = {8},
         .log = "*Error in frmPO GetPO routine error # :  1011  "},
        {.name = "LINEI record pointer -5",
         .damage = [](Image& i) { damage::SetRecordPointer(i, "LINEI", 3, -5); },
         .red = line_views,
         .log = "*Error in frmInv GetLineData routine error # :  1009  "},
        {.name = "a folder in place of the container",
         .by_hand =
             [&](const fs::path& set) {
                 fs::remove(set / data / "DATADB");
                 fs::create_directory(set / data / "DATADB");
             },
         .red = every_view_but_ar_and_cash,
         .log = R"(  75  Could not open file: \\DS1\TMARLNK\D01\DATADB (Is a directory))"},
        {.name = "a FIFO as the container",
         .by_hand = [&](const fs::path& set) { testing::MakeFifo(set / data / "DATADB"); },
         .red = every_view_but_ar_and_cash,
         .log = R"(  75  Could not open file: \\DS1\TMARLNK\D01\DATADB (not an ordinary file))"},
        {.name = "a FIFO as the directory file",
         .by_hand = [&](const fs::path& set) { testing::MakeFifo(set / data / "DATAD1"); },
         .red = every_view_but_ar_and_cash,
         .log = R"(*Error in frmInv GetLineData routine error # :  -10  File not Found: "LINEI")"},
        {.name = "a FIFO as LINKSFILE",
         .by_hand = [&](const fs::path& set) { testing::MakeFifo(set / link_share / "LINKSFILE"); },
         .status = 1,
         .log = R"(*Error  53 : Could not open file: \\DS1\TMARLNK\LINKSFILE (No such file)"},
        // The document's bytes moved out of the share, its number changed: were the link
        // followed, its row would show that number.
        {.name = "a document file that links out of the share",
         .by_hand =
             [&](const fs::path& set) {
                 std::string bytes = testing::ReadFileBytes(set / data / "R10001");
                 bytes.replace(38 + 2, 8, "OUTSIDE1");  // record 1, the number at 3
                 testing::WriteFile(set / "R10001", bytes);
                 fs::remove(set / data / "R10001");
                 fs::create_symlink(set / "R10001", set / data / "R10001");
             },
         .log = "Program Start from",
         .absent = "OUTSIDE1"},
        {.name = "a sparse catalog file of 2 GiB",
         .by_hand = [&](const fs::path& set) { sparse(set / "tmp/tMRCatalog.ini", k2GiB); },
         .status = 1,
         .log = "*Error  1050 : Catalog settings file "},
        {.name = "a sparse ttymap of 2 GiB",
         .by_hand = [&](const fs::path& set) { sparse(set / link_share / "ttymap", k2GiB); },
         .status = 1,
         .log = R"(*Error  1051 : Text file \\DS1\TMARLNK\ttymap is larger than 1048576 bytes)"},
        {.name = "a sparse LINKSFILE of 2 GiB",
         .by_hand = [&](const fs::path& set) { sparse(set / link_share / "LINKSFILE", k2GiB); },
         .status = 1,
         .log = "*Error  1052 : Link file "},
        {.name = "a directory file of 64 MiB, zeros after its entries",
         .by_hand =
             [&](const fs::path& set) { sparse(set / data / "DATAD1", uintmax_t{64} << 20); },
         .red = every_view_but_ar_and_cash,
         .log = R"(  1053  Directory file \\DS1\TMARLNK\D01\DATAD1 is larger than 1048576 bytes)"},
    };
    int set = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Image image = SeveralLeaves();
        row.damage(image);
        const fs::path dir = root_ / ("set" + std::to_string(set++));
        image.Write(dir / "share", dir / "tmp");
        row.by_hand(dir);
        const testing::ScopedEnv shares("DASHVANE_SHARES", dir / "share");
        const testing::ScopedEnv tmpdir("TMPDIR", dir / "tmp");
        const testing::ScopedEnv temp("TEMP", dir / "tmp");
        const DumpRun run = Dump();
        EXPECT_EQ(run.status, row.status) << run.err;
        EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("runtime error"), std::string::npos) << run.err;
        const std::vector<Json> docs = Documents(run.out);
        ASSERT_EQ(docs.size(), 1u);
        std::set<size_t> red;
        for (size_t i = 0; i < 22; ++i) {
            if (std::get<bool>(docs[0]["recap"][i]["error"].v)) red.insert(i);
        }
        EXPECT_EQ(red, row.red);
        const Json& log = docs[0]["log"];
        std::string lines;
        for (size_t i = 0; i < log.size(); ++i) lines += log[i].str() + "\n";
        EXPECT_NE(lines.find(row.log), std::string::npos) << lines;
        if (row.absent != nullptr) {
            EXPECT_EQ(run.out.find(row.absent), std::string::npos);
        }
    }
}

// A file that is there but that this user may not read reads as refused, never as missing,
// and every message names it and the system's reason: the catalog file (whose keys would all
// read as empty, so that the share check of the main window's engine says why no server is
// named), the terminal map after the dealer's own text, the link table, the A/R summary. As
// root the dump runs as nobody, over a set nobody owns, so that the file's mode counts.
TEST_F(DumpTest, AFileThereButRefusedReadsAsRefusedAndIsNamed) {
    namespace fs = std::filesystem;
    struct Case {
        const char* file;  // under the set's folder
        int status;
        const char* said;  // on stderr or in the log; PATH stands for the file's local path
    };
    const Case cases[] = {
        {"tmp/tMRCatalog.ini", 1,
         "EpcError: The catalog settings file PATH can't be read (Permission denied).\n"
         "Searched the local folder "},
        {"tmp/tMRCatalog.ini", 1,
         "Connection Error: You are attempting to connect to: \\\\\\TMARLNK\\ and this shows "
         "to be an invalid network share\nNo server is named: the catalog settings file PATH "
         "can't be read (Permission denied).\n"},
        {"share/DS1/TMARLNK/ttymap", 1,
         "*Error  -10 : Terminal File 'ttymap' not found on drive \\\\DS1\\TMARLNK: it is there "
         "but can't be read (Permission denied)"},
        {"share/DS1/TMARLNK/LINKSFILE", 1,
         "*Error  70 : Could not open file: \\\\DS1\\TMARLNK\\LINKSFILE (Permission denied)"},
        {"share/DS1/TMARLNK/D01/DARR.KRLI", 0,
         "*Error in frmAr GetAR routine error # :  70  Could not open file: "
         "\\\\DS1\\TMARLNK\\D01\\DARR.KRLI (Permission denied)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        fs::remove_all(root_ / "share");
        fs::remove_all(root_ / "tmp");
        WriteDemo();
        const std::string file = root_ / c.file;
        ::chmod(file.c_str(), 0);
        std::string program = DASHVANE_DUMP;
        if (::geteuid() == 0) {
            // nobody may not pass through the checkout's folders (/root is 0700): the program
            // and what stands beside it are run from the set's own folder.
            const fs::path bin = root_ / "bin";
            fs::create_directories(bin);
            const fs::path built = fs::path(DASHVANE_DUMP).parent_path();
            for (const char* name : {"dashvane-dump", "dashvane-fetch"})
                if (fs::exists(built / name))
                    fs::copy_file(built / name, bin / name, fs::copy_options::overwrite_existing);
            program = bin / "dashvane-dump";
            ASSERT_EQ(::chown(root_.path().c_str(), 65534, 65534), 0);
            for (const auto& entry : fs::recursive_directory_iterator(root_.path()))
                ASSERT_EQ(::lchown(entry.path().c_str(), 65534, 65534), 0);
            run_as_ = "setpriv --reuid=65534 --regid=65534 --clear-groups env HOME='" +
                      root_.path() + "' ";
        }
        const DumpRun run = Dump("", program);
        EXPECT_EQ(run.status, c.status) << run.err;
        std::string said = c.said;
        if (const size_t at = said.find("PATH"); at != std::string::npos) said.replace(at, 4, file);
        const std::string everything = run.err + LogFile();
        EXPECT_NE(everything.find(said), std::string::npos) << everything;
        EXPECT_EQ(everything.find("is missing"), std::string::npos) << everything;
    }
}

// Two PUTBI leaves of one key that name each other, in an index claiming 70,000 nodes: Open
// Purchase Orders ends in its error path after a handful of rows of that key's order.
TEST_F(DumpTest, ALoopOfLeavesOfOneKeyEndsAfterAHandfulOfRows) {
    sample::DataSetImage image = SeveralLeaves();
    sample::damage::LoopLeavesOfOneKey(image, "PUTBI", 70000);
    image.Write(root_ / "share", root_ / "tmp");
    const DumpRun run = Dump();
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<Json> docs = Documents(run.out);
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_TRUE(std::get<bool>(docs[0]["recap"][8]["error"].v));
    const Json& rows = docs[0]["views"]["frmPo"]["grids"]["grdPO"]["rows"];
    EXPECT_GT(rows.size(), 0u);
    EXPECT_LE(rows.size(), 8u);
    std::string lines;
    for (size_t i = 0; i < docs[0]["log"].size(); ++i) lines += docs[0]["log"][i].str() + "\n";
    EXPECT_NE(lines.find("*Error in frmPO GetPO routine error # :  1001  Damaged index file PUTBI: "
                         "the leaf chain comes back to node "),
              std::string::npos)
        << lines;
}

// The order detail of every row of the parts views' lists, as the button opens it.
TEST_F(DumpTest, DetailsShowWhatEachRowsButtonOpens) {
    WriteDemo();
    const DumpRun plain = Dump();
    EXPECT_EQ(plain.out.find("\"details\""), std::string::npos);  // only when asked for
    const DumpRun run = Dump("--details");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<Json> docs = Documents(run.out);
    ASSERT_EQ(docs.size(), 1u);
    const Json& details = docs[0]["details"];
    EXPECT_THROW(details["frmInv"], std::out_of_range);  // its grid has no buttons

    struct List {
        const char* form;
        const char* grid;
        std::string caption;  // the detail's caption before the document number
    };
    for (const List& list : {List{"frmReturn", "grdReturn", "Return Order Detail      Return # : "},
                             List{"frmPo", "grdPO", "Purchase Order Detail      PO # : "}}) {
        SCOPED_TRACE(list.form);
        const Json& rows = docs[0]["views"][list.form]["grids"][list.grid]["rows"];
        const Json& forms = details[list.form];
        ASSERT_GT(rows.size(), 0u);
        ASSERT_EQ(forms.size(), rows.size());
        for (size_t r = 0; r < rows.size(); ++r) {
            const std::string number = rows[r][0].str();
            const Json& d = forms[number];
            EXPECT_EQ(d["form"].str(), "frmPODetail");
            EXPECT_EQ(d["caption"].str(), list.caption + number);
            // Vendor, date and total from the row; the items are the lines listed.
            EXPECT_EQ(d["labels"]["lblDetail(0)"].str(), rows[r][2].str());
            EXPECT_EQ(d["labels"]["lblDetail(1)"].str(), rows[r][3].str());
            EXPECT_EQ(d["labels"]["lblDetail(2)"].str(), rows[r][4].str());
            const Json& lines = d["grids"]["grdPod"]["rows"];
            EXPECT_GT(lines.size(), 0u);
            EXPECT_EQ(d["labels"]["lblDetail(3)"].str(), std::to_string(lines.size()));
            EXPECT_EQ(d["grids"]["grdPod"]["columns"].size(), 6u);
            EXPECT_THROW(d["errors"], std::out_of_range);  // every step read
        }
    }
    EXPECT_EQ(docs[0]["log"].size(), 1u);  // the start line: no click failed
}

TEST_F(DumpTest, DetailsOfADamagedSetCarryTheirErrorsAndMessages) {
    sample::DataSetImage image = sample::BuildDemoSet(sample::Scale::kDemo);
    sample::damage::FindNamedDamage("parti-missing")->apply(image);
    image.Write(root_ / "share", root_ / "tmp");
    const DumpRun run = Dump("--details");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<Json> docs = Documents(run.out);
    ASSERT_EQ(docs.size(), 1u);
    const Json& returns = docs[0]["details"]["frmReturn"];
    ASSERT_GT(returns.size(), 0u);
    const Json& first = std::get<Json::Object>(returns.v).front().second;
    // The lines show without their descriptions; the return detail says what failed, and the
    // same line is in the operation log.
    EXPECT_EQ(first["grids"]["grdPod"]["rows"][0][2].str(), "Part Not Found");
    EXPECT_GT(first["errors"].size(), 0u);
    EXPECT_NE(first["errors"][0].str().find("File not Found"), std::string::npos);
    ASSERT_EQ(first["messages"].size(), 1u);
    const std::string message = first["messages"][0].str();
    EXPECT_EQ(message.rfind("Error in frmReturn ShowReturnDetail routine error # :  -10  ", 0), 0u)
        << message;
    const Json& log = docs[0]["log"];
    bool logged = false;
    for (size_t i = 0; i < log.size(); ++i) logged = logged || log[i].str() == "*" + message;
    EXPECT_TRUE(logged);
    // The purchase-order detail reports nothing but still lists its failed steps.
    const Json& order = std::get<Json::Object>(docs[0]["details"]["frmPo"].v).front().second;
    EXPECT_GT(order["errors"].size(), 0u);
    EXPECT_THROW(order["messages"], std::out_of_range);
}

TEST_F(DumpTest, WrongArgumentIsRefused) {
    for (const char* bad : {"--fetch-workers", "--fetch-workers x", "--fetch-workers 65"})
        EXPECT_EQ(Dump(bad).status, 2) << bad;
    const DumpRun run = Dump("--bogus");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage: dashvane-dump"), std::string::npos);
}

}  // namespace
}  // namespace dv
