#pragma once
// The answer of an engine call that an action depends on: a refused call is a failure that
// names the call and its HRESULT, never a silent success.
#include <windows.h>
#include <cstdint>
#include <string>
#include "support/errors.h"
#include "support/text.h"

// "Navigate failed (HRESULT 0x80070057)."
inline std::wstring EngineCallFailure(const wchar_t* operation, HRESULT hr) {
  return std::wstring(operation) + L" failed (HRESULT 0x" + HexUpper8(static_cast<uint32_t>(hr)) + L").";
}

// Raises EngineCallFailure when the engine refused the call.
inline void RequireEngineCall(HRESULT hr, const wchar_t* operation) {
  if (FAILED(hr)) Fail(EngineCallFailure(operation, hr));
}
