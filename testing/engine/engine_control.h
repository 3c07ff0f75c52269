#pragma once
// Control surface of the WebView2 engine double (test-only WebView2Loader.dll).
// Besides the loader's two exports, the double exports these cdecl functions so that a
// test running in the same process can steer the engine and read back every call the
// plug-in made. Tests reach them through EngineClient (engine_client.h), which loads the
// double from testhost::EngineDirectory() (the same file the plug-in loads).
//
// Like the real runtime, the double never completes inside the call that started an
// operation: creation completions, script completions, events and web messages are posted
// to a hidden window of the calling thread and arrive while that thread pumps messages.
#include <windows.h>
#include <cstdint>

extern "C" {

// Creation steps, and calls on a created webview, that a test can make fail.
enum EngineStep {
  ENGINE_STEP_CREATE_ENVIRONMENT_CALL = 0,     // CreateCoreWebView2EnvironmentWithOptions returns hr at once
  ENGINE_STEP_ENVIRONMENT_COMPLETION = 1,      // its completion arrives with hr and no environment
  ENGINE_STEP_CREATE_CONTROLLER_CALL = 2,      // CreateCoreWebView2Controller returns hr at once
  ENGINE_STEP_CONTROLLER_COMPLETION = 3,       // its completion arrives with hr and no controller
  ENGINE_STEP_GET_WEBVIEW = 4,                 // ICoreWebView2Controller::get_CoreWebView2 returns hr
  ENGINE_STEP_GET_SETTINGS = 5,                // ICoreWebView2::get_Settings returns hr
  ENGINE_STEP_PUT_WEB_MESSAGE_ENABLED = 6,     // ICoreWebView2Settings::put_IsWebMessageEnabled returns hr
  ENGINE_STEP_DOCUMENT_SCRIPT_COMPLETION = 7,  // AddScriptToExecuteOnDocumentCreated completes with hr, no id;
                                               // the script is not registered
  // ICoreWebView2 calls refused with hr at once, after they are recorded; nothing happens.
  ENGINE_STEP_NAVIGATE = 8,
  ENGINE_STEP_NAVIGATE_TO_STRING = 9,
  ENGINE_STEP_EXECUTE_SCRIPT = 10,  // its completion handler is neither kept nor invoked
  ENGINE_STEP_POST_WEB_MESSAGE_AS_STRING = 11,
  ENGINE_STEP_COUNT = 12
};

// The six browser events.
enum EngineEvent {
  ENGINE_EVENT_NAVIGATION_STARTING = 0,
  ENGINE_EVENT_NAVIGATION_COMPLETED = 1,
  ENGINE_EVENT_CONTENT_LOADING = 2,
  ENGINE_EVENT_DOCUMENT_TITLE_CHANGED = 3,
  ENGINE_EVENT_SOURCE_CHANGED = 4,
  ENGINE_EVENT_PROCESS_FAILED = 5
};

struct EngineEventArgs {
  const wchar_t* uri;         // NavigationStarting get_Uri (null: get_Uri gives a null string)
  BOOL isSuccess;             // NavigationCompleted
  int32_t webErrorStatus;     // NavigationCompleted
  BOOL isErrorPage;           // ContentLoading
  uint64_t navigationId;      // ContentLoading
  BOOL isNewDocument;         // SourceChanged
  int32_t processFailedKind;  // ProcessFailed
};

// Forgets every record and failure setting; objects still alive stay alive.
void __cdecl Engine_Reset(void);
// Makes a step fail with hr (S_OK clears it). Applies to every later creation or call.
void __cdecl Engine_FailStep(int32_t step, HRESULT hr);
// COM objects of the double that are still referenced by anyone.
int32_t __cdecl Engine_LiveObjects(void);

// Webviews are numbered 1, 2, ... in order of controller creation since the last reset.
int32_t __cdecl Engine_WebViewCount(void);

// Every call the plug-in made on an object of the double, in order.
// Names are the WebView2 method names ("CreateCoreWebView2EnvironmentWithOptions",
// "CreateCoreWebView2Controller", "put_Bounds", "Navigate", "NavigateToString",
// "AddScriptToExecuteOnDocumentCreated", "add_NavigationStarting", "Close", ...).
// webview: number of the webview the call concerns (0 for environment-level calls).
// Arguments are rendered as text: strings as given, BOOL as 0/1, RECT as "l,t,r,b",
// doubles with %.17g, HWND as eight upper-case hex digits, a null string as "(null)".
// Several arguments are separated by '|'.
int32_t __cdecl Engine_CallCount(void);
// Copies into buf (cap characters incl. NUL) and returns the full length; -1 for a bad index.
int32_t __cdecl Engine_CallName(int32_t index, wchar_t* buf, int32_t cap);
int32_t __cdecl Engine_CallArgs(int32_t index, wchar_t* buf, int32_t cap);
int32_t __cdecl Engine_CallWebView(int32_t index);

// The environment options the plug-in passed with the last environment creation, read
// through its ICoreWebView2EnvironmentOptions getters (a null getter result gives "(null)").
// Each buffer receives at most cap characters incl. NUL (any may be null). Returns TRUE when
// that creation passed an options object; FALSE (all strings "(null)" except the two folders)
// when it passed none or no creation happened since the last reset.
int32_t __cdecl Engine_LastOptions(wchar_t* browserFolder, wchar_t* userDataFolder, wchar_t* additionalArgs,
                                   wchar_t* language, wchar_t* targetVersion, BOOL* allowSso, int32_t cap);

// State of webview n.
HWND __cdecl Engine_ParentWindow(int32_t webview);
BOOL __cdecl Engine_GetBounds(int32_t webview, RECT* bounds);
BOOL __cdecl Engine_IsVisible(int32_t webview);
double __cdecl Engine_GetZoom(int32_t webview);
BOOL __cdecl Engine_IsClosed(int32_t webview);
BOOL __cdecl Engine_WebMessageEnabled(int32_t webview);
int32_t __cdecl Engine_HandlerCount(int32_t webview);         // event handlers currently registered
int32_t __cdecl Engine_DocumentScriptCount(int32_t webview);  // scripts currently registered
int32_t __cdecl Engine_DocumentScript(int32_t webview, int32_t i, wchar_t* buf, int32_t cap);
// Navigations (Navigate, NavigateToString) webview n started, and the document scripts that
// ran in the document of navigation i: those registered whose completion had been delivered
// when it started, in order of registration.
int32_t __cdecl Engine_NavigationCount(int32_t webview);
int32_t __cdecl Engine_NavigationScriptCount(int32_t webview, int32_t navigation);
int32_t __cdecl Engine_NavigationScript(int32_t webview, int32_t navigation, int32_t i, wchar_t* buf, int32_t cap);

// Page state that the getters report.
void __cdecl Engine_SetSource(int32_t webview, const wchar_t* uri);
void __cdecl Engine_SetTitle(int32_t webview, const wchar_t* title);
void __cdecl Engine_SetHistory(int32_t webview, BOOL canGoBack, BOOL canGoForward);
void __cdecl Engine_SetZoom(int32_t webview, double factor);

// Posts an event / a web message to webview n; it arrives while the thread pumps.
void __cdecl Engine_FireEvent(int32_t webview, int32_t event, const EngineEventArgs* args);
// isString FALSE: TryGetWebMessageAsString fails with E_INVALIDARG.
void __cdecl Engine_PostWebMessage(int32_t webview, const wchar_t* text, BOOL isString);

// ExecuteScript completions. In automatic mode (the default) each script completes through
// the message loop with S_OK and the JSON set by Engine_SetScriptResult ("null" at first).
// In manual mode scripts wait until the test completes them, in any order.
void __cdecl Engine_SetManualScripts(BOOL manual);
void __cdecl Engine_SetScriptResult(HRESULT hr, const wchar_t* json);
int32_t __cdecl Engine_PendingScriptCount(void);
// Completes the pending script at index (0 = oldest still pending); posted, arrives on pump.
BOOL __cdecl Engine_CompleteScript(int32_t index, HRESULT hr, const wchar_t* json);

// ICoreWebView2_3's virtual host mapping. offered FALSE: QueryInterface for ICoreWebView2_2 and
// ICoreWebView2_3 gives E_NOINTERFACE (an old runtime); otherwise the mapping call returns
// result (S_OK: the mapping is kept). Calls are recorded as "SetVirtualHostNameToFolderMapping"
// with host|folder|access kind. Both settings return to offered and S_OK on reset.
void __cdecl Engine_SetVirtualHostMapping(BOOL offered, HRESULT result);
// Folder mapped to host on webview n (cap characters incl. NUL); -1 when host is not mapped.
int32_t __cdecl Engine_VirtualHostFolder(int32_t webview, const wchar_t* host, wchar_t* buf, int32_t cap);

// Completions, events and messages posted on the calling thread that have not arrived yet.
int32_t __cdecl Engine_PendingDeliveries(void);

// GetAvailableCoreWebView2BrowserVersionString: hr and the version it reports (S_OK and
// "138.0.3351.48" after a reset; a null version gives S_OK with a null string).
void __cdecl Engine_SetBrowserVersion(HRESULT hr, const wchar_t* version);

}  // extern "C"
