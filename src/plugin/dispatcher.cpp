#include "plugin/dispatcher.h"
#include <new>
#include <string>
#include <vector>
#include "actions/action_handlers.h"
#include "browser/browser_registry.h"
#include "publishing/web_assets.h"
#include "plugin/catalogue.h"
#include "support/errors.h"
#include "host/host_callbacks.h"
#include "support/text.h"

namespace {
using Args = std::vector<std::wstring>;
typedef bool (*Handler)(const Args&);

struct Route {
  int32_t id;
  Handler handler;
};

// The dispatch table: action id to handler, with the arguments in the order they are passed.
const Route kRoutes[] = {
    {1, [](const Args& a) { return CreateBrowserHost(a[0], a[1]); }},
    {2, [](const Args& a) { return NavigateBrowser(a[0], a[1]); }},
    {3, [](const Args& a) { return SetBrowserHTML(a[0], a[1]); }},
    {4, [](const Args& a) { return ExecuteJavaScript(a[0], a[1], a[2]); }},
    {5, [](const Args& a) { return DestroyBrowserHost(a[0]); }},
    {6, [](const Args& a) { return ConfigureBridge(a[0], a[1], a[2]); }},
    {7, [](const Args& a) { return PostWebMessage(a[0], a[1]); }},
    {8, [](const Args& a) { return ConfigureBrowserEvent(a[0], a[1], a[2], a[3]); }},
    {9, [](const Args& a) { return GetBrowserInfo(a[0], a[1], a[2]); }},
    {10, [](const Args& a) { return ControlBrowser(a[0], L"BACK"); }},
    {11, [](const Args& a) { return ControlBrowser(a[0], L"FORWARD"); }},
    {12, [](const Args& a) { return ControlBrowser(a[0], L"REFRESH"); }},
    {13, [](const Args& a) { return ControlBrowser(a[0], L"STOP"); }},
    {14, [](const Args& a) { return SetBrowserZoom(a[0], StrToIntDef(a[1], 100)); }},
    {15, [](const Args& a) { return GetBrowserZoom(a[0], a[1]); }},
    {16, [](const Args& a) { return ControlBrowser(a[0], a[1]); }},
    {17, [](const Args& a) { return LoadLocalHTMLFile(a[0], a[1]); }},
    {18, [](const Args& a) { return LoadLocalWebApp(a[0], a[1], a[2]); }},
    {19, [](const Args& a) { return ConfigureDebugConsole(a[0], a[1], a[2]); }},
    {20, [](const Args& a) { return ClearDebugConsole(a[0]); }},
    {21, [](const Args& a) { return CreateTabulatorGrid(a[0], a[1], a[2], a[3]); }},
    {22, [](const Args& a) { return CreateQuillEditor(a[0], a[1], a[2], a[3]); }},
    {23, [](const Args& a) { return CreateEChartsChart(a[0], a[1], a[2], a[3]); }},
    {24, [](const Args& a) { return PrepareWebAssets(a[0], a[1]); }},
};

const Route* FindRoute(int32_t id) {
  for (const auto& r : kRoutes)
    if (r.id == id) return &r;
  return nullptr;
}

void StoreLastError(const std::wstring& message) {
  try {
    SetHostVariable(L"[LastError]", message);
  } catch (...) {
  }
}
}  // namespace

int32_t ExecuteAction(int32_t id, const char* const* params) {
  int32_t result = 0;
  try {
    const Route* route = FindRoute(id);
    if (!route) return 0;
    // Action 10 to 13 are registered with one parameter: exactly that many entries are read.
    const int32_t count = RegisteredParameterCount(id);
    Args args;
    args.reserve(static_cast<size_t>(count) + 1);
    for (int32_t k = 0; k < count; ++k) args.push_back(AnsiToWide(params ? params[k] : nullptr));
    result = route->handler(args) ? 1 : 0;
  } catch (const TamrelError& e) {
    StoreLastError(e.message());
    result = 0;
  } catch (const std::bad_alloc&) {
    StoreLastError(L"Out of memory.");
    result = 0;
  } catch (...) {
    StoreLastError(L"Unexpected error in the tamrelDesk plug-in.");
    result = 0;
  }
  return result;
}
