#pragma once
// The WebView2 COM interfaces the plug-in calls or implements, declared by hand slot by slot
// (x86 vtable order of the 1.0 SDK). Rules that keep the layout exact:
//  - every method is __stdcall (STDMETHODCALLTYPE); i686 GCC would otherwise use __thiscall;
//  - only pure virtual methods, no virtual destructor, no overloaded names;
//  - slots the plug-in never uses are still declared, with parameters of the right size;
//  - RECT, double and EventRegistrationToken travel by value where the runtime expects it.
// Each interface names its IID through a static member function, which adds no vtable slot.
#include <windows.h>
#include <eventtoken.h>
#include <objidl.h>
#include <unknwn.h>
#include <cstdint>

#define TAMREL_WV2_IID(d1, d2, d3, b0, b1, b2, b3, b4, b5, b6, b7)         \
  static const IID& Iid() {                                                \
    static const IID iid = {d1, d2, d3, {b0, b1, b2, b3, b4, b5, b6, b7}}; \
    return iid;                                                            \
  }
#define TAMREL_WV2_METHOD(name, ...) virtual HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) = 0

typedef int32_t COREWEBVIEW2_WEB_ERROR_STATUS;
typedef int32_t COREWEBVIEW2_PROCESS_FAILED_KIND;
typedef int32_t COREWEBVIEW2_MOVE_FOCUS_REASON;
typedef int32_t COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT;
typedef int32_t COREWEBVIEW2_WEB_RESOURCE_CONTEXT;

struct ICoreWebView2;
struct ICoreWebView2Controller;
struct ICoreWebView2Environment;
struct ICoreWebView2Settings;
struct ICoreWebView2NavigationStartingEventArgs;
struct ICoreWebView2NavigationCompletedEventArgs;
struct ICoreWebView2ContentLoadingEventArgs;
struct ICoreWebView2SourceChangedEventArgs;
struct ICoreWebView2ProcessFailedEventArgs;
struct ICoreWebView2WebMessageReceivedEventArgs;
struct ICoreWebView2NavigationStartingEventHandler;
struct ICoreWebView2NavigationCompletedEventHandler;
struct ICoreWebView2ContentLoadingEventHandler;
struct ICoreWebView2DocumentTitleChangedEventHandler;
struct ICoreWebView2SourceChangedEventHandler;
struct ICoreWebView2ProcessFailedEventHandler;
struct ICoreWebView2WebMessageReceivedEventHandler;
struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler;
struct ICoreWebView2ExecuteScriptCompletedHandler;
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler;

// ---- implemented by the plug-in ------------------------------------------------------------

struct ICoreWebView2EnvironmentOptions : public IUnknown {
  TAMREL_WV2_IID(0x2fde08a8, 0x1e9a, 0x4766, 0x8c, 0x05, 0x95, 0xa9, 0xce, 0xb9, 0xd1, 0xc5)
  TAMREL_WV2_METHOD(get_AdditionalBrowserArguments, LPWSTR* value);            // 3
  TAMREL_WV2_METHOD(put_AdditionalBrowserArguments, LPCWSTR value);            // 4
  TAMREL_WV2_METHOD(get_Language, LPWSTR* value);                              // 5
  TAMREL_WV2_METHOD(put_Language, LPCWSTR value);                              // 6
  TAMREL_WV2_METHOD(get_TargetCompatibleBrowserVersion, LPWSTR* value);        // 7
  TAMREL_WV2_METHOD(put_TargetCompatibleBrowserVersion, LPCWSTR value);        // 8
  TAMREL_WV2_METHOD(get_AllowSingleSignOnUsingOSPrimaryAccount, BOOL* allow);  // 9
  TAMREL_WV2_METHOD(put_AllowSingleSignOnUsingOSPrimaryAccount, BOOL allow);   // 10
};

struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler : public IUnknown {
  TAMREL_WV2_IID(0x4e8a3389, 0xc9d8, 0x4bd2, 0xb6, 0xb5, 0x12, 0x4f, 0xee, 0x6c, 0xc1, 0x4d)
  TAMREL_WV2_METHOD(Invoke, HRESULT errorCode, ICoreWebView2Environment* result);  // 3
};

struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler : public IUnknown {
  TAMREL_WV2_IID(0x6c4819f3, 0xc9b7, 0x4260, 0x81, 0x27, 0xc9, 0xf5, 0xbd, 0xe7, 0xf6, 0x8c)
  TAMREL_WV2_METHOD(Invoke, HRESULT errorCode, ICoreWebView2Controller* result);  // 3
};

struct ICoreWebView2ExecuteScriptCompletedHandler : public IUnknown {
  TAMREL_WV2_IID(0x49511172, 0xcc67, 0x4bca, 0x99, 0x23, 0x13, 0x71, 0x12, 0xf4, 0xc4, 0xcc)
  TAMREL_WV2_METHOD(Invoke, HRESULT errorCode, LPCWSTR resultObjectAsJson);  // 3
};

struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler : public IUnknown {
  TAMREL_WV2_IID(0xb99369f3, 0x9b11, 0x47b5, 0xbc, 0x6f, 0x8e, 0x78, 0x95, 0xfc, 0xea, 0x17)
  TAMREL_WV2_METHOD(Invoke, HRESULT errorCode, LPCWSTR id);  // 3
};

struct ICoreWebView2NavigationStartingEventHandler : public IUnknown {
  TAMREL_WV2_IID(0x9adbe429, 0xf36d, 0x432b, 0x9d, 0xdc, 0xf8, 0x88, 0x1f, 0xbd, 0x76, 0xe3)
  TAMREL_WV2_METHOD(Invoke, ICoreWebView2* sender, ICoreWebView2NavigationStartingEventArgs* args);  // 3
};

struct ICoreWebView2NavigationCompletedEventHandler : public IUnknown {
  TAMREL_WV2_IID(0xd33a35bf, 0x1c49, 0x4f98, 0x93, 0xab, 0x00, 0x6e, 0x05, 0x33, 0xfe, 0x1c)
  TAMREL_WV2_METHOD(Invoke, ICoreWebView2* sender, ICoreWebView2NavigationCompletedEventArgs* args);  // 3
};

struct ICoreWebView2ContentLoadingEventHandler : public IUnknown {
  TAMREL_WV2_IID(0x364471e7, 0xf2be, 0x4910, 0xbd, 0xba, 0xd7, 0x20, 0x77, 0xd5, 0x1c, 0x4b)
  TAMREL_WV2_METHOD(Invoke, ICoreWebView2* sender, ICoreWebView2ContentLoadingEventArgs* args);  // 3
};

// DocumentTitleChanged carries no arguments object of its own (the second parameter may be null).
struct ICoreWebView2DocumentTitleChangedEventHandler : public IUnknown {
  TAMREL_WV2_IID(0xf5f2b923, 0x953e, 0x4042, 0x9f, 0x95, 0xf3, 0xa1, 0x18, 0xe1, 0xaf, 0xd4)
  TAMREL_WV2_METHOD(Invoke, ICoreWebView2* sender, IUnknown* args);  // 3
};

struct ICoreWebView2SourceChangedEventHandler : public IUnknown {
  TAMREL_WV2_IID(0x3c067f9f, 0x5388, 0x4772, 0x8b, 0x48, 0x79, 0xf7, 0xef, 0x1a, 0xb3, 0x7c)
  TAMREL_WV2_METHOD(Invoke, ICoreWebView2* sender, ICoreWebView2SourceChangedEventArgs* args);  // 3
};

struct ICoreWebView2ProcessFailedEventHandler : public IUnknown {
  TAMREL_WV2_IID(0x79e0aea4, 0x990b, 0x42d9, 0xaa, 0x1d, 0x0f, 0xcc, 0x2e, 0x5b, 0xc7, 0xf1)
  TAMREL_WV2_METHOD(Invoke, ICoreWebView2* sender, ICoreWebView2ProcessFailedEventArgs* args);  // 3
};

