#include "settings.h"

namespace engine {

HRESULT Settings::Enter(const wchar_t* name, const std::wstring& args) {
  Behaviour().Record(name, args, page_->number);
  return page_->closed ? kClosedError : S_OK;
}

HRESULT Settings::Get(const wchar_t* name, Switch s, BOOL* out) {
  if (HRESULT hr = Enter(name); FAILED(hr)) return hr;
  if (!out) return E_POINTER;
  *out = switches_[s];
  return S_OK;
}

HRESULT Settings::Put(const wchar_t* name, Switch s, BOOL value) {
  if (HRESULT hr = Enter(name, ArgBool(value)); FAILED(hr)) return hr;
  switches_[s] = value ? TRUE : FALSE;
  return S_OK;
}

HRESULT Settings::get_IsWebMessageEnabled(BOOL* v) {
  if (HRESULT hr = Enter(L"get_IsWebMessageEnabled"); FAILED(hr)) return hr;
  if (!v) return E_POINTER;
  *v = page_->webMessageEnabled;
  return S_OK;
}

HRESULT Settings::put_IsWebMessageEnabled(BOOL v) {
  if (HRESULT hr = Enter(L"put_IsWebMessageEnabled", ArgBool(v)); FAILED(hr)) return hr;
  return Behaviour().EnableWebMessages(*page_, v);
}

}  // namespace engine
