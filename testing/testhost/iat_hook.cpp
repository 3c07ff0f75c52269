#include "iat_hook.h"
#include <cstring>
#include <set>

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
      if (std::strcmp(n, "GlobalAlloc") == 0)
        Patch(reinterpret_cast<void**>(&slots->u1.Function), reinterpret_cast<void*>(&CountingGlobalAlloc));
      else if (std::strcmp(n, "GlobalFree") == 0)
        Patch(reinterpret_cast<void**>(&slots->u1.Function), reinterpret_cast<void*>(&CountingGlobalFree));
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
}
int GlobalFreeCalls() { return g_freeCalls; }
bool FreedByModule(void* block) { return g_freed.count(block) != 0; }
void NoteHostAllocation(void* block) { g_freed.erase(block); }
void FailNthGlobalAlloc(int n) { g_allocsBeforeFailure = n > 0 ? n : 0; }

}  // namespace testhost
