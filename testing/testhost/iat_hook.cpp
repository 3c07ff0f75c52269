#include "iat_hook.h"
#include "import_patch.h"
#include <set>

namespace testhost {
namespace {
std::set<void*> g_live;
std::set<void*> g_freed;
int g_freeCalls = 0;

HGLOBAL WINAPI CountingGlobalAlloc(UINT flags, SIZE_T bytes) {
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

}  // namespace

void HookGlobalMemory(HMODULE module) {
  PatchImport(module, "GlobalAlloc", reinterpret_cast<void*>(&CountingGlobalAlloc));
  PatchImport(module, "GlobalFree", reinterpret_cast<void*>(&CountingGlobalFree));
}

int LiveGlobalBlocks() { return static_cast<int>(g_live.size()); }
void ForgetGlobalBlock(void* block) { g_live.erase(block); }
void ResetGlobalBlocks() {
  g_live.clear();
  g_freed.clear();
  g_freeCalls = 0;
}
int GlobalFreeCalls() { return g_freeCalls; }
bool FreedByModule(void* block) { return g_freed.count(block) != 0; }
void NoteHostAllocation(void* block) { g_freed.erase(block); }

}  // namespace testhost
