#include "iat_hook.h"
#include <cstring>
#include <cwchar>
#include <set>
#include <string>

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

void Patch(void** slot, void* replacement) {
  DWORD old;
  VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
  *slot = replacement;
  VirtualProtect(slot, sizeof(void*), old, &old);
}
}  // namespace

void HookGlobalMemory(HMODULE module) {
  auto base = reinterpret_cast<BYTE*>(module);
  auto dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return;
  for (auto imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    if (!imp->OriginalFirstThunk) continue;
    auto names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
    auto slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      const char* n = reinterpret_cast<const char*>(byName->Name);
      const struct {
        const char* name;
        void* replacement;
      } hooks[] = {
          {"GlobalAlloc", reinterpret_cast<void*>(&CountingGlobalAlloc)},
          {"GlobalFree", reinterpret_cast<void*>(&CountingGlobalFree)},
          {"GetFileAttributesW", reinterpret_cast<void*>(&RuledGetFileAttributesW)},
          {"CreateFileW", reinterpret_cast<void*>(&RuledCreateFileW)},
          {"FindFirstFileW", reinterpret_cast<void*>(&RuledFindFirstFileW)},
          {"GetFullPathNameW", reinterpret_cast<void*>(&RuledGetFullPathNameW)},
      };
      for (const auto& hook : hooks)
        if (std::strcmp(n, hook.name) == 0) Patch(reinterpret_cast<void**>(&slots->u1.Function), hook.replacement);
    }
  }
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
