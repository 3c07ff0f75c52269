#pragma once
// TTamrelEdgeBrowser: the browser host of one Rectangle. A TEdgeBrowser whose window is a
// child of the Rectangle's window; it keeps one pending navigation until the WebView is
// ready, holds the per-Rectangle settings the actions configure, and forwards browser events
// and page messages to the host. The registry owns every host.
#include <windows.h>
#include <memory>
#include <string>
#include "webview2/edge_browser.h"

// Private window message sent or posted to a host's window from outside the plug-in.
// LParam 1 or 3 hides the host, 2 shows it, 4 refits it to its parent; the result is 0.
constexpr UINT WM_HOSTCONTROL = WM_USER + 250;  // 0x4FA

// The message for a virtual host mapping the engine refused (hr from QueueServedFolder).
std::wstring ServedFolderFailure(const std::wstring& hostName, HRESULT hr);

class TTamrelEdgeBrowser final : public TEdgeBrowser {
 public:
  // Builds a host in the Rectangle's window and starts the WebView creation. Raises when
  // starting the creation raises (the half-built host is destroyed); a failure the engine
  // reports later is handed to ReportError and leaves a host that never becomes ready.
  static std::unique_ptr<TTamrelEdgeBrowser> CreateForRectangle(HWND rectangleHandle);
  ~TTamrelEdgeBrowser() override;

  // The Rectangle name exactly as the Create action received it: the registry's key.
  const std::wstring& RectangleName() const { return FRectangleName; }
  void SetRectangleName(const std::wstring& name) { FRectangleName = name; }

  bool IsReady() const { return WebViewCreated(); }

  // Navigate at once when ready and the page scripts are registered; otherwise keep it as the
  // one pending navigation, replacing whatever was pending (URL or HTML). Raise when the engine
  // refuses the navigation, and QueueHTML also for HTML over WebView2's limit (html_limit.h);
  // a refused request leaves the pending navigation as it was.
  void QueueNavigate(const std::wstring& url);
  void QueueHTML(const std::wstring& html);
  const std::wstring& PendingURL() const { return FPendingURL; }
  const std::wstring& PendingHTML() const { return FPendingHTML; }
  // Maps https://<hostName>/ to folder (access of other origins denied), then navigates to url.
  // When navigation is accepted both happen at once and the mapping's HRESULT is returned
  // (nothing is navigated when it failed). Otherwise the two wait together as the one pending
  // navigation, replacing whatever was pending, and are applied in that order when it is
  // delivered; S_OK is returned.
  HRESULT QueueServedFolder(const std::wstring& hostName, const std::wstring& folder, const std::wstring& url);

  // ---- per-host settings written by the actions, read by the event handlers -------------------
  // (A script's result variable is no setting: each ExecuteScript call carries its own.)
  const std::wstring& BridgeVariable() const { return FBridgeVariable; }
  void SetBridgeVariable(const std::wstring& value) { FBridgeVariable = value; }
  const std::wstring& BridgeActionScript() const { return FBridgeActionScript; }
  void SetBridgeActionScript(const std::wstring& value) { FBridgeActionScript = value; }
  const std::wstring& EventName() const { return FEventName; }
  void SetEventName(const std::wstring& value) { FEventName = value; }
  const std::wstring& EventVariable() const { return FEventVariable; }
  void SetEventVariable(const std::wstring& value) { FEventVariable = value; }
  const std::wstring& EventActionScript() const { return FEventActionScript; }
  void SetEventActionScript(const std::wstring& value) { FEventActionScript = value; }
  const std::wstring& DebugVariable() const { return FDebugVariable; }
  void SetDebugVariable(const std::wstring& value) { FDebugVariable = value; }
  const std::wstring& DebugActionScript() const { return FDebugActionScript; }
  void SetDebugActionScript(const std::wstring& value) { FDebugActionScript = value; }

  // ---- handlers installed in the base's slots --------------------------------------------------
  void HandleCreateWebViewCompleted(TEdgeBrowser* sender, HRESULT result);
  // Delivers the pending navigation, now that new documents get the page scripts.
  void HandleInitScriptRegistered(TEdgeBrowser* sender, HRESULT result);
  // The event, message and script handlers (browser_events.cpp). Running a host action
  // script is always their last step: the script may destroy this very host.
  void HandleWebMessageReceived(TEdgeBrowser* sender, ICoreWebView2WebMessageReceivedEventArgs* args);
  // resultVariable: the trimmed result variable of the ExecuteScript call being answered
  // (its context); the result of every script goes to its own call's variable.
  void HandleExecuteScriptCompleted(TEdgeBrowser* sender, HRESULT errorCode, LPCWSTR resultObjectAsJson,
                                    const std::wstring& resultVariable);
  void HandleNavigationStarting(TEdgeBrowser* sender, ICoreWebView2NavigationStartingEventArgs* args);
  void HandleNavigationCompleted(TEdgeBrowser* sender, ICoreWebView2NavigationCompletedEventArgs* args);
  void HandleContentLoading(TEdgeBrowser* sender, ICoreWebView2ContentLoadingEventArgs* args);
  void HandleDocumentTitleChanged(TEdgeBrowser* sender, IUnknown* args);
  void HandleSourceChanged(TEdgeBrowser* sender, ICoreWebView2SourceChangedEventArgs* args);
  void HandleProcessFailed(TEdgeBrowser* sender, ICoreWebView2ProcessFailedEventArgs* args);
  // The step the six browser events share: log, host variables, the configured action script.
  void ForwardBrowserEvent(const std::wstring& name, const std::wstring& details);

  // ---- window message --------------------------------------------------------------------------
  LRESULT WMHostControl(WPARAM wParam, LPARAM lParam);
  // Sizes the window to its parent's client area at (0, 0) without showing a hidden host.
  void RefitToParent();

 protected:
  bool HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  TTamrelEdgeBrowser() = default;
  void InstallHandlers();
  bool AcceptsNavigation() const { return WebViewCreated() && InitScriptSettled(); }

  std::wstring FPendingURL;
  std::wstring FPendingHTML;
  std::wstring FPendingHostName;  // with FPendingFolder: the mapping FPendingURL needs
  std::wstring FPendingFolder;
  std::wstring FRectangleName;
  std::wstring FBridgeVariable;
  std::wstring FBridgeActionScript;
  std::wstring FEventName;
  std::wstring FEventVariable;
  std::wstring FEventActionScript;
  std::wstring FDebugVariable;
  std::wstring FDebugActionScript;
};
