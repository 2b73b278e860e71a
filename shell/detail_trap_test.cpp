// The trap of detail steps: kept errors, the log line of the first, and its two messages.
#include "shell/detail_trap.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/error.h"
#include "shell/detail_form.h"
#include "shell/operation_log.h"

namespace dv {
namespace {

TEST(DetailTrap, KeepsEachStepsErrorAndReportsTheFirst) {
    struct Case {
        const char* name;
        void (*report)(const DetailTrap&, DetailHost&);
        std::vector<std::string> messages;
    };
    const std::string line =
        "*Error in frmX grdX_BtnClick routine error # :  81  Illegal Record Number";
    const Case cases[] = {
        {"log", [](const DetailTrap& t, DetailHost&) { t.Log(); }, {}},
        {"report", [](const DetailTrap& t, DetailHost& h) { t.Report(h); }, {line.substr(1)}},
        {"not shown",
         [](const DetailTrap& t, DetailHost& h) { t.ReportNotShown(h, "The unit detail"); },
         {"The unit detail could not be shown.  Error 81 : Illegal Record Number"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        CapturingDetailHost host;
        DetailTrap trap("frmX", "grdX_BtnClick");
        EXPECT_TRUE(trap.Step([] {}));
        EXPECT_FALSE(trap.Step([] { throw BasicError(81, "Fetch", "Illegal Record Number"); }));
        EXPECT_FALSE(trap.Step([] { throw std::out_of_range("row\n2"); }));  // the next step ran
        ASSERT_EQ(trap.errors().size(), 2u);
        EXPECT_EQ(trap.errors()[1].number, 51);
        EXPECT_EQ(trap.errors()[1].description, EscapeLogText("row\n2"));
        c.report(trap, host);
        EXPECT_EQ(log.lines(), std::vector<std::string>{line});
        EXPECT_EQ(host.messages, c.messages);
    }
}

TEST(DetailTrap, NothingTrappedReportsNothingAndAFailingMessageEndsNothing) {
    LogCapture log;
    CapturingDetailHost host;
    DetailTrap quiet("frmX", "r");
    quiet.Step([] {});
    EXPECT_EQ(quiet.Log(), "");
    quiet.Report(host);
    quiet.ReportNotShown(host, "It");
    EXPECT_TRUE(log.lines().empty());
    EXPECT_TRUE(host.messages.empty());

    class FailingHost : public NoDetailHost {
      public:
        void Message(const std::string&) override { throw std::runtime_error("no box"); }
    } failing;
    DetailTrap trap("frmX", "r");
    trap.Step([] { throw std::runtime_error("x"); });
    EXPECT_NO_THROW(trap.Report(failing));
    EXPECT_NO_THROW(trap.ReportNotShown(failing, "It"));
    EXPECT_EQ(log.lines().size(), 2u);
}

}  // namespace
}  // namespace dv
