// Page messages on their way to the host: console output (the "__TAMREL_CONSOLE__" prefix in
// any letter case) goes to the debug variable and script, everything else to the bridge.
#include "host_output_fixture.h"

using namespace browsertest;

namespace {
struct MessageCase {
  const char* label;
  std::wstring message;
  bool console;
  std::wstring delivered;  // the console line, or the bridge message
};
void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.label; }

class WebMessage : public HostOutputTest, public ::testing::WithParamInterface<MessageCase> {};

const wchar_t kConsoleJson[] =
    L"{\"level\":\"log\",\"message\":\"hi 1\",\"time\":\"2024-01-01T00:00:00.000Z\",\"url\":\"x\"}";
}  // namespace

TEST_P(WebMessage, GoesToTheConsoleOrTheBridge) {
  const MessageCase& c = GetParam();
  // Created under one spelling, configured under another: log lines name the Rectangle as created.
  ReadyHost(L"MyRect");
  ASSERT_EQ(Bridge(L"MYRECT", L" [Msg] ", L"BridgeScript"), 1);
  ASSERT_EQ(DebugConsole(L"myrect", L"\t[Console]\n", L"ConsoleScript"), 1);
  const size_t mark = Mark();
  const size_t logMark = LogTexts().size();

  Engine().PostWebMessage(1, c.message);
  DrainPostedMessages();

  const std::string delivered = testhost::Ansi(c.delivered);
  if (c.console) {
    EXPECT_EQ(HostOutput(mark), (std::vector<std::string>{"set [Console]=" + delivered, "run ConsoleScript"}));
    EXPECT_EQ(LogSince(logMark),
              std::vector<std::string>{"JavaScript console [MyRect]: " + testhost::Utf8(c.delivered)});
  } else {
    EXPECT_EQ(HostOutput(mark), (std::vector<std::string>{"set [Msg]=" + delivered, "run BridgeScript"}));
    EXPECT_EQ(LogSince(logMark), std::vector<std::string>{"Web message received from Rectangle \"MyRect\"; length=" +
                                                          std::to_string(c.message.size())});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, WebMessage,
    ::testing::Values(MessageCase{"ConsoleLine", std::wstring(L"__TAMREL_CONSOLE__") + kConsoleJson, true,
                                  kConsoleJson},
                      MessageCase{"ConsolePrefixInLowerCase", L"__tamrel_console__{\"level\":\"warn\"}", true,
                                  L"{\"level\":\"warn\"}"},
                      MessageCase{"ConsolePrefixInMixedCase", L"__Tamrel_CONSOLE__ rest ", true, L" rest "},
                      MessageCase{"ExactlyThePrefix", L"__TAMREL_CONSOLE__", true, L""},
                      MessageCase{"PrefixOnlyInTheMiddle", L"x__TAMREL_CONSOLE__{}", false, L"x__TAMREL_CONSOLE__{}"},
                      MessageCase{"ShorterThanThePrefix", L"__TAMREL_CONSOLE_", false, L"__TAMREL_CONSOLE_"},
                      MessageCase{"PrefixAfterABlank", L" __TAMREL_CONSOLE__{}", false, L" __TAMREL_CONSOLE__{}"},
                      MessageCase{"PlainText", L"hello from the page", false, L"hello from the page"},
                      MessageCase{"JsonLikeText", L"{\"a\":[1,2]}", false, L"{\"a\":[1,2]}"},
                      MessageCase{"ZeroLength", L"", false, L""},
                      // Length in UTF-16 code units: the emoji counts two.
                      MessageCase{"NonAsciiText", L"caf\u00e9 \U0001F600", false, L"caf\u00e9 \U0001F600"}),
    [](const ::testing::TestParamInfo<MessageCase>& info) { return std::string(info.param.label); });

TEST_F(HostOutputTest, BridgeMessageTextNeverReachesTheLog) {
  ReadyHost();
  ASSERT_EQ(Bridge(L"Rect1", L"[Msg]", L""), 1);
  Engine().PostWebMessage(1, L"password=secret-7731");
  DrainPostedMessages();
  EXPECT_EQ(host->Var("[Msg]"), "password=secret-7731");
  EXPECT_TRUE(LogHas("Web message received from Rectangle \"Rect1\"; length=20"));
  EXPECT_EQ(appData->Log().find("secret-7731"), std::string::npos);
}

TEST_F(HostOutputTest, NonStringMessagesAreIgnored) {
  ReadyHost();
  ASSERT_EQ(Bridge(L"Rect1", L"[Msg]", L"BridgeScript"), 1);
  ASSERT_EQ(DebugConsole(L"Rect1", L"[Console]", L"ConsoleScript"), 1);
  const size_t mark = Mark();
  const size_t logMark = LogTexts().size();
  Engine().PostWebMessage(1, L"{\"n\":1}", false);
  Engine().PostWebMessage(1, L"\"__TAMREL_CONSOLE__{}\"", false);
  DrainPostedMessages();
  EXPECT_TRUE(HostOutput(mark).empty());
  EXPECT_TRUE(LogSince(logMark).empty());
}

TEST_F(HostOutputTest, UnconfiguredMessagesAreOnlyLogged) {
  ReadyHost();
  const size_t mark = Mark();
  Engine().PostWebMessage(1, L"to nobody");
  Engine().PostWebMessage(1, L"__TAMREL_CONSOLE__{}");
  DrainPostedMessages();
  EXPECT_TRUE(HostOutput(mark).empty());
  EXPECT_TRUE(InOrder(LogTexts(),
                      {"Web message received from Rectangle \"Rect1\"; length=9", "JavaScript console [Rect1]: {}"}));
}

// Either host callback may be missing; the other still works.
namespace {
enum class Source { Event, Bridge, Console };
struct MissingCase {
  const char* label;
  Source source;
  bool setVariable, runScript;  // which callbacks the host handed over
};
void PrintTo(const MissingCase& c, std::ostream* os) { *os << c.label; }
class MissingCallback : public HostOutputTest, public ::testing::WithParamInterface<MissingCase> {};
}  // namespace

TEST_P(MissingCallback, TheOtherCallbackStillWorks) {
  const MissingCase& c = GetParam();
  ReadyHost();
  ASSERT_EQ(OnEvent(L"Rect1", L"SourceChanged", L"[Out]", L"Script"), 1);
  ASSERT_EQ(Bridge(L"Rect1", L"[Out]", L"Script"), 1);
  ASSERT_EQ(DebugConsole(L"Rect1", L"[Out]", L"Script"), 1);
  host->Register(true, c.setVariable);
  host->RegisterScriptProcessor(c.runScript);
  const size_t mark = Mark();

  switch (c.source) {
    case Source::Event: Engine().FireSourceChanged(1, true); break;
    case Source::Bridge: Engine().PostWebMessage(1, L"msg"); break;
    case Source::Console: Engine().PostWebMessage(1, L"__TAMREL_CONSOLE__{}"); break;
  }
  DrainPostedMessages();

  const std::vector<std::string> out = HostOutput(mark);
  size_t sets = 0, runs = 0;
  for (const std::string& o : out) (o.rfind("run ", 0) == 0 ? runs : sets) += 1;
  EXPECT_EQ(sets, c.setVariable ? (c.source == Source::Event ? 3u : 1u) : 0u);
  EXPECT_EQ(runs, c.runScript ? 1u : 0u);
  // The log line does not depend on the callbacks.
  const std::string expectedLog = c.source == Source::Event ? "Browser event: SourceChanged | IsNewDocument=True; URL="
                                  : c.source == Source::Bridge
                                      ? "Web message received from Rectangle \"Rect1\"; length=3"
                                      : "JavaScript console [Rect1]: {}";
  EXPECT_TRUE(LogHas(expectedLog));
}

INSTANTIATE_TEST_SUITE_P(Callbacks, MissingCallback,
                         ::testing::Values(MissingCase{"EventWithoutSetVariable", Source::Event, false, true},
                                           MissingCase{"EventWithoutRunScript", Source::Event, true, false},
                                           MissingCase{"BridgeWithoutSetVariable", Source::Bridge, false, true},
                                           MissingCase{"BridgeWithoutRunScript", Source::Bridge, true, false},
                                           MissingCase{"ConsoleWithoutSetVariable", Source::Console, false, true},
                                           MissingCase{"ConsoleWithoutRunScript", Source::Console, true, false},
                                           MissingCase{"ConsoleWithoutEither", Source::Console, false, false}),
                         [](const ::testing::TestParamInfo<MissingCase>& info) {
                           return std::string(info.param.label);
                         });

// Text from the page cannot add lines of its own to the log; the host variables get it unchanged.
TEST_F(HostOutputTest, PageTextWithLineBreaksStaysOnOneLogLine) {
  ReadyHost();
  ASSERT_EQ(DebugConsole(L"Rect1", L"[Console]", L""), 1);
  ASSERT_EQ(OnEvent(L"Rect1", L"TitleChanged", L"[Ev]", L""), 1);
  const size_t logMark = LogTexts().size();
  Engine().PostWebMessage(1, L"__TAMREL_CONSOLE__one\r\nERROR: forged\nthree");
  Engine().SetTitle(1, L"Title\r\nERROR: forged");
  Engine().FireDocumentTitleChanged(1);
  DrainPostedMessages();
  EXPECT_EQ(LogSince(logMark), (std::vector<std::string>{"JavaScript console [Rect1]: one\\r\\nERROR: forged\\nthree",
                                                         "Browser event: TitleChanged | Title\\r\\nERROR: forged"}));
  EXPECT_EQ(host->Var("[Console]"), "one\r\nERROR: forged\nthree");
  EXPECT_EQ(host->Var("[Ev]"), "Title\r\nERROR: forged");
}
