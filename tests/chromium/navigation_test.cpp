// Navigation on real files through Navigate, LoadFile and LoadFolder, with the events the
// browser raises, their details and the configured script.
#include "chromium_fixture.h"

namespace chromiumtest {
namespace {

class Navigation : public ChromiumTest {
 protected:
  void SetUp() override { ReadyHost("Nav"); }

  // The four navigation events of one navigation to `url`, in WebView2's order.
  static std::vector<Event> NewDocumentEvents(const std::string& url, const std::string& id) {
    return {{"NavigationStarting", url},
            {"SourceChanged", "IsNewDocument=True; URL=" + url},
            {"ContentLoading", "IsErrorPage=False; NavigationID=" + id + "; URL=" + url},
            {"NavigationCompleted", "Success=True; WebErrorStatus=0; URL=" + url}};
  }
  // Events without TitleChanged (a title may arrive anywhere after ContentLoading).
  std::vector<Event> NavigationEvents(size_t mark) const {
    std::vector<Event> kept;
    for (const Event& e : EventsSince("Nav", mark))
      if (e.name != "TitleChanged") kept.push_back(e);
    return kept;
  }
  static std::string NavigationId(const std::vector<Event>& events) {
    for (const Event& e : events)
      if (e.name == "ContentLoading") {
        const size_t at = e.details.find("NavigationID=");
        return e.details.substr(at + 13, e.details.find(';', at) - at - 13);
      }
    return "(none)";
  }
  TempFolder folder_;
};

// Names that a URL must escape: blanks, letters beyond ASCII, "#" and "%".
const wchar_t* const kNames[] = {L"with blanks.html", L"\u00fcml\u00e4ut \u00df.html", L"hash#name.html",
                                 L"per%cent 100%.html"};

TEST_F(Navigation, NavigateToFilesWithAwkwardNames) {
  std::string lastId = "0";
  for (const wchar_t* name : kNames) {
    SCOPED_TRACE(testhost::Utf8(name));
    const std::wstring file = folder_.Write(name, "<!doctype html><body>" + testhost::Utf8(name) + "</body>");
    const std::string url = testhost::Ansi(FileUrl(file));
    const size_t mark = Mark();
    ASSERT_TRUE(NavigateTo("Nav", FileUrl(file)));
    const std::vector<Event> events = NavigationEvents(mark);
    const std::string id = NavigationId(events);
    EXPECT_EQ(events, NewDocumentEvents(url, id));
    EXPECT_GT(std::stoull(id), std::stoull(lastId)) << "each navigation has a new id";
    lastId = id;
    EXPECT_EQ(Eval("Nav", "document.body.textContent"), testhost::Ansi(L"\"" + std::wstring(name) + L"\""));
    EXPECT_EQ(Info("Nav", "URL"), url);
  }
}

TEST_F(Navigation, LoadFileAndLoadFolderOnAwkwardPaths) {
  const struct {
    int action;
    std::wstring folder, page, expectedFile;
  } cases[] = {
      {17, L"file app #1\\", L"st\u00e4rt 50%.html", L"st\u00e4rt 50%.html"},
      {18, L"web app% \u00e9t\u00e9#2\\", L"", L"index.html"},
      {18, L"web app b\\", L"other page#.html", L"other page#.html"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testhost::Utf8(c.folder + c.page));
    const std::wstring file =
        folder_.Write(c.folder + c.expectedFile, "<!doctype html><script src=\"sub/app.js\"></script><body></body>");
    folder_.Write(c.folder + L"sub\\app.js",
                  "document.addEventListener('DOMContentLoaded',function(){"
                  "document.body.textContent='loaded '+document.scripts.length;});");
    const std::wstring folder = folder_.path() + c.folder;
    const size_t mark = Mark();
    ASSERT_TRUE(Navigated("Nav", [&] {
      if (c.action == 17)
        ASSERT_EQ(ExecW(17, {L"Nav", folder + c.page}), 1) << Host().Var("[LastError]");
      else
        ASSERT_EQ(ExecW(18, {L"Nav", folder, c.page}), 1) << Host().Var("[LastError]");
    }));
    const std::string url = testhost::Ansi(FileUrl(file));
    const std::vector<Event> events = NavigationEvents(mark);
    EXPECT_EQ(events, NewDocumentEvents(url, NavigationId(events)));
    // The relative script beside the page was found and ran.
    EXPECT_EQ(Eval("Nav", "document.body.textContent"), "\"loaded 1\"");
  }
}

TEST_F(Navigation, FragmentAndMissingFile) {
  const std::wstring file = folder_.Write(L"page.html", "<!doctype html><body id=top>x</body>");
  ASSERT_TRUE(NavigateTo("Nav", FileUrl(file)));
  const std::string url = testhost::Ansi(FileUrl(file));

  size_t mark = Mark();
  ASSERT_TRUE(NavigateTo("Nav", FileUrl(file) + L"#top"));
  EXPECT_EQ(NavigationEvents(mark),
            (std::vector<Event>{{"NavigationStarting", url + "#top"},
                                {"SourceChanged", "IsNewDocument=False; URL=" + url + "#top"},
                                {"NavigationCompleted", "Success=True; WebErrorStatus=0; URL=" + url + "#top"}}));

  const std::string missing = testhost::Ansi(FileUrl(folder_.path() + L"missing.html"));
  mark = Mark();
  ASSERT_TRUE(NavigateTo("Nav", FileUrl(folder_.path() + L"missing.html")));
  const std::vector<Event> events = NavigationEvents(mark);
  const std::string id = NavigationId(events);
  EXPECT_EQ(events, (std::vector<Event>{{"NavigationStarting", missing},
                                        {"SourceChanged", "IsNewDocument=True; URL=" + missing},
                                        {"ContentLoading", "IsErrorPage=True; NavigationID=" + id + "; URL=" + missing},
                                        {"NavigationCompleted", "Success=False; WebErrorStatus=0; URL=" + missing}}));
}

TEST_F(Navigation, HtmlDocumentsUpToTwoMegabytes) {
  // A document shown from a string has the origin about:blank, which the host reads as no URL.
  size_t mark = Mark();
  ASSERT_TRUE(Navigated("Nav", [&] { ASSERT_EQ(Exec(3, {"Nav", "<title>s</title><body>from a string</body>"}), 1); }));
  std::vector<Event> events = NavigationEvents(mark);
  const std::string id = NavigationId(events);
  EXPECT_EQ(events, (std::vector<Event>{{"NavigationStarting", "about:blank"},
                                        {"SourceChanged", "IsNewDocument=True; URL="},
                                        {"ContentLoading", "IsErrorPage=False; NavigationID=" + id + "; URL="},
                                        {"NavigationCompleted", "Success=True; WebErrorStatus=0; URL="}}));
  EXPECT_EQ(Info("Nav", "URL"), "");
  EXPECT_EQ(Eval("Nav", "document.body.textContent"), "\"from a string\"");

  // Exactly 2 MB (2 x 1024 x 1024 bytes) is shown; one byte more is refused and nothing starts.
  const std::string head = "<body>big</body><!--", tail = "-->";
  const std::string limit = head + std::string(2 * 1024 * 1024 - head.size() - tail.size(), 'x') + tail;
  ASSERT_TRUE(Navigated("Nav", [&] { ASSERT_EQ(Exec(3, {"Nav", limit}), 1); }));
  // All of it arrived: the comment holds every filler byte.
  EXPECT_EQ(Eval("Nav",
                 "document.body.textContent + ' ' + "
                 "document.createTreeWalker(document, NodeFilter.SHOW_COMMENT).nextNode().data.length"),
            "\"big " + std::to_string(limit.size() - head.size() - tail.size()) + "\"");
  mark = Mark();
  // The plug-in measures as the engine does and refuses the text before it reaches the engine.
  ASSERT_EQ(Exec(3, {"Nav", limit + "x"}), 0);
  EXPECT_EQ(Host().Var("[LastError]"),
            "HTML is too large for WebView2: 2097153 bytes in UTF-8, more than the limit of 2097152 bytes (2 MB).");
  const std::wstring file = folder_.Write(L"after.html", "<!doctype html><body>after</body>");
  ASSERT_TRUE(NavigateTo("Nav", FileUrl(file)));
  events = NavigationEvents(mark);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), (Event{"NavigationStarting", testhost::Ansi(FileUrl(file))}));
}

TEST_F(Navigation, ConfiguredScriptRunsOncePerEvent) {
  const std::wstring file = folder_.Write(L"titled.html", "<!doctype html><title>Titled</title><body>t</body>");
  const char* const events[] = {"NavigationStarting", "SourceChanged", "ContentLoading", "TitleChanged",
                                "NavigationCompleted"};
  for (const char* event : events) {
    SCOPED_TRACE(event);
    ASSERT_EQ(Exec(8, {"Nav", event, EventVariable("Nav"), std::string("On ") + event}), 1);
    ASSERT_TRUE(NavigateTo("Nav", L"about:blank"));
    const size_t mark = Mark();
    ASSERT_TRUE(NavigateTo("Nav", FileUrl(file)));
    if (std::string(event) == "TitleChanged") {
      ASSERT_TRUE(WaitForEvent("Nav", "TitleChanged", mark));
    }
    EXPECT_EQ(ScriptRunsSince(mark), std::vector<std::string>{std::string("On ") + event});
    // The variable heard every event, not only the configured one.
    EXPECT_GE(EventsSince("Nav", mark).size(), 4u);
  }
}

}  // namespace
}  // namespace chromiumtest
