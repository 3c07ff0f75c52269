#include "browser/tamrel_edge_browser.h"
#include <new>
#include "browser/html_limit.h"
#include "browser/page_scripts.h"
#include "support/diagnostic_log.h"
#include "support/errors.h"
#include "support/guard.h"
#include "host/report_error.h"
#include "support/text.h"
#include "webview2/engine_call.h"
#include "webview2/failure_causes.h"

namespace {
const wchar_t kUserDataSubfolder[] = L"tamrelDesk\\WebView2";

// "class: message" of a failure caught while starting the creation or enabling messages.
std::wstring DescribeCurrentException() { return DescribeFailure(CurrentFailure()); }

// A delivery at readiness has no action left to fail: the refusal is logged.
void LogRefusedDelivery(HRESULT hr, const wchar_t* operation) {
  if (FAILED(hr)) WriteLog(L"Pending navigation not delivered: " + EngineCallFailure(operation, hr));
}
}  // namespace

std::wstring ServedFolderFailure(const std::wstring& hostName, HRESULT hr) {
  const std::wstring code = L"HRESULT 0x" + HexUpper8(static_cast<uint32_t>(hr));
  if (hr == E_NOINTERFACE)
    return L"This WebView2 runtime cannot serve a folder (no ICoreWebView2_3, " + code +
           L"): update it, or use zkTamrelLoadFolder.";
  return L"SetVirtualHostNameToFolderMapping failed for " + hostName + L" (" + code + L").";
}

std::unique_ptr<TTamrelEdgeBrowser> TTamrelEdgeBrowser::CreateForRectangle(HWND rectangleHandle) {
  WriteLog(L"Creating WebView host; Rectangle HWND=" +
           HexUpper8(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(rectangleHandle))));
  LogComApartment();

  std::unique_ptr<TTamrelEdgeBrowser> host(new TTamrelEdgeBrowser());
  host->SetParentWindow(rectangleHandle);

  const std::wstring folder = LocalAppDataWithSlash() + kUserDataSubfolder;
  if (!ForceDirectories(folder)) WriteLog(L"WARNING: Could not create WebView2 user-data folder: " + folder);
  host->UserDataFolder = folder;
  WriteLog(L"WebView2 UserDataFolder=" + folder);

  host->InstallHandlers();
  host->InitScript.SetText(StoredPageScriptText());

  RECT client;
  if (GetClientRect(rectangleHandle, &client)) {
    SetWindowPos(host->Handle(), nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
  }

  WriteLog(L"Calling TEdgeBrowser.CreateWebView");
  try {
    host->CreateWebView();
  } catch (...) {
    WriteLog(L"CreateWebView exception: " + DescribeCurrentException());
    throw;  // the half-built host goes with the unique_ptr
  }
  WriteLog(L"TEdgeBrowser.CreateWebView returned; waiting for callback");
  return host;
}

TTamrelEdgeBrowser::~TTamrelEdgeBrowser() = default;

void TTamrelEdgeBrowser::InstallHandlers() {
  OnCreateWebViewCompleted = [this](TEdgeBrowser* sender, HRESULT result) {
    HandleCreateWebViewCompleted(sender, result);
  };
  OnInitScriptRegistered = [this](TEdgeBrowser* sender, HRESULT result) { HandleInitScriptRegistered(sender, result); };
  OnWebMessageReceived = [this](TEdgeBrowser* sender, ICoreWebView2WebMessageReceivedEventArgs* args) {
    HandleWebMessageReceived(sender, args);
  };
  OnExecuteScript = [this](TEdgeBrowser* sender, HRESULT errorCode, LPCWSTR resultObjectAsJson,
                           const std::wstring& resultVariable) {
    HandleExecuteScriptCompleted(sender, errorCode, resultObjectAsJson, resultVariable);
  };
  OnNavigationStarting = [this](TEdgeBrowser* sender, ICoreWebView2NavigationStartingEventArgs* args) {
    HandleNavigationStarting(sender, args);
  };
  OnNavigationCompleted = [this](TEdgeBrowser* sender, ICoreWebView2NavigationCompletedEventArgs* args) {
    HandleNavigationCompleted(sender, args);
  };
  OnContentLoading = [this](TEdgeBrowser* sender, ICoreWebView2ContentLoadingEventArgs* args) {
    HandleContentLoading(sender, args);
  };
  OnDocumentTitleChanged = [this](TEdgeBrowser* sender, IUnknown* args) { HandleDocumentTitleChanged(sender, args); };
  OnSourceChanged = [this](TEdgeBrowser* sender, ICoreWebView2SourceChangedEventArgs* args) {
    HandleSourceChanged(sender, args);
  };
  OnProcessFailed = [this](TEdgeBrowser* sender, ICoreWebView2ProcessFailedEventArgs* args) {
    HandleProcessFailed(sender, args);
  };
}

