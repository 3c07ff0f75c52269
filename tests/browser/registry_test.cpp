// The registry of browser hosts: name matching, replacement, destroy and run-mode cleanup.
#include <algorithm>
#include <map>
#include "browser_fixture.h"

using namespace browsertest;

namespace {
int CleanupLines(const std::vector<std::string>& texts) {
  return static_cast<int>(std::count(texts.begin(), texts.end(), "Destroying WebView host during run-mode cleanup"));
}

// Number of the webview whose host window sits in the given Rectangle.
int WebViewIn(HWND rectangle) {
  for (int n = 1; n <= engine::WebViewCount(); ++n)
    if (GetParent(engine::ParentWindow(n)) == rectangle) return n;
  return 0;
}
}  // namespace

TEST_F(BrowserTest, NamesMatchWithAsciiCaseFoldingOnly) {
  const std::wstring upperUmlaut = L"\u00C4rger";  // Ärger
  AddRectangle("Rect1");
  AddRectangle(testhost::Ansi(upperUmlaut));
  ASSERT_EQ(Create(L"Rect1"), 1);
  ASSERT_EQ(Create(upperUmlaut), 1);

  struct Lookup {
    std::wstring name;
    int32_t found;
  };
  const Lookup lookups[] = {{L"Rect1", 1}, {L"rect1", 1},    {L"RECT1", 1},      {L" Rect1", 0},    {L"Rect1 ", 0},
                            {L"Rect", 0},  {upperUmlaut, 1}, {L"\u00C4RGER", 1}, {L"\u00E4rger", 0}};
  for (const auto& l : lookups) {
    EXPECT_EQ(Navigate(l.name, L"about:blank"), l.found) << testhost::Utf8(l.name);
    if (!l.found) {
      EXPECT_EQ(LastError(), "No WebView2 instance is attached to \"" + testhost::Ansi(l.name) + "\".");
    }
  }
}

TEST_F(BrowserTest, SecondCreateReplacesTheFirstHost) {
  HWND rect = AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1"), 1);
  ASSERT_TRUE(WaitReady(1));
  HWND first = HostWindow(1);

  host->rectangles["rect1"] = rect;  // the host finds the Rectangle under this spelling too
  ASSERT_EQ(Create(L"rect1", L"https://second.example/"), 1);
  EXPECT_TRUE(engine::IsClosed(1));
  EXPECT_FALSE(IsWindow(first));
  ASSERT_TRUE(WaitReady(2));
  EXPECT_EQ(GetParent(HostWindow(2)), rect);
  EXPECT_EQ(CountCalls(engine::CallsOf(2), L"Navigate"), 1);

  host->Message(2);
  EXPECT_EQ(CleanupLines(LogTexts()), 1);
}

TEST_F(BrowserTest, FailedSecondCreateLeavesNoHost) {
  ASSERT_NO_FATAL_FAILURE(ReadyHost());

  host->rectangles.erase("Rect1");  // the Rectangle is gone from the page
  EXPECT_EQ(Create(L"Rect1"), 0);
  EXPECT_EQ(LastError(), "VisualNEO could not locate Rectangle \"Rect1\".");
  EXPECT_TRUE(engine::IsClosed(1));
  EXPECT_EQ(Navigate(L"Rect1", L"about:blank"), 0);
  EXPECT_EQ(LastError(), "No WebView2 instance is attached to \"Rect1\".");
}

TEST_F(BrowserTest, BlankNameIsRejectedAfterTheCallIsLogged) {
  AddRectangle("   ");
  EXPECT_EQ(Create(L"   ", L"https://a.example/"), 0);
  EXPECT_EQ(LastError(), "A Rectangle object name is required.");
  EXPECT_TRUE(InOrder(LogTexts(),
                      {"tamrelCreate called for Rectangle \"   \"", "ERROR: A Rectangle object name is required."}));
  EXPECT_EQ(engine::Calls().size(), 0u);
}

TEST_F(BrowserTest, DestroyOfAnUnknownNameReturnsZeroSilently) {
  AddRectangle("Rect1");
  const size_t linesBefore = LogTexts().size();
  EXPECT_EQ(Destroy(L"Rect1"), 0);  // no registry yet
  ASSERT_EQ(Create(L"Rect1"), 1);
  const size_t linesAfterCreate = LogTexts().size();
  EXPECT_EQ(Destroy(L"Nope"), 0);  // registry without that name
  EXPECT_EQ(LogTexts().size(), linesAfterCreate);
  EXPECT_GT(linesAfterCreate, linesBefore);
  EXPECT_FALSE(host->HasVar("[LastError]"));
  EXPECT_EQ(Destroy(L"RECT1"), 1);
  EXPECT_EQ(Destroy(L"Rect1"), 0);
}

