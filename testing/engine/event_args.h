#pragma once
// Event-argument objects of the five browser events that carry arguments. Each is made for
// one delivery from the test's EventData and records the getters the plug-in calls.
#include <cstdint>

#include "com_object.h"
#include "engine_abi.h"
#include "engine_core.h"

namespace engine {

class NavigationStartingArgs final : public ComObject<engine_abi::ICoreWebView2NavigationStartingEventArgs,
                                                      engine_abi::IID_ICoreWebView2NavigationStartingEventArgs> {
 public:
  NavigationStartingArgs(int32_t webview, const EventData& data) : webview_(webview), data_(data) {}
  HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) override;
  HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* isRedirected) override;
  HRESULT STDMETHODCALLTYPE get_RequestHeaders(IUnknown** requestHeaders) override;
  HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) override;
  HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) override;
  HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) override;

 private:
  int32_t webview_;
  EventData data_;
  BOOL cancel_ = FALSE;
};

class NavigationCompletedArgs final : public ComObject<engine_abi::ICoreWebView2NavigationCompletedEventArgs,
                                                       engine_abi::IID_ICoreWebView2NavigationCompletedEventArgs> {
 public:
  NavigationCompletedArgs(int32_t webview, const EventData& data) : webview_(webview), data_(data) {}
  HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* isSuccess) override;
  HRESULT STDMETHODCALLTYPE get_WebErrorStatus(INT32* webErrorStatus) override;
  HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) override;

 private:
  int32_t webview_;
  EventData data_;
};

class ContentLoadingArgs final : public ComObject<engine_abi::ICoreWebView2ContentLoadingEventArgs,
                                                  engine_abi::IID_ICoreWebView2ContentLoadingEventArgs> {
 public:
  ContentLoadingArgs(int32_t webview, const EventData& data) : webview_(webview), data_(data) {}
  HRESULT STDMETHODCALLTYPE get_IsErrorPage(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* value) override;

 private:
  int32_t webview_;
  EventData data_;
};

class SourceChangedArgs final : public ComObject<engine_abi::ICoreWebView2SourceChangedEventArgs,
                                                 engine_abi::IID_ICoreWebView2SourceChangedEventArgs> {
 public:
  SourceChangedArgs(int32_t webview, const EventData& data) : webview_(webview), data_(data) {}
  HRESULT STDMETHODCALLTYPE get_IsNewDocument(BOOL* value) override;

 private:
  int32_t webview_;
  EventData data_;
};

class ProcessFailedArgs final : public ComObject<engine_abi::ICoreWebView2ProcessFailedEventArgs,
                                                 engine_abi::IID_ICoreWebView2ProcessFailedEventArgs> {
 public:
  ProcessFailedArgs(int32_t webview, const EventData& data) : webview_(webview), data_(data) {}
  HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(INT32* value) override;

 private:
  int32_t webview_;
  EventData data_;
};

}  // namespace engine