struct ICoreWebView2WebMessageReceivedEventHandler : public IUnknown {
  TAMREL_WV2_IID(0x57213f19, 0x00e6, 0x49fa, 0x8e, 0x07, 0x89, 0x8e, 0xa0, 0x1e, 0xcb, 0xd2)
  TAMREL_WV2_METHOD(Invoke, ICoreWebView2* sender, ICoreWebView2WebMessageReceivedEventArgs* args);  // 3
};

// ---- called by the plug-in -------------------------------------------------------------------

struct ICoreWebView2Environment : public IUnknown {
  TAMREL_WV2_IID(0xb96d755e, 0x0319, 0x4e92, 0xa2, 0x96, 0x23, 0x43, 0x6f, 0x46, 0xa1, 0xfc)
  TAMREL_WV2_METHOD(CreateCoreWebView2Controller, HWND parentWindow,
                    ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler);  // 3
  TAMREL_WV2_METHOD(CreateWebResourceResponse, IStream* content, int statusCode, LPCWSTR reasonPhrase, LPCWSTR headers,
                    IUnknown** response);                                                                    // 4
  TAMREL_WV2_METHOD(get_BrowserVersionString, LPWSTR* versionInfo);                                          // 5
  TAMREL_WV2_METHOD(add_NewBrowserVersionAvailable, IUnknown* eventHandler, EventRegistrationToken* token);  // 6
  TAMREL_WV2_METHOD(remove_NewBrowserVersionAvailable, EventRegistrationToken token);                        // 7
};

struct ICoreWebView2Controller : public IUnknown {
  TAMREL_WV2_IID(0x4d00c0d1, 0x9434, 0x4eb6, 0x80, 0x78, 0x86, 0x97, 0xa5, 0x60, 0x33, 0x4f)
  TAMREL_WV2_METHOD(get_IsVisible, BOOL* isVisible);                                                    // 3
  TAMREL_WV2_METHOD(put_IsVisible, BOOL isVisible);                                                     // 4
  TAMREL_WV2_METHOD(get_Bounds, RECT* bounds);                                                          // 5
  TAMREL_WV2_METHOD(put_Bounds, RECT bounds);                                                           // 6
  TAMREL_WV2_METHOD(get_ZoomFactor, double* zoomFactor);                                                // 7
  TAMREL_WV2_METHOD(put_ZoomFactor, double zoomFactor);                                                 // 8
  TAMREL_WV2_METHOD(add_ZoomFactorChanged, IUnknown* eventHandler, EventRegistrationToken* token);      // 9
  TAMREL_WV2_METHOD(remove_ZoomFactorChanged, EventRegistrationToken token);                            // 10
  TAMREL_WV2_METHOD(SetBoundsAndZoomFactor, RECT bounds, double zoomFactor);                            // 11
  TAMREL_WV2_METHOD(MoveFocus, COREWEBVIEW2_MOVE_FOCUS_REASON reason);                                  // 12
  TAMREL_WV2_METHOD(add_MoveFocusRequested, IUnknown* eventHandler, EventRegistrationToken* token);     // 13
  TAMREL_WV2_METHOD(remove_MoveFocusRequested, EventRegistrationToken token);                           // 14
  TAMREL_WV2_METHOD(add_GotFocus, IUnknown* eventHandler, EventRegistrationToken* token);               // 15
  TAMREL_WV2_METHOD(remove_GotFocus, EventRegistrationToken token);                                     // 16
  TAMREL_WV2_METHOD(add_LostFocus, IUnknown* eventHandler, EventRegistrationToken* token);              // 17
  TAMREL_WV2_METHOD(remove_LostFocus, EventRegistrationToken token);                                    // 18
  TAMREL_WV2_METHOD(add_AcceleratorKeyPressed, IUnknown* eventHandler, EventRegistrationToken* token);  // 19
  TAMREL_WV2_METHOD(remove_AcceleratorKeyPressed, EventRegistrationToken token);                        // 20
  TAMREL_WV2_METHOD(get_ParentWindow, HWND* parentWindow);                                              // 21
  TAMREL_WV2_METHOD(put_ParentWindow, HWND parentWindow);                                               // 22
  TAMREL_WV2_METHOD(NotifyParentWindowPositionChanged);                                                 // 23
  TAMREL_WV2_METHOD(Close);                                                                             // 24
  TAMREL_WV2_METHOD(get_CoreWebView2, ICoreWebView2** coreWebView2);                                    // 25
};

