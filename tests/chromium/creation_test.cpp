// From Create to a ready browser on the real engine: the navigation asked for before the
// browser was ready, and the page scripts in the very first document.
#include "chromium_fixture.h"

namespace chromiumtest {
namespace {

class Creation : public ChromiumTest {
 protected:
  // Creates the host of `name` with a pending navigation of the given kind and waits for it.
  bool CreateWithPending(const std::string& name, bool html, const std::string& marker) {
    AddRectangle(name);
    created_.push_back(name);
    const std::string page = "<!doctype html><title>pending</title><body>" + marker + "</body>";
    const size_t mark = Mark();
    if (html) {
      if (Exec(1, {name, ""}) != 1 || Exec(3, {name, page}) != 1) return false;
    } else {
      const std::wstring file = folder_.Write(testhost::Widen(name) + L".html", page);
      if (ExecW(1, {testhost::Widen(name), FileUrl(file)}) != 1) return false;
    }
    // Settings may be made before readiness: the first document's events are heard too.
    if (Exec(8, {name, "NavigationCompleted", EventVariable(name), ""}) != 1) return false;
    return WaitForEvent(name, "NavigationCompleted", mark);
  }
  TempFolder folder_;
};

TEST_F(Creation, BecomesReadyAndRunsScripts) {
  ReadyHost("Ready");
  EXPECT_EQ(Info("Ready", "WEBVIEW_CREATED"), "True");
  EXPECT_EQ(Eval("Ready", "navigator.userAgent.indexOf('Chrome') >= 0"), "true");
}

TEST_F(Creation, PendingNavigationOfEachKindIsDelivered) {
  const struct {
    const char* name;
    bool html;
  } cases[] = {{"PendingUrl", false}, {"PendingHtml", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string marker = std::string("first document of ") + c.name;
    ASSERT_TRUE(CreateWithPending(c.name, c.html, marker));
    EXPECT_EQ(Eval(c.name, "document.body.textContent"), "\"" + marker + "\"");
    EXPECT_EQ(Info(c.name, "TITLE"), "pending");
  }
}

// The plug-in must register its page scripts before it starts the pending navigation: the
// engine applies a document script only to navigations that start after its registration
// completed, as WebView2 documents.
TEST_F(Creation, DocumentScriptPresentInFirstDocument) {
  ASSERT_TRUE(CreateWithPending("FirstDocument", false, "scripts?"));
  EXPECT_EQ(Eval("FirstDocument", "typeof window.tamrelDesk + ' ' + window.__tamrelDebugInstalled"),
            "\"object true\"");
}

}  // namespace
}  // namespace chromiumtest
