// The two exports of WebView2Loader.dll that a host resolves (stdcall, plain names): with this
// file beside the plug-in, every environment is a headless Chromium.
#include <windows.h>

#include "browser_process.h"
#include "chromium_core.h"
#include "com_object.h"
#include "com_strings.h"
#include "delivery_queue.h"
#include "engine_abi.h"
#include "environment.h"
#include "unix_paths.h"

using engine_abi::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler;
using engine_abi::ICoreWebView2EnvironmentOptions;

namespace {

// As the loader does: no folder means "<executable>.WebView2" beside the executable.
std::wstring UserDataFolderOr(PCWSTR given) {
  if (given && *given) return given;
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  return std::wstring(exe) + L".WebView2";
}

std::wstring AdditionalArguments(ICoreWebView2EnvironmentOptions* options) {
  if (!options) return std::wstring();
  LPWSTR value = nullptr;
  std::wstring text;
  if (SUCCEEDED(options->get_AdditionalBrowserArguments(&value)) && value) text = value;
  if (value) CoTaskMemFree(value);
  return text;
}

}  // namespace

extern "C" HRESULT STDAPICALLTYPE CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR, PCWSTR userDataFolder, ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
  if (!environmentCreatedHandler) return E_POINTER;
  const std::wstring folder = UserDataFolderOr(userDataFolder);
  const std::wstring arguments = AdditionalArguments(environmentOptions);
  auto done = engine::Ref<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>::Share(environmentCreatedHandler);
  auto keptOptions = engine::Ref<ICoreWebView2EnvironmentOptions>::Share(environmentOptions);
  // The browser starts in the message loop, never inside this call.
  engine::Post([done, keptOptions, folder, arguments] {
    HRESULT hr = S_OK;
    std::shared_ptr<chromium::BrowserProcess> browser;
    try {
      browser = chromium::BrowserProcess::ForFolder(folder, arguments, &hr);
    } catch (...) {
      hr = E_FAIL;  // nothing unwinds into the message loop
    }
    if (!browser) {
      done->Invoke(FAILED(hr) ? hr : E_FAIL, nullptr);
      return;
    }
    chromium::ChromiumCore::Instance().Listen(browser);
    auto environment = engine::Ref<chromium::Environment>::Adopt(new chromium::Environment(browser));
    done->Invoke(S_OK, environment.get());
  });
  return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE GetAvailableCoreWebView2BrowserVersionString(PCWSTR, LPWSTR* versionInfo) {
  if (!versionInfo) return E_POINTER;
  *versionInfo = nullptr;
  const std::wstring binary = chromium::WindowsPath(chromium::BrowserProcess::BinaryPath());
  if (binary.empty() || GetFileAttributesW(binary.c_str()) == INVALID_FILE_ATTRIBUTES)
    return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  // The exact version is known only from a running browser.
  return engine::CopyOutString(L"Chromium", versionInfo);
}
