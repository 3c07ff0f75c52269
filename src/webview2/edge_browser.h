#pragma once
// TEdgeBrowser: the WebView2 browser control. A child window that creates one WebView2
// environment, controller and WebView on request, holds them together with the WebView's
// settings, and passes the engine's completions and events to its handler slots.
//
// Lifetimes: every handler object given to the engine reaches the browser only through a
// shared TBrowserLink that the destructor clears first, so a completion or event that
// arrives after (or during) destruction reaches nothing. A slot is called through a copy of
// the std::function, so a slot may end in code that destroys this browser; after a slot
// returns, the browser is touched only when the link shows it still exists.
#include <windows.h>
#include <eventtoken.h>
#include <wrl/client.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "webview2/event_token.h"
#include "webview2/string_lines.h"
#include "webview2/webview2.h"

enum class TBrowserControlState { None, Creating, Created, Failed };

class TEdgeBrowser;

// Shared between a browser and the handler objects it hands to the engine.
struct TBrowserLink {
  TEdgeBrowser* browser = nullptr;
};

class TEdgeBrowser {
 public:
  using TCreateWebViewCompletedEvent = std::function<void(TEdgeBrowser* sender, HRESULT result)>;
  using TInitScriptRegisteredEvent = std::function<void(TEdgeBrowser* sender, HRESULT result)>;
  using TWebMessageReceivedEvent =
      std::function<void(TEdgeBrowser* sender, ICoreWebView2WebMessageReceivedEventArgs* args)>;
  // context: the text that the ExecuteScript call being answered was given.
  using TExecuteScriptEvent = std::function<void(TEdgeBrowser* sender, HRESULT errorCode, LPCWSTR resultObjectAsJson,
                                                 const std::wstring& context)>;
  using TNavigationStartingEvent =
      std::function<void(TEdgeBrowser* sender, ICoreWebView2NavigationStartingEventArgs* args)>;
  using TNavigationCompletedEvent =
      std::function<void(TEdgeBrowser* sender, ICoreWebView2NavigationCompletedEventArgs* args)>;
  using TContentLoadingEvent = std::function<void(TEdgeBrowser* sender, ICoreWebView2ContentLoadingEventArgs* args)>;
  using TDocumentTitleChangedEvent = std::function<void(TEdgeBrowser* sender, IUnknown* args)>;
  using TSourceChangedEvent = std::function<void(TEdgeBrowser* sender, ICoreWebView2SourceChangedEventArgs* args)>;
  using TProcessFailedEvent = std::function<void(TEdgeBrowser* sender, ICoreWebView2ProcessFailedEventArgs* args)>;

  TEdgeBrowser();
  virtual ~TEdgeBrowser();
  TEdgeBrowser(const TEdgeBrowser&) = delete;
  TEdgeBrowser& operator=(const TEdgeBrowser&) = delete;

  // ---- window --------------------------------------------------------------------------------
  // Creates the control's window as a visible child of parent (or moves it there); raises a
  // TamrelError when Windows refuses to create it.
  void SetParentWindow(HWND parent);
  // Null before SetParentWindow and after the window was destroyed with its parent.
  HWND Handle() const { return FHandle; }
  bool Visible() const;
  // Shows or hides the window and sets the controller's IsVisible to match.
  void SetVisible(bool visible);

  // ---- creation --------------------------------------------------------------------------------
  std::wstring BrowserExecutableFolder;  // empty: the installed runtime
  std::wstring UserDataFolder;           // environment variables are expanded when creation starts
  TStringLines InitScript;               // registered as one document-creation script once created

  // Starts the asynchronous creation (only on Windows 7 or later, when no WebView exists and
  // none is being created). Every outcome arrives in OnCreateWebViewCompleted.
  void CreateWebView();
  TBrowserControlState BrowserControlState() const { return FBrowserControlState; }
  // True exactly when environment, controller, WebView and settings are all held.
  bool WebViewCreated() const;
  // True once the engine has answered the registration of InitScript (whatever its result),
  // or when there was nothing to register: documents started from then on run the script.
  bool InitScriptSettled() const { return FInitScriptSettled; }

  ICoreWebView2Environment* Environment() const { return FEnvironment.Get(); }
  ICoreWebView2Controller* Controller() const { return FController.Get(); }
  ICoreWebView2* WebView() const { return FWebView.Get(); }
  ICoreWebView2Settings* Settings() const { return FSettings.Get(); }

  // ---- operations (fail with HRESULT_FROM_WIN32(ERROR_INVALID_STATE) before the WebView exists)
  HRESULT Navigate(const std::wstring& uri);
  HRESULT NavigateToString(const std::wstring& html);
  // ICoreWebView2_3's mapping of https://<hostName>/ to a folder; E_NOINTERFACE on a runtime
  // without that interface.
  HRESULT SetVirtualHostNameToFolderMapping(const std::wstring& hostName, const std::wstring& folder,
                                            COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND accessKind);
  // The completion arrives in OnExecuteScript with this call's own context, so that scripts
  // in flight together each get theirs back, in whatever order they complete.
  HRESULT ExecuteScript(const std::wstring& script, const std::wstring& context = std::wstring());

  // ---- handler slots (raw WebView2 arguments; each slot may be empty) -------------------------
  TCreateWebViewCompletedEvent OnCreateWebViewCompleted;
  // Once per created WebView, after OnCreateWebViewCompleted: InitScript is registered (or
  // the registration failed with result, or there was none, S_OK).
  TInitScriptRegisteredEvent OnInitScriptRegistered;
  TWebMessageReceivedEvent OnWebMessageReceived;
  TExecuteScriptEvent OnExecuteScript;
  TNavigationStartingEvent OnNavigationStarting;
  TNavigationCompletedEvent OnNavigationCompleted;
  TContentLoadingEvent OnContentLoading;
  TDocumentTitleChangedEvent OnDocumentTitleChanged;
  TSourceChangedEvent OnSourceChanged;
  TProcessFailedEvent OnProcessFailed;

 protected:
  // A derived control answers its own window messages here; true when handled (result set).
  virtual bool HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OwnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void EnvironmentCompleted(HRESULT result, ICoreWebView2Environment* environment);
  void ControllerCompleted(HRESULT result, ICoreWebView2Controller* controller);
  // Calls OnCreateWebViewCompleted; false when the browser was destroyed meanwhile.
  bool NotifyCreateWebViewCompleted(HRESULT result);
  void SubscribeEvents();
  void UnsubscribeEvents();
  // False when the engine will answer later; otherwise result is the final outcome.
  bool RegisterInitScript(HRESULT& result);
  void InitScriptCompleted(HRESULT result, LPCWSTR id);
  void UpdateBounds();
  void MatchControllerVisibility();

  std::shared_ptr<TBrowserLink> FLink;
  HWND FHandle = nullptr;
  TBrowserControlState FBrowserControlState = TBrowserControlState::None;
  Microsoft::WRL::ComPtr<ICoreWebView2Environment> FEnvironment;
  Microsoft::WRL::ComPtr<ICoreWebView2Controller> FController;
  Microsoft::WRL::ComPtr<ICoreWebView2> FWebView;
  Microsoft::WRL::ComPtr<ICoreWebView2Settings> FSettings;
  std::vector<TEventToken> FSubscriptions;  // removed in subscription order
  std::wstring FInitScriptId;               // id of the registered document script, for its removal
  bool FInitScriptSettled = false;
};
