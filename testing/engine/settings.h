#pragma once
// ICoreWebView2Settings of the double. IsWebMessageEnabled is kept in the page state (the
// tests read it back); the other eight switches are stored here with the runtime's default TRUE.
#include <memory>

#include "com_object.h"
#include "engine_abi.h"
#include "engine_core.h"

namespace engine {

class Settings final : public ComObject<engine_abi::ICoreWebView2Settings, engine_abi::IID_ICoreWebView2Settings> {
 public:
  explicit Settings(std::shared_ptr<Page> page) : page_(std::move(page)) {}

  HRESULT STDMETHODCALLTYPE get_IsScriptEnabled(BOOL* v) override { return Get(L"get_IsScriptEnabled", kScript, v); }
  HRESULT STDMETHODCALLTYPE put_IsScriptEnabled(BOOL v) override { return Put(L"put_IsScriptEnabled", kScript, v); }
  HRESULT STDMETHODCALLTYPE get_IsWebMessageEnabled(BOOL* v) override;
  HRESULT STDMETHODCALLTYPE put_IsWebMessageEnabled(BOOL v) override;
  HRESULT STDMETHODCALLTYPE get_AreDefaultScriptDialogsEnabled(BOOL* v) override {
    return Get(L"get_AreDefaultScriptDialogsEnabled", kDialogs, v);
  }
  HRESULT STDMETHODCALLTYPE put_AreDefaultScriptDialogsEnabled(BOOL v) override {
    return Put(L"put_AreDefaultScriptDialogsEnabled", kDialogs, v);
  }
  HRESULT STDMETHODCALLTYPE get_IsStatusBarEnabled(BOOL* v) override {
    return Get(L"get_IsStatusBarEnabled", kStatusBar, v);
  }
  HRESULT STDMETHODCALLTYPE put_IsStatusBarEnabled(BOOL v) override {
    return Put(L"put_IsStatusBarEnabled", kStatusBar, v);
  }
  HRESULT STDMETHODCALLTYPE get_AreDevToolsEnabled(BOOL* v) override {
    return Get(L"get_AreDevToolsEnabled", kDevTools, v);
  }
  HRESULT STDMETHODCALLTYPE put_AreDevToolsEnabled(BOOL v) override {
    return Put(L"put_AreDevToolsEnabled", kDevTools, v);
  }
  HRESULT STDMETHODCALLTYPE get_AreDefaultContextMenusEnabled(BOOL* v) override {
    return Get(L"get_AreDefaultContextMenusEnabled", kContextMenus, v);
  }
  HRESULT STDMETHODCALLTYPE put_AreDefaultContextMenusEnabled(BOOL v) override {
    return Put(L"put_AreDefaultContextMenusEnabled", kContextMenus, v);
  }
  HRESULT STDMETHODCALLTYPE get_AreHostObjectsAllowed(BOOL* v) override {
    return Get(L"get_AreHostObjectsAllowed", kHostObjects, v);
  }
  HRESULT STDMETHODCALLTYPE put_AreHostObjectsAllowed(BOOL v) override {
    return Put(L"put_AreHostObjectsAllowed", kHostObjects, v);
  }
  HRESULT STDMETHODCALLTYPE get_IsZoomControlEnabled(BOOL* v) override {
    return Get(L"get_IsZoomControlEnabled", kZoomControl, v);
  }
  HRESULT STDMETHODCALLTYPE put_IsZoomControlEnabled(BOOL v) override {
    return Put(L"put_IsZoomControlEnabled", kZoomControl, v);
  }
  HRESULT STDMETHODCALLTYPE get_IsBuiltInErrorPageEnabled(BOOL* v) override {
    return Get(L"get_IsBuiltInErrorPageEnabled", kErrorPage, v);
  }
  HRESULT STDMETHODCALLTYPE put_IsBuiltInErrorPageEnabled(BOOL v) override {
    return Put(L"put_IsBuiltInErrorPageEnabled", kErrorPage, v);
  }

 private:
  enum Switch {
    kScript,
    kDialogs,
    kStatusBar,
    kDevTools,
    kContextMenus,
    kHostObjects,
    kZoomControl,
    kErrorPage,
    kCount
  };
  HRESULT Enter(const wchar_t* name, const std::wstring& args = std::wstring());
  HRESULT Get(const wchar_t* name, Switch s, BOOL* out);
  HRESULT Put(const wchar_t* name, Switch s, BOOL value);

  std::shared_ptr<Page> page_;
  BOOL switches_[kCount] = {TRUE, TRUE, TRUE, TRUE, TRUE, TRUE, TRUE, TRUE};
};

}  // namespace engine
