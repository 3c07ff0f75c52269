// Browser lifetimes, one after another: create, wait until ready, run a script and read its
// result, destroy. After a warm-up, a thousand more cycles (TAMREL_SOAK_CYCLES) must leave the
// plug-in's heap, its host buffers, the process's handles and windows and the engine's objects
// exactly where they were.
#include <cstdio>
#include "browser_fixture.h"
#include "process_resources.h"
#include "soak_settings.h"

using namespace browsertest;

namespace {
class CycleSoak : public BrowserTest {
 protected:
  soak::TResourceCounts Counts() const {
    soak::TResourceCounts c;
    c.heapBlocks = host->PluginHeapBlocks();
    c.hostBuffers = host->LiveBuffers();
    c.handles = soak::ProcessHandleCount();
    c.windows = soak::ProcessWindowCount();
    return c;
  }

  void Cycle(uint64_t cycle) {
    engine::Reset();  // keeps the call record short
    engine::Client().SetScriptResult(S_OK, L"2");
    host->calls.clear();
    host->variables.clear();
    ASSERT_EQ(Create(L"Rect1", L"https://soak.example/"), 1) << "cycle " << cycle;
    ASSERT_TRUE(WaitReady(1)) << "cycle " << cycle;
    ASSERT_EQ(Exec("zkTamrelExecuteJS", {L"Rect1", L"1 + 1", L"[Sum]"}), 1) << "cycle " << cycle;
    DrainPostedMessages();
    ASSERT_EQ(host->Var("[Sum]"), "2") << "cycle " << cycle;
    ASSERT_EQ(Destroy(L"Rect1"), 1) << "cycle " << cycle;
    DrainPostedMessages();
    ASSERT_EQ(engine::LiveObjects(), 0) << "cycle " << cycle;
  }
};
}  // namespace

namespace {
// Makes a window (with a child and a message-only one) and an event; with counts given, checks
// that they are seen.
void MakeAndCount(DWORD handles, int windows) {
  testhost::RectangleWindow window;
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, window.hwnd(), nullptr, nullptr, nullptr);
  HWND messageOnly = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (handles) {
    // Wine may add objects of its own (an input window per thread, say): at least these are seen.
    EXPECT_GE(soak::ProcessHandleCount(), handles + 1);
    EXPECT_GE(soak::ProcessWindowCount(), windows + 3);
  }
  DestroyWindow(messageOnly);
  DestroyWindow(child);
  CloseHandle(event);
}
}  // namespace

TEST(ProcessResources, CountAWindowAndAHandleMore) {
  MakeAndCount(0, 0);  // the first windows of a process make handles of their own in Wine
  const DWORD handles = soak::ProcessHandleCount();
  const int windows = soak::ProcessWindowCount();
  ASSERT_GT(handles, 0u) << "the process's handle count is not available";
  MakeAndCount(handles, windows);
}

TEST_F(CycleSoak, BrowserLifetimesLeaveNothingBehind) {
  const uint64_t cycles = soak::SettingOr("TAMREL_SOAK_CYCLES", 1000);
  std::printf("browser cycles: %llu after a warm-up of 10\n", static_cast<unsigned long long>(cycles));
  std::fflush(stdout);
  AddRectangle("Rect1");
  // Lazily built state of the plug-in, the engine and Wine settles in the first cycles.
  for (uint64_t cycle = 1; cycle <= 10; ++cycle) ASSERT_NO_FATAL_FAILURE(Cycle(cycle));
  const soak::TResourceCounts before = Counts();
  ASSERT_EQ(before.hostBuffers, 0);
  ASSERT_GE(before.windows, 1) << "the Rectangle window is not counted";
  for (uint64_t cycle = 1; cycle <= cycles; ++cycle) {
    ASSERT_NO_FATAL_FAILURE(Cycle(cycle));
    if (cycle % 1000 == 0 || cycle == cycles) {
      const soak::TResourceCounts now = Counts();
      ASSERT_TRUE(now == before) << "after " << cycle << " cycles: " << soak::Describe(now)
                                 << "; after the warm-up: " << soak::Describe(before);
    }
  }
}
