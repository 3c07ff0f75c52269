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
