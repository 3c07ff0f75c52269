// Finds WebView2Loader.dll on first need, keeps it loaded for the life of the process and
// forwards the browser control's two calls to its exports; without a usable loader, to the
// installed runtime (installed_runtime.cpp).
#include "webview2/webview2_loader.h"
#include <objbase.h>
#include <cstring>
#include <cwchar>
#include "support/file_system.h"
#include "support/module.h"
#include "support/buffer_text.h"
#include "support/diagnostic_log.h"
#include "support/text.h"
#include "support/unique_resource.h"
#include "webview2/failure_causes.h"
#include "webview2/installed_runtime.h"
#include "webview2/webview2.h"

namespace {
typedef HRESULT(STDAPICALLTYPE* CreateEnvironmentProc)(PCWSTR, PCWSTR, ICoreWebView2EnvironmentOptions*,
                                                       ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*);
typedef HRESULT(STDAPICALLTYPE* BrowserVersionProc)(PCWSTR, LPWSTR*);

const wchar_t kLoaderFileName[] = L"WebView2Loader.dll";
const HRESULT kModuleNotFound = static_cast<HRESULT>(0x8007007EL);  // HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)

// Goes from "not loaded" to "loaded" once; the library is never freed after that, because
// WebView2 objects created through it may outlive any point where freeing would be safe.
struct LoaderState {
  HMODULE module = nullptr;  // non-null exactly when both entries are resolved
  CreateEnvironmentProc createEnvironment = nullptr;
  BrowserVersionProc browserVersion = nullptr;
  std::wstring loadedPath;
};
LoaderState& State() {
  static LoaderState state;
  return state;
}

// The format's one "%ld" replaced by the value, written by hand to keep the C library's wide
// formatter out of the plug-in.
std::wstring Formatted(const wchar_t* format, long value) {
  std::wstring text = format;
  const size_t at = text.find(L"%ld");
  if (at != std::wstring::npos) text.replace(at, 3, DecimalText(value));
  return text;
}

// The engine calls back into handler objects whose code lies in this module for as long as it
// holds them, and a host may FreeLibrary the plug-in without leaving run mode first. So before
// the first object goes to the engine the module pins itself, as the loader library is never
// freed either; one attempt per loaded instance.
void PinOwnModule() {
  static bool attempted = false;
  if (attempted) return;
  attempted = true;
  HMODULE self = nullptr;
  if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                         reinterpret_cast<LPCWSTR>(&PinOwnModule), &self))
    return;
  WriteDependencyLog(Formatted(L"Could not pin the plug-in module in the process; Win32 error=%ld",
                               static_cast<long>(GetLastError())));
}

std::wstring CurrentDirectoryWithSlash() {
  std::wstring dir = BufferText([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); });
  if (dir.empty()) return std::wstring();
  if (dir.back() != L'\\') dir += L'\\';
  return dir;
}
}  // namespace

bool TryLoadWebView2Loader(const std::wstring& candidate) {
  if (candidate.empty() || !FileExistsAt(candidate)) return false;
  // A relative candidate (the plug-in's file name unknown) is made absolute against the
  // current directory, so that LoadLibraryW loads the very file that was tested instead of
  // whatever the DLL search order finds under that name.
  std::wstring path = FullPath(candidate);
  if (path.empty()) path = candidate;
  WriteDependencyLog(L"Attempting LoadLibrary: " + path);

  // The state changes only once both exports are resolved, so that a failed attempt never
  // leaves half a loader behind.
  // Freed again on every failure below; kept only once both exports resolve.
  TUniqueModule module(LoadLibraryW(path.c_str()));
  if (!module) {
    const DWORD error = GetLastError();
    WriteDependencyLog(Formatted(L"LoadLibrary failed; Win32 error=%ld", static_cast<long>(error)));
    const std::wstring cause = ExplainFailure(TFailureContext::LoaderLibrary, error);
    if (!cause.empty()) WriteDependencyLog(cause);
    return false;
  }
  const FARPROC create = GetProcAddress(module.get(), "CreateCoreWebView2EnvironmentWithOptions");
  if (!create) {
    const DWORD error = GetLastError();
    WriteDependencyLog(
        Formatted(L"Missing CreateCoreWebView2EnvironmentWithOptions export; error=%ld", static_cast<long>(error)));
    return false;
  }
  const FARPROC version = GetProcAddress(module.get(), "GetAvailableCoreWebView2BrowserVersionString");
  if (!version) {
    const DWORD error = GetLastError();
    WriteDependencyLog(
        Formatted(L"Missing GetAvailableCoreWebView2BrowserVersionString export; error=%ld", static_cast<long>(error)));
    return false;
  }

  LoaderState& state = State();
  state.module = module.release();
  state.createEnvironment = reinterpret_cast<CreateEnvironmentProc>(create);
  state.browserVersion = reinterpret_cast<BrowserVersionProc>(version);
  state.loadedPath = path;
  WriteDependencyLog(L"WebView2Loader loaded and exports resolved: " + path);
  return true;
}

