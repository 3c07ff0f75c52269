#pragma once
#include <windows.h>

namespace testhost {
// Counts the GlobalAlloc/GlobalFree calls a module makes by patching its import table, and
// can make its file-system calls keep the path rules of Windows that Wine does not keep.
void HookGlobalMemory(HMODULE module);
int LiveGlobalBlocks();
void ForgetGlobalBlock(void* block);  // the host freed a block the plug-in made
void ResetGlobalBlocks();
int GlobalFreeCalls();  // GlobalFree calls the module made since the reset
bool FreedByModule(void* block);
void NoteHostAllocation(void* block);  // the host allocated it: any earlier free by the module is history
// The module's nth GlobalAlloc call from now on fails as an exhausted heap does (0: none fails).
void FailNthGlobalAlloc(int n);
// On: a path of MAX_PATH characters or more without the "\\?\" prefix is refused, a "\\?\" path
// is taken literally ("/", ".", ".." and empty steps name nothing) and GetFullPathNameW gives
// it back unchanged, as on Windows for a host that does not opt into long paths.
void KeepWindowsPathRules(bool on);
// Counts the C run-time heap blocks (malloc, calloc, realloc, free, _strdup) a module holds,
// through its import table; blocks made before the hook are not counted.
void HookCrtHeap(HMODULE module);
// The module's heap calls go straight to the run-time again (LiveHeapBlocks stops counting).
void UnhookCrtHeap(HMODULE module);
int LiveHeapBlocks();

// Answers the module's requests to pin a module (GetModuleHandleExW with the PIN flag). A pin
// cannot be undone, and a pinned plug-in would leave its state to the next test host, so by
// default the request is answered as granted without pinning.
enum class PinAnswer { Simulate, Pin, Fail };
void HookModulePinning(HMODULE module);  // also resets to Simulate and the counters to zero
void SetPinAnswer(PinAnswer answer, DWORD error = 0);
int PinRequests();           // pin requests since the hook
HMODULE PinRequestModule();  // the module the last request named (null: none)
}  // namespace testhost
