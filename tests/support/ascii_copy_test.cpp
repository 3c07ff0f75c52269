// The unit-by-unit copies behind the ASCII shortcut, with and without SSE2: every length
// around the 4- and 16-unit steps, and one unit outside ASCII at every position of the text.
#include "support/ascii_copy.h"
#include <gtest/gtest.h>
#include <string>

namespace {
struct TCopies {
  const char* name;
  bool (*narrow)(const wchar_t*, size_t, char*);
  bool (*widen)(const char*, size_t, wchar_t*);
};
const TCopies kCopies[] = {{"as shipped", NarrowAscii, WidenAscii},
                           {"portable", NarrowAsciiPortable, WidenAsciiPortable}};

std::wstring AsciiText(size_t length) {
  std::wstring text;
  for (size_t i = 0; i < length; ++i) text += static_cast<wchar_t>(1 + (i * 37) % 127);  // 0x01..0x7F
  return text;
}

// Lengths on both sides of every step boundary, and a long one.
const size_t kLengths[] = {0, 1, 2, 3, 4, 5, 7, 8, 15, 16, 17, 31, 32, 33, 47, 1000};
}  // namespace

TEST(AsciiCopy, AsciiTextIsCopiedUnitByUnit) {
  for (const auto& copy : kCopies) {
    for (const size_t length : kLengths) {
      const std::wstring wide = AsciiText(length);
      std::string narrow(length + 1, '#');  // one guard byte past the end
      ASSERT_TRUE(copy.narrow(wide.data(), length, &narrow[0])) << copy.name << " " << length;
      EXPECT_EQ(narrow, std::string(wide.begin(), wide.end()) + "#") << copy.name << " " << length;
      std::wstring back(length + 1, L'#');
      ASSERT_TRUE(copy.widen(narrow.data(), length, &back[0])) << copy.name << " " << length;
      EXPECT_EQ(back, wide + L"#") << copy.name << " " << length;
    }
  }
}

// Units that differ from ASCII only in the high byte, or only in bit 7, must not slip through
// a mask or a saturating pack.
TEST(AsciiCopy, AnyOtherUnitAnywhereIsRefused) {
  const wchar_t others[] = {0x80, 0xFF, 0x100, 0x17F, 0x7F80, 0xFF7F, 0xFFFF, 0xD800};
  for (const auto& copy : kCopies) {
    for (const size_t length : {1u, 4u, 5u, 16u, 17u, 33u, 64u}) {
      for (size_t at = 0; at < length; ++at) {
        for (const wchar_t other : others) {
          std::wstring wide = AsciiText(length);
          wide[at] = other;
          std::string narrow(length, '\0');
          EXPECT_FALSE(copy.narrow(wide.data(), length, &narrow[0]))
              << copy.name << " length " << length << " at " << at << " unit " << static_cast<unsigned>(other);
        }
        for (const unsigned char other : {0x80, 0xC3, 0xFF}) {
          std::string bytes(length, 'a');
          bytes[at] = static_cast<char>(other);
          std::wstring wide(length, L'\0');
          EXPECT_FALSE(copy.widen(bytes.data(), length, &wide[0]))
              << copy.name << " length " << length << " at " << at << " byte " << static_cast<unsigned>(other);
        }
      }
    }
  }
}