TEST_F(BrowserTest, CleanupDestroysInReverseOrderAndALaterCreateStartsANewList) {
  HWND a = AddRectangle("A");
  HWND b = AddRectangle("B");
  HWND c = AddRectangle("C");
  ASSERT_EQ(Create(L"A"), 1);
  ASSERT_EQ(Create(L"B"), 1);
  ASSERT_EQ(Create(L"C"), 1);
  ASSERT_TRUE(testhost::PumpUntil([] { return engine::WebViewCount() == 3; }));
  for (int n = 1; n <= 3; ++n) ASSERT_TRUE(WaitReady(n));
  const int wa = WebViewIn(a), wb = WebViewIn(b), wc = WebViewIn(c);
  ASSERT_TRUE(wa && wb && wc);

  host->Message(2);
  EXPECT_EQ(CleanupLines(LogTexts()), 3);
  std::vector<int> closed;
  for (const auto& call : engine::Calls())
    if (call.name == L"Close") closed.push_back(call.webview);
  EXPECT_EQ(closed, (std::vector<int>{wc, wb, wa}));
  EXPECT_EQ(GetWindow(a, GW_CHILD), nullptr);

  // The old hosts are gone for good; a new create registers into a fresh list.
  EXPECT_EQ(Navigate(L"B", L"about:blank"), 0);
  ASSERT_EQ(Create(L"B"), 1);
  EXPECT_EQ(Navigate(L"B", L"about:blank"), 1);
  EXPECT_EQ(Navigate(L"A", L"about:blank"), 0);
  host->Message(2);
  EXPECT_EQ(CleanupLines(LogTexts()), 4);
}

TEST_F(BrowserTest, CleanupOfAnEmptyOrAbsentListWritesNothing) {
  host->Message(2);
  AddRectangle("A");
  ASSERT_EQ(Create(L"A"), 1);
  ASSERT_EQ(Destroy(L"A"), 1);
  host->Message(2);  // the list exists but is empty
  host->Message(2);  // and now it is gone
  EXPECT_EQ(CleanupLines(LogTexts()), 0);
}

// Many browsers: each name still finds its own host in any ASCII case, a name destroyed from
// the middle is gone while its neighbours stay, and the cleanup still runs backwards through
// the order of registration.
TEST_F(BrowserTest, ManyBrowsersKeepTheirNamesAndTheirOrder) {
  const std::vector<std::wstring> names = {L"Panel", L"panel2", L"PANEL3", L"Chart", L"Chart ", L"\u00c4rger",
                                           L"Grid",  L"grid_b", L"Map",    L"map1",  L"Editor", L"x"};
  std::vector<HWND> windows;
  for (const auto& name : names) {
    windows.push_back(AddRectangle(testhost::Ansi(name)));
    ASSERT_EQ(Create(name), 1) << testhost::Utf8(name);
  }
  ASSERT_TRUE(testhost::PumpUntil([&] { return engine::WebViewCount() == static_cast<int>(names.size()); }));
  std::map<int, HWND> rectangleOf;  // webview number -> the Rectangle it lies in
  for (int n = 1; n <= engine::WebViewCount(); ++n) {
    ASSERT_TRUE(WaitReady(n));
    rectangleOf[n] = GetParent(engine::ParentWindow(n));
  }

  // A lookup reaches the host in that name's Rectangle: its webview gets the navigation.
  const struct {
    std::wstring name;
    size_t index;  // into names; npos: none
  } lookups[] = {{L"PANEL", 0},
                 {L"Panel2", 1},
                 {L"panel3", 2},
                 {L"chart", 3},
                 {L"CHART ", 4},
                 {L"\u00c4RGER", 5},
                 {L"GRID_B", 7},
                 {L"MAP1", 9},
                 {L"X", 11},
                 {L"\u00e4rger", std::wstring::npos},
                 {L"Panel ", std::wstring::npos},
                 {L"grid_", std::wstring::npos}};
  for (const auto& l : lookups) {
    const int before = engine::CallCount();
    EXPECT_EQ(Navigate(l.name, L"https://found.example/"), l.index == std::wstring::npos ? 0 : 1)
        << testhost::Utf8(l.name);
    if (l.index == std::wstring::npos) continue;
    const int navigate = engine::FindCallFrom(L"Navigate", before);
    ASSERT_GE(navigate, 0) << testhost::Utf8(l.name);
    const int webview = engine::Calls()[static_cast<size_t>(navigate)].webview;
    EXPECT_EQ(rectangleOf[webview], windows[l.index]) << testhost::Utf8(l.name);
  }

  // Out of the middle, in another case: only that host goes.
  EXPECT_EQ(Destroy(L"chart"), 1);
  EXPECT_EQ(Navigate(L"Chart", L"about:blank"), 0);
  EXPECT_EQ(Navigate(L"Chart ", L"about:blank"), 1);
  EXPECT_EQ(Destroy(L"GRID"), 1);
  EXPECT_EQ(Destroy(L"Grid"), 0);
  EXPECT_EQ(Navigate(L"grid_b", L"about:blank"), 1);

  std::vector<HWND> expected;
  for (size_t i = names.size(); i-- > 0;)
    if (names[i] != L"Chart" && names[i] != L"Grid") expected.push_back(windows[i]);
  const int callsBefore = engine::CallCount();
  host->Message(2);
  std::vector<HWND> closedIn;
  const auto calls = engine::Calls();
  for (size_t i = static_cast<size_t>(callsBefore); i < calls.size(); ++i)
    if (calls[i].name == L"Close") closedIn.push_back(rectangleOf[calls[i].webview]);
  EXPECT_EQ(closedIn, expected);
  EXPECT_EQ(CleanupLines(LogTexts()), static_cast<int>(expected.size()));
}