struct ICoreWebView2Settings : public IUnknown {
  TAMREL_WV2_IID(0xe562e4f0, 0xd7fa, 0x43ac, 0x8d, 0x71, 0xc0, 0x51, 0x50, 0x49, 0x9f, 0x00)
  TAMREL_WV2_METHOD(get_IsScriptEnabled, BOOL* value);                 // 3
  TAMREL_WV2_METHOD(put_IsScriptEnabled, BOOL value);                  // 4
  TAMREL_WV2_METHOD(get_IsWebMessageEnabled, BOOL* value);             // 5
  TAMREL_WV2_METHOD(put_IsWebMessageEnabled, BOOL value);              // 6
  TAMREL_WV2_METHOD(get_AreDefaultScriptDialogsEnabled, BOOL* value);  // 7
  TAMREL_WV2_METHOD(put_AreDefaultScriptDialogsEnabled, BOOL value);   // 8
  TAMREL_WV2_METHOD(get_IsStatusBarEnabled, BOOL* value);              // 9
  TAMREL_WV2_METHOD(put_IsStatusBarEnabled, BOOL value);               // 10
  TAMREL_WV2_METHOD(get_AreDevToolsEnabled, BOOL* value);              // 11
  TAMREL_WV2_METHOD(put_AreDevToolsEnabled, BOOL value);               // 12
  TAMREL_WV2_METHOD(get_AreDefaultContextMenusEnabled, BOOL* value);   // 13
  TAMREL_WV2_METHOD(put_AreDefaultContextMenusEnabled, BOOL value);    // 14
  TAMREL_WV2_METHOD(get_AreHostObjectsAllowed, BOOL* value);           // 15
  TAMREL_WV2_METHOD(put_AreHostObjectsAllowed, BOOL value);            // 16
  TAMREL_WV2_METHOD(get_IsZoomControlEnabled, BOOL* value);            // 17
  TAMREL_WV2_METHOD(put_IsZoomControlEnabled, BOOL value);             // 18
  TAMREL_WV2_METHOD(get_IsBuiltInErrorPageEnabled, BOOL* value);       // 19
  TAMREL_WV2_METHOD(put_IsBuiltInErrorPageEnabled, BOOL value);        // 20
};