void TTamrelEdgeBrowser::HandleCreateWebViewCompleted(TEdgeBrowser*, HRESULT result) {
  const std::wstring hex = HexUpper8(static_cast<uint32_t>(result));
  WriteLog(L"OnCreateWebViewCompleted callback received: HRESULT=0x" + hex);
  if (FAILED(result)) {
    // The pending navigation stays stored and is never delivered; nothing retries.
    ReportError(L"WebView2 initialization failed (HRESULT 0x" + hex + L"). See " + LogFilePath() +
                L" for diagnostics.");
    const std::wstring cause = ExplainFailure(TFailureContext::EnvironmentCreation, static_cast<uint32_t>(result));
    if (!cause.empty()) WriteLog(cause);
    return;
  }
  WriteLog(L"WebView2 reports WebViewCreated=True");
  try {
    if (!Settings()) Fail(L"The WebView2 settings are not available.");
    RequireEngineCall(Settings()->put_IsWebMessageEnabled(TRUE), L"put_IsWebMessageEnabled");
    WriteLog(L"WebMessageEnabled=True");
  } catch (...) {
    WriteLog(L"Unable to enable WebMessageEnabled: " + DescribeCurrentException());
  }
  // The pending navigation waits for the page scripts' registration.
}

void TTamrelEdgeBrowser::HandleInitScriptRegistered(TEdgeBrowser*, HRESULT result) {
  if (FAILED(result))
    WriteLog(L"Unable to register the page scripts: HRESULT=0x" + HexUpper8(static_cast<uint32_t>(result)));
  // Emptied before the request goes out, so the slot is clear whatever the engine does.
  if (!FPendingHTML.empty()) {
    const std::wstring html = std::move(FPendingHTML);
    FPendingHTML.clear();
    FPendingURL.clear();
    LogRefusedDelivery(NavigateToString(html), L"NavigateToString");
  } else if (!FPendingURL.empty()) {
    const std::wstring url = std::move(FPendingURL);
    const std::wstring hostName = std::move(FPendingHostName);
    const std::wstring folder = std::move(FPendingFolder);
    FPendingURL.clear();
    FPendingHostName.clear();
    FPendingFolder.clear();
    if (!hostName.empty()) {
      const HRESULT hr =
          SetVirtualHostNameToFolderMapping(hostName, folder, COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND_DENY);
      if (FAILED(hr)) {
        // No action is running to report it; without the mapping the URL would reach nothing.
        WriteLog(L"Pending served folder not applied: " + ServedFolderFailure(hostName, hr));
        return;
      }
    }
    LogRefusedDelivery(Navigate(url), L"Navigate");
  }
}

void TTamrelEdgeBrowser::QueueNavigate(const std::wstring& url) {
  if (AcceptsNavigation()) {
    RequireEngineCall(Navigate(url), L"Navigate");
    return;
  }
  FPendingURL = url;
  FPendingHTML.clear();
  FPendingHostName.clear();
  FPendingFolder.clear();
}

HRESULT TTamrelEdgeBrowser::QueueServedFolder(const std::wstring& hostName, const std::wstring& folder,
                                              const std::wstring& url) {
  if (AcceptsNavigation()) {
    const HRESULT hr = SetVirtualHostNameToFolderMapping(hostName, folder, COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND_DENY);
    if (FAILED(hr)) return hr;
    RequireEngineCall(Navigate(url), L"Navigate");
    return S_OK;
  }
  QueueNavigate(url);
  FPendingHostName = hostName;
  FPendingFolder = folder;
  return S_OK;
}

void TTamrelEdgeBrowser::QueueHTML(const std::wstring& html) {
  // Refused already here, ready or not: queued, it would fail only when nobody is asking.
  RequireHTMLWithinLimit(html);
  if (AcceptsNavigation()) {
    RequireEngineCall(NavigateToString(html), L"NavigateToString");
    return;
  }
  FPendingHTML = html;
  FPendingURL.clear();
  FPendingHostName.clear();
  FPendingFolder.clear();
}

bool TTamrelEdgeBrowser::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message != WM_HOSTCONTROL) return false;
  result = WMHostControl(wParam, lParam);
  return true;
}

LRESULT TTamrelEdgeBrowser::WMHostControl(WPARAM, LPARAM lParam) {
  switch (lParam) {
    case 1:
    case 3: SetVisible(false); break;
    case 2: SetVisible(true); break;
    case 4: RefitToParent(); break;
    default: break;
  }
  return 0;
}

void TTamrelEdgeBrowser::RefitToParent() {
  if (!Handle()) return;
  HWND parent = GetParent(Handle());
  RECT client;
  if (parent && GetClientRect(parent, &client)) {
    // No SWP_SHOWWINDOW: a hidden host stays hidden. The resize sets the controller bounds.
    SetWindowPos(Handle(), nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                 SWP_NOACTIVATE | SWP_NOZORDER);
  }
}
