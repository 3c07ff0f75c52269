// Nothing of the engine outlives the browser hosts: no COM object, no page, no Chromium.
#include <algorithm>

#include "chromium_fixture.h"

namespace chromiumtest {
namespace {

// Without the keeper: the browser process belongs to the hosts of the test alone.
class Teardown : public ChromiumTest {
 public:
  static void SetUpTestSuite() { DropKeeper(); }
};

TEST_F(Teardown, DestroyAndRunModeCleanupLeaveNothing) {
  const std::wstring folder = Current().UserDataFolder();
  ASSERT_EQ(engine::LiveObjects(), 0);
  ASSERT_EQ(ChromiumProcesses(folder), 0);
  ReadyHost("One");
  ReadyHost("Two");
  const int objectsOfTwo = engine::LiveObjects();
  ASSERT_GT(ChromiumProcesses(folder), 0) << "the check must see the running browser";
  EXPECT_EQ(engine::PageCount(), 2);

  ASSERT_EQ(Exec(5, {"One"}), 1);
  EXPECT_EQ(engine::PageCount(), 1);
  EXPECT_LT(engine::LiveObjects(), objectsOfTwo);
  EXPECT_GT(ChromiumProcesses(folder), 0) << "the other host still uses the browser";
  EXPECT_EQ(Eval("Two", "'still here'"), "\"still here\"");

  Host().Message(2);
  created_.clear();
  EXPECT_EQ(engine::LiveObjects(), 0);
  EXPECT_EQ(engine::PageCount(), 0);
  EXPECT_EQ(engine::BrowserCount(), 0);
  EXPECT_EQ(ChromiumProcesses(folder), 0);
}

// The browser process itself ends: every host hears ProcessFailed, and nothing is left after.
TEST_F(Teardown, BrowserCrashReachesEveryHost) {
  const std::wstring folder = Current().UserDataFolder();
  ReadyHost("A");
  ReadyHost("B");
  ASSERT_EQ(Exec(8, {"A", "ProcessFailed", EventVariable("A"), "On A"}), 1);
  ASSERT_EQ(Exec(8, {"B", "ProcessFailed", EventVariable("B"), "On B"}), 1);
  const size_t mark = Mark();
  // The browser process dies from outside, as a crash would end it.
  ASSERT_TRUE(KillBrowserProcess(folder));
  ASSERT_TRUE(WaitForEvent("A", "ProcessFailed", mark));
  ASSERT_TRUE(WaitForEvent("B", "ProcessFailed", mark));
  EXPECT_EQ(EventsSince("A", mark), (std::vector<Event>{{"ProcessFailed", "ProcessFailedKind=0; URL="}}));
  EXPECT_EQ(EventsSince("B", mark), (std::vector<Event>{{"ProcessFailed", "ProcessFailedKind=0; URL="}}));
  std::vector<std::string> runs = ScriptRunsSince(mark);
  std::sort(runs.begin(), runs.end());
  EXPECT_EQ(runs, (std::vector<std::string>{"On A", "On B"}));
  // The webviews are closed with their browser: a script no longer runs.
  Exec(4, {"A", "1", "[after]"});
  testhost::PumpFor(100);
  EXPECT_NE(Host().Var("[after]"), "1");

  Host().Message(2);
  created_.clear();
  EXPECT_EQ(engine::LiveObjects(), 0);
  EXPECT_EQ(engine::BrowserCount(), 0);
  EXPECT_EQ(ChromiumProcesses(folder), 0);
}

class Cycles : public ChromiumTest {};

TEST_F(Cycles, FiftyCreateDestroyCycles) {
  const int objects = engine::LiveObjects(), pages = engine::PageCount();
  ASSERT_GT(objects, 0) << "the keeper's objects";
  for (int i = 0; i < 50; ++i) {
    SCOPED_TRACE(i);
    ReadyHost("Cycle");
    ASSERT_EQ(Eval("Cycle", std::to_string(i) + " * 2"), std::to_string(i * 2));
    ASSERT_EQ(Exec(5, {"Cycle"}), 1);
    created_.clear();
    ASSERT_EQ(engine::PageCount(), pages);
  }
  testhost::PumpFor(50);
  EXPECT_EQ(engine::LiveObjects(), objects);
  EXPECT_EQ(engine::BrowserCount(), 1);
}

}  // namespace
}  // namespace chromiumtest