struct ICoreWebView2 : public IUnknown {
  TAMREL_WV2_IID(0x76eceacb, 0x0462, 0x4d94, 0xac, 0x83, 0x42, 0x3a, 0x67, 0x93, 0x77, 0x5e)
  TAMREL_WV2_METHOD(get_Settings, ICoreWebView2Settings** settings);  // 3
  TAMREL_WV2_METHOD(get_Source, LPWSTR* uri);                         // 4
  TAMREL_WV2_METHOD(Navigate, LPCWSTR uri);                           // 5
  TAMREL_WV2_METHOD(NavigateToString, LPCWSTR htmlContent);           // 6
  TAMREL_WV2_METHOD(add_NavigationStarting, ICoreWebView2NavigationStartingEventHandler* eventHandler,
                    EventRegistrationToken* token);                            // 7
  TAMREL_WV2_METHOD(remove_NavigationStarting, EventRegistrationToken token);  // 8
  TAMREL_WV2_METHOD(add_ContentLoading, ICoreWebView2ContentLoadingEventHandler* eventHandler,
                    EventRegistrationToken* token);                        // 9
  TAMREL_WV2_METHOD(remove_ContentLoading, EventRegistrationToken token);  // 10
  TAMREL_WV2_METHOD(add_SourceChanged, ICoreWebView2SourceChangedEventHandler* eventHandler,
                    EventRegistrationToken* token);                                              // 11
  TAMREL_WV2_METHOD(remove_SourceChanged, EventRegistrationToken token);                         // 12
  TAMREL_WV2_METHOD(add_HistoryChanged, IUnknown* eventHandler, EventRegistrationToken* token);  // 13
  TAMREL_WV2_METHOD(remove_HistoryChanged, EventRegistrationToken token);                        // 14
  TAMREL_WV2_METHOD(add_NavigationCompleted, ICoreWebView2NavigationCompletedEventHandler* eventHandler,
                    EventRegistrationToken* token);                             // 15
  TAMREL_WV2_METHOD(remove_NavigationCompleted, EventRegistrationToken token);  // 16
  TAMREL_WV2_METHOD(add_FrameNavigationStarting, ICoreWebView2NavigationStartingEventHandler* eventHandler,
                    EventRegistrationToken* token);                                 // 17
  TAMREL_WV2_METHOD(remove_FrameNavigationStarting, EventRegistrationToken token);  // 18
  TAMREL_WV2_METHOD(add_FrameNavigationCompleted, ICoreWebView2NavigationCompletedEventHandler* eventHandler,
                    EventRegistrationToken* token);                                                   // 19
  TAMREL_WV2_METHOD(remove_FrameNavigationCompleted, EventRegistrationToken token);                   // 20
  TAMREL_WV2_METHOD(add_ScriptDialogOpening, IUnknown* eventHandler, EventRegistrationToken* token);  // 21
  TAMREL_WV2_METHOD(remove_ScriptDialogOpening, EventRegistrationToken token);                        // 22
  TAMREL_WV2_METHOD(add_PermissionRequested, IUnknown* eventHandler, EventRegistrationToken* token);  // 23
  TAMREL_WV2_METHOD(remove_PermissionRequested, EventRegistrationToken token);                        // 24
  TAMREL_WV2_METHOD(add_ProcessFailed, ICoreWebView2ProcessFailedEventHandler* eventHandler,
                    EventRegistrationToken* token);                       // 25
  TAMREL_WV2_METHOD(remove_ProcessFailed, EventRegistrationToken token);  // 26
  TAMREL_WV2_METHOD(AddScriptToExecuteOnDocumentCreated, LPCWSTR javaScript,
                    ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler);               // 27
  TAMREL_WV2_METHOD(RemoveScriptToExecuteOnDocumentCreated, LPCWSTR id);                                      // 28
  TAMREL_WV2_METHOD(ExecuteScript, LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler* handler);  // 29
  TAMREL_WV2_METHOD(CapturePreview, COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat, IStream* imageStream,
                    IUnknown* handler);                                   // 30
  TAMREL_WV2_METHOD(Reload);                                              // 31
  TAMREL_WV2_METHOD(PostWebMessageAsJson, LPCWSTR webMessageAsJson);      // 32
  TAMREL_WV2_METHOD(PostWebMessageAsString, LPCWSTR webMessageAsString);  // 33
  TAMREL_WV2_METHOD(add_WebMessageReceived, ICoreWebView2WebMessageReceivedEventHandler* handler,
                    EventRegistrationToken* token);                            // 34
  TAMREL_WV2_METHOD(remove_WebMessageReceived, EventRegistrationToken token);  // 35
  TAMREL_WV2_METHOD(CallDevToolsProtocolMethod, LPCWSTR methodName, LPCWSTR parametersAsJson,
                    IUnknown* handler);                                                              // 36
  TAMREL_WV2_METHOD(get_BrowserProcessId, UINT32* value);                                            // 37
  TAMREL_WV2_METHOD(get_CanGoBack, BOOL* canGoBack);                                                 // 38
  TAMREL_WV2_METHOD(get_CanGoForward, BOOL* canGoForward);                                           // 39
  TAMREL_WV2_METHOD(GoBack);                                                                         // 40
  TAMREL_WV2_METHOD(GoForward);                                                                      // 41
  TAMREL_WV2_METHOD(GetDevToolsProtocolEventReceiver, LPCWSTR eventName, IUnknown** receiver);       // 42
  TAMREL_WV2_METHOD(Stop);                                                                           // 43
  TAMREL_WV2_METHOD(add_NewWindowRequested, IUnknown* eventHandler, EventRegistrationToken* token);  // 44
  TAMREL_WV2_METHOD(remove_NewWindowRequested, EventRegistrationToken token);                        // 45
  TAMREL_WV2_METHOD(add_DocumentTitleChanged, ICoreWebView2DocumentTitleChangedEventHandler* eventHandler,
                    EventRegistrationToken* token);                              // 46
  TAMREL_WV2_METHOD(remove_DocumentTitleChanged, EventRegistrationToken token);  // 47
  TAMREL_WV2_METHOD(get_DocumentTitle, LPWSTR* title);                           // 48
  TAMREL_WV2_METHOD(AddHostObjectToScript, LPCWSTR name, VARIANT* object);       // 49
  TAMREL_WV2_METHOD(RemoveHostObjectFromScript, LPCWSTR name);                   // 50
  TAMREL_WV2_METHOD(OpenDevToolsWindow);                                         // 51
  TAMREL_WV2_METHOD(add_ContainsFullScreenElementChanged, IUnknown* eventHandler,
                    EventRegistrationToken* token);                                                    // 52
  TAMREL_WV2_METHOD(remove_ContainsFullScreenElementChanged, EventRegistrationToken token);            // 53
  TAMREL_WV2_METHOD(get_ContainsFullScreenElement, BOOL* containsFullScreenElement);                   // 54
  TAMREL_WV2_METHOD(add_WebResourceRequested, IUnknown* eventHandler, EventRegistrationToken* token);  // 55
  TAMREL_WV2_METHOD(remove_WebResourceRequested, EventRegistrationToken token);                        // 56
  TAMREL_WV2_METHOD(AddWebResourceRequestedFilter, LPCWSTR uri,
                    COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext);  // 57
  TAMREL_WV2_METHOD(RemoveWebResourceRequestedFilter, LPCWSTR uri,
                    COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext);                                // 58
  TAMREL_WV2_METHOD(add_WindowCloseRequested, IUnknown* eventHandler, EventRegistrationToken* token);  // 59
  TAMREL_WV2_METHOD(remove_WindowCloseRequested, EventRegistrationToken token);                        // 60
};

