#pragma once
// The options object handed to the loader with the environment creation. The engine reads it
// through the getters (and may keep it), so it is an ordinary reference-counted COM object.
#include <wrl/client.h>
#include <string>
#include "webview2/webview2.h"

// Runtime version paired with the SDK whose interfaces this plug-in declares.
extern const wchar_t kTargetCompatibleBrowserVersion[];

class TEnvironmentOptions final : public ICoreWebView2EnvironmentOptions {
 public:
  static Microsoft::WRL::ComPtr<ICoreWebView2EnvironmentOptions> Make(
      const std::wstring& additionalBrowserArguments, const std::wstring& language,
      const std::wstring& targetCompatibleBrowserVersion, bool allowSingleSignOn);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR value) override;
  HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR value) override;
  HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR value) override;
  HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* allow) override;
  HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL allow) override;

 private:
  TEnvironmentOptions() = default;
  ~TEnvironmentOptions() = default;

  volatile LONG refs_ = 1;
  std::wstring additionalBrowserArguments_;
  std::wstring language_;
  std::wstring targetCompatibleBrowserVersion_;
  BOOL allowSingleSignOn_ = FALSE;
};
