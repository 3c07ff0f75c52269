#pragma once
// Text made of code units below 0x80 only is the same in UTF-16, UTF-8 and every ANSI code
// page, so it is narrowed or widened unit by unit without a code-page table. Each copies
// while it checks and reports false at the first block holding any other unit; the caller
// then converts the slow way (what was written by then is undefined).
#include <cstddef>

// `out` holds `length` units.
bool NarrowAscii(const wchar_t* text, size_t length, char* out);
bool WidenAscii(const char* text, size_t length, wchar_t* out);

// The same without SSE2, for processors that lack it (exposed for the tests).
bool NarrowAsciiPortable(const wchar_t* text, size_t length, char* out);
bool WidenAsciiPortable(const char* text, size_t length, wchar_t* out);
