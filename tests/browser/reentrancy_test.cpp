// An action script run from an event, a page message or a console line may call the plug-in
// again and take away the very host that ran it. Nothing of that host may be touched after the
// script returns, nothing may be leaked, and what was still on its way to it reaches nothing.
#include "host_output_fixture.h"

using namespace browsertest;

namespace {
enum class Trigger { Event, BridgeMessage, ConsoleLine };
enum class Reaction { DestroyThisHost, LeaveRunMode, RecreateThisHost };

struct ReentrancyCase {
  const char* label;
  Trigger trigger;
  Reaction reaction;
};
void PrintTo(const ReentrancyCase& c, std::ostream* os) { *os << c.label; }

class ScriptTakesItsHostAway : public HostOutputTest, public ::testing::WithParamInterface<ReentrancyCase> {
 protected:
  void Fire(Trigger trigger, const std::wstring& text) {
    switch (trigger) {
      case Trigger::Event: Engine().FireNavigationStarting(1, text.c_str()); break;
      case Trigger::BridgeMessage: Engine().PostWebMessage(1, text); break;
      case Trigger::ConsoleLine: Engine().PostWebMessage(1, L"__TAMREL_CONSOLE__" + text); break;
    }
  }
};
}  // namespace

TEST_P(ScriptTakesItsHostAway, WithoutCrashLeakOrLaterDelivery) {
  const ReentrancyCase& c = GetParam();
  ReadyHost();
  ASSERT_EQ(OnEvent(L"Rect1", L"NavigationStarting", L"[Out]", L"React"), 1);
  ASSERT_EQ(Bridge(L"Rect1", L"[Out]", L"React"), 1);
  ASSERT_EQ(DebugConsole(L"Rect1", L"[Out]", L"React"), 1);
  int reactions = 0;
  int32_t reactionResult = -1;
  host->onRunScript = [&](const std::string&) {
    ++reactions;
    switch (c.reaction) {
      case Reaction::DestroyThisHost: reactionResult = Destroy(L"Rect1"); break;
      case Reaction::LeaveRunMode:
        host->Message(2);
        reactionResult = 1;
        break;
      case Reaction::RecreateThisHost: reactionResult = Create(L"Rect1"); break;
    }
  };
  const size_t mark = Mark();
  const size_t logMark = LogTexts().size();

  // Two deliveries on their way: the second finds its host gone.
  Fire(c.trigger, L"first");
  Fire(c.trigger, L"second");
  DrainPostedMessages();

  EXPECT_EQ(reactions, 1);
  EXPECT_EQ(reactionResult, 1);
  const std::vector<std::string> out = HostOutput(mark);
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out.back(), "run React");  // the script was the last thing the handler did
  EXPECT_EQ(host->SetsOf("[Out]"), std::vector<std::string>{"first"});
  for (const std::string& line : LogSince(logMark)) {
    EXPECT_EQ(line.find("second"), std::string::npos) << line;
    EXPECT_NE(line, "Web message received from Rectangle \"Rect1\"; length=6") << "second message delivered";
  }
  // The webview of the host that ran the script was closed and not called after that.
  const auto calls = engine::CallsOf(1);
  const int close = FindCall(calls, L"Close");
  ASSERT_GE(close, 0);
  EXPECT_EQ(close, static_cast<int>(calls.size()) - 1) << testhost::Utf8(calls.back().name);
  EXPECT_EQ(engine::HandlerCount(1), 0);

  if (c.reaction == Reaction::RecreateThisHost) {
    ASSERT_TRUE(WaitReady(2));  // the new host works
    EXPECT_EQ(ExecJS(L"Rect1", L"1", L""), 1);
  }
  host->Message(2);
  DrainPostedMessages();
  EXPECT_EQ(engine::LiveObjects(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Reentrancy, ScriptTakesItsHostAway,
    ::testing::Values(ReentrancyCase{"EventDestroysItsHost", Trigger::Event, Reaction::DestroyThisHost},
                      ReentrancyCase{"EventLeavesRunMode", Trigger::Event, Reaction::LeaveRunMode},
                      ReentrancyCase{"EventRecreatesItsHost", Trigger::Event, Reaction::RecreateThisHost},
                      ReentrancyCase{"BridgeMessageDestroysItsHost", Trigger::BridgeMessage, Reaction::DestroyThisHost},
                      ReentrancyCase{"BridgeMessageLeavesRunMode", Trigger::BridgeMessage, Reaction::LeaveRunMode},
                      ReentrancyCase{"BridgeMessageRecreatesItsHost", Trigger::BridgeMessage,
                                     Reaction::RecreateThisHost},
                      ReentrancyCase{"ConsoleLineDestroysItsHost", Trigger::ConsoleLine, Reaction::DestroyThisHost},
                      ReentrancyCase{"ConsoleLineLeavesRunMode", Trigger::ConsoleLine, Reaction::LeaveRunMode},
                      ReentrancyCase{"ConsoleLineRecreatesItsHost", Trigger::ConsoleLine, Reaction::RecreateThisHost}),
    [](const ::testing::TestParamInfo<ReentrancyCase>& info) { return std::string(info.param.label); });

TEST_F(HostOutputTest, LeavingRunModeFromAScriptDestroysEveryHost) {
  ReadyHost(L"A", 1);
  ReadyHost(L"B", 2);
  ASSERT_EQ(OnEvent(L"B", L"TitleChanged", L"", L"Stop"), 1);
  Engine().SetManualScripts(true);
  ASSERT_EQ(ExecJS(L"A", L"pending()", L"[Pending]"), 1);
  host->onRunScript = [&](const std::string&) { host->Message(2); };
  const size_t logMark = LogTexts().size();
  Engine().FireDocumentTitleChanged(2);
  DrainPostedMessages();
  EXPECT_EQ(LogSince(logMark), (std::vector<std::string>{"Browser event: TitleChanged | ",
                                                         "Destroying WebView host during run-mode cleanup",
                                                         "Destroying WebView host during run-mode cleanup"}));
  EXPECT_TRUE(engine::IsClosed(1));
  EXPECT_TRUE(engine::IsClosed(2));
  // The other host's script completes after its host is gone: nothing is written.
  ASSERT_TRUE(Engine().CompleteScript(0, S_OK, L"1"));
  DrainPostedMessages();
  EXPECT_FALSE(host->HasVar("[Pending]"));
  EXPECT_EQ(engine::LiveObjects(), 0);
  EXPECT_EQ(Create(L"A"), 1);  // a later Create registers into a new list
}

TEST_F(HostOutputTest, ScriptsMayDriveTheirOwnHostFromAnEvent) {
  ReadyHost();
  ASSERT_EQ(OnEvent(L"Rect1", L"NavigationCompleted", L"", L"Follow up"), 1);
  Engine().SetScriptResult(S_OK, L"\"done\"");
  host->onRunScript = [&](const std::string&) {
    EXPECT_EQ(ExecJS(L"Rect1", L"next()", L"[Next]"), 1);
    EXPECT_EQ(PostMessageToPage(L"Rect1", L"ack"), 1);
    EXPECT_EQ(OnEvent(L"Rect1", L"SourceChanged", L"[Src]", L"Other"), 1);
  };
  Engine().FireNavigationCompleted(1, true);
  DrainPostedMessages();
  EXPECT_EQ(host->Var("[Next]"), "\"done\"");
  EXPECT_EQ(Engine().ArgsOf(L"PostWebMessageAsString", 1), std::vector<std::wstring>{L"ack"});
  host->onRunScript = nullptr;
  const size_t mark = Mark();
  Engine().FireSourceChanged(1, true);
  DrainPostedMessages();
  EXPECT_EQ(HostOutput(mark).back(), "run Other");
}

// The host may run another action while an action waits for one of its callbacks (here the
// Rectangle lookup of a create). The inner call's texts must not take the place of the outer
// call's, which it still reads afterwards.
TEST_F(BrowserTest, AnActionCalledFromWithinAnotherLeavesTheOuterArgumentsWhole) {
  AddRectangle("Outer");
  bool inner = false;
  int32_t innerResult = -1;
  host->onCall = [&](const testhost::HostCall& call) {
    if (call.kind != testhost::CallKind::InterfaceAccess || inner) return;
    inner = true;
    innerResult = Navigate(L"An inner Rectangle with a longer name than the outer one",
                           L"https://inner.example/an-address-longer-than-the-outer-address/page.html");
  };
  ASSERT_EQ(Create(L"Outer", L"https://outer.example/"), 1);
  host->onCall = nullptr;
  EXPECT_TRUE(inner);
  EXPECT_EQ(innerResult, 0);
  const auto texts = LogTexts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "WebView host registered for Rectangle \"Outer\""), texts.end());
  ASSERT_TRUE(WaitReady(1));
  DrainPostedMessages();
  const auto calls = engine::CallsOf(1);
  ASSERT_GE(FindCall(calls, L"Navigate"), 0);
  EXPECT_EQ(calls[FindCall(calls, L"Navigate")].args, L"https://outer.example/");
  // The same depth serves the next call with its own texts.
  EXPECT_EQ(Navigate(L"Outer", L"x"), 1);
  const auto after = engine::CallsOf(1);
  EXPECT_EQ(after.back().args, L"x");
}
