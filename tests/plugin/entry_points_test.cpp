// The host's view of the plug-in: the three texts of nbInitPlugIn, the catalogue that
// nbRegisterPlugIn registers, and the register convention of every entry point.
#include <gtest/gtest.h>
#include "test_env.h"
#include "test_host.h"

using namespace testhost;

TEST(InitPlugIn, HandsOverTheThreeTextsAndReleasesHeldBuffersFirst) {
  TestHost host;
  char* title = TestHost::HostBuffer("old title");
  char* author = TestHost::HostBuffer("old author");
  char* description = TestHost::HostBuffer("old description");
  char* const old[3] = {title, author, description};
  host.Init(42, &title, &author, &description);

  EXPECT_STREQ(title, "zkTamrelDesk");
  EXPECT_STRNE(author, "");
  EXPECT_STRNE(author, "old author");
  EXPECT_STREQ(description, "WebView2-based HTML, JavaScript and web-component host for Rectangle objects.");
  for (char* p : old) EXPECT_TRUE(host.FreedByPlugin(p));
  // The three new buffers are the host's now, GlobalAlloc blocks it can free.
  EXPECT_EQ(host.LiveBuffers(), 3);
  for (char* p : {title, author, description}) EXPECT_GT(GlobalSize(p), strlen(p));
  host.FreeHostBuffer(title);
  host.FreeHostBuffer(author);
  host.FreeHostBuffer(description);
  EXPECT_EQ(host.LiveBuffers(), 0);
  EXPECT_EQ(host.unbalancedCalls, 0);
}

TEST(InitPlugIn, NullVariablesGetFreshBuffers) {
  TestHost host;
  char *title = nullptr, *author = nullptr, *description = nullptr;
  host.Init(0, &title, &author, &description);
  ASSERT_NE(title, nullptr);
  ASSERT_NE(author, nullptr);
  ASSERT_NE(description, nullptr);
  host.FreeHostBuffer(title);
  host.FreeHostBuffer(author);
  host.FreeHostBuffer(description);
}

namespace {
struct ExpectedEntry {
  int32_t id;
  const char* name;
  std::vector<uint8_t> types;
  const char* hint;
};

const ExpectedEntry kCatalogue[] = {
    {0, "Initiation", {0}, ""},
    {1,
     "zkTamrelCreate",
     {8, 1},
     "Create a WebView2 browser inside a named Rectangle. Parameters: Rectangle name, initial URL (optional)."},
    {5, "zkTamrelDestroy", {8}, "Destroy the WebView2 browser attached to a Rectangle."},
    {0, "Navigation", {0}, ""},
    {2, "zkTamrelNavigate", {8, 1}, "Navigate the browser attached to a Rectangle to a URL."},
    {10, "zkTamrelBack", {8}, "Navigate backward in the WebView history."},
    {11, "zkTamrelForward", {8}, "Navigate forward in the WebView history."},
    {12, "zkTamrelRefresh", {8}, "Reload the current WebView document."},
    {13, "zkTamrelStop", {8}, "Stop the current WebView navigation and pending resource fetches."},
    {16, "zkTamrelControl", {8, 1}, "Perform Back, Forward, Refresh or Stop using a selectable browser operation."},
    {0, "Execution", {0}, ""},
    {3, "zkTamrelSetHTML", {8, 1}, "Display an HTML document in the browser attached to a Rectangle."},
    {4,
     "zkTamrelExecuteJS",
     {8, 1, 6},
     "Execute JavaScript in a Rectangle WebView and optionally store the JSON result in a NeoBook variable."},
    {6,
     "zkTamrelBridge",
     {8, 6, 1},
     "Configure JavaScript-to-VisualNEO messaging for a Rectangle. Incoming messages are stored in a variable and can "
     "trigger a NeoBook action script."},
    {7, "zkTamrelPostMessage", {8, 1}, "Send a text message from VisualNEO to the JavaScript page in a Rectangle."},
    {8,
     "zkTamrelOnEvent",
     {8, 1, 6, 1},
     "Configure a browser event callback. Supported: NavigationStarting, NavigationCompleted, ContentLoading, "
     "TitleChanged, SourceChanged and ProcessFailed."},
    {0, "Information", {0}, ""},
    {9,
     "zkTamrelGetInfo",
     {8, 1, 6},
     "Retrieve the current URL, document title, back/forward availability or WebView creation status into a NeoBook "
     "variable."},
    {0, "Zooming", {0}, ""},
    {14, "zkTamrelSetZoom", {8, 3}, "Set WebView zoom percentage from 25 to 500."},
    {15, "tamrelGetZoom", {8, 6}, "Get current WebView zoom percentage into a VisualNEO variable."},
    {0, "File I/O", {0}, ""},
    {17,
     "zkTamrelLoadFile",
     {8, 5},
     "Load a local HTML file into the WebView2 Rectangle. Relative CSS, JavaScript, image and other resource URLs "
     "resolve relative to the HTML file."},
    {18,
     "zkTamrelLoadFolder",
     {8, 5, 1},
     "Load a local web application folder using its start page (index.html by default). Relative assets resolve "
     "relative to the start page."},
    {0, "Console", {0}, ""},
    {19,
     "zkTamrelDebugConsole",
     {8, 6, 1},
     "Capture JavaScript console.log/info/warn/error/debug, uncaught errors and unhandled promise rejections. Stores "
     "each JSON event in a variable and optionally runs an action script."},
    {20, "zkTamrelDebugClear", {8}, "Clear the VisualNEO variable configured for JavaScript debug console output."},
    {0, "Tabular JS", {0}, ""},
    {21,
     "zkTamrelTabulator",
     {8, 1, 1, 6},
     "Create or replace a Tabulator data grid in an HTML element. Requires the local Tabulator JS and CSS assets in "
     "the loaded web application."},
    {0, "Quill JS", {0}, ""},
    {22,
     "zkTamrelQuillEditor",
     {8, 1, 1, 6},
     "Create or replace a Quill rich-text editor in an HTML element. Requires the local Quill JS and CSS assets in the "
     "loaded web application."},
    {0, "Apache Echart JS", {0}, ""},
    {23,
     "zkTamrelECharts",
     {8, 1, 1, 6},
     "Create or replace an Apache ECharts visualization in an HTML element. Requires the local ECharts JS asset in the "
     "loaded web application."},
    {0, "Prepare Setup", {0}, ""},
    {24,
     "tamrelPrepareAssets",
     {1, 6},
     "Register bundled ECharts, themes, Tabulator and/or Quill files as VisualNEO publication dependencies. "
     "Components: ECHARTS, THEMES, TABULATOR, QUILL or ALL. Run during publication setup/design before publishing."},
    // Added after every earlier entry: the 35 calls above stay as they were.
    {0, "Served Web App", {0}, ""},
    {25,
     "zkTamrelServeFolder",
     {8, 5, 1, 1},
     "Serve a local web application folder from a virtual https origin, where ES modules and fetch work, and open its "
     "start page (index.html by default). An empty host name gives one unique to the Rectangle."},
};
}  // namespace