// ---- later WebView interfaces, reached with QueryInterface on ICoreWebView2 --------------------
// ICoreWebView2_3 carries the virtual host mapping at slot 71; every slot before it is declared
// so that the hand-written vtable reaches it.

typedef int32_t COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND;
// Other origins (including NavigateToString pages) may not read the mapped files.
constexpr COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND_DENY = 0;

struct ICoreWebView2_2 : public ICoreWebView2 {
  TAMREL_WV2_IID(0x9e8f0cf8, 0xe670, 0x4b5e, 0xb2, 0xbc, 0x73, 0xe0, 0x61, 0xe3, 0x18, 0x4c)
  TAMREL_WV2_METHOD(add_WebResourceResponseReceived, IUnknown* eventHandler, EventRegistrationToken* token);  // 61
  TAMREL_WV2_METHOD(remove_WebResourceResponseReceived, EventRegistrationToken token);                        // 62
  TAMREL_WV2_METHOD(NavigateWithWebResourceRequest, IUnknown* request);                                       // 63
  TAMREL_WV2_METHOD(add_DOMContentLoaded, IUnknown* eventHandler, EventRegistrationToken* token);             // 64
  TAMREL_WV2_METHOD(remove_DOMContentLoaded, EventRegistrationToken token);                                   // 65
  TAMREL_WV2_METHOD(get_CookieManager, IUnknown** cookieManager);                                             // 66
  TAMREL_WV2_METHOD(get_Environment, ICoreWebView2Environment** environment);                                 // 67
};

struct ICoreWebView2_3 : public ICoreWebView2_2 {
  TAMREL_WV2_IID(0xa0d6df20, 0x3b92, 0x416d, 0xaa, 0x0c, 0x43, 0x7a, 0x9c, 0x72, 0x78, 0x57)
  TAMREL_WV2_METHOD(TrySuspend, IUnknown* handler);       // 68
  TAMREL_WV2_METHOD(Resume);                              // 69
  TAMREL_WV2_METHOD(get_IsSuspended, BOOL* isSuspended);  // 70
  TAMREL_WV2_METHOD(SetVirtualHostNameToFolderMapping, LPCWSTR hostName, LPCWSTR folderPath,
                    COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND accessKind);      // 71
  TAMREL_WV2_METHOD(ClearVirtualHostNameToFolderMapping, LPCWSTR hostName);  // 72
};

