#include "plugin/catalogue.h"
#include "host/host_callbacks.h"

namespace {
CatalogueEntry Header(const char* caption) { return {0, caption, "", {0}, 0}; }
}  // namespace

const std::vector<CatalogueEntry>& ActionCatalogue() {
  // Publications depend on these names: they are registered exactly as written here.
  static const std::vector<CatalogueEntry> entries = {
      Header("Initiation"),
      {1, "zkTamrelCreate", "Create a WebView2 browser inside a named Rectangle. Parameters: Rectangle name, initial URL (optional).", {8, 1}, 2},
      {5, "zkTamrelDestroy", "Destroy the WebView2 browser attached to a Rectangle.", {8}, 1},
      Header("Navigation"),
      {2, "zkTamrelNavigate", "Navigate the browser attached to a Rectangle to a URL.", {8, 1}, 2},
      {10, "zkTamrelBack", "Navigate backward in the WebView history.", {8}, 1},
      {11, "zkTamrelForward", "Navigate forward in the WebView history.", {8}, 1},
      {12, "zkTamrelRefresh", "Reload the current WebView document.", {8}, 1},
      {13, "zkTamrelStop", "Stop the current WebView navigation and pending resource fetches.", {8}, 1},
      {16, "zkTamrelControl", "Perform Back, Forward, Refresh or Stop using a selectable browser operation.", {8, 1}, 2},
      Header("Execution"),
      {3, "zkTamrelSetHTML", "Display an HTML document in the browser attached to a Rectangle.", {8, 1}, 2},
      {4, "zkTamrelExecuteJS", "Execute JavaScript in a Rectangle WebView and optionally store the JSON result in a NeoBook variable.", {8, 1, 6}, 3},
      {6, "zkTamrelBridge", "Configure JavaScript-to-VisualNEO messaging for a Rectangle. Incoming messages are stored in a variable and can trigger a NeoBook action script.", {8, 6, 1}, 3},
      {7, "zkTamrelPostMessage", "Send a text message from VisualNEO to the JavaScript page in a Rectangle.", {8, 1}, 2},
      {8, "zkTamrelOnEvent", "Configure a browser event callback. Supported: NavigationStarting, NavigationCompleted, ContentLoading, TitleChanged, SourceChanged and ProcessFailed.", {8, 1, 6, 1}, 4},
      Header("Information"),
      {9, "zkTamrelGetInfo", "Retrieve the current URL, document title, back/forward availability or WebView creation status into a NeoBook variable.", {8, 1, 6}, 3},
      Header("Zooming"),
      {14, "zkTamrelSetZoom", "Set WebView zoom percentage from 25 to 500.", {8, 3}, 2},
      {15, "tamrelGetZoom", "Get current WebView zoom percentage into a VisualNEO variable.", {8, 6}, 2},
      Header("File I/O"),
      {17, "zkTamrelLoadFile", "Load a local HTML file into the WebView2 Rectangle. Relative CSS, JavaScript, image and other resource URLs resolve relative to the HTML file.", {8, 5}, 2},
      {18, "zkTamrelLoadFolder", "Load a local web application folder using its start page (index.html by default). Relative assets resolve relative to the start page.", {8, 5, 1}, 3},
      Header("Console"),
      {19, "zkTamrelDebugConsole", "Capture JavaScript console.log/info/warn/error/debug, uncaught errors and unhandled promise rejections. Stores each JSON event in a variable and optionally runs an action script.", {8, 6, 1}, 3},
      {20, "zkTamrelDebugClear", "Clear the VisualNEO variable configured for JavaScript debug console output.", {8}, 1},
      Header("Tabular JS"),
      {21, "zkTamrelTabulator", "Create or replace a Tabulator data grid in an HTML element. Requires the local Tabulator JS and CSS assets in the loaded web application.", {8, 1, 1, 6}, 4},
      Header("Quill JS"),
      {22, "zkTamrelQuillEditor", "Create or replace a Quill rich-text editor in an HTML element. Requires the local Quill JS and CSS assets in the loaded web application.", {8, 1, 1, 6}, 4},
      Header("Apache Echart JS"),
      {23, "zkTamrelECharts", "Create or replace an Apache ECharts visualization in an HTML element. Requires the local ECharts JS asset in the loaded web application.", {8, 1, 1, 6}, 4},
      Header("Prepare Setup"),
      {24, "tamrelPrepareAssets", "Register bundled ECharts, themes, Tabulator and/or Quill files as VisualNEO publication dependencies. Components: ECHARTS, THEMES, TABULATOR, QUILL or ALL. Run during publication setup/design before publishing.", {1, 6}, 2},
  };
  return entries;
}

int32_t RegisteredParameterCount(int32_t id) {
  if (id <= 0) return -1;
  for (const auto& e : ActionCatalogue())
    if (e.id == id) return e.count;
  return -1;
}

void RegisterCatalogue() {
  for (const auto& e : ActionCatalogue())
    AddActionCallback(e.id, e.name, e.hint, e.count, static_cast<int32_t>(e.types.size()) - 1, e.types.data());
}
