#include "browser/environment_options.h"
#include <objbase.h>
#include <cstring>
#include <new>
#include "browser/com_adopt.h"

const wchar_t kTargetCompatibleBrowserVersion[] = L"137.0.3296.44";

namespace {
// The engine frees what a getter returns with CoTaskMemFree. An empty value is handed out as
// a null string, the answer for an option that was never set.
HRESULT CopyOut(const std::wstring& text, LPWSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  if (text.empty()) return S_OK;
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (!copy) return E_OUTOFMEMORY;
  std::memcpy(copy, text.c_str(), bytes);
  *value = copy;
  return S_OK;
}

HRESULT CopyIn(LPCWSTR value, std::wstring& target) {
  try {
    target = value ? value : L"";
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}
}  // namespace

Microsoft::WRL::ComPtr<ICoreWebView2EnvironmentOptions> TEnvironmentOptions::Make(
    const std::wstring& additionalBrowserArguments, const std::wstring& language,
    const std::wstring& targetCompatibleBrowserVersion, bool allowSingleSignOn) {
  auto* options = new TEnvironmentOptions();
  Microsoft::WRL::ComPtr<ICoreWebView2EnvironmentOptions> result = AdoptComObject<ICoreWebView2EnvironmentOptions>(options);
  options->additionalBrowserArguments_ = additionalBrowserArguments;
  options->language_ = language;
  options->targetCompatibleBrowserVersion_ = targetCompatibleBrowserVersion;
  options->allowSingleSignOn_ = allowSingleSignOn ? TRUE : FALSE;
  return result;
}

HRESULT STDMETHODCALLTYPE TEnvironmentOptions::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  // The later option interfaces (Options2 and later) are refused: they keep their defaults.
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, ICoreWebView2EnvironmentOptions::Iid())) {
    *object = static_cast<ICoreWebView2EnvironmentOptions*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TEnvironmentOptions::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG STDMETHODCALLTYPE TEnvironmentOptions::Release() {
  const LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE TEnvironmentOptions::get_AdditionalBrowserArguments(LPWSTR* value) {
  return CopyOut(additionalBrowserArguments_, value);
}
HRESULT STDMETHODCALLTYPE TEnvironmentOptions::put_AdditionalBrowserArguments(LPCWSTR value) {
  return CopyIn(value, additionalBrowserArguments_);
}
HRESULT STDMETHODCALLTYPE TEnvironmentOptions::get_Language(LPWSTR* value) { return CopyOut(language_, value); }
HRESULT STDMETHODCALLTYPE TEnvironmentOptions::put_Language(LPCWSTR value) { return CopyIn(value, language_); }
HRESULT STDMETHODCALLTYPE TEnvironmentOptions::get_TargetCompatibleBrowserVersion(LPWSTR* value) {
  return CopyOut(targetCompatibleBrowserVersion_, value);
}
HRESULT STDMETHODCALLTYPE TEnvironmentOptions::put_TargetCompatibleBrowserVersion(LPCWSTR value) {
  return CopyIn(value, targetCompatibleBrowserVersion_);
}
HRESULT STDMETHODCALLTYPE TEnvironmentOptions::get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* allow) {
  if (!allow) return E_POINTER;
  *allow = allowSingleSignOn_;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE TEnvironmentOptions::put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL allow) {
  allowSingleSignOn_ = allow ? TRUE : FALSE;
  return S_OK;
}
