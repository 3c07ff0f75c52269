#include "event_args.h"

#include "com_strings.h"

namespace engine {
namespace {

template <typename T>
HRESULT Give(int32_t webview, const wchar_t* name, T* out, T value) {
  Behaviour().Record(name, L"", webview);
  if (!out) return E_POINTER;
  *out = value;
  return S_OK;
}

}  // namespace

HRESULT NavigationStartingArgs::get_Uri(LPWSTR* uri) {
  Behaviour().Record(L"get_Uri", L"", webview_);
  return CopyOutString(data_.uri.Ptr(), uri);
}
HRESULT NavigationStartingArgs::get_IsUserInitiated(BOOL* v) { return Give<BOOL>(webview_, L"get_IsUserInitiated", v, FALSE); }
HRESULT NavigationStartingArgs::get_IsRedirected(BOOL* v) { return Give<BOOL>(webview_, L"get_IsRedirected", v, FALSE); }
HRESULT NavigationStartingArgs::get_RequestHeaders(IUnknown** headers) {
  Behaviour().Record(L"get_RequestHeaders", L"", webview_);
  if (headers) *headers = nullptr;
  return E_NOTIMPL;
}
HRESULT NavigationStartingArgs::get_Cancel(BOOL* v) { return Give<BOOL>(webview_, L"get_Cancel", v, cancel_); }
HRESULT NavigationStartingArgs::put_Cancel(BOOL cancel) {
  Behaviour().Record(L"put_Cancel", ArgBool(cancel), webview_);
  cancel_ = cancel ? TRUE : FALSE;
  return S_OK;
}
HRESULT NavigationStartingArgs::get_NavigationId(UINT64* v) {
  return Give<UINT64>(webview_, L"get_NavigationId", v, data_.navigationId);
}

HRESULT NavigationCompletedArgs::get_IsSuccess(BOOL* v) { return Give<BOOL>(webview_, L"get_IsSuccess", v, data_.isSuccess); }
HRESULT NavigationCompletedArgs::get_WebErrorStatus(INT32* v) {
  return Give<INT32>(webview_, L"get_WebErrorStatus", v, data_.webErrorStatus);
}
HRESULT NavigationCompletedArgs::get_NavigationId(UINT64* v) {
  return Give<UINT64>(webview_, L"get_NavigationId", v, data_.navigationId);
}

HRESULT ContentLoadingArgs::get_IsErrorPage(BOOL* v) { return Give<BOOL>(webview_, L"get_IsErrorPage", v, data_.isErrorPage); }
HRESULT ContentLoadingArgs::get_NavigationId(UINT64* v) {
  return Give<UINT64>(webview_, L"get_NavigationId", v, data_.navigationId);
}

HRESULT SourceChangedArgs::get_IsNewDocument(BOOL* v) {
  return Give<BOOL>(webview_, L"get_IsNewDocument", v, data_.isNewDocument);
}

HRESULT ProcessFailedArgs::get_ProcessFailedKind(INT32* v) {
  return Give<INT32>(webview_, L"get_ProcessFailedKind", v, data_.processFailedKind);
}

}  // namespace engine