TEST(RegisterPlugIn, RegistersTheCatalogueInOrderWithExactTypesAndCounts) {
  ScopedLocalAppData appData;
  TestHost host;
  host.Register();
  const auto added = host.CallsOf(CallKind::AddAction);
  ASSERT_EQ(added.size(), std::size(kCatalogue));
  for (size_t i = 0; i < added.size(); ++i) {
    SCOPED_TRACE("entry " + std::to_string(i + 1) + " " + kCatalogue[i].name);
    const auto& got = added[i];
    const auto& want = kCatalogue[i];
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.text, want.name);
    EXPECT_EQ(got.text2, want.hint);
    EXPECT_EQ(got.types, want.types);
    EXPECT_EQ(got.high, static_cast<int32_t>(want.types.size()) - 1);
    // A group header carries one type byte but a parameter count of 0.
    EXPECT_EQ(got.count, want.id == 0 ? 0 : static_cast<int32_t>(want.types.size()));
  }
  EXPECT_EQ(host.unbalancedCalls, 0);
}

TEST(RegisterPlugIn, EveryActionIdIsRegisteredExactlyOnce) {
  ScopedLocalAppData appData;
  TestHost host;
  host.Register();
  std::vector<int> seen(26, 0);
  for (const auto& c : host.CallsOf(CallKind::AddAction)) {
    ASSERT_GE(c.id, 0);
    ASSERT_LE(c.id, 25);
    ++seen[c.id];
  }
  for (int id = 1; id <= 25; ++id) EXPECT_EQ(seen[id], 1) << "id " << id;
  EXPECT_EQ(seen[0], 12);
}

TEST(Message, NoCodeButTwoChangesAnythingAndTwoWithoutBrowsersIsQuiet) {
  ScopedLocalAppData appData;
  TestHost host;
  host.Start();
  const size_t before = host.calls.size();
  const std::string logBefore = appData.Log();  // registration logs the loader dependency
  for (int32_t code : {0, 1, 3, -1, 99, 2, 2}) host.Message(code);
  EXPECT_EQ(host.calls.size(), before);
  EXPECT_EQ(appData.Log(), logBefore);
  EXPECT_EQ(host.unbalancedCalls, 0);
}
