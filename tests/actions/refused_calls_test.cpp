// Script and message actions whose engine call is refused on a ready host: the action fails
// with the call and its HRESULT, and a refused script writes nothing to its result variable.
#include "host_output_fixture.h"

using namespace browsertest;

namespace {
struct RefusedCase {
  const char* label;
  const char* action;
  std::vector<std::wstring> params;  // after the Rectangle name
  EngineStep step;
  HRESULT hr;
  const wchar_t* call;
  std::string message;
};
void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.label; }
class RefusedCall : public HostOutputTest, public ::testing::WithParamInterface<RefusedCase> {
 protected:
  int32_t Run(const RefusedCase& c) {
    std::vector<std::wstring> params{L"Rect1"};
    params.insert(params.end(), c.params.begin(), c.params.end());
    return Exec(c.action, params);
  }
};
}  // namespace

TEST_P(RefusedCall, FailsTheActionAndWritesOnlyLastError) {
  const RefusedCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  Engine().SetScriptResult(S_OK, L"\"OK\"");
  engine::FailStep(c.step, c.hr);
  const size_t mark = Mark();
  const size_t logMark = LogTexts().size();

  EXPECT_EQ(Run(c), 0);
  EXPECT_EQ(Engine().CountOf(c.call, 1), 1);
  DrainPostedMessages();
  // No completion comes: the result variable, if any, is never written.
  EXPECT_EQ(HostOutput(mark), std::vector<std::string>{"set [LastError]=" + c.message});
  EXPECT_EQ(LogSince(logMark), std::vector<std::string>{"ERROR: " + c.message});

  // Accepted, the same call succeeds and a script's result arrives.
  engine::FailStep(c.step, S_OK);
  const size_t again = Mark();
  EXPECT_EQ(Run(c), 1);
  DrainPostedMessages();
  const std::vector<std::string> output = HostOutput(again);
  if (c.call == std::wstring(L"ExecuteScript")) {
    EXPECT_EQ(output, std::vector<std::string>{"set [Out]=\"OK\""});
  } else {
    EXPECT_TRUE(output.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Actions, RefusedCall,
                         ::testing::Values(RefusedCase{"ExecuteJS",
                                                       "zkTamrelExecuteJS",
                                                       {L"document.title", L" [Out] "},
                                                       ENGINE_STEP_EXECUTE_SCRIPT,
                                                       HRESULT_FROM_WIN32(ERROR_INVALID_STATE),
                                                       L"ExecuteScript",
                                                       "ExecuteScript failed (HRESULT 0x8007139F)."},
                                           RefusedCase{"Tabulator",
                                                       "zkTamrelTabulator",
                                                       {L"grid", L"{\"columns\":[]}", L"[Out]"},
                                                       ENGINE_STEP_EXECUTE_SCRIPT,
                                                       E_INVALIDARG,
                                                       L"ExecuteScript",
                                                       "ExecuteScript failed (HRESULT 0x80070057)."},
                                           RefusedCase{"Quill",
                                                       "zkTamrelQuillEditor",
                                                       {L"editor", L"", L"[Out]"},
                                                       ENGINE_STEP_EXECUTE_SCRIPT,
                                                       E_FAIL,
                                                       L"ExecuteScript",
                                                       "ExecuteScript failed (HRESULT 0x80004005)."},
                                           RefusedCase{"ECharts",
                                                       "zkTamrelECharts",
                                                       {L"chart", L"{\"series\":[]}", L"[Out]"},
                                                       ENGINE_STEP_EXECUTE_SCRIPT,
                                                       E_OUTOFMEMORY,
                                                       L"ExecuteScript",
                                                       "ExecuteScript failed (HRESULT 0x8007000E)."},
                                           RefusedCase{"PostMessage",
                                                       "zkTamrelPostMessage",
                                                       {L"to the page"},
                                                       ENGINE_STEP_POST_WEB_MESSAGE_AS_STRING,
                                                       HRESULT_FROM_WIN32(ERROR_INVALID_STATE),
                                                       L"PostWebMessageAsString",
                                                       "PostWebMessageAsString failed (HRESULT 0x8007139F)."}),
                         [](const ::testing::TestParamInfo<RefusedCase>& info) {
                           return std::string(info.param.label);
                         });

// A refused script between two accepted ones takes no result from either of them.
TEST_F(HostOutputTest, RefusedScriptTakesNoResultOfScriptsInFlight) {
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  Engine().SetManualScripts(true);
  const size_t mark = Mark();
  ASSERT_EQ(ExecJS(L"Rect1", L"first()", L"[First]"), 1);
  engine::FailStep(ENGINE_STEP_EXECUTE_SCRIPT, E_FAIL);
  EXPECT_EQ(ExecJS(L"Rect1", L"refused()", L"[Refused]"), 0);
  engine::FailStep(ENGINE_STEP_EXECUTE_SCRIPT, S_OK);
  ASSERT_EQ(ExecJS(L"Rect1", L"second()", L"[Second]"), 1);
  ASSERT_EQ(Engine().PendingScriptCount(), 2);
  ASSERT_TRUE(Engine().CompleteScript(1, S_OK, L"2"));
  ASSERT_TRUE(Engine().CompleteScript(0, S_OK, L"1"));
  DrainPostedMessages();
  EXPECT_EQ(HostOutput(mark), (std::vector<std::string>{"set [LastError]=ExecuteScript failed (HRESULT 0x80004005).",
                                                        "set [Second]=2", "set [First]=1"}));
}
