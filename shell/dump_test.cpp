// dashvane-dump as a user runs it: on the demo data set written by the sample writer, with and
// without --refresh, and on a catalog that is missing or names an unreachable share.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/test_support.h"
#include "sampledata/demo_set.h"
#include "sampledata/this_computer.h"

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
          temp_env_("TEMP", root_ / "tmp") {}

    DumpRun Dump(const std::string& args = "") {
        const std::string err_path = root_ / "stderr.txt";
        const std::string command =
            std::string("'") + DASHVANE_DUMP + "' " + args + " 2>'" + err_path + "'";
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
};

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

// The sample writer's damage on demand, as a script uses it: a set broken by name, then dumped.
TEST_F(DumpTest, NamedDamagesOfTheSampleWriterShowTheirErrorPaths) {
    const auto sample = [&](const std::string& args) {
        const std::string command = std::string("'") + DASHVANE_SAMPLE +
                                    "' --scale tiny --as-of 2024-11-15 " + args + " '" + root_.path() +
                                    "' >/dev/null 2>&1";
        return std::system(command.c_str());
    };
    ASSERT_EQ(sample("--damage linei-root --damage vndri-missing"), 0);
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
}

TEST_F(DumpTest, WrongArgumentIsRefused) {
    const DumpRun run = Dump("--bogus");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage: dashvane-dump"), std::string::npos);
}

}  // namespace
}  // namespace dv
