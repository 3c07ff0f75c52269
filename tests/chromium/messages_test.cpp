// Messages between page and host through the bridge, and the console capture, on real pages.
#include "chromium_fixture.h"

namespace chromiumtest {
namespace {

class Messages : public ChromiumTest {
 protected:
  void SetUp() override {
    ReadyHost("Msg");
    ASSERT_TRUE(NavigateTo("Msg", FileUrl(folder_.Write(L"page.html", "<!doctype html><body>m</body>"))));
  }
  bool WaitForSets(const std::string& variable, size_t mark, size_t count) {
    return testhost::PumpUntil([&] { return SetsSince(variable, mark).size() >= count; }, 20000);
  }
  TempFolder folder_;
};

TEST_F(Messages, PageToHostOfEveryKind) {
  ASSERT_EQ(Exec(6, {"Msg", "[msg]", "On message"}), 1);
  const size_t mark = Mark();
  // Through the bridge a value is sent as its JSON text; window.chrome.webview.postMessage of
  // a value that is not a string reaches the host as no string and is left out.
  ASSERT_EQ(Eval("Msg",
                 "tamrelDesk.postMessage('pl\\u00e4in text');"
                 "tamrelDesk.postMessage('{\"looks\":\"like json\"}');"
                 "tamrelDesk.postMessage(42);"
                 "tamrelDesk.postMessage({a: [1, 'x'], b: null});"
                 "tamrelDesk.postMessage([true, 2.5]);"
                 "tamrelDesk.postMessage('');"
                 "window.chrome.webview.postMessage({not: 'a string'});"
                 "window.chrome.webview.postMessage('direct');"
                 "'posted'"),
            "\"posted\"");
  const std::vector<std::string> expected = {testhost::Ansi(L"pl\u00e4in text"), "{\"looks\":\"like json\"}", "42",
                                             "{\"a\":[1,\"x\"],\"b\":null}", "[true,2.5]", "", "direct"};
  ASSERT_TRUE(WaitForSets("[msg]", mark, expected.size()));
  testhost::PumpFor(100);  // a message that should not come would arrive now
  EXPECT_EQ(SetsSince("[msg]", mark), expected);
  EXPECT_EQ(ScriptRunsSince(mark), std::vector<std::string>(expected.size(), "On message"));
}

TEST_F(Messages, HostToPageReachesListeners) {
  ASSERT_EQ(Eval("Msg",
                 "window.__got = [];"
                 "window.chrome.webview.addEventListener('message', function (e) { __got.push('webview:' + e.data); });"
                 "tamrelDesk.onMessage(function (d) { __got.push('bridge:' + d); });"
                 "window.addEventListener('tamrelDeskMessage', function (e) { __got.push('event:' + e.detail); });"
                 "true"),
            "true");
  ASSERT_EQ(ExecW(7, {L"Msg", L"h\u00e9llo \"host\""}), 1);
  ASSERT_EQ(ExecW(7, {L"Msg", L""}), 1);
  ASSERT_TRUE(testhost::PumpUntil([&] { return Eval("Msg", "__got.length") == "6"; }, 20000));
  const std::wstring text = L"h\u00e9llo \"host\"";
  // The bridge listens from the document's creation on, before the page's own listener.
  const std::wstring expected[] = {L"bridge:" + text, L"event:" + text, L"webview:" + text,
                                   L"bridge:", L"event:", L"webview:"};
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(Eval("Msg", "__got[" + std::to_string(i) + "]"), testhost::Ansi(JsonString(expected[i])));
}

TEST_F(Messages, ConsoleCaptureOfEveryLevelAndErrors) {
  ASSERT_EQ(Exec(19, {"Msg", "[dbg]", "On console"}), 1);
  size_t mark = Mark();
  ASSERT_EQ(Eval("Msg",
                 "console.log('L', 1, {k: 'v'}); console.info('I'); console.warn('W'); console.error('E');"
                 "console.debug('D'); 0"),
            "0");
  ASSERT_TRUE(WaitForSets("[dbg]", mark, 5));
  const std::vector<std::string> lines = SetsSince("[dbg]", mark);
  const char* const expected[] = {"{\"level\":\"log\",\"message\":\"L 1 {\\\"k\\\":\\\"v\\\"}\"",
                                  "{\"level\":\"info\",\"message\":\"I\"", "{\"level\":\"warn\",\"message\":\"W\"",
                                  "{\"level\":\"error\",\"message\":\"E\"", "{\"level\":\"debug\",\"message\":\"D\""};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(lines[i].rfind(expected[i], 0), 0u) << lines[i];
  EXPECT_EQ(ScriptRunsSince(mark).size(), 5u);

  // An uncaught error names its file and line; an unhandled rejection its reason.
  const std::wstring file =
      folder_.Write(L"errors.html", "<!doctype html><body>\n<script>\n\nthrow new Error('boom');\n</script>\n"
                                    "<script>Promise.reject('nope');</script></body>");
  mark = Mark();
  ASSERT_TRUE(NavigateTo("Msg", FileUrl(file)));
  ASSERT_TRUE(WaitForSets("[dbg]", mark, 2));
  const std::vector<std::string> errors = SetsSince("[dbg]", mark);
  EXPECT_EQ(errors[0].rfind("{\"level\":\"uncaught\",\"message\":\"Uncaught Error: boom (file://", 0), 0u) << errors[0];
  EXPECT_NE(errors[0].find("errors.html:4)\""), std::string::npos) << errors[0];
  EXPECT_EQ(errors[1].rfind("{\"level\":\"unhandledrejection\",\"message\":\"nope\"", 0), 0u) << errors[1];
}

}  // namespace
}  // namespace chromiumtest
