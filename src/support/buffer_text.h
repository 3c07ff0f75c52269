#pragma once
// Text from a Win32 call that fills a caller's buffer and returns a length, however long the
// text is: the buffer grows until the text fits, so no path or value is cut at MAX_PATH.
#include <windows.h>
#include <algorithm>
#include <string>

// fill(buffer, size) writes at most size characters including the NUL and returns
//  - the text's length (below size) when it fit,
//  - a value of size or more when it did not (the size the text needs, as GetFullPathNameW,
//    GetEnvironmentVariableW and GetCurrentDirectoryW answer, or size itself for a cut text,
//    as GetModuleFileNameW answers),
//  - 0 for a failure or an empty text; both give the empty text.
// The call is repeated with the larger buffer, so a value that changes in between is read again.
template <class Fill>
std::wstring BufferText(Fill fill, DWORD initialSize = MAX_PATH) {
  constexpr DWORD kLimit = 1u << 20;  // beyond every length Windows hands out
  DWORD size = std::max<DWORD>(initialSize, 2);
  std::wstring buffer;
  for (;;) {
    buffer.assign(size, L'\0');
    const DWORD length = fill(&buffer[0], size);
    if (length == 0) return std::wstring();
    if (length < size) {
      buffer.resize(length);
      return buffer;
    }
    if (size >= kLimit) return std::wstring();
    size = std::min<DWORD>(kLimit, std::max<DWORD>(length + 1, size * 2));
  }
}

// The value of an environment variable; empty when it is not set.
inline std::wstring EnvironmentText(const wchar_t* name) {
  return BufferText([name](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(name, buffer, size); });
}
