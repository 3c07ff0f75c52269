// The browser commands: actions 10 to 13 and the command word of action 16.
#include "browser_fixture.h"

using namespace browsertest;

namespace {
struct CommandCase {
  const char* label;
  int action;  // 10..13, or 16 with `command`
  std::wstring command;
  bool canGoBack, canGoForward;
  std::vector<std::wstring> expectedCalls;  // engine calls the action makes
  std::string word;                         // in the log line
};

class BrowserCommand : public BrowserTest, public ::testing::WithParamInterface<CommandCase> {};

const std::vector<std::wstring> kCommandCalls = {L"get_CanGoBack", L"get_CanGoForward", L"GoBack",
                                                 L"GoForward",     L"Reload",           L"Stop",
                                                 L"Navigate",      L"NavigateToString"};
}  // namespace

TEST_P(BrowserCommand, AppliesTheOperationAndLogsTheWord) {
  const CommandCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  engine::SetHistory(1, c.canGoBack, c.canGoForward);
  const size_t before = engine::CallsOf(1).size();

  const int32_t result = c.action == 16 ? Control(L"Rect1", c.command) : host->ExecW(c.action, {L"Rect1"});
  EXPECT_EQ(result, 1);
  std::vector<std::wstring> made;
  const auto calls = engine::CallsOf(1);
  for (size_t i = before; i < calls.size(); ++i)
    if (std::find(kCommandCalls.begin(), kCommandCalls.end(), calls[i].name) != kCommandCalls.end())
      made.push_back(calls[i].name);
  EXPECT_EQ(made, c.expectedCalls);
  EXPECT_TRUE(LogHas("Browser control \"" + c.word + "\" applied to \"Rect1\""));
  EXPECT_FALSE(host->HasVar("[LastError]"));
}

INSTANTIATE_TEST_SUITE_P(
    Browser, BrowserCommand,
    ::testing::Values(CommandCase{"Back", 10, L"", true, false, {L"get_CanGoBack", L"GoBack"}, "BACK"},
                      CommandCase{"BackWithEmptyHistory", 10, L"", false, true, {L"get_CanGoBack"}, "BACK"},
                      CommandCase{"Forward", 11, L"", false, true, {L"get_CanGoForward", L"GoForward"}, "FORWARD"},
                      CommandCase{"ForwardWithEmptyHistory", 11, L"", true, false, {L"get_CanGoForward"}, "FORWARD"},
                      CommandCase{"Refresh", 12, L"", false, false, {L"Reload"}, "REFRESH"},
                      CommandCase{"Stop", 13, L"", false, false, {L"Stop"}, "STOP"},
                      CommandCase{"WordTrimmedAndUpperCased", 16, L" refresh ", false, false, {L"Reload"}, "REFRESH"},
                      CommandCase{"WordWithControlCharacters", 16, L"\tsToP\r\n", false, false, {L"Stop"}, "STOP"},
                      CommandCase{"WordBack", 16, L"back", true, true, {L"get_CanGoBack", L"GoBack"}, "BACK"}),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.label); });

TEST_F(BrowserTest, UnknownCommandWordsFailWithTheTextAsPassed) {
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  const size_t before = engine::CallsOf(1).size();
  for (const std::wstring& word :
       {std::wstring(L"reload"), std::wstring(L" Go back "), std::wstring(L""), std::wstring(L"B ACK")}) {
    EXPECT_EQ(Control(L"Rect1", word), 0) << testhost::Utf8(word);
    EXPECT_EQ(LastError(), "Unsupported browser command: " + testhost::Ansi(word));
  }
  EXPECT_TRUE(LogHas("ERROR: Unsupported browser command: reload"));
  EXPECT_EQ(engine::CallsOf(1).size(), before);
}

TEST_F(BrowserTest, CommandsNeedARegisteredAndReadyHost) {
  AddRectangle("Rect1");
  EXPECT_EQ(host->ExecW(12, {L"Rect1"}), 0);
  EXPECT_EQ(LastError(), "No WebView2 instance is attached to \"Rect1\".");
  ASSERT_EQ(Create(L"Rect1"), 1);
  // Not ready until the engine's completions arrive; an unknown word is not even looked at.
  EXPECT_EQ(Control(L"Rect1", L"reload"), 0);
  EXPECT_EQ(LastError(), "WebView2 is not ready yet.");
  EXPECT_EQ(host->ExecW(10, {L"Rect1"}), 0);
  EXPECT_EQ(LastError(), "WebView2 is not ready yet.");
  EXPECT_EQ(Navigate(L"Rect1", L"https://queued.example/"), 1);
  ASSERT_TRUE(WaitReady(1));
  EXPECT_EQ(host->ExecW(10, {L"Rect1"}), 1);
}
