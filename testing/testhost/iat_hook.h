#pragma once
#include <windows.h>

namespace testhost {
// Counts the GlobalAlloc/GlobalFree calls a module makes by patching its import table.
void HookGlobalMemory(HMODULE module);
int LiveGlobalBlocks();
void ForgetGlobalBlock(void* block);   // the host freed a block the plug-in made
void ResetGlobalBlocks();
int GlobalFreeCalls();                 // GlobalFree calls the module made since the reset
bool FreedByModule(void* block);
void NoteHostAllocation(void* block);  // the host allocated it: any earlier free by the module is history     // the hooked module called GlobalFree on it
// Counts the C run-time heap blocks (malloc, calloc, realloc, free, _strdup) a module holds,
// through its import table; blocks made before the hook are not counted.
void HookCrtHeap(HMODULE module);
int LiveHeapBlocks();
}  // namespace testhost
