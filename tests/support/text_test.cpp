// Text rules every layer uses: the host platform's integer forms, trimming, ASCII case
// folding and the ANSI conversions.
#include "support/text.h"
#include <gtest/gtest.h>
#include <windows.h>
#include "test_env.h"

using testhost::Utf8;

namespace {
struct IntCase {
  const wchar_t* text;
  bool ok;
  int32_t value;
};
}  // namespace

TEST(IntegerRule, ReadsTheHostPlatformsIntegerForms) {
  const IntCase cases[] = {
      {L"150", true, 150},
      {L" 150", true, 150},
      {L"   150", true, 150},
      {L"150 ", false, 0},
      {L"", false, 0},
      {L"$96", true, 150},
      {L"0x96", true, 150},
      {L"0X96", true, 150},
      {L"x96", true, 150},
      {L"X96", true, 150},
      {L"+7", true, 7},
      {L"-", false, 0},
      {L"+", false, 0},
      {L"$", false, 0},
      {L"0x", false, 0},
      {L"2147483647", true, 2147483647},
      {L"2147483648", false, 0},
      {L"-2147483648", true, INT32_MIN},
      {L"-2147483649", false, 0},
      {L"150%", false, 0},
      {L"1 50", false, 0},
      {L"\t150", false, 0},
      {L"-$10", true, -16},
      {L"0", true, 0},
      {L"007", true, 7},
      {L"$FFFFFFFF", true, -1},
      {L"$100000000", false, 0},
      {L"1e3", false, 0},
  };
  for (const auto& c : cases) {
    int32_t v = 12345;
    const bool ok = TryStrToInt(c.text, v);
    EXPECT_EQ(ok, c.ok) << "text [" << Utf8(c.text) << "]";
    if (c.ok && ok) {
      EXPECT_EQ(v, c.value) << "text [" << Utf8(c.text) << "]";
    }
    EXPECT_EQ(StrToIntDef(c.text, 100), c.ok ? c.value : 100) << "text [" << Utf8(c.text) << "]";
  }
}

TEST(TextRules, TrimAndAsciiCaseFolding) {
  EXPECT_EQ(Trim(std::wstring(L"\x01\t a b \r\n ")), L"a b");
  EXPECT_EQ(Trim(std::wstring(L"\0a\0", 3)), L"a");
  EXPECT_EQ(Trim(L"\u00a0x\u00a0"), L"\u00a0x\u00a0");  // only codes 0 to 32
  EXPECT_TRUE(SameTextAscii(L"Rect1", L"rECT1"));
  EXPECT_FALSE(SameTextAscii(L"\u00c4rea", L"\u00e4rea"));
  EXPECT_FALSE(SameTextAscii(L"Rect1", L" Rect1"));
  EXPECT_EQ(UpperAscii(L"refresh \u00e9"), L"REFRESH \u00e9");
}

TEST(TextRules, AnsiRoundTripKeepsEveryCodePageCharacter) {
  ASSERT_EQ(GetACP(), 1252u);
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  const std::wstring wide = AnsiToWide(all.c_str());
  EXPECT_EQ(WideToAnsi(wide), all);
  EXPECT_EQ(AnsiToWide(nullptr), L"");
  EXPECT_EQ(WideToAnsi(L"\u0416\u0101\u20ac"), "??\x80");
}

TEST(TextRules, EveryAnsiCodePageConvertsWithoutLookAlikes) {
  const std::wstring text = L"Gr\u00fc\u00dfe \u0416 \u0101";
  // Code page 1252 has the umlaut and sharp s; the Cyrillic letter and a-macron become "?".
  EXPECT_EQ(WideToCodePageExact(text, 1252),
            "Gr\xFC\xDF"
            "e ? ?");
  // A system whose ANSI code page is UTF-8 gets every character, not an empty text.
  EXPECT_EQ(WideToCodePageExact(text, CP_UTF8), Utf8(text));
  EXPECT_EQ(WideToCodePageExact(L"", CP_UTF8), "");
}

namespace {
// The code-page conversions as they were before the all-ASCII shortcut: always through the table.
std::string NarrowThroughTable(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int n = static_cast<int>(text.size());
  const int len = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(len), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), n, &out[0], len, nullptr, nullptr);
  return out;
}
std::string Utf8ThroughTable(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int n = static_cast<int>(text.size());
  const int len = WideCharToMultiByte(CP_UTF8, 0, text.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(len), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), n, &out[0], len, nullptr, nullptr);
  return out;
}
}  // namespace

