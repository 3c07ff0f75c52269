#include "actions/action_table.h"
#include "actions/action_handlers.h"
#include "actions/action_words.h"
#include "browser/browser_event_names.h"

namespace {
// ---- parameters ------------------------------------------------------------------------------------
// Every action on a browser takes the Rectangle that holds it first.
constexpr TParamSpec kRectangle = {ptObject, {L"Rectangle object name", fkObject, 28, {}}};

constexpr TParamSpec Text(TParamType type, const wchar_t* caption) { return {type, {caption, fkText, 28, {}}}; }
constexpr TParamSpec Memo(const wchar_t* caption, int32_t height) { return {ptText, {caption, fkMemo, height, {}}}; }
constexpr TParamSpec Combo(const wchar_t* caption, TWordList words) { return {ptText, {caption, fkCombo, 28, words}}; }
// A parameter without an editor field (the action has no editor).
constexpr TParamSpec Plain(TParamType type) { return {type, {}}; }

constexpr TParamSpec kResultVariable = Text(ptVariable, L"NeoBook result variable (optional)");
constexpr TParamSpec kContainerId = Text(ptText, L"HTML container element ID");

constexpr TWordList kEvents = Words(kBrowserEventNames);
constexpr TWordList kInformation = Words(kInformationKinds);
constexpr TWordList kCommands = Words(kBrowserCommands);

std::vector<TActionRow> BuildTable() {
  // Publications depend on these names: they are registered exactly as written here, in this order.
  std::vector<TActionRow> rows;
  rows.push_back(Header("Initiation"));
  rows.push_back(Action<&CreateBrowserHost>(
      1, "zkTamrelCreate",
      "Create a WebView2 browser inside a named Rectangle. Parameters: Rectangle name, initial URL (optional).",
      L"Create WebView", {kRectangle, Text(ptText, L"Initial URL (optional)")}));
  rows.push_back(Action<&DestroyBrowser>(5, "zkTamrelDestroy", "Destroy the WebView2 browser attached to a Rectangle.",
                                         L"Destroy WebView", {kRectangle}));
  rows.push_back(Header("Navigation"));
  rows.push_back(Action<&NavigateBrowser>(2, "zkTamrelNavigate",
                                          "Navigate the browser attached to a Rectangle to a URL.", L"Navigate",
                                          {kRectangle, Text(ptText, L"Destination URL")}));
  rows.push_back(Action<&BrowserBack>(10, "zkTamrelBack", "Navigate backward in the WebView history.", L"Browser Back",
                                      {kRectangle}));
  rows.push_back(Action<&BrowserForward>(11, "zkTamrelForward", "Navigate forward in the WebView history.",
                                         L"Browser Forward", {kRectangle}));
  rows.push_back(Action<&BrowserRefresh>(12, "zkTamrelRefresh", "Reload the current WebView document.",
                                         L"Browser Refresh", {kRectangle}));
  rows.push_back(Action<&BrowserStop>(13, "zkTamrelStop",
                                      "Stop the current WebView navigation and pending resource fetches.",
                                      L"Stop Navigation", {kRectangle}));
  rows.push_back(Action<&ControlBrowser>(
      16, "zkTamrelControl", "Perform Back, Forward, Refresh or Stop using a selectable browser operation.",
      L"Browser Control", {kRectangle, Combo(L"Browser operation", kCommands)}, kCommands));
  rows.push_back(Header("Execution"));
  rows.push_back(Action<&SetBrowserHTML>(3, "zkTamrelSetHTML",
                                         "Display an HTML document in the browser attached to a Rectangle.",
                                         L"Set HTML", {kRectangle, Memo(L"HTML source", 190)}));
  rows.push_back(Action<&ExecuteJavaScript>(
      4, "zkTamrelExecuteJS",
      "Execute JavaScript in a Rectangle WebView and optionally store the JSON result in a NeoBook variable.",
      L"Execute JavaScript", {kRectangle, Memo(L"JavaScript source", 170), kResultVariable}));
  rows.push_back(Action<&ConfigureBridge>(6, "zkTamrelBridge",
                                          "Configure JavaScript-to-VisualNEO messaging for a Rectangle. Incoming "
                                          "messages are stored in a variable and can trigger a NeoBook action script.",
                                          L"JavaScript Bridge",
                                          {kRectangle, Text(ptVariable, L"NeoBook variable for incoming messages"),
                                           Memo(L"NeoBook action script to run when a message arrives", 125)}));
  rows.push_back(Action<&PostWebMessage>(
      7, "zkTamrelPostMessage", "Send a text message from VisualNEO to the JavaScript page in a Rectangle.",
      L"Post Web Message", {kRectangle, Memo(L"Message text to send to the webpage", 110)}));
  rows.push_back(Action<&ConfigureBrowserEvent>(
      8, "zkTamrelOnEvent",
      "Configure a browser event callback. Supported: NavigationStarting, NavigationCompleted, ContentLoading, "
      "TitleChanged, SourceChanged and ProcessFailed.",
      L"Browser Event Handler",
      {kRectangle, Combo(L"Browser event to handle", kEvents),
       Text(ptVariable, L"NeoBook variable to receive event details"),
       Memo(L"NeoBook action script to execute when the event occurs", 125)},
      kEvents));
  rows.push_back(Header("Information"));
  rows.push_back(Action<&GetBrowserInfo>(9, "zkTamrelGetInfo",
                                         "Retrieve the current URL, document title, back/forward availability or "
                                         "WebView creation status into a NeoBook variable.",
                                         L"Get Browser Information",
                                         {kRectangle, Combo(L"Information to retrieve", kInformation),
                                          Text(ptVariable, L"NeoBook variable to receive the result")},
                                         kInformation));
  rows.push_back(Header("Zooming"));
  rows.push_back(Action<&SetZoomPercentage>(14, "zkTamrelSetZoom", "Set WebView zoom percentage from 25 to 500.",
                                            L"Set Browser Zoom",
                                            {kRectangle, Text(ptNumber, L"Zoom percentage (25-500)")}));
  rows.push_back(Action<&GetBrowserZoom>(
      15, "tamrelGetZoom", "Get current WebView zoom percentage into a VisualNEO variable.", L"Get Browser Zoom",
      {kRectangle, Text(ptVariable, L"NeoBook variable to receive zoom percentage")}));
  rows.push_back(Header("File I/O"));
  rows.push_back(
      Action<&LoadLocalHTMLFile>(17, "zkTamrelLoadFile",
                                 "Load a local HTML file into the WebView2 Rectangle. Relative CSS, JavaScript, image "
                                 "and other resource URLs resolve relative to the HTML file.",
                                 L"Load Local HTML File", {kRectangle, Text(ptPath, L"HTML file path")}));
  TActionRow loadFolder = Action<&LoadLocalWebApp>(
      18, "zkTamrelLoadFolder",
      "Load a local web application folder using its start page (index.html by default). Relative assets resolve "
      "relative to the start page.",
      L"Load Local Web Application Folder",
      {kRectangle, Text(ptPath, L"Application folder path"), Text(ptText, L"Start page (default: index.html)")});
  loadFolder.RegistersFolderFiles = true;
  rows.push_back(loadFolder);
  rows.push_back(Header("Console"));
  rows.push_back(Action<&ConfigureDebugConsole>(
      19, "zkTamrelDebugConsole",
      "Capture JavaScript console.log/info/warn/error/debug, uncaught errors and unhandled promise rejections. Stores "
      "each JSON event in a variable and optionally runs an action script.",
      L"JavaScript Developer Console",
      {kRectangle, Text(ptVariable, L"NeoBook variable for each console event"),
       Memo(L"NeoBook action script to run for each console event (optional)", 125)}));
  rows.push_back(Action<&ClearDebugConsole>(
      20, "zkTamrelDebugClear", "Clear the VisualNEO variable configured for JavaScript debug console output.",
      L"Clear JavaScript Developer Console", {kRectangle}));
  rows.push_back(Header("Tabular JS"));
  rows.push_back(Action<&CreateTabulatorGrid>(
      21, "zkTamrelTabulator",
      "Create or replace a Tabulator data grid in an HTML element. Requires the local Tabulator JS and CSS assets in "
      "the loaded web application.",
      L"Create Tabulator Data Grid",
      {kRectangle, kContainerId, Memo(L"Tabulator configuration JSON", 170), kResultVariable}));
  rows.push_back(Header("Quill JS"));
  rows.push_back(Action<&CreateQuillEditor>(
      22, "zkTamrelQuillEditor",
      "Create or replace a Quill rich-text editor in an HTML element. Requires the local Quill JS and CSS assets in "
      "the loaded web application.",
      L"Create Quill Rich Text Editor",
      {kRectangle, kContainerId, Memo(L"Quill options JSON (e.g. theme/modules)", 170), kResultVariable}));
  rows.push_back(Header("Apache Echart JS"));
  rows.push_back(
      Action<&CreateEChartsChart>(23, "zkTamrelECharts",
                                  "Create or replace an Apache ECharts visualization in an HTML element. Requires the "
                                  "local ECharts JS asset in the loaded web application.",
                                  L"Create Apache ECharts Visualization",
                                  {kRectangle, kContainerId, Memo(L"ECharts option JSON", 190), kResultVariable}));
  rows.push_back(Header("Prepare Setup"));
  rows.push_back(Action<&PrepareWebAssets>(
      24, "tamrelPrepareAssets",
      "Register bundled ECharts, themes, Tabulator and/or Quill files as VisualNEO publication dependencies. "
      "Components: ECHARTS, THEMES, TABULATOR, QUILL or ALL. Run during publication setup/design before publishing.",
      nullptr, {Plain(ptText), Plain(ptVariable)}));
  // Later actions come after every earlier entry, so that the ids and calls before them stay.
  rows.push_back(Header("Served Web App"));
  TActionRow serveFolder = Action<&ServeLocalWebApp>(
      25, "zkTamrelServeFolder",
      "Serve a local web application folder from a virtual https origin, where ES modules and fetch work, and open its "
      "start page (index.html by default). An empty host name gives one unique to the Rectangle.",
      L"Serve Local Web Application Folder",
      {kRectangle, Text(ptPath, L"Application folder path"), Text(ptText, L"Start page (default: index.html)"),
       Text(ptText, L"Virtual host name (optional)")});
  serveFolder.RegistersFolderFiles = true;
  rows.push_back(serveFolder);
  return rows;
}
}  // namespace

TActionRow Header(const char* caption) {
  TActionRow row;
  row.Name = caption;
  row.Types = {ptHeader};
  return row;
}

const std::vector<TActionRow>& ActionTable() {
  static const std::vector<TActionRow> table = BuildTable();
  return table;
}

const TActionRow* FindAction(int32_t id) {
  if (id <= 0) return nullptr;
  for (const TActionRow& row : ActionTable())
    if (row.Id == id) return &row;
  return nullptr;
}

int32_t ActionId(const std::string& name) {
  for (const TActionRow& row : ActionTable())
    if (row.Id != 0 && name == row.Name) return row.Id;
  return 0;
}
