// The hand-declared WebView2 interfaces against the runtime's x86 layout: the vtable slot of
// every method the plug-in calls or implements (and the last slot of each interface), and the
// bytes each call puts on the stack (RECT, double and tokens travel by value).
#include <gtest/gtest.h>
#include <cstddef>
#include <cstring>
#include "webview2/webview2.h"

namespace {
// Under the Itanium C++ ABI a pointer to a virtual member holds 1 + the vtable byte offset.
template <class M>
int SlotOf(M member) {
  static_assert(sizeof(M) == 2 * sizeof(std::ptrdiff_t), "Itanium member pointer expected");
  std::ptrdiff_t raw[2];
  std::memcpy(raw, &member, sizeof raw);
  return (raw[0] & 1) ? static_cast<int>((raw[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*))) : -1;
}

constexpr int Rounded(size_t n) { return static_cast<int>((n + 3) / 4 * 4); }
template <class C, class R, class... A>
int ArgBytes(R (STDMETHODCALLTYPE C::*)(A...)) {
  return 4 + (0 + ... + Rounded(sizeof(A)));
}

struct Slot {
  const char* method;
  int slot, expectedSlot, bytes, expectedBytes;
};
#define SLOT(I, m, s, b) \
  Slot { #I "::" #m, SlotOf(&I::m), s, ArgBytes(&I::m), b }
}  // namespace

TEST(WebView2Layout, SlotsAndArgumentSizesMatchTheRuntime) {
  const Slot slots[] = {
      SLOT(ICoreWebView2EnvironmentOptions, get_AdditionalBrowserArguments, 3, 8),
      SLOT(ICoreWebView2EnvironmentOptions, get_TargetCompatibleBrowserVersion, 7, 8),
      SLOT(ICoreWebView2EnvironmentOptions, put_AllowSingleSignOnUsingOSPrimaryAccount, 10, 8),
      SLOT(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, Invoke, 3, 12),
      SLOT(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, Invoke, 3, 12),
      SLOT(ICoreWebView2ExecuteScriptCompletedHandler, Invoke, 3, 12),
      SLOT(ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, Invoke, 3, 12),
      SLOT(ICoreWebView2NavigationStartingEventHandler, Invoke, 3, 12),
      SLOT(ICoreWebView2DocumentTitleChangedEventHandler, Invoke, 3, 12),
      SLOT(ICoreWebView2WebMessageReceivedEventHandler, Invoke, 3, 12),
      SLOT(ICoreWebView2Environment, CreateCoreWebView2Controller, 3, 12),
      SLOT(ICoreWebView2Environment, remove_NewBrowserVersionAvailable, 7, 12),
      SLOT(ICoreWebView2Controller, put_IsVisible, 4, 8),
      SLOT(ICoreWebView2Controller, put_Bounds, 6, 20),
      SLOT(ICoreWebView2Controller, get_ZoomFactor, 7, 8),
      SLOT(ICoreWebView2Controller, put_ZoomFactor, 8, 12),
      SLOT(ICoreWebView2Controller, SetBoundsAndZoomFactor, 11, 28),
      SLOT(ICoreWebView2Controller, Close, 24, 4),
      SLOT(ICoreWebView2Controller, get_CoreWebView2, 25, 8),
      SLOT(ICoreWebView2Settings, put_IsWebMessageEnabled, 6, 8),
      SLOT(ICoreWebView2Settings, put_IsBuiltInErrorPageEnabled, 20, 8),
      SLOT(ICoreWebView2, get_Settings, 3, 8),
      SLOT(ICoreWebView2, get_Source, 4, 8),
      SLOT(ICoreWebView2, Navigate, 5, 8),
      SLOT(ICoreWebView2, NavigateToString, 6, 8),
      SLOT(ICoreWebView2, add_NavigationStarting, 7, 12),
      SLOT(ICoreWebView2, remove_NavigationStarting, 8, 12),
      SLOT(ICoreWebView2, add_ContentLoading, 9, 12),
      SLOT(ICoreWebView2, remove_ContentLoading, 10, 12),
      SLOT(ICoreWebView2, add_SourceChanged, 11, 12),
      SLOT(ICoreWebView2, remove_SourceChanged, 12, 12),
      SLOT(ICoreWebView2, add_NavigationCompleted, 15, 12),
      SLOT(ICoreWebView2, remove_NavigationCompleted, 16, 12),
      SLOT(ICoreWebView2, add_ProcessFailed, 25, 12),
      SLOT(ICoreWebView2, remove_ProcessFailed, 26, 12),
      SLOT(ICoreWebView2, AddScriptToExecuteOnDocumentCreated, 27, 12),
      SLOT(ICoreWebView2, RemoveScriptToExecuteOnDocumentCreated, 28, 8),
      SLOT(ICoreWebView2, ExecuteScript, 29, 12),
      SLOT(ICoreWebView2, CapturePreview, 30, 16),
      SLOT(ICoreWebView2, Reload, 31, 4),
      SLOT(ICoreWebView2, PostWebMessageAsString, 33, 8),
      SLOT(ICoreWebView2, add_WebMessageReceived, 34, 12),
      SLOT(ICoreWebView2, remove_WebMessageReceived, 35, 12),
      SLOT(ICoreWebView2, CallDevToolsProtocolMethod, 36, 16),
      SLOT(ICoreWebView2, get_CanGoBack, 38, 8),
      SLOT(ICoreWebView2, get_CanGoForward, 39, 8),
      SLOT(ICoreWebView2, GoBack, 40, 4),
      SLOT(ICoreWebView2, GoForward, 41, 4),
      SLOT(ICoreWebView2, Stop, 43, 4),
      SLOT(ICoreWebView2, add_DocumentTitleChanged, 46, 12),
      SLOT(ICoreWebView2, remove_DocumentTitleChanged, 47, 12),
      SLOT(ICoreWebView2, get_DocumentTitle, 48, 8),
      SLOT(ICoreWebView2, AddWebResourceRequestedFilter, 57, 12),
      SLOT(ICoreWebView2, remove_WindowCloseRequested, 60, 12),
      SLOT(ICoreWebView2_2, add_WebResourceResponseReceived, 61, 12),
      SLOT(ICoreWebView2_2, get_Environment, 67, 8),
      SLOT(ICoreWebView2_3, TrySuspend, 68, 8),
      SLOT(ICoreWebView2_3, get_IsSuspended, 70, 8),
      SLOT(ICoreWebView2_3, SetVirtualHostNameToFolderMapping, 71, 16),
      SLOT(ICoreWebView2_3, ClearVirtualHostNameToFolderMapping, 72, 8),
      SLOT(ICoreWebView2NavigationStartingEventArgs, get_Uri, 3, 8),
      SLOT(ICoreWebView2NavigationStartingEventArgs, get_NavigationId, 9, 8),
      SLOT(ICoreWebView2NavigationCompletedEventArgs, get_IsSuccess, 3, 8),
      SLOT(ICoreWebView2NavigationCompletedEventArgs, get_WebErrorStatus, 4, 8),
      SLOT(ICoreWebView2NavigationCompletedEventArgs, get_NavigationId, 5, 8),
      SLOT(ICoreWebView2ContentLoadingEventArgs, get_IsErrorPage, 3, 8),
      SLOT(ICoreWebView2ContentLoadingEventArgs, get_NavigationId, 4, 8),
      SLOT(ICoreWebView2SourceChangedEventArgs, get_IsNewDocument, 3, 8),
      SLOT(ICoreWebView2ProcessFailedEventArgs, get_ProcessFailedKind, 3, 8),
      SLOT(ICoreWebView2WebMessageReceivedEventArgs, get_WebMessageAsJson, 4, 8),
      SLOT(ICoreWebView2WebMessageReceivedEventArgs, TryGetWebMessageAsString, 5, 8),
  };
  for (const Slot& s : slots) {
    EXPECT_EQ(s.slot, s.expectedSlot) << s.method;
    EXPECT_EQ(s.bytes, s.expectedBytes) << s.method;
  }
}