// ---- event arguments --------------------------------------------------------------------------

struct ICoreWebView2NavigationStartingEventArgs : public IUnknown {
  TAMREL_WV2_IID(0x5b495469, 0xe119, 0x438a, 0x9b, 0x18, 0x76, 0x04, 0xf2, 0x5f, 0x2e, 0x49)
  TAMREL_WV2_METHOD(get_Uri, LPWSTR* uri);                           // 3
  TAMREL_WV2_METHOD(get_IsUserInitiated, BOOL* isUserInitiated);     // 4
  TAMREL_WV2_METHOD(get_IsRedirected, BOOL* isRedirected);           // 5
  TAMREL_WV2_METHOD(get_RequestHeaders, IUnknown** requestHeaders);  // 6
  TAMREL_WV2_METHOD(get_Cancel, BOOL* cancel);                       // 7
  TAMREL_WV2_METHOD(put_Cancel, BOOL cancel);                        // 8
  TAMREL_WV2_METHOD(get_NavigationId, UINT64* navigationId);         // 9
};

struct ICoreWebView2NavigationCompletedEventArgs : public IUnknown {
  TAMREL_WV2_IID(0x30d68b7d, 0x20d9, 0x4752, 0xa9, 0xca, 0xec, 0x84, 0x48, 0xfb, 0xb5, 0xc1)
  TAMREL_WV2_METHOD(get_IsSuccess, BOOL* isSuccess);                                     // 3
  TAMREL_WV2_METHOD(get_WebErrorStatus, COREWEBVIEW2_WEB_ERROR_STATUS* webErrorStatus);  // 4
  TAMREL_WV2_METHOD(get_NavigationId, UINT64* navigationId);                             // 5
};

struct ICoreWebView2ContentLoadingEventArgs : public IUnknown {
  TAMREL_WV2_IID(0x0c8a1275, 0x9b6b, 0x4901, 0x87, 0xad, 0x70, 0xdf, 0x25, 0xba, 0xfa, 0x6e)
  TAMREL_WV2_METHOD(get_IsErrorPage, BOOL* value);     // 3
  TAMREL_WV2_METHOD(get_NavigationId, UINT64* value);  // 4
};

struct ICoreWebView2SourceChangedEventArgs : public IUnknown {
  TAMREL_WV2_IID(0x31e0e545, 0x1dba, 0x4266, 0x89, 0x14, 0xf6, 0x38, 0x48, 0xa1, 0xf7, 0xd7)
  TAMREL_WV2_METHOD(get_IsNewDocument, BOOL* value);  // 3
};

struct ICoreWebView2ProcessFailedEventArgs : public IUnknown {
  TAMREL_WV2_IID(0x8155a9a4, 0x1474, 0x4a86, 0x8c, 0xae, 0x15, 0x1b, 0x0f, 0xa6, 0xb8, 0xca)
  TAMREL_WV2_METHOD(get_ProcessFailedKind, COREWEBVIEW2_PROCESS_FAILED_KIND* value);  // 3
};

struct ICoreWebView2WebMessageReceivedEventArgs : public IUnknown {
  TAMREL_WV2_IID(0x0f99a40c, 0xe962, 0x4207, 0x9e, 0x92, 0xe3, 0xd5, 0x42, 0xef, 0xf8, 0x49)
  TAMREL_WV2_METHOD(get_Source, LPWSTR* value);                // 3
  TAMREL_WV2_METHOD(get_WebMessageAsJson, LPWSTR* value);      // 4
  TAMREL_WV2_METHOD(TryGetWebMessageAsString, LPWSTR* value);  // 5
};

#undef TAMREL_WV2_METHOD
#undef TAMREL_WV2_IID
