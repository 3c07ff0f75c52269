// Actions 4, 6, 7, 8, 19 and 20: run JavaScript in a Rectangle's page, exchange messages with
// the page, and choose where browser events and the page's console output go. The
// configuring actions only store names and scripts in the browser host; its handlers use them
// when the engine reports something.
#include "actions/action_handlers.h"
#include "actions/browser_lookup.h"
#include "browser/browser_event_names.h"
#include "browser/browser_registry.h"
#include "browser/tamrel_edge_browser.h"
#include "support/diagnostic_log.h"
#include "support/errors.h"
#include "host/host_callbacks.h"
#include "host/report_error.h"
#include "support/text.h"
#include "webview2/engine_call.h"

namespace {
bool IsBrowserEventName(const std::wstring& event) {
  for (const wchar_t* name : kBrowserEventNames)
    if (SameTextAscii(event, name)) return true;
  return false;
}
}  // namespace

bool ExecuteJavaScript(const std::wstring& name, const std::wstring& script, const std::wstring& resultVariable) {
  return WithBrowserHost(name, [&](TTamrelEdgeBrowser& host) {
    if (!host.IsReady()) return Refuse(L"WebView2 is still initializing; retry JavaScript after it is ready.");
    // The result variable travels with this call to its own completion.
    // Refused, the call brings no completion: nothing is written to the variable.
    RequireEngineCall(host.ExecuteScript(script, Trim(resultVariable)), L"ExecuteScript");
    return true;
  });
}

bool ConfigureBridge(const std::wstring& name, const std::wstring& variable, const std::wstring& script) {
  return WithBrowserHost(name, [&](TTamrelEdgeBrowser& host) {
    host.SetBridgeVariable(Trim(variable));
    host.SetBridgeActionScript(script);
    WriteLog(L"JavaScript bridge configured for Rectangle \"" + name + L"\"; variable=\"" + host.BridgeVariable() +
             L"\"");
    return true;
  });
}

bool PostWebMessage(const std::wstring& name, const std::wstring& message) {
  return WithBrowserHost(name, [&](TTamrelEdgeBrowser& host) {
    if (!host.IsReady()) return Refuse(L"WebView2 is still initializing; cannot post a message yet.");
    RequireEngineCall(host.WebView()->PostWebMessageAsString(message.c_str()), L"PostWebMessageAsString");
    return true;
  });
}

bool ConfigureBrowserEvent(const std::wstring& name, const std::wstring& event, const std::wstring& variable,
                           const std::wstring& script) {
  return WithBrowserHost(name, [&](TTamrelEdgeBrowser& host) {
    const std::wstring eventName = Trim(event);
    // Checked before anything is stored: a refused name keeps the earlier configuration.
    if (!IsBrowserEventName(eventName)) return Refuse(L"Unsupported browser event: " + eventName);
    host.SetEventName(eventName);
    host.SetEventVariable(Trim(variable));
    host.SetEventActionScript(script);
    WriteLog(L"Event handler configured: Rectangle=\"" + name + L"\"; Event=\"" + eventName + L"\"; Variable=\"" +
             host.EventVariable() + L"\"");
    return true;
  });
}

bool ConfigureDebugConsole(const std::wstring& name, const std::wstring& variable, const std::wstring& script) {
  return WithBrowserHost(name, [&](TTamrelEdgeBrowser& host) {
    host.SetDebugVariable(Trim(variable));
    host.SetDebugActionScript(script);
    return true;
  });
}

bool ClearDebugConsole(const std::wstring& name) {
  return WithBrowserHost(name, [&](TTamrelEdgeBrowser& host) {
    // The configuration stays; only the host variable is emptied.
    if (!host.DebugVariable().empty()) SetHostVariable(host.DebugVariable(), std::wstring());
    return true;
  });
}