bool EnsureWebView2Loader() {
  if (State().module) return true;

  const std::wstring candidateA = PluginDirectory() + kLoaderFileName;
  if (TryLoadWebView2Loader(candidateA)) return true;

  const std::wstring candidateB = HostExecutableDirectory() + kLoaderFileName;
  if (!SameTextAscii(candidateA, candidateB) && TryLoadWebView2Loader(candidateB)) return true;

  // Tried even when it names the file of A or B.
  if (TryLoadWebView2Loader(CurrentDirectoryWithSlash() + kLoaderFileName)) return true;

  WriteDependencyLog(
      L"WebView2Loader.dll was not found. Checked plugin directory, host executable directory "
      L"and current directory.");
  return false;
}

namespace {
// The loader when one is usable, else the installed runtime itself; each keeps answering once found.
enum class TEngineRoute { None, Loader, Runtime };
TEngineRoute EnsureEngineRoute() {
  if (State().module) return TEngineRoute::Loader;
  if (!InstalledRuntimeVersion().empty()) return TEngineRoute::Runtime;
  if (EnsureWebView2Loader()) return TEngineRoute::Loader;
  if (EnsureInstalledRuntime()) return TEngineRoute::Runtime;
  return TEngineRoute::None;
}
}  // namespace

HRESULT CreateEnvironmentThroughLoader(PCWSTR browserExecutableFolder, PCWSTR userDataFolder,
                                       ICoreWebView2EnvironmentOptions* environmentOptions,
                                       ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
  const TEngineRoute route = EnsureEngineRoute();
  if (route == TEngineRoute::None) return kModuleNotFound;
  PinOwnModule();
  // The runtime's entry knows no browser folder: it always uses the installed runtime.
  if (route == TEngineRoute::Runtime)
    return CreateEnvironmentThroughRuntime(userDataFolder, environmentOptions, handler);
  const HRESULT result =
      State().createEnvironment(browserExecutableFolder, userDataFolder, environmentOptions, handler);
  WriteDependencyLog(L"CreateCoreWebView2EnvironmentWithOptions returned 0x" +
                     HexUpper8(static_cast<uint32_t>(result)));
  return result;
}

HRESULT GetBrowserVersionThroughLoader(PCWSTR browserExecutableFolder, LPWSTR* versionInfo) {
  if (versionInfo) *versionInfo = nullptr;
  const TEngineRoute route = EnsureEngineRoute();
  if (route == TEngineRoute::None) return kModuleNotFound;
  if (route == TEngineRoute::Runtime) {
    // The installed runtime's version is the name of its folder.
    const std::wstring version = InstalledRuntimeVersion();
    if (!versionInfo) return E_POINTER;
    const size_t bytes = (version.size() + 1) * sizeof(wchar_t);
    *versionInfo = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*versionInfo) return E_OUTOFMEMORY;
    memcpy(*versionInfo, version.c_str(), bytes);
    WriteDependencyLog(L"GetAvailableCoreWebView2BrowserVersionString answered from the installed WebView2 Runtime: " +
                       version);
    return S_OK;
  }
  const HRESULT result = State().browserVersion(browserExecutableFolder, versionInfo);
  WriteDependencyLog(L"GetAvailableCoreWebView2BrowserVersionString returned 0x" +
                     HexUpper8(static_cast<uint32_t>(result)));
  return result;
}
