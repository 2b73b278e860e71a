#include "engine/startup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

#include "engine/business_basic.h"
#include "engine/fill_cache.h"
#include "engine/packed_text.h"
#include "engine/physical.h"
#include "platform/fake_share.h"
#include "platform/file_calls.h"
#include "platform/host.h"
#include "test_support/engine_fixture.h"

namespace dv {
namespace {

using testing::ExpectError;

TEST(TerminalMapTest, MatchingRules) {
    struct Case {
        const char* what;
        std::string map;
        std::string terminal;
    } cases[] = {
        {"name in other letter case", "ws7 4\n", "4"},
        {"address written exactly", "10.0.0.7 5\n", "5"},
        {"address with a leading zero", "10.0.0.07 5\n", "0"},
        {"second field up to its comma", "WS7 12,extra\n", "12"},
        {"a single field is skipped", "WS7\nWS7 3\n", "3"},
        {"the first matching line wins", "OTHER 1\r\nWS7 2\r\n10.0.0.7 3\r\n", "2"},
        {"leading blanks and runs of blanks", "   WS7     9   x y\n", "9"},
        {"tabs do not separate", "WS7\t8\n", "0"},
        {"no line matches", "WS1 1\nWS2 2\n", "0"},
        {"an empty map", "", "0"},
        {"a last line without a line break", "A 1\nWS7 6", "6"},
        {"lines ended by CR alone", "A 1\rWS7 7\r", "7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TerminalFromMap(c.map, "WS7", "10.0.0.7"), c.terminal) << c.what;
    ExpectError([] { TerminalFromMap("WS7 ,,,\n", "WS7", "10.0.0.7"); }, 9,
                "tMRDataEngine_Initialization", "Subscript out of range");
}

class StartupTest : public testing::EngineFixture {};

TEST_F(StartupTest, CatalogSettingsFillTheSystemObjectAndCreateTheEngine) {
    WriteMinimalDataSet();
    WriteCatalog(
        "[Sendrake]\nServer=DS1\nDataShare=DATA\nCatalogShare=CAT\nDirectory=D01\n"
        "TerminalID=77\nCustomerNumber=4711\n");
    StartEngine();
    EXPECT_EQ(mEpcInfo->Server, "DS1");
    EXPECT_EQ(mEpcInfo->DataShare, "DATA");
    EXPECT_EQ(mEpcInfo->CatalogShare, "\\\\DS1\\CAT\\");
    EXPECT_EQ(mEpcInfo->Directory, "D01");
    EXPECT_EQ(mEpcInfo->TerminalID, "77");
    EXPECT_EQ(mEpcInfo->CustomerNumber, 4711);
    ASSERT_TRUE(mSystem);
    EXPECT_EQ(mSystem->mUNCDrive, "DS1");
    EXPECT_EQ(mSystem->mDirectory, "D01");
    EXPECT_EQ(mSystem->ComputerName, "WS7");
    EXPECT_EQ(mSystem->IP, "10.0.0.7");
    EXPECT_EQ(mSystem->TerminalID, "12");
    EXPECT_EQ(mSystem->TMARLNK(), "\\\\DS1\\TMARLNK\\D01");
    EXPECT_EQ(mSystem->CATCON(), "\\\\DS1\\CATCON\\");
    EXPECT_EQ(mBusinessBasic->OrleSys(), mSystem);
    EXPECT_TRUE(mLinks && mOpenFiles && mLogicalFiles);
    EXPECT_TRUE(messages().empty());
}

TEST_F(StartupTest, MissingAndEmptyKeys) {
    WriteMinimalDataSet();
    WriteCatalog("[Sendrake]\nServer=DS1\nDirectory=D01\nDataShare=\n");
    StartEngine();
    EXPECT_EQ(mEpcInfo->DataShare, "");
    EXPECT_EQ(mEpcInfo->CatalogShare, "\\\\DS1\\\\");
    EXPECT_EQ(mEpcInfo->CustomerNumber, 0);
}

TEST_F(StartupTest, TheCatalogFileIsOpenedOnceForAllItsKeys) {
    // No share: the start-up stops at the share check, so the catalog is the only file opened.
    WriteCatalog("[Sendrake]\nServer=NOSERVER\nDirectory=D01\nTerminalID=7\nCustomerNumber=5\n");
    const platform::FileCalls before = platform::FileCallCounts();
    LoadCatalogSettings();
    EXPECT_EQ(platform::FileCallCounts().opens - before.opens, 1u);
    EXPECT_EQ(mEpcInfo->TerminalID, "7");
    EXPECT_EQ(mEpcInfo->CustomerNumber, 5);
}

TEST_F(StartupTest, MissingCatalogFileShowsItsMessageAndCreatesNoEngine) {
    WriteMinimalDataSet();
    std::filesystem::remove(temp_ / "tMRCatalog.ini");
    LoadCatalogSettings();
    EXPECT_FALSE(mBusinessBasic);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, "EpcError");
    // The dealer's text, then where this machine looked and the setting that chose it.
    EXPECT_EQ(messages()[0].text, "You are missing file: " + (temp_ / "tMRCatalog.ini") +
                                      "    Are you running Tesmar Workstation?\n"
                                      "Searched the local folder " +
                                      temp_.path() + " (TMPDIR=" + temp_.path() + ").");
    ASSERT_TRUE(mSystem);
    EXPECT_EQ(mSystem->mUNCDrive, "");
    EXPECT_FALSE(mLinks);
}

TEST_F(StartupTest, MissingShareShowsConnectionErrorAndFailsWith91) {
    // No local folder for the share: its server is asked over SMB, and says why it can't serve.
    testing::ScopedFakeShare server;
    server->fail = EHOSTUNREACH;
    WriteCatalog("[Sendrake]\nServer=NOSERVER\nDirectory=D01\n");
    LoadCatalogSettings();
    EXPECT_FALSE(mBusinessBasic);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, "Connection Error");
    EXPECT_EQ(messages()[0].text,
              "You are attempting to connect to: \\\\NOSERVER\\TMARLNK\\ and this shows to be an "
              "invalid network share\nNo local folder " +
                  shares_.path() + "/NOSERVER/TMARLNK (DASHVANE_SHARES=" + shares_.path() +
                  ", which maps \\\\SERVER\\SHARE to <that folder>/SERVER/SHARE), so the share "
                  "TMARLNK was asked of the server NOSERVER over SMB (smb://NOSERVER/TMARLNK): the "
                  "server can't be reached (No route to host).");
    EXPECT_EQ(mSystem->ComputerName, "");  // nothing else happened
    ExpectError([] { cBusinessBasic engine; }, 91, "tMRDataEngine_Initialization",
                "Object variable or With block variable not set");
    EXPECT_EQ(messages().size(), 2u);  // shown again by the second creation

    const testing::ScopedEnv unset("DASHVANE_SHARES", "");
    const testing::ScopedEnv port("DASHVANE_SMB_PORT", "4450");
    LoadCatalogSettings();
    ASSERT_EQ(messages().size(), 3u);
    EXPECT_NE(messages()[2].text.find("\nNo local folder /mnt/NOSERVER/TMARLNK "
                                      "(DASHVANE_SHARES is not set, so /mnt, which maps"),
              std::string::npos)
        << messages()[2].text;
    EXPECT_NE(messages()[2].text.find("(smb://NOSERVER:4450/TMARLNK)"), std::string::npos)
        << messages()[2].text;
}

// Within one start-up the main window's engine takes the first engine's answer of the share
// check, and its message gives the same reason: over SMB the server's address is called an SMB
// address, never a local folder; with no server named, what the catalog file lacked.
TEST_F(StartupTest, BothConnectionMessagesOfOneStartUpGiveTheReason) {
    testing::ScopedFakeShare server;
    server->fail = EACCES;
    struct Case {
        const char* catalog;  // nullptr: no catalog file
        const char* said;     // the line under the dealer's text, in both messages
    };
    const std::string catalog = temp_ / "tMRCatalog.ini";
    const Case cases[] = {
        {"[Sendrake]\nServer=DS9\nDirectory=D01\n",
         "so the share TMARLNK was asked of the server DS9 over SMB (smb://DS9/TMARLNK): "
         "Permission denied."},
        {"[Sendrake]\nDirectory=D01\n",
         "\nNo server is named: the catalog settings file CATALOG names none (key Server of "
         "section Sendrake)."},
        {nullptr, "\nNo server is named: the catalog settings file CATALOG is missing."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.catalog != nullptr ? c.catalog : "no catalog");
        std::filesystem::remove(catalog);
        if (c.catalog != nullptr) WriteCatalog(c.catalog);
        const size_t before = messages().size();
        {
            const FillCache load;
            LoadCatalogSettings();
            ExpectError([] { cBusinessBasic engine; }, 91, "tMRDataEngine_Initialization",
                        "Object variable or With block variable not set");
        }
        std::vector<platform::Message> boxes;
        for (size_t i = before; i < messages().size(); ++i)
            if (messages()[i].title == "Connection Error") boxes.push_back(messages()[i]);
        ASSERT_EQ(boxes.size(), c.catalog != nullptr ? 2u : 1u);
        std::string said = c.said;
        if (const size_t at = said.find("CATALOG"); at != std::string::npos)
            said.replace(at, 7, catalog);
        for (const platform::Message& box : boxes) {
            EXPECT_NE(box.text.find(said), std::string::npos) << box.text;
            EXPECT_EQ(box.text.find("local folder smb://"), std::string::npos) << box.text;
        }
        EXPECT_EQ(boxes.front().text, boxes.back().text);
    }
}

// A share folder that is there but is no folder says so instead of looking like a missing one.
TEST_F(StartupTest, AShareFolderThatCanNotBeReadSaysWhy) {
    WriteCatalog("[Sendrake]\nServer=DS5\nDirectory=D01\n");
    testing::WriteFile(shares_ / "DS5/TMARLNK", "a file where the share's folder belongs");
    LoadCatalogSettings();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text,
              "You are attempting to connect to: \\\\DS5\\TMARLNK\\ and this shows to be an "
              "invalid network share\nSearched the local folder " +
                  shares_.path() + "/DS5/TMARLNK (DASHVANE_SHARES=" + shares_.path() +
                  ", which maps \\\\SERVER\\SHARE to <that folder>/SERVER/SHARE): it is there but "
                  "can't be read (not a folder).");
}

TEST_F(StartupTest, MissingTerminalMapFailsWithMinus10) {
    WriteMinimalDataSet();
    std::filesystem::remove(SharePath("ttymap"));
    LoadCatalogSettings();
    EXPECT_FALSE(mBusinessBasic);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(mSystem->TerminalID, "0");
    ExpectError([] { cBusinessBasic engine; }, -10, "tMRDataEngine_Initialization",
                "Terminal File 'ttymap' not found on drive \\\\DS1\\TMARLNK");
    EXPECT_FALSE(mLinks);
}

TEST_F(StartupTest, AMatchingLineOfOnlyCommasFailsTheCreation) {
    WriteMinimalDataSet();
    WriteShareFile("ttymap", "OTHER 1\nWS7 ,,\n");
    LoadCatalogSettings();
    EXPECT_FALSE(mBusinessBasic);
    EXPECT_EQ(mSystem->TerminalID, "0");
    ExpectError([] { cBusinessBasic engine; }, 9, "tMRDataEngine_Initialization",
                "Subscript out of range");
}

TEST_F(StartupTest, TheMapMatchesTheAddressAndFindsTheMapInAnyCase) {
    WriteMinimalDataSet();
    std::filesystem::remove(SharePath("ttymap"));
    WriteShareFile("TTYMAP", "10.0.0.7 31\n");
    StartEngine();
    EXPECT_EQ(mSystem->TerminalID, "31");
    EXPECT_EQ(Sys(4), 31);
}

TEST_F(StartupTest, AHostNameOnALoopbackAddressMatchesTheMapByTheInterfaceAddress) {
    // Addresses as GetHostAddress gives them: the dotted bytes in memory order.
    const auto address = [](unsigned char a, unsigned char b, unsigned char c, unsigned char d) {
        const unsigned char bytes[4] = {a, b, c, d};
        int32_t out = 0;
        std::memcpy(&out, bytes, sizeof out);
        return out;
    };
    const int32_t loopback = address(127, 0, 1, 1);
    const int32_t lan = address(192, 168, 1, 10);
    platform::SetHostServices(
        {[] { return std::string("WS7"); },
         [loopback](std::string_view host) { return host == "WS7" ? loopback : -1; },
         [lan] { return std::vector<int32_t>{lan}; }});
    WriteMinimalDataSet();
    WriteShareFile("ttymap", "127.0.1.1 30\n192.168.1.10 31\n");
    StartEngine();
    EXPECT_EQ(mSystem->IP, "192.168.1.10");
    EXPECT_EQ(mSystem->TerminalID, "31");
}

TEST_F(StartupTest, CustomerNumberThatIsNoNumberLeavesBeforeTheEngine) {
    WriteMinimalDataSet();
    WriteCatalog("[Sendrake]\nServer=DS1\nDirectory=D01\nCustomerNumber=12x\n");
    ExpectError([] { LoadCatalogSettings(); }, 13, "LoadCatalogSettings", "Type mismatch");
    EXPECT_FALSE(mBusinessBasic);
    EXPECT_FALSE(mLinks);
}

TEST_F(StartupTest, MissingLinksFileFailsTheCreation) {
    // Missing, a FIFO (which no open may wait on) or a folder: no LINKSFILE to read.
    const std::function<void(const std::string&)> replacements[] = {
        [](const std::string& path) { std::filesystem::remove(path); },
        [](const std::string& path) { testing::MakeFifo(path); },
        [](const std::string& path) {
            std::filesystem::remove(path);
            std::filesystem::create_directory(path);
        },
    };
    for (const auto& replace : replacements) {
        WriteMinimalDataSet();
        replace(SharePath("LINKSFILE"));
        LoadCatalogSettings();
        EXPECT_FALSE(mBusinessBasic);
        EXPECT_EQ(mSystem->TerminalID, "12");  // the steps before it took effect
        ExpectError([] { cBusinessBasic engine; }, 53, "cLinks",
                    "Could not open file: \\\\DS1\\TMARLNK\\LINKSFILE (No such file or directory)");
        std::filesystem::remove(SharePath("LINKSFILE"));
    }
}

TEST_F(StartupTest, EveryCreationResetsTheAlphabetEvenWhenItFails) {
    WriteCatalog("[Sendrake]\nServer=NOSERVER\nDirectory=D01\n");
    SwitchAlphabet(0, " ,-.");
    LoadCatalogSettings();
    EXPECT_EQ(Alphabet(), kDefaultAlphabet);
}

TEST_F(StartupTest, TheProgramExitsCleanlyWhileTheGlobalEngineHoldsOpenFiles) {
    WriteMinimalDataSet();
    WriteShareFile("D01/FILE0", std::string(1024, 'x'));
    EXPECT_EXIT(
        {
            LoadCatalogSettings();
            int16_t flag = 0;
            mBusinessBasic->BlockReadFile("FILE0", 1, flag);
            std::exit(mBusinessBasic && mOpenFiles->Count() == 1 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(StartupTest, ACreationWithoutASystemObjectFails) {
    ExpectError([] { cBusinessBasic engine; }, 91, "tMRDataEngine_Initialization",
                "Object variable or With block variable not set");
}

TEST_F(StartupTest, TwoEnginesShareTheTablesAndAReleaseDropsThemForAll) {
    WriteMinimalDataSet();
    testing::Entries entries;
    for (int i = 0; i < 100; ++i) entries.emplace_back("K" + std::to_string(1000 + i), i + 1);
    const sample::BuiltIndex built = testing::BuildIndex(5, entries, 10, 10);
    WriteShareFile("LINKSFILE", testing::LinkEntry(":D01:KEYI", "D01:KEYD1"));
    WriteShareFile("D01/KEYD1",
                   testing::DirEntry("KEYI", 0, 1, 512, 'I', built.layout.last_record));
    WriteShareFile("D01/KEYDB", std::string(512, '\0') + built.bytes);
    StartEngine();
    int16_t flag = 5;
    std::string cursor(544, '\0');
    std::string key = "K1000";
    int32_t record = 0;
    mBusinessBasic->KFind("KEYI", cursor, key, record, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(record, 1);
    for (int i = 0; i < 12; ++i) mBusinessBasic->KNext("KEYI", cursor, key, record, flag);
    EXPECT_EQ(key, "K1012");
    const auto first_tables = mLogicalFiles;
    const auto first_container = mLogicalFiles->Item("KEYI")->OpenFile;

    auto second = std::make_unique<cBusinessBasic>();  // rebuilds the program-wide tables
    EXPECT_NE(mLogicalFiles, first_tables);
    EXPECT_EQ(mLogicalFiles->Count(), 0);
    EXPECT_FALSE(first_container->handle);             // the old open-file table closed its files
    second->KNext("KEYI", cursor, key, record, flag);  // the cursor carries the walk
    EXPECT_EQ(key, "K1013");
    mBusinessBasic->KNext("KEYI", cursor, key, record, flag);
    EXPECT_EQ(key, "K1014");

    second.reset();  // a release drops the tables and the system object for every engine
    EXPECT_FALSE(mLinks || mOpenFiles || mLogicalFiles || mSystem);
    ExpectError([&] { mBusinessBasic->KNext("KEYI", cursor, key, record, flag); }, -10,
                "LogicalOpen", "File not Found: \"KEYI\"");
    ExpectError([&] { mBusinessBasic->BlockReadFile("FILE0", 1, flag); }, 91, "iOpenFile",
                "Object variable or With block variable not set");
    ExpectError([] { cBusinessBasic engine; }, 91, "tMRDataEngine_Initialization",
                "Object variable or With block variable not set");
}

TEST_F(StartupTest, ShareTextFilesReadAsLinesInAnyCaseAndAMissingOneIsNothing) {
    WriteShareFile("D01/DARR.KRLI", "Header\r\nCurrent,1234\r\n\r\nLast,5");
    const auto lines = ReadShareTextLines("\\\\DS1\\TMARLNK\\d01\\darr.krli", "GetAR");
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, (std::vector<std::string>{"Header", "Current,1234", "", "Last,5"}));

    EXPECT_FALSE(ReadShareTextLines("\\\\DS1\\TMARLNK\\D01\\NOFILE", "GetAR").has_value());
    // A folder of that name is no text file.
    EXPECT_FALSE(ReadShareTextLines("\\\\DS1\\TMARLNK\\D01", "GetAR").has_value());
    WriteShareFile("D01/EMPTY", "");
    EXPECT_EQ(ReadShareTextLines("\\\\DS1\\TMARLNK\\D01\\EMPTY", "GetAR"),
              std::vector<std::string>{});
}

}  // namespace
}  // namespace dv
