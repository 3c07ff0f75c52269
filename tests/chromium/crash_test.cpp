// A renderer that crashes for real reaches the host as ProcessFailed.
#include "chromium_fixture.h"

namespace chromiumtest {
namespace {

class Crash : public ChromiumTest {};

TEST_F(Crash, RendererCrashRaisesProcessFailed) {
  ReadyHost("Crash");
  TempFolder folder;
  const std::wstring page = FileUrl(folder.Write(L"before.html", "<!doctype html><body>before</body>"));
  ASSERT_TRUE(NavigateTo("Crash", page));
  ASSERT_EQ(Exec(8, {"Crash", "ProcessFailed", EventVariable("Crash"), "On failure"}), 1);
  const size_t mark = Mark();
  // The browser's own debug address crashes the page's renderer.
  ASSERT_EQ(Exec(2, {"Crash", "chrome://crash"}), 1);
  ASSERT_TRUE(WaitForEvent("Crash", "ProcessFailed", mark));
  EXPECT_EQ(EventsSince("Crash", mark),
            (std::vector<Event>{Event{"ProcessFailed", "ProcessFailedKind=1; URL=" + testhost::Ansi(page)}}));
  EXPECT_EQ(ScriptRunsSince(mark), std::vector<std::string>{"On failure"});
  // Reload recovers, as WebView2 documents for a renderer that exited.
  ASSERT_TRUE(Navigated("Crash", [&] { ASSERT_EQ(Exec(12, {"Crash"}), 1); }));
  EXPECT_EQ(Eval("Crash", "document.body.textContent"), "\"before\"");
}

}  // namespace
}  // namespace chromiumtest
