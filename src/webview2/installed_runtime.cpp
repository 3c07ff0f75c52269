#include "webview2/installed_runtime.h"
#include <cwchar>
#include "support/diagnostic_log.h"
#include "support/file_system.h"
#include "support/text.h"
#include "support/unique_resource.h"
#include "webview2/environment_options.h"
#include "webview2/failure_causes.h"

namespace {
// The engine library's creation entry, __stdcall on x86. The first parameter is a C++ bool in
// the engine, passed in a full 4-byte stack slot: 20 argument bytes in all.
typedef HRESULT(STDAPICALLTYPE* CreateInternalProc)(
    BOOL checkRunningInstance, int runtimeType, LPCWSTR userDataFolder, IUnknown* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);

// Stack bytes a __stdcall function pops; no match (an incomplete type) for any other convention.
template <class F>
struct TStdcallArgBytes;
template <class R, class... A>
struct TStdcallArgBytes<R(STDAPICALLTYPE*)(A...)> {
  static constexpr size_t value = (0 + ... + ((sizeof(A) + 3) / 4 * 4));
};
static_assert(TStdcallArgBytes<CreateInternalProc>::value == 20, "the engine entry pops 20 bytes");

const char kEntryName[] = "CreateWebViewEnvironmentWithOptionsInternal";
const wchar_t kClientStateKey[] =
    L"SOFTWARE\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
const wchar_t kFolderValue[] = L"EBWebView";
const wchar_t kEngineLibrary[] = L"EBWebView\\x86\\EmbeddedBrowserWebView.dll";
const BOOL kCheckRunningInstance = TRUE;
const int kInstalledRuntime = 0;  // 1 would be a fixed-version runtime folder

void CloseKey(HKEY key) { RegCloseKey(key); }
using TUniqueRegistryKey = TUniqueResource<TNullInvalidTraits<HKEY, &CloseKey>>;

// Goes from "not found" to "loaded" once; the library is never freed, as objects it made may
// live as long as the process (like the loader library).
struct RuntimeState {
  HMODULE module = nullptr;
  CreateInternalProc create = nullptr;
  std::wstring version;
};
RuntimeState& State() {
  static RuntimeState state;
  return state;
}

// Log texts are ASCII literals, widened when written: half their size in the plug-in.
std::wstring W(const char* text) { return AnsiToWide(text); }

struct THive {
  HKEY root;
  const wchar_t* name;
};

// The EBWebView folder registered under one hive; empty (and logged) when there is none.
std::wstring RegisteredFolder(const THive& hive) {
  const std::wstring where = std::wstring(hive.name) + L"\\" + kClientStateKey;
  WriteDependencyLog(W("Looking for the WebView2 Runtime in the registry: ") + where + W(", value ") + kFolderValue);
  TUniqueRegistryKey key;
  LONG status = RegOpenKeyExW(hive.root, kClientStateKey, 0, KEY_READ | KEY_WOW64_32KEY, key.put());
  std::wstring folder;
  if (status == ERROR_SUCCESS) {
    DWORD bytes = 0;
    status = RegGetValueW(key.get(), nullptr, kFolderValue, RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
    if (status == ERROR_SUCCESS && bytes >= sizeof(wchar_t)) {
      folder.resize(bytes / sizeof(wchar_t));
      status = RegGetValueW(key.get(), nullptr, kFolderValue, RRF_RT_REG_SZ, nullptr, &folder[0], &bytes);
      folder.resize(status == ERROR_SUCCESS ? wcsnlen(folder.c_str(), folder.size()) : 0);
    }
  }
  if (folder.empty()) {
    WriteDependencyLog(W("No WebView2 Runtime registered there; error=") + DecimalText(status));
    return std::wstring();
  }
  WriteDependencyLog(W("WebView2 Runtime registered at ") + folder);
  return folder;
}

// One registered runtime: its version checked, its engine library loaded and its entry found.
bool TryRuntimeAt(const std::wstring& folder) {
  const std::wstring version = RuntimeVersionOfFolder(folder);
  const long build = RuntimeBuildNumber(version);
  if (build < 0) {
    WriteDependencyLog(W("The WebView2 Runtime folder is not named by a version: ") + version);
    return false;
  }
  WriteDependencyLog(W("WebView2 Runtime version ") + version);
  if (build < MinimumRuntimeBuild()) {
    WriteDependencyLog(W("WebView2 Runtime ") + version + W(" is older than ") + kTargetCompatibleBrowserVersion +
                       W(", the version this plug-in targets; skipped"));
    return false;
  }

  std::wstring path = folder;
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  path += kEngineLibrary;
  if (!FileExistsAt(path)) {
    WriteDependencyLog(W("WebView2 Runtime engine library not found: ") + path);
    return false;
  }
  WriteDependencyLog(W("Attempting LoadLibrary: ") + path);
  TUniqueModule module(LoadLibraryW(path.c_str()));
  if (!module) {
    const DWORD error = GetLastError();
    WriteDependencyLog(W("LoadLibrary failed; Win32 error=") + DecimalText(error));
    const std::wstring cause = ExplainFailure(TFailureContext::RuntimeLibrary, error);
    if (!cause.empty()) WriteDependencyLog(cause);
    return false;
  }
  const FARPROC entry = GetProcAddress(module.get(), kEntryName);
  if (!entry) {
    const DWORD error = GetLastError();
    WriteDependencyLog(W("Missing CreateWebViewEnvironmentWithOptionsInternal export; error=") + DecimalText(error));
    return false;
  }
  RuntimeState& state = State();
  state.module = module.release();
  state.create = reinterpret_cast<CreateInternalProc>(reinterpret_cast<void*>(entry));
  state.version = version;
  WriteDependencyLog(W("WebView2 Runtime engine loaded and entry resolved: ") + path);
  return true;
}

}  // namespace

std::wstring RuntimeVersionOfFolder(const std::wstring& folder) {
  size_t end = folder.size();
  while (end > 0 && (folder[end - 1] == L'\\' || folder[end - 1] == L'/')) --end;
  size_t start = end;
  while (start > 0 && folder[start - 1] != L'\\' && folder[start - 1] != L'/') --start;
  return folder.substr(start, end - start);
}

long RuntimeBuildNumber(const std::wstring& version) {
  // Four groups of 1 to 9 digits between dots; the third is the build.
  long groups[4] = {};
  size_t count = 0, digits = 0;
  for (wchar_t c : version) {
    if (c == L'.') {
      if (digits == 0 || ++count == 4) return -1;
      digits = 0;
    } else if (c >= L'0' && c <= L'9' && digits < 9) {
      groups[count] = groups[count] * 10 + (c - L'0');
      ++digits;
    } else {
      return -1;
    }
  }
  return count == 3 && digits > 0 ? groups[2] : -1;
}

long MinimumRuntimeBuild() { return RuntimeBuildNumber(kTargetCompatibleBrowserVersion); }

bool EnsureInstalledRuntime() {
  if (State().module) return true;
  // A per-machine install first, then a per-user one, as the loader looks.
  const THive hives[] = {{HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE"}, {HKEY_CURRENT_USER, L"HKEY_CURRENT_USER"}};
  for (const THive& hive : hives) {
    const std::wstring folder = RegisteredFolder(hive);
    if (!folder.empty() && TryRuntimeAt(folder)) return true;
  }
  WriteDependencyLog(W("No usable WebView2 Runtime was found."));
  return false;
}

std::wstring InstalledRuntimeVersion() { return State().version; }

HRESULT CreateEnvironmentThroughRuntime(PCWSTR userDataFolder, IUnknown* environmentOptions,
                                        ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
  const RuntimeState& state = State();
  if (!state.create) return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
  const HRESULT result =
      state.create(kCheckRunningInstance, kInstalledRuntime, userDataFolder, environmentOptions, handler);
  WriteDependencyLog(
      W("CreateWebViewEnvironmentWithOptionsInternal(checkRunningInstance=true, runtimeType=0) returned 0x") +
      HexUpper8(static_cast<uint32_t>(result)));
  return result;
}
