#pragma once
#include <windows.h>

namespace testhost {
// Points every import slot of `module` that names `function` (from any DLL) at `replacement`
// and returns what the last such slot held before, or null when the module imports no such name.
void* PatchImport(HMODULE module, const char* function, void* replacement);
}  // namespace testhost
