#include "support/text.h"
#include <windows.h>
#include <cstring>
#include "support/ascii_copy.h"

namespace {
bool NarrowAsciiInto(const wchar_t* text, size_t length, std::string& out) {
  out.resize(length);
  return length == 0 || NarrowAscii(text, length, &out[0]);
}

bool WidenAsciiInto(const char* text, std::wstring& out) {
  const size_t length = std::strlen(text);
  out.resize(length);
  return length == 0 || WidenAscii(text, length, &out[0]);
}

// Through the code-page table; `text` is neither null nor empty.
void AnsiThroughTableInto(const char* text, std::wstring& out) {
  out.clear();
  const int len = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (len <= 1) return;
  out.resize(static_cast<size_t>(len));
  MultiByteToWideChar(CP_ACP, 0, text, -1, &out[0], len);
  out.resize(static_cast<size_t>(len - 1));
}
}  // namespace

std::wstring AnsiToWide(const char* text) {
  std::wstring out;
  AnsiToWideInto(text, out);
  return out;
}

void AnsiToWideInto(const char* text, std::wstring& out) {
  out.clear();
  if (!text || !*text || WidenAsciiInto(text, out)) return;
  AnsiThroughTableInto(text, out);
}

std::wstring AnsiToWideSlow(const char* text) {
  std::wstring out;
  if (text && *text) AnsiThroughTableInto(text, out);
  return out;
}

namespace {
void WideToCodePageInto(std::wstring_view text, UINT cp, DWORD flags, std::string& out) {
  out.clear();
  if (text.empty()) return;
  const int wlen = static_cast<int>(text.size());
  const int len = WideCharToMultiByte(cp, flags, text.data(), wlen, nullptr, 0, nullptr, nullptr);
  if (len <= 0) return;
  out.resize(static_cast<size_t>(len));
  WideCharToMultiByte(cp, flags, text.data(), wlen, &out[0], len, nullptr, nullptr);
}

// No best-fit mapping: a character the code page lacks becomes its default character
// instead of a look-alike letter that would silently change the text. UTF-8 and UTF-7 hold
// every character and refuse that flag, so they convert without it.
DWORD ExactFlags(unsigned codePage) { return (codePage == CP_UTF8 || codePage == CP_UTF7) ? 0 : WC_NO_BEST_FIT_CHARS; }
}  // namespace

std::string WideToCodePageExact(const std::wstring& text, unsigned codePage) {
  std::string out;
  WideToCodePageInto(text, codePage, ExactFlags(codePage), out);
  return out;
}

void WideToAnsiInto(std::wstring_view text, std::string& out) {
  if (NarrowAsciiInto(text.data(), text.size(), out)) return;
  const UINT codePage = GetACP();
  WideToCodePageInto(text, codePage, ExactFlags(codePage), out);
}

std::string WideToAnsi(const std::wstring& text) {
  std::string out;
  WideToAnsiInto(text, out);
  return out;
}

std::string WideToUtf8(const std::wstring& text) {
  std::string out;
  if (!NarrowAsciiInto(text.data(), text.size(), out)) WideToCodePageInto(text, CP_UTF8, 0, out);
  return out;
}

std::wstring Trim(const std::wstring& text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] <= 32) ++b;
  while (e > b && text[e - 1] <= 32) --e;
  return text.substr(b, e - b);
}

std::wstring UpperAscii(const std::wstring& text) {
  std::wstring out = text;
  for (auto& c : out)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
  return out;
}

namespace {
wchar_t FoldAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }
}  // namespace

bool SameTextAscii(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

size_t FoldedAsciiHash(const std::wstring& text) {
  uint32_t hash = 2166136261u;  // FNV-1a over the folded code units
  for (const wchar_t c : text) hash = (hash ^ static_cast<uint32_t>(FoldAscii(c))) * 16777619u;
  return hash;
}

bool TryStrToInt(const std::wstring& s, int32_t& value) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n && s[i] == L' ') ++i;
  bool negative = false;
  if (i < n && (s[i] == L'+' || s[i] == L'-')) {
    negative = s[i] == L'-';
    ++i;
  }
  bool hex = false;
  if (i < n && (s[i] == L'$' || s[i] == L'x' || s[i] == L'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n) return false;
  uint64_t acc = 0;
  for (; i < n; ++i) {
    const wchar_t c = s[i];
    unsigned d;
    if (c >= L'0' && c <= L'9')
      d = c - L'0';
    else if (hex && c >= L'a' && c <= L'f')
      d = c - L'a' + 10;
    else if (hex && c >= L'A' && c <= L'F')
      d = c - L'A' + 10;
    else
      return false;
    acc = acc * (hex ? 16 : 10) + d;
    if (acc > 0xFFFFFFFFull) return false;
  }
  if (hex) {
    // Hexadecimal spans the full 32 bits, as the host platform reads "$FFFFFFFF" as -1.
    const int32_t v = static_cast<int32_t>(static_cast<uint32_t>(acc));
    value = negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(v)) : v;
    return true;
  }
  if (negative) {
    if (acc > 2147483648ull) return false;
    value = static_cast<int32_t>(-static_cast<int64_t>(acc));
  } else {
    if (acc > 2147483647ull) return false;
    value = static_cast<int32_t>(acc);
  }
  return true;
}

int32_t StrToIntDef(const std::wstring& text, int32_t fallback) {
  int32_t v;
  return TryStrToInt(text, v) ? v : fallback;
}

std::wstring HexUpper8(uint32_t value) {
  std::wstring out(8, L'0');
  for (int i = 7; i >= 0; --i, value >>= 4) out[static_cast<size_t>(i)] = L"0123456789ABCDEF"[value & 15];
  return out;
}

// By hand: the C library's wide formatting would pull its whole formatter into the plug-in.
std::wstring UnsignedText(uint64_t value) {
  wchar_t digits[24];
  size_t n = 0;
  do {
    digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
    value /= 10;
  } while (value);
  std::wstring out;
  while (n) out += digits[--n];
  return out;
}

std::wstring DecimalText(int64_t value) {
  if (value >= 0) return UnsignedText(static_cast<uint64_t>(value));
  return L"-" + UnsignedText(0 - static_cast<uint64_t>(value));
}

std::wstring ReplaceAll(std::wstring text, const std::wstring& what, const std::wstring& with) {
  if (what.empty()) return text;
  for (size_t pos = 0; (pos = text.find(what, pos)) != std::wstring::npos; pos += with.size())
    text.replace(pos, what.size(), with);
  return text;
}
