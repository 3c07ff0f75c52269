// What a browser leaves on the plug-in's own heap: every handler and options object handed to
// the engine, with whatever it carries, must be gone once the browser is. Each case runs once
// to let lazily built state of the plug-in settle, then again to be measured.
#include "browser_fixture.h"

using namespace browsertest;

namespace {
struct HeapCase {
  const char* label;
  int failStep;  // -1: the creation succeeds
  // The actions run on the host (ready or not) before it goes.
  std::vector<std::pair<int, std::vector<std::wstring>>> actions;
  bool runModeCleanup;  // true: message 2 instead of the Destroy action
  int refuseStep = -1;  // a call the engine refuses on the ready host: the actions then fail
};
void PrintTo(const HeapCase& c, std::ostream* os) { *os << c.label; }

const std::vector<std::pair<int, std::vector<std::wstring>>> kExecuteJS = {
    {4, {L"Rect1", L"document.title", L"[Result]"}}};

class HeapBalance : public BrowserTest, public ::testing::WithParamInterface<HeapCase> {
 protected:
  void RunOnce(const HeapCase& c) {
    engine::Reset();
    if (c.failStep >= 0) engine::FailStep(static_cast<EngineStep>(c.failStep), E_FAIL);
    ASSERT_EQ(Create(L"Rect1", L"https://heap.example/"), 1);
    if (c.failStep < 0) {
      ASSERT_TRUE(WaitReady(1));
    }
    DrainPostedMessages();
    if (c.refuseStep >= 0) engine::FailStep(static_cast<EngineStep>(c.refuseStep), E_INVALIDARG);
    const int32_t expected = c.refuseStep >= 0 ? 0 : 1;
    for (const auto& action : c.actions) ASSERT_EQ(host->ExecW(action.first, action.second), expected) << action.first;
    DrainPostedMessages();
    if (!c.runModeCleanup) {
      ASSERT_EQ(Destroy(L"Rect1"), 1);
    }
    host->Message(2);  // also removes the host list itself
    DrainPostedMessages();
    EXPECT_EQ(engine::LiveObjects(), 0);
  }
};
}  // namespace

TEST_P(HeapBalance, NothingOfTheBrowserStaysOnThePluginHeap) {
  const HeapCase& c = GetParam();
  AddRectangle("Rect1");
  RunOnce(c);
  const int before = host->PluginHeapBlocks();
  RunOnce(c);
  EXPECT_EQ(host->PluginHeapBlocks(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Browser, HeapBalance,
    ::testing::Values(HeapCase{"ReadyThenDestroyed", -1, {}, false},
                      HeapCase{"ExecuteJSThenDestroyed", -1, kExecuteJS, false},
                      HeapCase{"ExecuteJSThenRunModeCleanup", -1, kExecuteJS, true},
                      HeapCase{"EnvironmentCallFails", ENGINE_STEP_CREATE_ENVIRONMENT_CALL, {}, false},
                      HeapCase{"EnvironmentCompletionFails", ENGINE_STEP_ENVIRONMENT_COMPLETION, {}, false},
                      HeapCase{"ControllerCallFails", ENGINE_STEP_CREATE_CONTROLLER_CALL, {}, false},
                      HeapCase{"ControllerCompletionFails", ENGINE_STEP_CONTROLLER_COMPLETION, {}, true},
                      HeapCase{"WebViewUnavailable", ENGINE_STEP_GET_WEBVIEW, {}, false},
                      HeapCase{"SettingsUnavailable", ENGINE_STEP_GET_SETTINGS, {}, true},
                      HeapCase{"Tabulator", -1, {{21, {L"Rect1", L"grid", L"{\"columns\":[]}", L"[Out]"}}}, false},
                      HeapCase{"Quill", -1, {{22, {L"Rect1", L"editor", L"{}", L"[Out]"}}}, false},
                      HeapCase{"ECharts", -1, {{23, {L"Rect1", L"chart", L"{\"series\":[]}", L"[Out]"}}}, false},
                      // The completion handler of a refused script is released by the plug-in alone.
                      HeapCase{"RefusedExecuteJS", -1, kExecuteJS, false, ENGINE_STEP_EXECUTE_SCRIPT},
                      HeapCase{"RefusedTabulator",
                               -1,
                               {{21, {L"Rect1", L"grid", L"{\"columns\":[]}", L"[Out]"}}},
                               true,
                               ENGINE_STEP_EXECUTE_SCRIPT}),
    [](const ::testing::TestParamInfo<HeapCase>& info) { return std::string(info.param.label); });

// The thousand-cycle run of whole browser lifetimes, with handles, windows and host buffers as
// well as the heap, is tests/soak/cycle_soak_test.cpp.
