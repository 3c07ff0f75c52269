#include "iat_hook.h"
#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <set>
#include <string>
#include "import_patch.h"

namespace testhost {
namespace {
std::set<void*> g_live;
std::set<void*> g_freed;
int g_freeCalls = 0;
int g_allocsBeforeFailure = 0;  // counts down to the failing call; 0: none fails

HGLOBAL WINAPI CountingGlobalAlloc(UINT flags, SIZE_T bytes) {
  if (g_allocsBeforeFailure > 0 && --g_allocsBeforeFailure == 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  HGLOBAL h = GlobalAlloc(flags, bytes);
  if (h) {
    g_live.insert(h);
  }
  return h;
}

HGLOBAL WINAPI CountingGlobalFree(HGLOBAL h) {
  g_live.erase(h);
  if (h) g_freed.insert(h);
  ++g_freeCalls;
  return GlobalFree(h);
}

// Windows path rules, which Wine does not keep: without the "\\?\" prefix a path of MAX_PATH
// characters or more is refused (the host executable does not opt into long paths); after
// the prefix the text is taken literally, so "/", "." and ".." steps and empty steps name
// nothing, and GetFullPathNameW gives such a path back unchanged.
bool g_windowsPathRules = false;

bool IsExtended(const wchar_t* path) { return path && std::wcsncmp(path, L"\\\\?\\", 4) == 0; }

bool WindowsRefuses(const wchar_t* path) {
  if (!g_windowsPathRules || !path) return false;
  if (!IsExtended(path)) return std::wcslen(path) >= MAX_PATH;
  const std::wstring rest = path + 4;
  if (rest.find(L'/') != std::wstring::npos || rest.find(L"\\\\") != std::wstring::npos) return true;
  const std::wstring steps = L"\\" + rest + L"\\";
  return steps.find(L"\\.\\") != std::wstring::npos || steps.find(L"\\..\\") != std::wstring::npos;
}

DWORD WINAPI RuledGetFileAttributesW(LPCWSTR path) {
  if (WindowsRefuses(path)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  return GetFileAttributesW(path);
}

HANDLE WINAPI RuledCreateFileW(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templateFile) {
  if (WindowsRefuses(path)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileW(path, access, share, security, disposition, flags, templateFile);
}

HANDLE WINAPI RuledFindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
  if (WindowsRefuses(pattern)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  return FindFirstFileW(pattern, data);
}

DWORD WINAPI RuledGetFullPathNameW(LPCWSTR path, DWORD size, LPWSTR buffer, LPWSTR* filePart) {
  if (!g_windowsPathRules || !IsExtended(path)) return GetFullPathNameW(path, size, buffer, filePart);
  const DWORD length = static_cast<DWORD>(std::wcslen(path));
  if (filePart) *filePart = nullptr;
  if (size <= length) return length + 1;
  std::wmemcpy(buffer, path, length + 1);
  return length;
}

// The C run-time heap blocks the module holds (operator new ends in malloc).
std::set<void*> g_heapLive;

void* __cdecl CountingMalloc(size_t bytes) {
  void* p = std::malloc(bytes);
  if (p) g_heapLive.insert(p);
  return p;
}
void* __cdecl CountingCalloc(size_t count, size_t bytes) {
  void* p = std::calloc(count, bytes);
  if (p) g_heapLive.insert(p);
  return p;
}
void* __cdecl CountingRealloc(void* old, size_t bytes) {
  void* p = std::realloc(old, bytes);
  if (p || bytes == 0) g_heapLive.erase(old);
  if (p) g_heapLive.insert(p);
  return p;
}
void __cdecl CountingFree(void* p) {
  g_heapLive.erase(p);
  std::free(p);
}
char* __cdecl CountingStrdup(const char* text) {
  char* p = _strdup(text);
  if (p) g_heapLive.insert(p);
  return p;
}

struct Replacement {
  const char* name;
  void* function;
};

// Points every import of `module` named in `replacements` at its replacement.
template <size_t N>
void PatchImports(HMODULE module, const Replacement (&replacements)[N]) {
  for (const Replacement& r : replacements) PatchImport(module, r.name, r.function);
}
PinAnswer g_pinAnswer = PinAnswer::Simulate;
DWORD g_pinError = 0;
int g_pinRequests = 0;
HMODULE g_pinTarget = nullptr;

BOOL WINAPI AnsweringGetModuleHandleExW(DWORD flags, LPCWSTR name, HMODULE* module) {
  if (!(flags & GET_MODULE_HANDLE_EX_FLAG_PIN)) return GetModuleHandleExW(flags, name, module);
  ++g_pinRequests;
  g_pinTarget = nullptr;
  GetModuleHandleExW((flags & ~GET_MODULE_HANDLE_EX_FLAG_PIN) | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, name,
                     &g_pinTarget);
  switch (g_pinAnswer) {
    case PinAnswer::Pin: return GetModuleHandleExW(flags, name, module);
    case PinAnswer::Fail:
      if (module) *module = nullptr;
      SetLastError(g_pinError);
      return FALSE;
    case PinAnswer::Simulate:
    default:
      return GetModuleHandleExW((flags & ~GET_MODULE_HANDLE_EX_FLAG_PIN) | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                name, module);
  }
}
}  // namespace

void HookModulePinning(HMODULE module) {
  g_pinAnswer = PinAnswer::Simulate;
  g_pinError = 0;
  g_pinRequests = 0;
  g_pinTarget = nullptr;
  const Replacement replacements[] = {{"GetModuleHandleExW", reinterpret_cast<void*>(&AnsweringGetModuleHandleExW)}};
  PatchImports(module, replacements);
}

void SetPinAnswer(PinAnswer answer, DWORD error) {
  g_pinAnswer = answer;
  g_pinError = error;
}
int PinRequests() { return g_pinRequests; }
HMODULE PinRequestModule() { return g_pinTarget; }

namespace {
const Replacement kCountingHeap[] = {{"malloc", reinterpret_cast<void*>(&CountingMalloc)},
                                     {"calloc", reinterpret_cast<void*>(&CountingCalloc)},
                                     {"realloc", reinterpret_cast<void*>(&CountingRealloc)},
                                     {"free", reinterpret_cast<void*>(&CountingFree)},
                                     {"_strdup", reinterpret_cast<void*>(&CountingStrdup)}};
void* g_realHeap[std::size(kCountingHeap)] = {};
}  // namespace

void HookCrtHeap(HMODULE module) {
  g_heapLive.clear();
  for (size_t i = 0; i < std::size(kCountingHeap); ++i) {
    void* before = PatchImport(module, kCountingHeap[i].name, kCountingHeap[i].function);
    if (before && before != kCountingHeap[i].function) g_realHeap[i] = before;
  }
}

void UnhookCrtHeap(HMODULE module) {
  for (size_t i = 0; i < std::size(kCountingHeap); ++i)
    if (g_realHeap[i]) PatchImport(module, kCountingHeap[i].name, g_realHeap[i]);
}

int LiveHeapBlocks() { return static_cast<int>(g_heapLive.size()); }

void HookGlobalMemory(HMODULE module) {
  const Replacement replacements[] = {{"GlobalAlloc", reinterpret_cast<void*>(&CountingGlobalAlloc)},
                                      {"GlobalFree", reinterpret_cast<void*>(&CountingGlobalFree)},
                                      {"GetFileAttributesW", reinterpret_cast<void*>(&RuledGetFileAttributesW)},
                                      {"CreateFileW", reinterpret_cast<void*>(&RuledCreateFileW)},
                                      {"FindFirstFileW", reinterpret_cast<void*>(&RuledFindFirstFileW)},
                                      {"GetFullPathNameW", reinterpret_cast<void*>(&RuledGetFullPathNameW)}};
  PatchImports(module, replacements);
}

int LiveGlobalBlocks() { return static_cast<int>(g_live.size()); }
void ForgetGlobalBlock(void* block) { g_live.erase(block); }
void ResetGlobalBlocks() {
  g_live.clear();
  g_freed.clear();
  g_freeCalls = 0;
  g_allocsBeforeFailure = 0;
  g_windowsPathRules = false;
}
int GlobalFreeCalls() { return g_freeCalls; }
bool FreedByModule(void* block) { return g_freed.count(block) != 0; }
void NoteHostAllocation(void* block) { g_freed.erase(block); }
void FailNthGlobalAlloc(int n) { g_allocsBeforeFailure = n > 0 ? n : 0; }
void KeepWindowsPathRules(bool on) { g_windowsPathRules = on; }

}  // namespace testhost
