// The two exports of WebView2Loader.dll that the plug-in resolves (stdcall, plain names).
#include <windows.h>

#include "com_object.h"
#include "com_strings.h"
#include "delivery_queue.h"
#include "engine_abi.h"
#include "engine_control.h"
#include "engine_core.h"
#include "environment.h"

using engine_abi::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler;
using engine_abi::ICoreWebView2EnvironmentOptions;

namespace {

// Reads one string option through its getter and frees the caller-allocated copy, as the
// runtime does; a null result reads as "(null)", a failing getter as its HRESULT.
std::wstring ReadOption(ICoreWebView2EnvironmentOptions* options,
                        HRESULT (STDMETHODCALLTYPE ICoreWebView2EnvironmentOptions::*getter)(LPWSTR*)) {
  LPWSTR value = nullptr;
  const HRESULT hr = (options->*getter)(&value);
  std::wstring text = FAILED(hr) ? L"(failed " + engine::ArgHresult(hr) + L")" : engine::ArgText(value);
  if (value) CoTaskMemFree(value);
  return text;
}

engine::EnvironmentOptions ReadOptions(PCWSTR browserFolder, PCWSTR userDataFolder,
                                       ICoreWebView2EnvironmentOptions* options) {
  engine::EnvironmentOptions read;
  read.browserFolder = engine::ArgText(browserFolder);
  read.userDataFolder = engine::ArgText(userDataFolder);
  if (!options) return read;
  read.given = true;
  read.additionalArgs = ReadOption(options, &ICoreWebView2EnvironmentOptions::get_AdditionalBrowserArguments);
  read.language = ReadOption(options, &ICoreWebView2EnvironmentOptions::get_Language);
  read.targetVersion = ReadOption(options, &ICoreWebView2EnvironmentOptions::get_TargetCompatibleBrowserVersion);
  BOOL allow = FALSE;
  if (SUCCEEDED(options->get_AllowSingleSignOnUsingOSPrimaryAccount(&allow))) read.allowSso = allow;
  return read;
}

}  // namespace

namespace {
// The environment creation both entries share, after each has recorded its own call.
HRESULT StartEnvironment(PCWSTR browserExecutableFolder, PCWSTR userDataFolder,
                         ICoreWebView2EnvironmentOptions* environmentOptions,
                         ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
  engine::EngineCore& core = engine::EngineCore::Instance();
  core.SetLastOptions(ReadOptions(browserExecutableFolder, userDataFolder, environmentOptions));
  if (HRESULT hr = core.Failure(ENGINE_STEP_CREATE_ENVIRONMENT_CALL); FAILED(hr)) return hr;
  if (!environmentCreatedHandler) return E_POINTER;
  const HRESULT completionFailure = core.Failure(ENGINE_STEP_ENVIRONMENT_COMPLETION);
  auto done = engine::Ref<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>::Share(environmentCreatedHandler);
  // The runtime may keep the options object beyond the call; holding it until the completion
  // makes a caller that frees it early, or miscounts its references, show up.
  auto keptOptions = engine::Ref<ICoreWebView2EnvironmentOptions>::Share(environmentOptions);
  engine::Post([done, keptOptions, completionFailure] {
    if (FAILED(completionFailure)) {
      done->Invoke(completionFailure, nullptr);
      return;
    }
    auto environment = engine::Ref<engine::Environment>::Adopt(new engine::Environment());
    done->Invoke(S_OK, environment.get());
  });
  return S_OK;
}
}  // namespace

extern "C" HRESULT STDAPICALLTYPE CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder, ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
  engine::EngineCore::Instance().Record(
      L"CreateCoreWebView2EnvironmentWithOptions",
      engine::JoinArgs({engine::ArgText(browserExecutableFolder), engine::ArgText(userDataFolder)}), 0);
  return StartEnvironment(browserExecutableFolder, userDataFolder, environmentOptions, environmentCreatedHandler);
}

// The installed runtime's own engine entry, which the plug-in uses when it finds no loader.
// The .def file exports it from its @20 decoration: a declaration with other argument sizes
// does not link. The options come as IUnknown and are asked for their interface, as the
// runtime does.
extern "C" HRESULT STDAPICALLTYPE CreateWebViewEnvironmentWithOptionsInternal(
    bool checkRunningInstance, int runtimeType, PCWSTR userDataFolder, IUnknown* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
  engine::EngineCore::Instance().Record(
      L"CreateWebViewEnvironmentWithOptionsInternal",
      engine::JoinArgs(
          {checkRunningInstance ? L"true" : L"false", std::to_wstring(runtimeType), engine::ArgText(userDataFolder)}),
      0);
  ICoreWebView2EnvironmentOptions* options = nullptr;
  if (environmentOptions && FAILED(environmentOptions->QueryInterface(engine_abi::IID_ICoreWebView2EnvironmentOptions,
                                                                      reinterpret_cast<void**>(&options))))
    return E_NOINTERFACE;
  auto held = engine::Ref<ICoreWebView2EnvironmentOptions>::Adopt(options);
  return StartEnvironment(nullptr, userDataFolder, options, environmentCreatedHandler);
}

extern "C" HRESULT STDAPICALLTYPE GetAvailableCoreWebView2BrowserVersionString(PCWSTR browserExecutableFolder,
                                                                               LPWSTR* versionInfo) {
  engine::EngineCore& core = engine::EngineCore::Instance();
  core.Record(L"GetAvailableCoreWebView2BrowserVersionString", engine::ArgText(browserExecutableFolder), 0);
  if (!versionInfo) return E_POINTER;
  *versionInfo = nullptr;
  if (FAILED(core.BrowserVersionResult())) return core.BrowserVersionResult();
  return engine::CopyOutString(core.BrowserVersion().Ptr(), versionInfo);
}
