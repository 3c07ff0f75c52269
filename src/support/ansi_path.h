#pragma once
// The host takes file paths in the ANSI code page. A path with characters outside it would
// reach the host with substitutes and name a file that does not exist.
#include <windows.h>
#include <string>

inline bool RepresentableInAnsi(const std::wstring& text) {
  if (text.empty()) return true;
  const UINT codePage = GetACP();
  if (codePage == CP_UTF8 || codePage == CP_UTF7) return true;  // every character has a form there
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, &usedDefault);
  return n > 0 && !usedDefault;
}
