#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/file.h"
#include "platform/file_calls.h"
#include "platform/host.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/share.h"
#include "platform/tempdir.h"
#include "platform/test_support.h"

namespace dv::platform {
namespace {

using dv::testing::ScopedEnv;
using dv::testing::TempFolder;
using dv::testing::WriteFile;

TEST(PathsTest, UncPathMapsUnderTheSharesRoot) {
    TempFolder root;
    ScopedEnv env("DASHVANE_SHARES", root.path());
    std::filesystem::create_directories(root / "DS1/TMARLNK");
    ResetPathCache();
    EXPECT_EQ(LocalPath("\\\\DS1\\TMARLNK\\D01\\FILE0"), root / "DS1/TMARLNK/D01/FILE0");
    EXPECT_EQ(LocalPath("\\\\DS1\\TMARLNK\\"), root / "DS1/TMARLNK");
    // A target that starts with a colon gives two backslashes; the empty component goes.
    EXPECT_EQ(LocalPath("\\\\DS1\\TMARLNK\\\\D01\\X"), root / "DS1/TMARLNK/D01/X");
    EXPECT_EQ(LocalPath("\\\\\\TMARLNK\\"), std::nullopt);
    EXPECT_EQ(LocalPath("\\\\DS1"), std::nullopt);
}

TEST(PathsTest, SharesRootDefaultsToMnt) {
    ScopedEnv env("DASHVANE_SHARES", "");
    EXPECT_EQ(SharesRoot(), "/mnt");
}

TEST(PathsTest, MissingComponentsMatchWithoutRegardToCase) {
    TempFolder root;
    ScopedEnv env("DASHVANE_SHARES", root.path());
    ResetPathCache();
    WriteFile(root / "ds1/TMARLNK/d01/File0", "x");
    // The share's own folder is looked for once (is it mounted here, or read over SMB?); below
    // it, before a miss lists the folders on the way, a name stands as written.
    EXPECT_EQ(LocalPath("\\\\DS1\\tmarlnk\\D01\\FILE0"), root / "ds1/TMARLNK/D01/FILE0");
    EXPECT_TRUE(ListFoldersOn("\\\\DS1\\tmarlnk\\D01\\FILE0"));
    EXPECT_EQ(LocalPath("\\\\DS1\\tmarlnk\\D01\\FILE0"), root / "ds1/TMARLNK/d01/File0");
    // Below a component that exists in no case, the rest stays as written.
    EXPECT_EQ(LocalPath("\\\\DS1\\TMARLNK\\NOPE\\FILE0"), root / "ds1/TMARLNK/NOPE/FILE0");
}

TEST(PathsTest, DotDotNeverClimbsAboveTheShare) {
    TempFolder root;
    ScopedEnv env("DASHVANE_SHARES", root.path());
    std::filesystem::create_directories(root / "DS1/TMARLNK");
    ResetPathCache();
    EXPECT_EQ(LocalPath("\\\\DS1\\TMARLNK\\..\\..\\etc\\passwd"), root / "DS1/TMARLNK/etc/passwd");
    EXPECT_EQ(LocalPath("\\\\DS1\\TMARLNK\\D01\\.\\..\\X"), root / "DS1/TMARLNK/X");
    // Over SMB as well: the address never leaves the share.
    EXPECT_EQ(LocalPath("\\\\DS9\\TMARLNK\\..\\..\\etc\\passwd"), "smb://DS9/TMARLNK/etc/passwd");
    ResetPathCache();
}

// A folder is listed only after a miss, and once until the path cache is reset: resolving
// further names in it makes no file-system call, whatever their case, and a name the listing
// lacks costs no second listing; after the reset (the next load) a new file is found.
TEST(PathsTest, FoldersAreListedOnceALoadAndANewFileIsFoundByTheNext) {
    TempFolder root;
    ScopedEnv env("DASHVANE_SHARES", root.path());
    ResetPathCache();
    for (const char* name : {"FILE0", "Ab1", "R10001"})
        WriteFile(root / ("DS1/TMARLNK/D01/" + std::string(name)), "x");
    uint64_t lookups = FileCallCounts().lookups;
    EXPECT_EQ(LocalPath(R"(\\DS1\TMARLNK\D01\FILE0)"), root / "DS1/TMARLNK/D01/FILE0");
    // Exact names need no listing: one look-up finds the share's folder.
    EXPECT_EQ(FileCallCounts().lookups, lookups + 1);
    EXPECT_TRUE(ListFoldersOn(R"(\\ds1\tmarlnk\d01\FILE0)"));
    EXPECT_EQ(LocalPath(R"(\\ds1\tmarlnk\d01\FILE0)"), root / "DS1/TMARLNK/D01/FILE0");
    lookups = FileCallCounts().lookups;
    EXPECT_EQ(LocalPath(R"(\\DS1\TMARLNK\D01\AB1)"), root / "DS1/TMARLNK/D01/Ab1");
    EXPECT_EQ(LocalPath(R"(\\DS1\TMARLNK\D01\r10001)"), root / "DS1/TMARLNK/D01/R10001");
    EXPECT_FALSE(ListFoldersOn(R"(\\DS1\TMARLNK\D01\NONE)"));
    EXPECT_EQ(FileCallCounts().lookups, lookups);

    WriteFile(root / "DS1/TMARLNK/D01/v2002", "x");
    EXPECT_FALSE(ListFoldersOn(R"(\\DS1\TMARLNK\D01\V2002)"));
    EXPECT_EQ(LocalPath(R"(\\DS1\TMARLNK\D01\V2002)"), root / "DS1/TMARLNK/D01/V2002");
    EXPECT_EQ(FileCallCounts().lookups, lookups);
    ResetPathCache();
    EXPECT_TRUE(ListFoldersOn(R"(\\DS1\TMARLNK\D01\V2002)"));
    EXPECT_EQ(LocalPath(R"(\\DS1\TMARLNK\D01\V2002)"), root / "DS1/TMARLNK/D01/v2002");
    // Where a name exists as written and in another case, the one as written.
    WriteFile(root / "DS1/TMARLNK/D01/FILE0.bak", "x");
    WriteFile(root / "DS1/TMARLNK/D01/file0.BAK", "x");
    ResetPathCache();
    EXPECT_TRUE(ListFoldersOn(R"(\\DS1\TMARLNK\D01\X)"));
    EXPECT_EQ(LocalPath(R"(\\DS1\TMARLNK\D01\file0.BAK)"), root / "DS1/TMARLNK/D01/file0.BAK");
    EXPECT_EQ(LocalPath(R"(\\DS1\TMARLNK\D01\FILE0.BAK)"), root / "DS1/TMARLNK/D01/FILE0.bak");
}

// After a miss the path in another letter case, when there is one: looked up again only when
// the miss listed a folder, unless the path tried may predate an earlier listing.
TEST(PathsTest, AMissFindsTheNameInAnotherCase) {
    TempFolder root;
    ScopedEnv env("DASHVANE_SHARES", root.path());
    WriteFile(root / "DS1/TMARLNK/D01/File0", "x");
    WriteFile(root / "DS1/TMARLNK/D01/R10001", "x");
    const std::string file0 = root / "DS1/TMARLNK/D01/File0";
    struct Case {
        const char* what;
        bool listed_before;  // another miss listed the folder first
        Relook relook;
        const char* path;
        std::optional<std::string> other;
    };
    const Case cases[] = {
        {"another case", false, Relook::kIfListedNow, R"(\\DS1\TMARLNK\D01\FILE0)", file0},
        {"in no case", false, Relook::kIfListedNow, R"(\\DS1\TMARLNK\D01\NONE)", std::nullopt},
        {"as written", false, Relook::kIfListedNow, R"(\\DS1\TMARLNK\D01\R10001)", std::nullopt},
        {"listed before", true, Relook::kIfListedNow, R"(\\DS1\TMARLNK\D01\FILE0)", std::nullopt},
        {"listed before, even so", true, Relook::kEvenIfListedBefore, R"(\\DS1\TMARLNK\D01\FILE0)",
         file0},
    };
    for (const Case& c : cases) {
        ResetPathCache();
        const std::string tried = *LocalPath(c.path);
        if (c.listed_before) ListFoldersOn(R"(\\DS1\TMARLNK\D01\X)");
        EXPECT_EQ(OtherCasePath(c.path, tried, c.relook), c.other) << c.what;
    }
    ResetPathCache();
}

// With the cache (once a miss has listed the folders) and without it, every path resolves the
// same.
TEST(PathsTest, TheCacheChangesNoResolution) {
    TempFolder root;
    ScopedEnv env("DASHVANE_SHARES", root.path());
    WriteFile(root / "ds1/TMARLNK/d01/File0", "x");
    WriteFile(root / "ds1/TMARLNK/d01/file0", "x");
    WriteFile(root / "ds1/TMARLNK/D02/X", "x");
    const char* paths[] = {
        R"(\\DS1\tmarlnk\D01\FILE0)",
        R"(\\DS1\TMARLNK\d01\file0)",
        R"(\\DS1\TMARLNK\NOPE\FILE0)",
        R"(\\DS1\TMARLNK\..\..\etc\passwd)",
        R"(\\DS1\TMARLNK\D01\.\..\d02\x)",
        R"(\\DS1\TMARLNK\)",
        R"(\\DS2\TMARLNK\D01)",
        R"(\\DS1\TMARLNK\\D01\FILE0)",
    };
    for (const char* path : paths) {
        SetPathCacheEnabled(false);
        const auto plain = LocalPath(path);
        SetPathCacheEnabled(true);
        ListFoldersOn(path);
        EXPECT_EQ(LocalPath(path), plain) << path;
        EXPECT_EQ(LocalPath(path), plain) << path;
    }
}

TEST(TempDirTest, TmpdirElseSlashTmp) {
    {
        ScopedEnv env("TMPDIR", "/var/tmp/");
        EXPECT_EQ(TempDir(), "/var/tmp");
    }
    ScopedEnv env("TMPDIR", "");
    EXPECT_EQ(TempDir(), "/tmp");
    EXPECT_EQ(JoinPath("/tmp", "tMRCatalog.ini"), "/tmp/tMRCatalog.ini");
}

TEST(ProfileTest, SectionsAndKeysIgnoreCase) {
    const std::string text =
        "[Other]\r\nServer=WRONG\r\n[sendrake]\r\n  server = DS1 \r\nDirectory=D01\r\n"
        "Empty=\r\n; Server=COMMENT\r\nQuoted=\"a b\"\r\n[Sendrake]\r\nLater=1\r\n";
    EXPECT_EQ(ProfileValue(text, "Sendrake", "Server"), "DS1");
    EXPECT_EQ(ProfileValue(text, "SENDRAKE", "DIRECTORY"), "D01");
    EXPECT_EQ(ProfileValue(text, "Sendrake", "Empty"), "");
    EXPECT_EQ(ProfileValue(text, "Sendrake", "Missing"), "");
    EXPECT_EQ(ProfileValue(text, "Sendrake", "Quoted"), "a b");
    EXPECT_EQ(ProfileValue(text, "Nowhere", "Server"), "");
    EXPECT_EQ(ProfileValue(text, "Sendrake", "Later"), "");  // only the first section counts
}

TEST(ProfileTest, ValuesAreCutAt99Characters) {
    const std::string long_value(150, 'A');
    EXPECT_EQ(ProfileValue("[S]\nK=" + long_value + "\n", "S", "K"), std::string(99, 'A'));
    EXPECT_EQ(ProfileValue("[S]\nK=V", "s", "k"), "V");  // no line break at the end
}

TEST(FileTest, ReadPastTheEndGivesZeroBytes) {
    TempFolder dir;
    WriteFile(dir / "f", "ABCDEF");
    int error = -1;
    auto f = ReadOnlyFile::Open(dir / "f", &error);
    ASSERT_TRUE(f);
    EXPECT_EQ(error, 0);
    std::string out;
    EXPECT_EQ(f->ReadAt(2, 3, out), 0);
    EXPECT_EQ(out, "CDE");
    EXPECT_EQ(f->ReadAt(4, 5, out), 0);
    EXPECT_EQ(out, std::string("EF\0\0\0", 5));
    EXPECT_EQ(f->ReadAt(100, 2, out), 0);
    EXPECT_EQ(out, std::string(2, '\0'));
    // Into a buffer holding other bytes: those past the end are overwritten with zeros too.
    std::string buffer(6, 'x');
    EXPECT_EQ(f->ReadInto(3, 6, buffer.data()), 0);
    EXPECT_EQ(buffer, std::string("DEF\0\0\0", 6));
    int64_t length = 0;
    EXPECT_EQ(f->Length(length), 0);
    EXPECT_EQ(length, 6);
}

TEST(FileTest, MissingFileFolderAndOrdinaryFile) {
    TempFolder dir;
    WriteFile(dir / "f", "x");
    int error = 0;
    EXPECT_FALSE(ReadOnlyFile::Open(dir / "missing", &error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_TRUE(IsOrdinaryFile(dir / "f"));
    EXPECT_FALSE(IsOrdinaryFile(dir.path()));
    EXPECT_FALSE(IsOrdinaryFile(dir / "missing"));
    std::string out;
    EXPECT_EQ(ReadWholeFile(dir / "f", out), 0);
    EXPECT_EQ(out, "x");
    EXPECT_NE(ReadWholeFile(dir / "missing", out), 0);
    // A limit: a file of exactly that many bytes is read, one byte more is EFBIG.
    WriteFile(dir / "g", "abc");
    EXPECT_EQ(ReadWholeFile(dir / "g", out, 3), 0);
    EXPECT_EQ(out, "abc");
    EXPECT_EQ(ReadWholeFile(dir / "g", out, 2), EFBIG);
    EXPECT_EQ(out, "");
}

// Only an ordinary file is opened: a FIFO without a writer, a folder or a device reads as a
// missing file at once (a blocking open of the FIFO would never return), and the descriptor
// opened to find out is closed again.
TEST(FileTest, AnythingButAnOrdinaryFileIsNotFoundWithoutWaiting) {
    TempFolder dir;
    dv::testing::MakeFifo(dir / "fifo");
    for (const std::string& path : {dir / "fifo", dir.path(), std::string("/dev/null")}) {
        SCOPED_TRACE(path);
        const FileCalls before = FileCallCounts();
        int error = 0;
        EXPECT_FALSE(ReadOnlyFile::Open(path, &error));
        EXPECT_EQ(error, ENOENT);
        std::string out = "old";
        EXPECT_EQ(ReadWholeFile(path, out), ENOENT);
        EXPECT_EQ(out, "");
        const FileCalls spent = FileCallCounts() - before;
        EXPECT_EQ(spent.opens, spent.closes);
        EXPECT_EQ(spent.reads, 0u);
    }
}

// The length comes from the open's own fstat; Length() asks again (the file may have grown).
TEST(FileTest, AnOpenTakesTheLengthInTheSameCalls) {
    TempFolder dir;
    WriteFile(dir / "f", "ABCDEF");
    FileCalls before = FileCallCounts();
    int error = 0;
    const auto f = ReadOnlyFile::Open(dir / "f", &error);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->OpenedLength(), 6);
    FileCalls spent = FileCallCounts() - before;
    EXPECT_EQ(spent.opens, 1u);
    EXPECT_EQ(spent.fstats, 1u);
    EXPECT_EQ(spent.Calls(), 2u);
    WriteFile(dir / "f", "ABCDEFGH");
    int64_t length = 0;
    EXPECT_EQ(f->Length(length), 0);
    EXPECT_EQ(length, 8);
    EXPECT_EQ(f->OpenedLength(), 6);
    before = FileCallCounts();
    std::string out;
    EXPECT_EQ(ReadWholeFile(dir / "f", out), 0);
    EXPECT_EQ(out, "ABCDEFGH");
    spent = FileCallCounts() - before;
    EXPECT_EQ(spent.Calls(), 4u);  // open, fstat, one read, close
}

TEST(FileTest, ReadOnlyFileOpensAReadOnlyFile) {
    TempFolder dir;
    WriteFile(dir / "ro", "data");
    ::chmod((dir / "ro").c_str(), 0444);
    int error = 0;
    EXPECT_TRUE(ReadOnlyFile::Open(dir / "ro", &error));
    if (::geteuid() != 0) {
        EXPECT_FALSE(WritableFile::Open(dir / "ro", &error));
    }
}

TEST(FileTest, WritableFileWritesInPlaceAndNeverCreates) {
    TempFolder dir;
    WriteFile(dir / "w", "ABCDEF");
    int error = 0;
    EXPECT_FALSE(WritableFile::Open(dir / "new", &error));
    EXPECT_FALSE(std::filesystem::exists(dir / "new"));
    auto w = WritableFile::Open(dir / "w", &error);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->WriteAt(2, "xy"), 0);
    EXPECT_EQ(dv::testing::ReadFileBytes(dir / "w"), "ABxyEF");
}

// A share's folder is resolved once (symbolic links and all) until the path cache is reset; a
// file opened inside it counts only when it really lies there.
TEST(ShareTest, FilesOpenOnlyInsideTheirShareFolder) {
    TempFolder root, outside;
    ScopedEnv env("DASHVANE_SHARES", root.path());
    ResetPathCache();
    WriteFile(root / "real/TMARLNK/D01/F", "inside");
    WriteFile(root / "real/TMARLNK2/G", "beside");
    WriteFile(outside / "H", "outside");
    std::filesystem::create_directory_symlink(root / "real", root / "DS1");
    std::filesystem::create_symlink("../D01/F", root / "real/TMARLNK/D01/IN");
    std::filesystem::create_symlink("../../TMARLNK2/G", root / "real/TMARLNK/D01/BESIDE");
    std::filesystem::create_symlink(outside / "H", root / "real/TMARLNK/D01/OUT");

    const FileCalls before = FileCallCounts();
    const std::optional<std::string> folder = ShareFolder("\\\\ds1\\tmarlnk\\D01\\F");
    ASSERT_TRUE(folder);
    EXPECT_EQ(*folder, std::filesystem::canonical(root / "real/TMARLNK").string());
    EXPECT_EQ(ShareFolder("\\\\DS1\\TMARLNK\\ttymap"), folder);
    // The real path as written, which misses; the listings of the folders on the way; the real
    // path of the name they give. The second share path asks nothing.
    EXPECT_EQ((FileCallCounts() - before).lookups, 4u);
    EXPECT_FALSE(ShareFolder("\\\\DS1"));
    EXPECT_FALSE(ShareFolder("D01\\F"));

    for (const char* name : {"F", "IN", "BESIDE", "OUT"}) {
        SCOPED_TRACE(name);
        const bool inside = name[0] == 'F' || name[0] == 'I';
        int error = 0;
        const auto file = ReadOnlyFile::Open(root / "DS1/TMARLNK/D01/" + name, &error, *folder);
        EXPECT_EQ(file != nullptr, inside);
        EXPECT_EQ(error, inside ? 0 : ENOENT);
        // Without a folder to stay in, every link is followed.
        EXPECT_TRUE(ReadOnlyFile::Open(root / "DS1/TMARLNK/D01/" + name, &error));
    }
    ResetPathCache();
}

TEST(ShareTest, AReadableFolderIsAValidShare) {
    TempFolder root;
    ScopedEnv env("DASHVANE_SHARES", root.path());
    ScopedEnv port("DASHVANE_SMB_PORT", "1");  // no server answers there
    ResetPathCache();
    EXPECT_FALSE(ShareIsValid("\\\\DS1\\TMARLNK\\"));
    std::filesystem::create_directories(root / "ds1/tmarlnk");
    ResetPathCache();  // the next load
    EXPECT_TRUE(ShareIsValid("\\\\DS1\\TMARLNK\\"));
    WriteFile(root / "DS2/TMARLNK", "a file, not a folder");
    EXPECT_FALSE(ShareIsValid("\\\\DS2\\TMARLNK\\"));
}

TEST(HostTest, DottedAddressesConvertAsTheyStand) {
    const int32_t a = GetHostAddress("192.168.1.10");
    const auto* b = reinterpret_cast<const unsigned char*>(&a);
    EXPECT_EQ(b[0], 192);
    EXPECT_EQ(b[3], 10);
    EXPECT_EQ(DottedAddress(a), "192.168.1.10");
    EXPECT_EQ(GetHostAddress("no-such-host.invalid"), -1);
    EXPECT_EQ(DottedAddress(-1), "255.255.255.255");
    EXPECT_FALSE(ComputerName().empty());
}

TEST(HostTest, ServicesCanBeReplaced) {
    const int32_t fixed = GetHostAddress("10.0.0.7");
    SetHostServices(
        {[] { return std::string("WS7"); }, [fixed](std::string_view) { return fixed; }});
    EXPECT_EQ(ComputerName(), "WS7");
    EXPECT_EQ(DottedAddress(GetHostAddress("anything")), "10.0.0.7");
    SetHostServices({});
    EXPECT_NE(GetHostAddress("127.0.0.1"), GetHostAddress("10.0.0.7"));
}

TEST(HostTest, OwnAddressPrefersANonLoopbackAddress) {
    const auto a = [](const char* dotted) { return GetHostAddress(dotted); };
    struct Case {
        const char* what;
        int32_t named;
        std::vector<int32_t> interfaces;
        const char* want;
    };
    const Case cases[] = {
        {"the name's LAN address", a("10.0.0.7"), {a("192.168.1.10")}, "10.0.0.7"},
        {"name on 127.0.1.1: the interface", a("127.0.1.1"), {a("192.168.1.10")}, "192.168.1.10"},
        {"loopback interfaces skipped",
         a("127.0.1.1"),
         {a("127.0.0.1"), a("10.1.2.3")},
         "10.1.2.3"},
        {"name unresolved: the interface", -1, {a("192.168.1.10")}, "192.168.1.10"},
        {"no interface: the name's loopback", a("127.0.1.1"), {}, "127.0.1.1"},
        {"nothing at all", -1, {}, "255.255.255.255"},
    };
    for (const Case& c : cases) {
        SetHostServices({[] { return std::string("WS7"); },
                         [&c](std::string_view host) { return host == "WS7" ? c.named : -1; },
                         [&c] { return c.interfaces; }});
        EXPECT_EQ(DottedAddress(OwnAddress("WS7")), c.want) << c.what;
    }
    SetHostServices({});
    for (const int32_t address : InterfaceAddresses())
        EXPECT_NE(DottedAddress(address), "127.0.0.1");
}

TEST(MessagesTest, RecordingSinkKeepsTitleTextAndIcon) {
    auto sink = std::make_shared<RecordingMessageSink>();
    auto old = SetMessageSink(sink);
    ShowMessage("EpcError", "text", MessageIcon::kCritical);
    SetMessageSink(old);
    ASSERT_EQ(sink->messages.size(), 1u);
    EXPECT_EQ(sink->messages[0].title, "EpcError");
    EXPECT_EQ(sink->messages[0].text, "text");
    EXPECT_EQ(sink->messages[0].icon, MessageIcon::kCritical);
}

}  // namespace
}  // namespace dv::platform
