#pragma once
#include <windows.h>

namespace testhost {
// Counts the GlobalAlloc/GlobalFree calls a module makes by patching its import table, and
// can make its file-system calls keep the path rules of Windows that Wine does not keep.
void HookGlobalMemory(HMODULE module);
int LiveGlobalBlocks();
void ForgetGlobalBlock(void* block);   // the host freed a block the plug-in made
void ResetGlobalBlocks();
int GlobalFreeCalls();                 // GlobalFree calls the module made since the reset
bool FreedByModule(void* block);
void NoteHostAllocation(void* block);  // the host allocated it: any earlier free by the module is history
// The module's nth GlobalAlloc call from now on fails as an exhausted heap does (0: none fails).
void FailNthGlobalAlloc(int n);
// On: a path of MAX_PATH characters or more without the "\\?\" prefix is refused, a "\\?\" path
// is taken literally ("/", ".", ".." and empty steps name nothing) and GetFullPathNameW gives
// it back unchanged, as on Windows for a host that does not opt into long paths.
void KeepWindowsPathRules(bool on);
}  // namespace testhost
