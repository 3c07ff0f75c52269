// A host may unload the plug-in without leaving run mode first (no message 2) while the
// engine still holds the plug-in's handler objects. Their code must stay mapped, so that a
// late completion, event or page message lands in live code instead of a freed image.
#include "iat_hook.h"
#include "browser_fixture.h"

using namespace browsertest;

namespace {
struct UnloadCase {
  const char* label;
  bool readyBeforeUnload;  // false: the creation is still pending when the plug-in goes
};
void PrintTo(const UnloadCase& c, std::ostream* os) { *os << c.label; }

class UnloadWithoutCleanup : public BrowserTest, public ::testing::WithParamInterface<UnloadCase> {
 protected:
  // The pinned instance stays in this process for good: it gets a file of its own, so that
  // every other test still loads a fresh plug-in.
  void LoadOwnCopy() {
    host.reset();
    copy = testhost::MakeTempDir(L"pin") + L"zkTamrelDesk.nbp";
    ASSERT_TRUE(CopyFileW(testhost::DefaultPluginPath().c_str(), copy.c_str(), FALSE));
    host.reset(new testhost::TestHost(copy));
    host->Start();
    testhost::SetPinAnswer(testhost::PinAnswer::Pin);
  }
  std::wstring copy;
};
}  // namespace

TEST_P(UnloadWithoutCleanup, LateEngineDeliveriesLandInLiveCode) {
  const UnloadCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(LoadOwnCopy());
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1", L"https://unload.example/"), 1);
  if (c.readyBeforeUnload) {
    ASSERT_TRUE(WaitReady(1));
  } else {
    ASSERT_GT(engine::Client().PendingDeliveries(), 0);
  }
  EXPECT_EQ(testhost::PinRequests(), 1);
  const HMODULE module = host->module();
  EXPECT_EQ(testhost::PinRequestModule(), module);

  host.reset();  // FreeLibrary, as a host may do without message 2
  ASSERT_EQ(GetModuleHandleW(copy.c_str()), module) << "the plug-in's code was unmapped";

  ASSERT_TRUE(WaitReady(1));  // a pending creation completes in the plug-in's code
  engine::Client().PostWebMessage(1, L"late", true);
  DrainPostedMessages();
  EXPECT_TRUE(LogHas("Web message received from Rectangle \"Rect1\"; length=4"));
  EXPECT_EQ(CountCalls(engine::CallsOf(1), L"Navigate"), 1);

  // The same instance again (it cannot go): its run-mode cleanup releases the engine's objects.
  host.reset(new testhost::TestHost(copy));
  EXPECT_EQ(host->module(), module);
  host->Start();
  host->Message(2);
  DrainPostedMessages();
  EXPECT_EQ(engine::LiveObjects(), 0);
}

INSTANTIATE_TEST_SUITE_P(Browser, UnloadWithoutCleanup,
                         ::testing::Values(UnloadCase{"ReadyHost", true}, UnloadCase{"PendingCreation", false}),
                         [](const ::testing::TestParamInfo<UnloadCase>& info) { return std::string(info.param.label); });

TEST_F(BrowserTest, ModuleIsPinnedOnceWhenTheFirstCreationStartsAndAFailureIsLogged) {
  testhost::SetPinAnswer(testhost::PinAnswer::Fail, ERROR_ACCESS_DENIED);
  AddRectangle("Rect1");
  AddRectangle("Rect2");
  EXPECT_EQ(testhost::PinRequests(), 0);
  ASSERT_EQ(Create(L"Rect1"), 1);
  EXPECT_EQ(testhost::PinRequests(), 1);
  EXPECT_EQ(testhost::PinRequestModule(), host->module());
  ASSERT_TRUE(WaitReady(1));
  ASSERT_EQ(Create(L"Rect2"), 1);
  ASSERT_TRUE(WaitReady(2));
  EXPECT_EQ(testhost::PinRequests(), 1);

  int lines = 0;
  for (const auto& text : LogTexts())
    lines += text == "NeoBookDependency | Could not pin the plug-in module in the process; Win32 error=5";
  EXPECT_EQ(lines, 1);
  EXPECT_FALSE(host->HasVar("[LastError]"));
}
