#include "shell/operation_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "engine/error.h"
#include "shell/view.h"

#include "platform/test_support.h"

namespace dv {
namespace {

using testing::ReadFileBytes;
using testing::ScopedEnv;
using testing::TempFolder;

TEST(LogPathTest, FollowsTempElseTheTemporaryDirectory) {
    TempFolder dir;
    {
        ScopedEnv temp("TEMP", dir.path());
        EXPECT_EQ(LogPathFromEnvironment(), dir.path() + "/dvoperation.log");
    }
    {
        ScopedEnv temp("TEMP", dir.path() + "/");
        EXPECT_EQ(LogPathFromEnvironment(), dir.path() + "//dvoperation.log");
    }
    {
        ScopedEnv tmpdir("TMPDIR", dir.path());
        ScopedEnv temp("TEMP", "");
        ::unsetenv("TEMP");
        EXPECT_EQ(LogPathFromEnvironment(), dir.path() + "/dvoperation.log");
    }
}

TEST(WriteLogTest, CreatesThenAppendsLinesEndingInCrLf) {
    TempFolder dir;
    const std::string path = dir / "dvoperation.log";
    WriteLog(path, "first");
    EXPECT_EQ(ReadFileBytes(path), "first\r\n");
    // An entry holding a CR LF makes two lines; a later run appends to the same file.
    WriteLog(path, "*Error in GetOption function error # :53\r\nFile not found");
    EXPECT_EQ(ReadFileBytes(path),
              "first\r\n*Error in GetOption function error # :53\r\nFile not found\r\n");
}

TEST(WriteLogTest, UnwritableLogIsReportedOnceAndNeverThrows) {
    TempFolder dir;
    const std::string path = dir / "missing-folder/dvoperation.log";
    ResetLogWarningForTest();
    ::testing::internal::CaptureStderr();
    EXPECT_NO_THROW(WriteLog(path, "one"));
    EXPECT_NO_THROW(WriteLog(path, "two"));
    EXPECT_NO_THROW(WriteLog(dir.path(), "a folder is no file"));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(path), std::string::npos) << err;
    EXPECT_EQ(err.find("dashvane"), err.rfind("dashvane")) << "reported more than once: " << err;
    ResetLogWarningForTest();
}

TEST(WriteLogTest, CaptureSeesTheLinesItMakes) {
    TempFolder dir;
    const std::string path = dir / "dvoperation.log";
    LogCapture capture;
    WriteLog(path, "a");
    {
        LogCapture inner;
        WriteLog(path, "b\r\nc");
        EXPECT_EQ(inner.lines(), (std::vector<std::string>{"b", "c"}));
    }
    EXPECT_EQ(capture.Take(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(capture.lines().empty());
}

TEST(WriteLogTest, APlantedLinkOrFifoIsNeverWrittenThrough) {
    TempFolder dir;
    const std::string victim = dir / "victim";
    testing::WriteFile(victim, "precious\n");
    const std::string link = dir / "dvoperation.log";
    ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
    const std::string dangling = dir / "dangling.log";  // would create the file it names
    ASSERT_EQ(::symlink((dir / "created").c_str(), dangling.c_str()), 0);
    const std::string fifo = dir / "fifo.log";
    testing::MakeFifo(fifo);
    ResetLogWarningForTest();
    ::testing::internal::CaptureStderr();
    WriteLog(link, "*Error planted");
    WriteLog(dangling, "*Error planted");
    WriteLog(fifo, "*Error planted");  // returns at once: no reader is waited for
    const std::string err = ::testing::internal::GetCapturedStderr();
    ResetLogWarningForTest();
    EXPECT_EQ(ReadFileBytes(victim), "precious\n");
    EXPECT_NE(::access((dir / "created").c_str(), F_OK), 0);
    EXPECT_NE(err.find(link), std::string::npos) << err;
}

TEST(WriteLogTest, ControlCharactersFromTheShareCannotForgeAnEntry) {
    EXPECT_EQ(EscapeLogText("plain \\\\DS1\\TMARLNK"), "plain \\\\DS1\\TMARLNK");
    EXPECT_EQ(EscapeLogText(std::string("a\r\nb\tc\x01\x7F\0d", 10)),
              "a\\r\\nb\\tc\\x01\\x7F\\x00d");
    // A file name with CR LF in an error of a fill, and in a shell error's description.
    const BasicError e(-10, "LogicalOpen", "File not Found: \"X\r\n*Error in frmInv forged\"");
    int32_t number = 0;
    std::string description;
    ErrorParts(e, number, description);
    EXPECT_EQ(description.find('\r'), std::string::npos);
    TempFolder dir;
    const std::string path = dir / "dvoperation.log";
    LogCapture capture;
    WriteLog(path, FillErrorLine("frmInv", "GetLineData", e.number(), e.description()));
    WriteLog(path, "*Error  -10 : " + description);
    ASSERT_EQ(capture.lines().size(), 2u);
    EXPECT_EQ(capture.lines()[0],
              "*Error in frmInv GetLineData routine error # :  -10  File not Found: "
              "\"X\\r\\n*Error in frmInv forged\"");
}

TEST(ReadLogTextTest, MissingFileReadsEmpty) {
    TempFolder dir;
    EXPECT_EQ(ReadLogText(dir / "none.log"), "");
    WriteLog(dir / "x.log", "line");
    EXPECT_EQ(ReadLogText(dir / "x.log"), "line\r\n");
}

// What the log viewer says: nothing for a log that reads and was written; for a folder that is
// missing, or a path that is a folder, the path and the system's reason of each failure.
TEST(LogFileProblemsTest, NameThePathAndTheSystemsReason) {
    TempFolder dir;
    const std::string good = dir / "x.log";
    WriteLog(good, "line");
    EXPECT_EQ(LogWriteError(good), "");
    EXPECT_EQ(LogFileProblems(good), "");

    const std::string missing = dir / "gone/dvoperation.log";
    WriteLog(missing, "line");
    EXPECT_EQ(LogWriteError(missing), "No such file or directory");
    EXPECT_EQ(LogFileProblems(missing),
              "The log file " + missing + " can't be read: No such file or directory\n" +
                  "The log file " + missing + " can't be written: No such file or directory");

    const std::string folder = dir / "folder.log";
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    WriteLog(folder, "line");
    EXPECT_EQ(LogFileProblems(folder), "The log file " + folder +
                                           " can't be read: Is a directory\nThe log file " +
                                           folder + " can't be written: Is a directory");
    // A later line that reaches a file is the last write: no failure to tell.
    WriteLog(good, "again");
    EXPECT_EQ(LogWriteError(missing), "");
    ResetLogWarningForTest();
}

}  // namespace
}  // namespace dv
