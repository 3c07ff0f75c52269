#pragma once
// An action whose handler is not part of this build fails through the dispatcher's guard.
#include "host/errors.h"

[[noreturn]] inline void ActionNotAvailable(const wchar_t* action) {
  Fail(std::wstring(L"The action \"") + action + L"\" is not available in this build.");
}
