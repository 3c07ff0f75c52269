// Action 25: a web-app folder served from a virtual https origin, on the engine double: the
// mapping call with its exact arguments before the navigation, at once or queued, and the
// failures of the folder, the start page, the host name and the engine.
#include "actions/served_origin.h"
#include <set>
#include "browser_fixture.h"

using namespace browsertest;

namespace {

constexpr wchar_t kMapping[] = L"SetVirtualHostNameToFolderMapping";

// A folder (with a blank, an accented letter and "#" in its name) holding:
//   other.html  app\index.html  app\pages\my page é.html
class ServedFolderTest : public BrowserTest {
 protected:
  void SetUp() override {
    BrowserTest::SetUp();
    root = testhost::MakeTempDir(L"served \u00e9#1");
    ASSERT_FALSE(root.empty());
    app = root + L"app";
    ASSERT_TRUE(CreateDirectoryW(app.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((app + L"\\pages").c_str(), nullptr));
    for (const std::wstring& file :
         {root + L"other.html", app + L"\\index.html", app + L"\\pages\\my page \u00e9.html"})
      ASSERT_TRUE(testhost::WriteFileBytes(file, "<html></html>"));
  }
  void TearDown() override {
    BrowserTest::TearDown();
    testhost::RemoveTree(root);
  }

  int32_t Serve(const std::wstring& name, const std::wstring& folder, const std::wstring& page,
                const std::wstring& hostName) {
    return Exec("zkTamrelServeFolder", {name, folder, page, hostName});
  }
  // Mappings and navigations of webview 1, in the order they were made.
  static std::vector<std::wstring> Requests() {
    std::vector<std::wstring> out;
    for (const EngineCall& c : engine::CallsOf(1)) {
      if (c.name == kMapping) out.push_back(L"map " + c.args);
      if (c.name == L"Navigate") out.push_back(L"go " + c.args);
      if (c.name == L"NavigateToString") out.push_back(L"html " + c.args);
    }
    return out;
  }
  // From here on only new host calls and log lines count.
  void Forget() {
    host->calls.clear();
    host->variables.clear();
    logMark = LogTexts().size();
  }
  std::vector<std::string> ErrorLines() const {
    std::vector<std::string> errors;
    const std::vector<std::string> texts = LogTexts();
    for (size_t i = logMark; i < texts.size(); ++i)
      if (texts[i].rfind("ERROR: ", 0) == 0) errors.push_back(texts[i]);
    return errors;
  }
  void ExpectReportedOnce(const std::wstring& message) {
    EXPECT_EQ(ErrorLines(), std::vector<std::string>{"ERROR: " + testhost::Utf8(message)});
    EXPECT_EQ(host->SetsOf("[LastError]"), std::vector<std::string>{testhost::Ansi(message)});
  }

  std::wstring root, app;
  size_t logMark = 0;
};

// ---- served at once -------------------------------------------------------------------------------

TEST_F(ServedFolderTest, ReadyHostMapsTheFolderThenOpensTheStartPage) {
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  const std::wstring hostName = DefaultServedHostName(L"Rect1");
  // A trailing separator and blanks around the folder are not part of the mapping.
  EXPECT_EQ(Serve(L"Rect1", L" " + app + L"\\ ", L"", L""), 1);
  EXPECT_EQ(Requests(), (std::vector<std::wstring>{L"map " + hostName + L"|" + app + L"|0",
                                                   L"go https://" + hostName + L"/index.html"}));
  EXPECT_TRUE(InOrder(
      LogTexts(),
      {testhost::Utf8(L"Served web application page queued: https://" + hostName + L"/index.html"),
       testhost::Utf8(L"Local web application served from folder: " + app + L" as https://" + hostName + L"/")}));
  EXPECT_EQ(engine::Client().VirtualHostFolder(1, hostName), app);
  EXPECT_FALSE(host->HasVar("[LastError]"));
}

struct StartPage {
  const char* label;
  std::wstring page;
  std::wstring path;  // of the URL, after the host's "/"
};
void PrintTo(const StartPage& c, std::ostream* os) { *os << c.label; }
class ServedStartPage : public ServedFolderTest, public ::testing::WithParamInterface<StartPage> {};

TEST_P(ServedStartPage, OpensThePageBelowTheHostEncodedPerSegment) {
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  EXPECT_EQ(Serve(L"Rect1", app, GetParam().page, L"app.example"), 1);
  EXPECT_EQ(Requests(), (std::vector<std::wstring>{L"map app.example|" + app + L"|0",
                                                   L"go https://app.example/" + GetParam().path}));
}

INSTANTIATE_TEST_SUITE_P(ServedFolder, ServedStartPage,
                         ::testing::Values(StartPage{"Default", L"  ", L"index.html"},
                                           StartPage{"BelowWithBlankAndAccent", L"pages\\my page \u00e9.html",
                                                     L"pages/my%20page%20%C3%A9.html"},
                                           StartPage{"ForwardSlashes", L"pages/my page \u00e9.html",
                                                     L"pages/my%20page%20%C3%A9.html"},
                                           StartPage{"DotSteps", L"pages\\..\\.\\index.html", L"index.html"}),
                         [](const ::testing::TestParamInfo<StartPage>& info) { return std::string(info.param.label); });

TEST_F(ServedFolderTest, AbsoluteStartPageInsideTheFolderIsServedFromIt) {
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  EXPECT_EQ(Serve(L"Rect1", app, app + L"\\pages\\my page \u00e9.html", L"app.example"), 1);
  EXPECT_EQ(Requests().back(), L"go https://app.example/pages/my%20page%20%C3%A9.html");
}

TEST_F(ServedFolderTest, GivenHostNameIsTrimmedAndLowerCased) {
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  EXPECT_EQ(Serve(L"Rect1", app, L"", L" My-App.Example\t"), 1);
  EXPECT_EQ(Requests(),
            (std::vector<std::wstring>{L"map my-app.example|" + app + L"|0", L"go https://my-app.example/index.html"}));
}

// ---- queued until the browser is ready -------------------------------------------------------------

TEST_F(ServedFolderTest, BeforeReadinessTheMappingAndTheNavigationWaitAndComeInThatOrder) {
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1"), 1);
  EXPECT_EQ(Serve(L"RECT1", app, L"", L""), 1);
  EXPECT_EQ(CountCalls(engine::Calls(), kMapping), 0);
  ASSERT_TRUE(WaitReady(1));
  DrainPostedMessages();
  // The name given in other letter case is the same Rectangle, and so the same host.
  const std::wstring hostName = DefaultServedHostName(L"Rect1");
  EXPECT_EQ(Requests(), (std::vector<std::wstring>{L"map " + hostName + L"|" + app + L"|0",
                                                   L"go https://" + hostName + L"/index.html"}));
}

struct Sequence {
  const char* label;
  std::vector<std::string> steps;      // "serve:<host>", "go:<url>", "html:<text>"
  std::vector<std::wstring> requests;  // at readiness; "<app>" stands for the folder
};
void PrintTo(const Sequence& c, std::ostream* os) { *os << c.label; }
class PendingServedFolder : public ServedFolderTest, public ::testing::WithParamInterface<Sequence> {};

TEST_P(PendingServedFolder, TheLastRequestWinsWhateverItsKind) {
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1"), 1);
  for (const std::string& step : GetParam().steps) {
    const std::string kind = step.substr(0, step.find(':'));
    const std::wstring arg = testhost::Widen(step.substr(step.find(':') + 1));
    if (kind == "serve") ASSERT_EQ(Serve(L"Rect1", app, L"", arg), 1);
    if (kind == "go") ASSERT_EQ(Navigate(L"Rect1", arg), 1);
    if (kind == "html") ASSERT_EQ(SetHTML(L"Rect1", arg), 1);
  }
  ASSERT_TRUE(WaitReady(1));
  DrainPostedMessages();
  std::vector<std::wstring> expected;
  for (std::wstring r : GetParam().requests) {
    const size_t at = r.find(L"<app>");
    if (at != std::wstring::npos) r.replace(at, 5, app);
    expected.push_back(r);
  }
  EXPECT_EQ(Requests(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    ServedFolder, PendingServedFolder,
    ::testing::Values(
        Sequence{"ServeThenNavigate", {"serve:a.example", "go:https://example.org/"}, {L"go https://example.org/"}},
        Sequence{"ServeThenHtml", {"serve:a.example", "html:<p>x</p>"}, {L"html <p>x</p>"}},
        Sequence{"NavigateThenServe",
                 {"go:https://example.org/", "serve:a.example"},
                 {L"map a.example|<app>|0", L"go https://a.example/index.html"}},
        Sequence{"HtmlThenServe",
                 {"html:<p>x</p>", "serve:a.example"},
                 {L"map a.example|<app>|0", L"go https://a.example/index.html"}},
        Sequence{"ServeTwice",
                 {"serve:a.example", "serve:b.example"},
                 {L"map b.example|<app>|0", L"go https://b.example/index.html"}}),
    [](const ::testing::TestParamInfo<Sequence>& info) { return std::string(info.param.label); });

// ---- the engine refuses -------------------------------------------------------------------------------

TEST_F(ServedFolderTest, RuntimeWithoutTheInterfaceIsAClearErrorAndNothingIsOpened) {
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  engine::Client().SetVirtualHostMapping(FALSE, S_OK);
  EXPECT_EQ(Serve(L"Rect1", app, L"", L"app.example"), 0);
  ExpectReportedOnce(
      L"This WebView2 runtime cannot serve a folder (no ICoreWebView2_3, HRESULT 0x80004002): update it, or use "
      L"zkTamrelLoadFolder.");
  EXPECT_TRUE(Requests().empty());
  EXPECT_FALSE(LogHas("Served web application page queued: "));
}

TEST_F(ServedFolderTest, RefusedMappingIsReportedWithItsHresultAndNothingIsOpened) {
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  engine::Client().SetVirtualHostMapping(TRUE, E_INVALIDARG);
  EXPECT_EQ(Serve(L"Rect1", app, L"", L"app.example"), 0);
  ExpectReportedOnce(L"SetVirtualHostNameToFolderMapping failed for app.example (HRESULT 0x80070057).");
  EXPECT_EQ(Requests(), std::vector<std::wstring>{L"map app.example|" + app + L"|0"});
}

TEST_F(ServedFolderTest, QueuedFolderOnARuntimeWithoutTheInterfaceIsLoggedAtReadinessAndNotOpened) {
  engine::Client().SetVirtualHostMapping(FALSE, S_OK);
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1"), 1);
  EXPECT_EQ(Serve(L"Rect1", app, L"", L"app.example"), 1);
  ASSERT_TRUE(WaitReady(1));
  DrainPostedMessages();
  EXPECT_TRUE(Requests().empty());
  EXPECT_TRUE(
      LogHas("Pending served folder not applied: This WebView2 runtime cannot serve a folder (no "
             "ICoreWebView2_3, HRESULT 0x80004002): update it, or use zkTamrelLoadFolder."));
}

// ---- the folder, the start page and the host name ------------------------------------------------------

TEST_F(ServedFolderTest, FolderAndPageFailuresAreReportedOnceWithTheFullPath) {
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  const struct {
    std::wstring folder, page, message;
  } cases[] = {
      {root + L"nothing", L"", L"Served web application folder was not found: " + root + L"nothing"},
      {root + L"other.html", L"", L"Served web application folder was not found: " + root + L"other.html"},
      {app, L"missing.html", L"Served web application entry page was not found: " + app + L"\\missing.html"},
      {app, L"pages", L"Served web application entry page was not found: " + app + L"\\pages"},
      {app, L"a*b.html", L"Invalid characters in path"},
      {app, L"..\\other.html",
       L"Served web application entry page is outside the served folder: " + root + L"other.html"},
      {app, root + L"other.html",
       L"Served web application entry page is outside the served folder: " + root + L"other.html"},
      {app, L"..\\app2\\index.html",
       L"Served web application entry page is outside the served folder: " + root + L"app2\\index.html"},
  };
  for (const auto& c : cases) {
    Forget();
    EXPECT_EQ(Serve(L"Rect1", c.folder, c.page, L""), 0) << testhost::Utf8(c.message);
    ExpectReportedOnce(c.message);
  }
  EXPECT_TRUE(Requests().empty());
}

TEST_F(ServedFolderTest, FolderLongerThanTheMappingTakesIsRefusedBeforeAnythingElse) {
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  const std::wstring longFolder = root + std::wstring(kMaxServedFolderLength + 1 - root.size(), L'x');
  ASSERT_EQ(longFolder.size(), kMaxServedFolderLength + 1);
  EXPECT_EQ(Serve(L"Rect1", longFolder, L"", L""), 0);
  ExpectReportedOnce(L"Served web application folder path is longer than 259 characters: " + longFolder);
  // One character less is checked as any folder (it does not exist).
  Forget();
  EXPECT_EQ(Serve(L"Rect1", longFolder.substr(0, kMaxServedFolderLength), L"", L""), 0);
  ExpectReportedOnce(L"Served web application folder was not found: " + longFolder.substr(0, kMaxServedFolderLength));
}

TEST_F(ServedFolderTest, HostNamesChromiumWouldNotTakeAreRefused) {
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  const std::wstring tooLongLabel(64, L'a');
  std::wstring tooLongName;
  for (int i = 0; i < 3; ++i) tooLongName += std::wstring(63, L'b') + L".";
  tooLongName += std::wstring(62, L'c');  // 254 characters
  for (const std::wstring& bad :
       {std::wstring(L"bad_host.example"), std::wstring(L"-app.example"), std::wstring(L"app-.example"),
        std::wstring(L"a..example"), std::wstring(L".app.example"), std::wstring(L"app.example."),
        std::wstring(L"192.168.0.1"), std::wstring(L"app example"), std::wstring(L"app.example:8080"),
        std::wstring(L"app/x.example"), std::wstring(L"\u00e4pp.example"), tooLongLabel + L".example", tooLongName}) {
    Forget();
    EXPECT_EQ(Serve(L"Rect1", app, L"", bad), 0) << testhost::Utf8(bad);
    ExpectReportedOnce(
        L"Invalid host name for a served folder (dot-separated labels of letters, digits and inner hyphens, 1 to 63 "
        L"characters each, the last not all digits; 253 at most): \"" +
        bad + L"\".");
  }
  EXPECT_TRUE(Requests().empty());
  // One character less is the longest name accepted.
  ASSERT_EQ(tooLongName.size(), 254u);
  EXPECT_EQ(Serve(L"Rect1", app, L"", tooLongName.substr(0, 253)), 1);
  EXPECT_EQ(CanonicalServedHostName(L"x1.2y.example"), L"x1.2y.example");
}

TEST_F(ServedFolderTest, TheFolderIsCheckedBeforeTheRectangleWhichIsLookedUpOnce) {
  AddRectangle("Rect1");
  EXPECT_EQ(Serve(L"Rect1", root + L"nothing", L"", L""), 0);
  ExpectReportedOnce(L"Served web application folder was not found: " + root + L"nothing");
  Forget();
  EXPECT_EQ(Serve(L"Rect1", app, L"", L""), 0);
  ExpectReportedOnce(L"No WebView2 instance is attached to \"Rect1\".");
  EXPECT_FALSE(LogHas("Local web application served from folder: "));
}

// ---- the host name made for a Rectangle ---------------------------------------------------------------

TEST(ServedHostName, IsAValidHostUniquePerRectangleAndTheSameForTheSameRectangle) {
  const std::wstring names[] = {L"Rect1",
                                L"Rect 1",
                                L"rect-1",
                                L"Rect_1",
                                L"",
                                L"\u00c9cran",
                                L"\u00e9cran",
                                L"!!!",
                                std::wstring(200, L'z'),
                                L"a.b",
                                L"Dashboard \u2014 Sales"};
  std::set<std::wstring> hosts;
  for (const std::wstring& name : names) {
    const std::wstring host = DefaultServedHostName(name);
    EXPECT_EQ(CanonicalServedHostName(host), host) << testhost::Utf8(name);
    EXPECT_TRUE(host.size() >= 8 && host.compare(host.size() - 8, 8, L".example") == 0) << testhost::Utf8(host);
    hosts.insert(host);
  }
  // Different Rectangles (only A to Z fold: É and é are two) never share a host.
  EXPECT_EQ(hosts.size(), sizeof names / sizeof names[0]);
  EXPECT_EQ(DefaultServedHostName(L"rect1"), DefaultServedHostName(L"RECT1"));
  EXPECT_EQ(DefaultServedHostName(L"Dashboard Sales"), DefaultServedHostName(L"DASHBOARD sales"));
  EXPECT_EQ(DefaultServedHostName(L"Rect 1").rfind(L"rect-1-", 0), 0u);
}

}  // namespace

TEST_F(ServedFolderTest, RefusedNavigationAfterTheMappingFailsTheActionOrIsLoggedAtReadiness) {
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  engine::FailStep(ENGINE_STEP_NAVIGATE, E_INVALIDARG);
  Forget();
  EXPECT_EQ(Serve(L"Rect1", app, L"", L"app.example"), 0);
  ExpectReportedOnce(L"Navigate failed (HRESULT 0x80070057).");
  EXPECT_EQ(Requests(),
            (std::vector<std::wstring>{L"map app.example|" + app + L"|0", L"go https://app.example/index.html"}));

  // Queued, the refusal comes when nobody is asking: a log line, and a later request goes out alone.
  AddRectangle("Rect2");
  ASSERT_EQ(Create(L"Rect2"), 1);
  EXPECT_EQ(Serve(L"Rect2", app, L"", L"queued.example"), 1);
  ASSERT_TRUE(WaitReady(2));
  DrainPostedMessages();
  EXPECT_TRUE(LogHas("Pending navigation not delivered: Navigate failed (HRESULT 0x80070057)."));
  engine::FailStep(ENGINE_STEP_NAVIGATE, S_OK);
}
