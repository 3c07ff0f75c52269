#include "host/host_string.h"
#include <windows.h>
#include <cstring>
#include "support/errors.h"
#include "support/text.h"

void SetHostString(char*& buffer, const std::wstring& text) {
  FreeHostString(buffer);
  const std::string ansi = WideToAnsi(text);
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, ansi.size() + 1);
  if (!block) Fail(L"Unable to allocate a Classic SDK string buffer.");
  char* p = static_cast<char*>(block);
  std::memcpy(p, ansi.data(), ansi.size());
  p[ansi.size()] = '\0';
  buffer = p;
}

void FreeHostString(char*& buffer) {
  if (buffer) GlobalFree(static_cast<HGLOBAL>(buffer));
  buffer = nullptr;
}
