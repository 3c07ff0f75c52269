#pragma once
#include <windows.h>

namespace testhost {
// Counts the GlobalAlloc/GlobalFree calls a module makes by patching its import table.
void HookGlobalMemory(HMODULE module);
int LiveGlobalBlocks();
void ForgetGlobalBlock(void* block);   // the host freed a block the plug-in made
void ResetGlobalBlocks();
}  // namespace testhost
