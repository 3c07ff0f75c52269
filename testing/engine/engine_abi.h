#pragma once
// The engine double's own transcription of the WebView2 COM interfaces it serves and calls
// (x86, SDK 1.0 layout). Written independently of the plug-in's declarations so that a slot
// error on either side shows up as a failing test instead of two matching mistakes.
//
// Each interface is a slot list: X(slot, method, (parameters), x86 argument bytes incl. this).
// From one list come the pure virtual __stdcall methods in slot order (GCC lays them out in
// declaration order; no overloads, no virtual destructor) and compile-time checks that the
// slot numbers run on without gaps to the interface's last slot and that each method's
// parameters pop exactly the bytes the runtime's stdcall export would.
// Interfaces the double never uses are reduced to IUnknown* (same size) where they appear.
#include <windows.h>
#include <unknwn.h>
#include <objidl.h>
#include <oaidl.h>
#include <eventtoken.h>
#include <cstdint>

namespace engine_abi {

// 00000000-0000-0000-C000-000000000046, spelled out so that nothing needs uuid.lib.
inline constexpr GUID IID_Unknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Argument bytes that a __stdcall method pops: this plus each parameter rounded up to 4.
template <typename F>
struct StdcallArgBytes;
template <typename R, typename... A>
struct StdcallArgBytes<R(A...)> {
  static constexpr int value = 4 + (0 + ... + ((static_cast<int>(sizeof(A)) + 3) / 4 * 4));
};

constexpr bool SlotsRunOn(const int* slots, int count, int total) {
  for (int i = 0; i < count; ++i)
    if (slots[i] != 3 + i) return false;
  return 3 + count == total;
}

#define ENGINE_ABI_DECLARE(slot, name, params, bytes) virtual HRESULT STDMETHODCALLTYPE name params = 0;
#define ENGINE_ABI_SLOT_NUMBER(slot, name, params, bytes) slot,
#define ENGINE_ABI_CHECK_BYTES(slot, name, params, bytes) \
  static_assert(StdcallArgBytes<HRESULT params>::value == bytes, "x86 argument bytes of " #name);

// Declares interface Name (parent IUnknown) with its IID and checks its layout against
// `total`, the number of slots including the three of IUnknown.
#define ENGINE_ABI_INTERFACE(Name, total, ...)                                               \
  inline constexpr GUID IID_##Name = __VA_ARGS__;                                            \
  struct Name : public IUnknown {                                                            \
    ENGINE_##Name##_SLOTS(ENGINE_ABI_DECLARE)                                                \
  };                                                                                         \
  namespace layout_##Name {                                                                  \
    constexpr int kSlots[] = {ENGINE_##Name##_SLOTS(ENGINE_ABI_SLOT_NUMBER)};                \
    static_assert(SlotsRunOn(kSlots, static_cast<int>(sizeof(kSlots) / sizeof(int)), total), \
                  "slots of " #Name " must run from 3 to the last slot without gaps");       \
    ENGINE_##Name##_SLOTS(ENGINE_ABI_CHECK_BYTES)                                            \
  }                                                                                          \
  static_assert(sizeof(Name) == sizeof(void*), #Name " must hold only its vtable pointer");

struct ICoreWebView2EnvironmentOptions;
struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler;
struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler;
struct ICoreWebView2ExecuteScriptCompletedHandler;
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler;
struct ICoreWebView2Environment;
struct ICoreWebView2Controller;
struct ICoreWebView2;
struct ICoreWebView2Settings;
struct ICoreWebView2NavigationStartingEventHandler;
struct ICoreWebView2NavigationCompletedEventHandler;
struct ICoreWebView2ContentLoadingEventHandler;
struct ICoreWebView2DocumentTitleChangedEventHandler;
struct ICoreWebView2SourceChangedEventHandler;
struct ICoreWebView2ProcessFailedEventHandler;
struct ICoreWebView2WebMessageReceivedEventHandler;
struct ICoreWebView2NavigationStartingEventArgs;
struct ICoreWebView2NavigationCompletedEventArgs;
struct ICoreWebView2ContentLoadingEventArgs;
struct ICoreWebView2SourceChangedEventArgs;
struct ICoreWebView2ProcessFailedEventArgs;
struct ICoreWebView2WebMessageReceivedEventArgs;

// ICoreWebView2EnvironmentOptions
#define ENGINE_ICoreWebView2EnvironmentOptions_SLOTS(X)               \
  X(3, get_AdditionalBrowserArguments, (LPWSTR * value), 8)           \
  X(4, put_AdditionalBrowserArguments, (LPCWSTR value), 8)            \
  X(5, get_Language, (LPWSTR * value), 8)                             \
  X(6, put_Language, (LPCWSTR value), 8)                              \
  X(7, get_TargetCompatibleBrowserVersion, (LPWSTR * value), 8)       \
  X(8, put_TargetCompatibleBrowserVersion, (LPCWSTR value), 8)        \
  X(9, get_AllowSingleSignOnUsingOSPrimaryAccount, (BOOL * allow), 8) \
  X(10, put_AllowSingleSignOnUsingOSPrimaryAccount, (BOOL allow), 8)

// ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler
#define ENGINE_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler_SLOTS(X) \
  X(3, Invoke, (HRESULT errorCode, ICoreWebView2Environment * result), 12)

// ICoreWebView2CreateCoreWebView2ControllerCompletedHandler
#define ENGINE_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler_SLOTS(X) \
  X(3, Invoke, (HRESULT errorCode, ICoreWebView2Controller * result), 12)

// ICoreWebView2ExecuteScriptCompletedHandler
#define ENGINE_ICoreWebView2ExecuteScriptCompletedHandler_SLOTS(X) X(3, Invoke, (HRESULT errorCode, LPCWSTR result), 12)

// ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler
#define ENGINE_ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler_SLOTS(X) \
  X(3, Invoke, (HRESULT errorCode, LPCWSTR result), 12)

// ICoreWebView2Environment
#define ENGINE_ICoreWebView2Environment_SLOTS(X)                                                         \
  X(3, CreateCoreWebView2Controller,                                                                     \
    (HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler * handler), 12)        \
  X(4, CreateWebResourceResponse,                                                                        \
    (IStream * content, int statusCode, LPCWSTR reasonPhrase, LPCWSTR headers, IUnknown** response), 24) \
  X(5, get_BrowserVersionString, (LPWSTR * versionInfo), 8)                                              \
  X(6, add_NewBrowserVersionAvailable, (IUnknown * eventHandler, EventRegistrationToken * token), 12)    \
  X(7, remove_NewBrowserVersionAvailable, (EventRegistrationToken token), 12)

// ICoreWebView2Controller
#define ENGINE_ICoreWebView2Controller_SLOTS(X)                                                   \
  X(3, get_IsVisible, (BOOL * isVisible), 8)                                                      \
  X(4, put_IsVisible, (BOOL isVisible), 8)                                                        \
  X(5, get_Bounds, (RECT * bounds), 8)                                                            \
  X(6, put_Bounds, (RECT bounds), 20)                                                             \
  X(7, get_ZoomFactor, (double* zoomFactor), 8)                                                   \
  X(8, put_ZoomFactor, (double zoomFactor), 12)                                                   \
  X(9, add_ZoomFactorChanged, (IUnknown * eventHandler, EventRegistrationToken * token), 12)      \
  X(10, remove_ZoomFactorChanged, (EventRegistrationToken token), 12)                             \
  X(11, SetBoundsAndZoomFactor, (RECT bounds, double zoomFactor), 28)                             \
  X(12, MoveFocus, (INT32 reason), 8)                                                             \
  X(13, add_MoveFocusRequested, (IUnknown * eventHandler, EventRegistrationToken * token), 12)    \
  X(14, remove_MoveFocusRequested, (EventRegistrationToken token), 12)                            \
  X(15, add_GotFocus, (IUnknown * eventHandler, EventRegistrationToken * token), 12)              \
  X(16, remove_GotFocus, (EventRegistrationToken token), 12)                                      \
  X(17, add_LostFocus, (IUnknown * eventHandler, EventRegistrationToken * token), 12)             \
  X(18, remove_LostFocus, (EventRegistrationToken token), 12)                                     \
  X(19, add_AcceleratorKeyPressed, (IUnknown * eventHandler, EventRegistrationToken * token), 12) \
  X(20, remove_AcceleratorKeyPressed, (EventRegistrationToken token), 12)                         \
  X(21, get_ParentWindow, (HWND * parentWindow), 8)                                               \
  X(22, put_ParentWindow, (HWND parentWindow), 8)                                                 \
  X(23, NotifyParentWindowPositionChanged, (), 4)                                                 \
  X(24, Close, (), 4)                                                                             \
  X(25, get_CoreWebView2, (ICoreWebView2 * *coreWebView2), 8)

// ICoreWebView2
#define ENGINE_ICoreWebView2_SLOTS(X)                                                                                \
  X(3, get_Settings, (ICoreWebView2Settings * *settings), 8)                                                         \
  X(4, get_Source, (LPWSTR * uri), 8)                                                                                \
  X(5, Navigate, (LPCWSTR uri), 8)                                                                                   \
  X(6, NavigateToString, (LPCWSTR htmlContent), 8)                                                                   \
  X(7, add_NavigationStarting,                                                                                       \
    (ICoreWebView2NavigationStartingEventHandler * eventHandler, EventRegistrationToken * token), 12)                \
  X(8, remove_NavigationStarting, (EventRegistrationToken token), 12)                                                \
  X(9, add_ContentLoading, (ICoreWebView2ContentLoadingEventHandler * eventHandler, EventRegistrationToken * token), \
    12)                                                                                                              \
  X(10, remove_ContentLoading, (EventRegistrationToken token), 12)                                                   \
  X(11, add_SourceChanged, (ICoreWebView2SourceChangedEventHandler * eventHandler, EventRegistrationToken * token),  \
    12)                                                                                                              \
  X(12, remove_SourceChanged, (EventRegistrationToken token), 12)                                                    \
  X(13, add_HistoryChanged, (IUnknown * eventHandler, EventRegistrationToken * token), 12)                           \
  X(14, remove_HistoryChanged, (EventRegistrationToken token), 12)                                                   \
  X(15, add_NavigationCompleted,                                                                                     \
    (ICoreWebView2NavigationCompletedEventHandler * eventHandler, EventRegistrationToken * token), 12)               \
  X(16, remove_NavigationCompleted, (EventRegistrationToken token), 12)                                              \
  X(17, add_FrameNavigationStarting,                                                                                 \
    (ICoreWebView2NavigationStartingEventHandler * eventHandler, EventRegistrationToken * token), 12)                \
  X(18, remove_FrameNavigationStarting, (EventRegistrationToken token), 12)                                          \
  X(19, add_FrameNavigationCompleted,                                                                                \
    (ICoreWebView2NavigationCompletedEventHandler * eventHandler, EventRegistrationToken * token), 12)               \
  X(20, remove_FrameNavigationCompleted, (EventRegistrationToken token), 12)                                         \
  X(21, add_ScriptDialogOpening, (IUnknown * eventHandler, EventRegistrationToken * token), 12)                      \
  X(22, remove_ScriptDialogOpening, (EventRegistrationToken token), 12)                                              \
  X(23, add_PermissionRequested, (IUnknown * eventHandler, EventRegistrationToken * token), 12)                      \
  X(24, remove_PermissionRequested, (EventRegistrationToken token), 12)                                              \
  X(25, add_ProcessFailed, (ICoreWebView2ProcessFailedEventHandler * eventHandler, EventRegistrationToken * token),  \
    12)                                                                                                              \
  X(26, remove_ProcessFailed, (EventRegistrationToken token), 12)                                                    \
  X(27, AddScriptToExecuteOnDocumentCreated,                                                                         \
    (LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler * handler), 12)            \
  X(28, RemoveScriptToExecuteOnDocumentCreated, (LPCWSTR id), 8)                                                     \
  X(29, ExecuteScript, (LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler * handler), 12)               \
  X(30, CapturePreview, (INT32 imageFormat, IStream * imageStream, IUnknown * handler), 16)                          \
  X(31, Reload, (), 4)                                                                                               \
  X(32, PostWebMessageAsJson, (LPCWSTR webMessageAsJson), 8)                                                         \
  X(33, PostWebMessageAsString, (LPCWSTR webMessageAsString), 8)                                                     \
  X(34, add_WebMessageReceived,                                                                                      \
    (ICoreWebView2WebMessageReceivedEventHandler * handler, EventRegistrationToken * token), 12)                     \
  X(35, remove_WebMessageReceived, (EventRegistrationToken token), 12)                                               \
  X(36, CallDevToolsProtocolMethod, (LPCWSTR methodName, LPCWSTR parametersAsJson, IUnknown * handler), 16)          \
  X(37, get_BrowserProcessId, (UINT32 * value), 8)                                                                   \
  X(38, get_CanGoBack, (BOOL * canGoBack), 8)                                                                        \
  X(39, get_CanGoForward, (BOOL * canGoForward), 8)                                                                  \
  X(40, GoBack, (), 4)                                                                                               \
  X(41, GoForward, (), 4)                                                                                            \
  X(42, GetDevToolsProtocolEventReceiver, (LPCWSTR eventName, IUnknown * *receiver), 12)                             \
  X(43, Stop, (), 4)                                                                                                 \
  X(44, add_NewWindowRequested, (IUnknown * eventHandler, EventRegistrationToken * token), 12)                       \
  X(45, remove_NewWindowRequested, (EventRegistrationToken token), 12)                                               \
  X(46, add_DocumentTitleChanged,                                                                                    \
    (ICoreWebView2DocumentTitleChangedEventHandler * eventHandler, EventRegistrationToken * token), 12)              \
  X(47, remove_DocumentTitleChanged, (EventRegistrationToken token), 12)                                             \
  X(48, get_DocumentTitle, (LPWSTR * title), 8)                                                                      \
  X(49, AddHostObjectToScript, (LPCWSTR name, VARIANT * object), 12)                                                 \
  X(50, RemoveHostObjectFromScript, (LPCWSTR name), 8)                                                               \
  X(51, OpenDevToolsWindow, (), 4)                                                                                   \
  X(52, add_ContainsFullScreenElementChanged, (IUnknown * eventHandler, EventRegistrationToken * token), 12)         \
  X(53, remove_ContainsFullScreenElementChanged, (EventRegistrationToken token), 12)                                 \
  X(54, get_ContainsFullScreenElement, (BOOL * containsFullScreenElement), 8)                                        \
  X(55, add_WebResourceRequested, (IUnknown * eventHandler, EventRegistrationToken * token), 12)                     \
  X(56, remove_WebResourceRequested, (EventRegistrationToken token), 12)                                             \
  X(57, AddWebResourceRequestedFilter, (const LPCWSTR uri, INT32 resourceContext), 12)                               \
  X(58, RemoveWebResourceRequestedFilter, (const LPCWSTR uri, INT32 resourceContext), 12)                            \
  X(59, add_WindowCloseRequested, (IUnknown * eventHandler, EventRegistrationToken * token), 12)                     \
  X(60, remove_WindowCloseRequested, (EventRegistrationToken token), 12)

// ICoreWebView2Settings
#define ENGINE_ICoreWebView2Settings_SLOTS(X)                                          \
  X(3, get_IsScriptEnabled, (BOOL * isScriptEnabled), 8)                               \
  X(4, put_IsScriptEnabled, (BOOL isScriptEnabled), 8)                                 \
  X(5, get_IsWebMessageEnabled, (BOOL * isWebMessageEnabled), 8)                       \
  X(6, put_IsWebMessageEnabled, (BOOL isWebMessageEnabled), 8)                         \
  X(7, get_AreDefaultScriptDialogsEnabled, (BOOL * areDefaultScriptDialogsEnabled), 8) \
  X(8, put_AreDefaultScriptDialogsEnabled, (BOOL areDefaultScriptDialogsEnabled), 8)   \
  X(9, get_IsStatusBarEnabled, (BOOL * isStatusBarEnabled), 8)                         \
  X(10, put_IsStatusBarEnabled, (BOOL isStatusBarEnabled), 8)                          \
  X(11, get_AreDevToolsEnabled, (BOOL * areDevToolsEnabled), 8)                        \
  X(12, put_AreDevToolsEnabled, (BOOL areDevToolsEnabled), 8)                          \
  X(13, get_AreDefaultContextMenusEnabled, (BOOL * enabled), 8)                        \
  X(14, put_AreDefaultContextMenusEnabled, (BOOL enabled), 8)                          \
  X(15, get_AreHostObjectsAllowed, (BOOL * allowed), 8)                                \
  X(16, put_AreHostObjectsAllowed, (BOOL allowed), 8)                                  \
  X(17, get_IsZoomControlEnabled, (BOOL * enabled), 8)                                 \
  X(18, put_IsZoomControlEnabled, (BOOL enabled), 8)                                   \
  X(19, get_IsBuiltInErrorPageEnabled, (BOOL * enabled), 8)                            \
  X(20, put_IsBuiltInErrorPageEnabled, (BOOL enabled), 8)

// ICoreWebView2NavigationStartingEventHandler
#define ENGINE_ICoreWebView2NavigationStartingEventHandler_SLOTS(X) \
  X(3, Invoke, (ICoreWebView2 * sender, ICoreWebView2NavigationStartingEventArgs * args), 12)

// ICoreWebView2NavigationCompletedEventHandler
#define ENGINE_ICoreWebView2NavigationCompletedEventHandler_SLOTS(X) \
  X(3, Invoke, (ICoreWebView2 * sender, ICoreWebView2NavigationCompletedEventArgs * args), 12)

// ICoreWebView2ContentLoadingEventHandler
#define ENGINE_ICoreWebView2ContentLoadingEventHandler_SLOTS(X) \
  X(3, Invoke, (ICoreWebView2 * sender, ICoreWebView2ContentLoadingEventArgs * args), 12)

// ICoreWebView2DocumentTitleChangedEventHandler
#define ENGINE_ICoreWebView2DocumentTitleChangedEventHandler_SLOTS(X) \
  X(3, Invoke, (ICoreWebView2 * sender, IUnknown * args), 12)

// ICoreWebView2SourceChangedEventHandler
#define ENGINE_ICoreWebView2SourceChangedEventHandler_SLOTS(X) \
  X(3, Invoke, (ICoreWebView2 * sender, ICoreWebView2SourceChangedEventArgs * args), 12)

// ICoreWebView2ProcessFailedEventHandler
#define ENGINE_ICoreWebView2ProcessFailedEventHandler_SLOTS(X) \
  X(3, Invoke, (ICoreWebView2 * sender, ICoreWebView2ProcessFailedEventArgs * args), 12)

// ICoreWebView2WebMessageReceivedEventHandler
#define ENGINE_ICoreWebView2WebMessageReceivedEventHandler_SLOTS(X) \
  X(3, Invoke, (ICoreWebView2 * sender, ICoreWebView2WebMessageReceivedEventArgs * args), 12)

// ICoreWebView2NavigationStartingEventArgs
#define ENGINE_ICoreWebView2NavigationStartingEventArgs_SLOTS(X) \
  X(3, get_Uri, (LPWSTR * uri), 8)                               \
  X(4, get_IsUserInitiated, (BOOL * isUserInitiated), 8)         \
  X(5, get_IsRedirected, (BOOL * isRedirected), 8)               \
  X(6, get_RequestHeaders, (IUnknown * *requestHeaders), 8)      \
  X(7, get_Cancel, (BOOL * cancel), 8)                           \
  X(8, put_Cancel, (BOOL cancel), 8)                             \
  X(9, get_NavigationId, (UINT64 * navigationId), 8)

// ICoreWebView2NavigationCompletedEventArgs
#define ENGINE_ICoreWebView2NavigationCompletedEventArgs_SLOTS(X) \
  X(3, get_IsSuccess, (BOOL * isSuccess), 8)                      \
  X(4, get_WebErrorStatus, (INT32 * webErrorStatus), 8)           \
  X(5, get_NavigationId, (UINT64 * navigationId), 8)

// ICoreWebView2ContentLoadingEventArgs
#define ENGINE_ICoreWebView2ContentLoadingEventArgs_SLOTS(X) \
  X(3, get_IsErrorPage, (BOOL * value), 8)                   \
  X(4, get_NavigationId, (UINT64 * value), 8)

// ICoreWebView2SourceChangedEventArgs
#define ENGINE_ICoreWebView2SourceChangedEventArgs_SLOTS(X) X(3, get_IsNewDocument, (BOOL * value), 8)

// ICoreWebView2ProcessFailedEventArgs
#define ENGINE_ICoreWebView2ProcessFailedEventArgs_SLOTS(X) X(3, get_ProcessFailedKind, (INT32 * value), 8)

// ICoreWebView2WebMessageReceivedEventArgs
#define ENGINE_ICoreWebView2WebMessageReceivedEventArgs_SLOTS(X) \
  X(3, get_Source, (LPWSTR * value), 8)                          \
  X(4, get_WebMessageAsJson, (LPWSTR * value), 8)                \
  X(5, TryGetWebMessageAsString, (LPWSTR * value), 8)

ENGINE_ABI_INTERFACE(ICoreWebView2EnvironmentOptions, 11,
                     {0x2fde08a8, 0x1e9a, 0x4766, {0x8c, 0x05, 0x95, 0xa9, 0xce, 0xb9, 0xd1, 0xc5}})
ENGINE_ABI_INTERFACE(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, 4,
                     {0x4e8a3389, 0xc9d8, 0x4bd2, {0xb6, 0xb5, 0x12, 0x4f, 0xee, 0x6c, 0xc1, 0x4d}})
ENGINE_ABI_INTERFACE(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, 4,
                     {0x6c4819f3, 0xc9b7, 0x4260, {0x81, 0x27, 0xc9, 0xf5, 0xbd, 0xe7, 0xf6, 0x8c}})
ENGINE_ABI_INTERFACE(ICoreWebView2ExecuteScriptCompletedHandler, 4,
                     {0x49511172, 0xcc67, 0x4bca, {0x99, 0x23, 0x13, 0x71, 0x12, 0xf4, 0xc4, 0xcc}})
ENGINE_ABI_INTERFACE(ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, 4,
                     {0xb99369f3, 0x9b11, 0x47b5, {0xbc, 0x6f, 0x8e, 0x78, 0x95, 0xfc, 0xea, 0x17}})
ENGINE_ABI_INTERFACE(ICoreWebView2Environment, 8,
                     {0xb96d755e, 0x0319, 0x4e92, {0xa2, 0x96, 0x23, 0x43, 0x6f, 0x46, 0xa1, 0xfc}})
ENGINE_ABI_INTERFACE(ICoreWebView2Controller, 26,
                     {0x4d00c0d1, 0x9434, 0x4eb6, {0x80, 0x78, 0x86, 0x97, 0xa5, 0x60, 0x33, 0x4f}})
ENGINE_ABI_INTERFACE(ICoreWebView2, 61, {0x76eceacb, 0x0462, 0x4d94, {0xac, 0x83, 0x42, 0x3a, 0x67, 0x93, 0x77, 0x5e}})
ENGINE_ABI_INTERFACE(ICoreWebView2Settings, 21,
                     {0xe562e4f0, 0xd7fa, 0x43ac, {0x8d, 0x71, 0xc0, 0x51, 0x50, 0x49, 0x9f, 0x00}})
ENGINE_ABI_INTERFACE(ICoreWebView2NavigationStartingEventHandler, 4,
                     {0x9adbe429, 0xf36d, 0x432b, {0x9d, 0xdc, 0xf8, 0x88, 0x1f, 0xbd, 0x76, 0xe3}})
ENGINE_ABI_INTERFACE(ICoreWebView2NavigationCompletedEventHandler, 4,
                     {0xd33a35bf, 0x1c49, 0x4f98, {0x93, 0xab, 0x00, 0x6e, 0x05, 0x33, 0xfe, 0x1c}})
ENGINE_ABI_INTERFACE(ICoreWebView2ContentLoadingEventHandler, 4,
                     {0x364471e7, 0xf2be, 0x4910, {0xbd, 0xba, 0xd7, 0x20, 0x77, 0xd5, 0x1c, 0x4b}})
ENGINE_ABI_INTERFACE(ICoreWebView2DocumentTitleChangedEventHandler, 4,
                     {0xf5f2b923, 0x953e, 0x4042, {0x9f, 0x95, 0xf3, 0xa1, 0x18, 0xe1, 0xaf, 0xd4}})
ENGINE_ABI_INTERFACE(ICoreWebView2SourceChangedEventHandler, 4,
                     {0x3c067f9f, 0x5388, 0x4772, {0x8b, 0x48, 0x79, 0xf7, 0xef, 0x1a, 0xb3, 0x7c}})
ENGINE_ABI_INTERFACE(ICoreWebView2ProcessFailedEventHandler, 4,
                     {0x79e0aea4, 0x990b, 0x42d9, {0xaa, 0x1d, 0x0f, 0xcc, 0x2e, 0x5b, 0xc7, 0xf1}})
ENGINE_ABI_INTERFACE(ICoreWebView2WebMessageReceivedEventHandler, 4,
                     {0x57213f19, 0x00e6, 0x49fa, {0x8e, 0x07, 0x89, 0x8e, 0xa0, 0x1e, 0xcb, 0xd2}})
ENGINE_ABI_INTERFACE(ICoreWebView2NavigationStartingEventArgs, 10,
                     {0x5b495469, 0xe119, 0x438a, {0x9b, 0x18, 0x76, 0x04, 0xf2, 0x5f, 0x2e, 0x49}})
ENGINE_ABI_INTERFACE(ICoreWebView2NavigationCompletedEventArgs, 6,
                     {0x30d68b7d, 0x20d9, 0x4752, {0xa9, 0xca, 0xec, 0x84, 0x48, 0xfb, 0xb5, 0xc1}})
ENGINE_ABI_INTERFACE(ICoreWebView2ContentLoadingEventArgs, 5,
                     {0x0c8a1275, 0x9b6b, 0x4901, {0x87, 0xad, 0x70, 0xdf, 0x25, 0xba, 0xfa, 0x6e}})
ENGINE_ABI_INTERFACE(ICoreWebView2SourceChangedEventArgs, 4,
                     {0x31e0e545, 0x1dba, 0x4266, {0x89, 0x14, 0xf6, 0x38, 0x48, 0xa1, 0xf7, 0xd7}})
ENGINE_ABI_INTERFACE(ICoreWebView2ProcessFailedEventArgs, 4,
                     {0x8155a9a4, 0x1474, 0x4a86, {0x8c, 0xae, 0x15, 0x1b, 0x0f, 0xa6, 0xb8, 0xca}})
ENGINE_ABI_INTERFACE(ICoreWebView2WebMessageReceivedEventArgs, 6,
                     {0x0f99a40c, 0xe962, 0x4207, {0x9e, 0x92, 0xe3, 0xd5, 0x42, 0xef, 0xf8, 0x49}})

// ICoreWebView2_2 and ICoreWebView2_3 extend ICoreWebView2 (slots 0-60 are its own): the
// webview answers them for the virtual host mapping at slot 71.
constexpr bool SlotsRunOnFrom(const int* slots, int count, int first, int total) {
  for (int i = 0; i < count; ++i)
    if (slots[i] != first + i) return false;
  return first + count == total;
}

#define ENGINE_ICoreWebView2_2_SLOTS(X)                                                                 \
  X(61, add_WebResourceResponseReceived, (IUnknown * eventHandler, EventRegistrationToken * token), 12) \
  X(62, remove_WebResourceResponseReceived, (EventRegistrationToken token), 12)                         \
  X(63, NavigateWithWebResourceRequest, (IUnknown * request), 8)                                        \
  X(64, add_DOMContentLoaded, (IUnknown * eventHandler, EventRegistrationToken * token), 12)            \
  X(65, remove_DOMContentLoaded, (EventRegistrationToken token), 12)                                    \
  X(66, get_CookieManager, (IUnknown * *cookieManager), 8)                                              \
  X(67, get_Environment, (ICoreWebView2Environment * *environment), 8)

// accessKind is COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND: DENY 0, ALLOW 1, DENY_CORS 2.
#define ENGINE_ICoreWebView2_3_SLOTS(X)                                                                  \
  X(68, TrySuspend, (IUnknown * handler), 8)                                                             \
  X(69, Resume, (), 4)                                                                                   \
  X(70, get_IsSuspended, (BOOL * isSuspended), 8)                                                        \
  X(71, SetVirtualHostNameToFolderMapping, (LPCWSTR hostName, LPCWSTR folderPath, INT32 accessKind), 16) \
  X(72, ClearVirtualHostNameToFolderMapping, (LPCWSTR hostName), 8)

#define ENGINE_ABI_DERIVED_INTERFACE(Name, Parent, first, total, ...)                                   \
  inline constexpr GUID IID_##Name = __VA_ARGS__;                                                       \
  struct Name : public Parent {                                                                         \
    ENGINE_##Name##_SLOTS(ENGINE_ABI_DECLARE)                                                           \
  };                                                                                                    \
  namespace layout_##Name {                                                                             \
    constexpr int kSlots[] = {ENGINE_##Name##_SLOTS(ENGINE_ABI_SLOT_NUMBER)};                           \
    static_assert(SlotsRunOnFrom(kSlots, static_cast<int>(sizeof(kSlots) / sizeof(int)), first, total), \
                  "slots of " #Name " must run on from its parent's last slot without gaps");           \
    ENGINE_##Name##_SLOTS(ENGINE_ABI_CHECK_BYTES)                                                       \
  }                                                                                                     \
  static_assert(sizeof(Name) == sizeof(void*), #Name " must hold only its vtable pointer");

ENGINE_ABI_DERIVED_INTERFACE(ICoreWebView2_2, ICoreWebView2, 61, 68,
                             {0x9e8f0cf8, 0xe670, 0x4b5e, {0xb2, 0xbc, 0x73, 0xe0, 0x61, 0xe3, 0x18, 0x4c}})
ENGINE_ABI_DERIVED_INTERFACE(ICoreWebView2_3, ICoreWebView2_2, 68, 73,
                             {0xa0d6df20, 0x3b92, 0x416d, {0xaa, 0x0c, 0x43, 0x7a, 0x9c, 0x72, 0x78, 0x57}})

// COREWEBVIEW2_PROCESS_FAILED_KIND and COREWEBVIEW2_WEB_ERROR_STATUS are 32-bit enums; the
// double passes them as INT32 (values in engine_control.h come straight from the test).

// The loader's exports (stdcall, undecorated names in the DLL).
using CreateEnvironmentWithOptionsFn = HRESULT(STDAPICALLTYPE*)(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder, ICoreWebView2EnvironmentOptions* options,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);
using GetBrowserVersionStringFn = HRESULT(STDAPICALLTYPE*)(PCWSTR browserExecutableFolder, LPWSTR* versionInfo);

}  // namespace engine_abi
