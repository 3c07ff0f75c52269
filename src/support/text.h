#pragma once
// Text crossing the host boundary is ANSI (CP_ACP) outside and UTF-16 inside.
#include <cstdint>
#include <string>
#include <string_view>

// All-ASCII text is copied unit by unit; any other goes through the code page.
std::wstring AnsiToWide(const char* text);  // null reads as empty
// AnsiToWide into `out`, whose memory is kept when it is large enough.
void AnsiToWideInto(const char* text, std::wstring& out);
std::string WideToAnsi(const std::wstring& text);  // unmappable -> the code page's default char
// WideToAnsi into `out`, whose memory is kept when it is large enough.
void WideToAnsiInto(std::wstring_view text, std::string& out);
// The same for a given code page (WideToAnsi uses the system's ANSI code page), always
// through the code-page table.
std::string WideToCodePageExact(const std::wstring& text, unsigned codePage);
std::wstring AnsiToWideSlow(const char* text);  // AnsiToWide, always through the code-page table
std::string WideToUtf8(const std::wstring& text);

// Characters with codes 0 to 32 removed at both ends.
std::wstring Trim(const std::wstring& text);
std::wstring UpperAscii(const std::wstring& text);
bool SameTextAscii(const std::wstring& a, const std::wstring& b);  // compared in place
// Equal for texts that SameTextAscii finds equal.
size_t FoldedAsciiHash(const std::wstring& text);

// The host platform's string-to-integer rule: leading blanks, a sign, decimal digits or
// hexadecimal digits after "$", "x" or "0x"; nothing else may follow.
bool TryStrToInt(const std::wstring& text, int32_t& value);
int32_t StrToIntDef(const std::wstring& text, int32_t fallback);

std::wstring HexUpper8(uint32_t value);     // "%.8X"
std::wstring DecimalText(int64_t value);    // "%lld"
std::wstring UnsignedText(uint64_t value);  // "%llu"
std::wstring ReplaceAll(std::wstring text, const std::wstring& what, const std::wstring& with);
