#pragma once
// Strings handed out through [out] LPWSTR*: allocated with CoTaskMemAlloc, freed by the caller.
#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <string>

namespace engine {

inline HRESULT CopyOutString(const wchar_t* text, LPWSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!text) return S_OK;
  const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (!copy) return E_OUTOFMEMORY;
  memcpy(copy, text, bytes);
  *out = copy;
  return S_OK;
}

inline HRESULT CopyOutString(const std::wstring& text, LPWSTR* out) { return CopyOutString(text.c_str(), out); }

}  // namespace engine