// All-ASCII text takes a shortcut; every text must come out exactly as through the table,
// including a single other unit at the very end of a long ASCII text.
TEST(TextRules, AsciiShortcutGivesWhatTheCodePageGives) {
  ASSERT_EQ(GetACP(), 1252u);
  std::wstring allAscii;
  for (wchar_t c = 1; c < 0x80; ++c) allAscii += c;
  const std::wstring longAscii(65536, L'a');
  const struct {
    const char* what;
    std::wstring text;
    const char* ansi;  // expected in code page 1252, null: only compared with the table
  } cases[] = {
      {"empty", L"", ""},
      {"plain", L"Hello, World! {\"a\":1}\r\n", "Hello, World! {\"a\":1}\r\n"},
      {"every ASCII unit", allAscii, nullptr},
      {"embedded NUL", std::wstring(L"a\0b", 3), nullptr},
      {"delete and the first non-ASCII", L"\x7F\x80", nullptr},
      {"Latin-1 letters", L"Gr\u00fc\u00dfe",
       "Gr\xFC\xDF"
       "e"},
      {"code-page letters above Latin-1", L"\u20ac\u0152\u2122", "\x80\x8C\x99"},
      {"no look-alike for a-macron or Cyrillic", L"a\u0101\u0416", "a??"},
      {"surrogate pair and lone surrogate", L"x\U0001F600\xD800y", nullptr},
      {"long ASCII", longAscii, nullptr},
      {"long ASCII then a non-ASCII unit", longAscii + L"\u00e9", nullptr},
      {"long ASCII then an unconvertible unit", longAscii + L"\u0416", nullptr},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WideToAnsi(c.text), NarrowThroughTable(c.text)) << c.what;
    EXPECT_EQ(WideToCodePageExact(c.text, GetACP()), NarrowThroughTable(c.text)) << c.what;
    if (c.ansi) {
      EXPECT_EQ(WideToAnsi(c.text), c.ansi) << c.what;
    }
    EXPECT_EQ(WideToUtf8(c.text), Utf8ThroughTable(c.text)) << c.what;
    // Back from ANSI: the shortcut and the table agree, up to the first NUL.
    const std::string ansi = NarrowThroughTable(c.text);
    EXPECT_EQ(AnsiToWide(ansi.c_str()), AnsiToWideSlow(ansi.c_str())) << c.what;
  }
  EXPECT_EQ(AnsiToWide("plain ASCII"), L"plain ASCII");
  EXPECT_EQ(AnsiToWide("caf\xE9 \x80"), L"caf\u00e9 \u20ac");
  EXPECT_EQ(AnsiToWide(std::string(70000, 'z').c_str()), std::wstring(70000, L'z'));
  EXPECT_EQ(AnsiToWide((std::string(70000, 'z') + "\xFC").c_str()), std::wstring(70000, L'z') + L"\u00fc");
}

TEST(TextRules, NumbersWrittenByHand) {
  const struct {
    int64_t value;
    const wchar_t* text;
  } signedCases[] = {
      {0, L"0"}, {7, L"7"}, {-1, L"-1"}, {2147483647, L"2147483647"}, {INT64_MIN, L"-9223372036854775808"}};
  for (const auto& c : signedCases) EXPECT_EQ(DecimalText(c.value), c.text) << c.value;
  EXPECT_EQ(UnsignedText(0), L"0");
  EXPECT_EQ(UnsignedText(4294967295u), L"4294967295");
  EXPECT_EQ(UnsignedText(UINT64_MAX), L"18446744073709551615");
  EXPECT_EQ(HexUpper8(0), L"00000000");
  EXPECT_EQ(HexUpper8(0x80004005u), L"80004005");
  EXPECT_EQ(HexUpper8(0xABCDEFu), L"00ABCDEF");
}

TEST(TextRules, FoldedHashAgreesWithTheNameMatch) {
  const struct {
    const wchar_t *a, *b;
  } same[] = {{L"Rect1", L"rECT1"}, {L"", L""}, {L"a-z_AZ09", L"A-Z_az09"}, {L"\u00c4rger", L"\u00c4RGER"}};
  for (const auto& c : same) {
    EXPECT_TRUE(SameTextAscii(c.a, c.b));
    EXPECT_EQ(FoldedAsciiHash(c.a), FoldedAsciiHash(c.b)) << Utf8(c.a);
  }
  // Only a to z fold: the neighbours of the letters and non-ASCII letters stay apart.
  const struct {
    const wchar_t *a, *b;
  } differ[] = {{L"@", L"`"}, {L"[", L"{"}, {L"\u00c4", L"\u00e4"}, {L"ab", L"abc"}, {L"Rect1", L"Rect2"}};
  for (const auto& c : differ) EXPECT_FALSE(SameTextAscii(c.a, c.b)) << Utf8(c.a);
}
