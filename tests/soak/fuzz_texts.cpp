#include "fuzz_texts.h"
#include <cstddef>

namespace soak {
namespace {
const std::vector<std::string> kEdgeNumbers = {"-2147483648",
                                               "2147483647",
                                               "2147483648",
                                               "-2147483649",
                                               "4294967296",
                                               "0",
                                               "-0",
                                               "1e308",
                                               "-1e308",
                                               "1e-308",
                                               "NaN",
                                               "Infinity",
                                               "-Infinity",
                                               "$96",
                                               "$",
                                               "0x",
                                               "0x7FFFFFFF",
                                               "0x80000000",
                                               "$FFFFFFFF",
                                               "x10",
                                               "X96",
                                               " 150",
                                               "150 ",
                                               "+150",
                                               "--1",
                                               "25",
                                               "24",
                                               "500",
                                               "501",
                                               "100",
                                               "1.5",
                                               "1,5",
                                               "  -25",
                                               "0x1G",
                                               "00000000000000000000150",
                                               "99999999999999999999999",
                                               "\t7"};

const std::vector<std::string> kPaths = {"C:\\Windows\\win.ini",
                                         "C:\\Windows\\",
                                         "C:",
                                         "C:\\",
                                         ".",
                                         "..",
                                         "..\\..\\..\\x.html",
                                         "C:/Windows/system32/../win.ini",
                                         "\\\\?\\C:\\Windows\\win.ini",
                                         "\\\\?\\C:\\no\\such\\page.html",
                                         "\\\\.\\C:\\x",
                                         "con",
                                         "NUL.html",
                                         "aux",
                                         "index.html",
                                         "/index.html",
                                         "sub\\page.htm",
                                         "a<b>|*?.html",
                                         "file:///C:/x.html",
                                         "https://example.com/a?b=c&d=%20",
                                         "C:\\\xE9t\xE9\\caf\xE9.html",
                                         "Z:\\tmp\\..\\..\\..",
                                         "  C:\\Windows  "};

const std::vector<std::string> kJson = {"{}",
                                        "[]",
                                        "null",
                                        "{\"columns\":[],\"data\":[]}",
                                        "{\"series\":[{\"type\":\"bar\",\"data\":[1,2,3]}]}",
                                        "{\"theme\":\"snow\",\"placeholder\":\"\\u00e9\"}",
                                        "{\"a\":",
                                        "[1,2,",
                                        "{\"a\":\"</script><script>alert(1)</script>\"}",
                                        "{'single':'quotes'}",
                                        "{\"n\":1e308,\"m\":-2147483648,\"x\":NaN}",
                                        "\"just a string\"",
                                        "{\"a\":{\"b\":{\"c\":{\"d\":[[[[[]]]]]}}}}"};

const std::vector<std::string> kQuotes = {"\"",    "'",       "`",         "\\",      "\\\"",   "\"\"",
                                          "'\"'",  "${x}",    "</script>", "\\u0000", "%s%n%x", "\")+alert(1)+(\"",
                                          "');//", "&amp;<&>"};

const std::vector<std::string> kLineBreaks = {"\r\n", "\r", "\n", "\n\r", "\r\r\n", "\r\n\r\n"};

std::string Printable(TFuzzRandom& random, size_t length) {
  std::string s(length, ' ');
  for (char& c : s) c = static_cast<char>(32 + random.Below(95));
  return s;
}

std::string HighBytes(TFuzzRandom& random, size_t length) {
  std::string s(length, ' ');
  for (char& c : s) c = static_cast<char>(0x80 + random.Below(0x80));
  return s;
}

// Any byte but NUL (the host's strings end at the first one).
std::string AnyBytes(TFuzzRandom& random, size_t length) {
  std::string s(length, ' ');
  for (char& c : s) c = static_cast<char>(1 + random.Below(255));
  return s;
}

std::string Large(TFuzzRandom& random) {
  static const size_t kSizes[] = {65535, 65536, 65537};
  const size_t size = kSizes[random.Below(3)];
  switch (random.Below(3)) {
    case 0: return std::string(size, static_cast<char>('a' + random.Below(26)));
    case 1: return Printable(random, size);
    default: return AnyBytes(random, size);
  }
}

std::string Fragment(TFuzzRandom& random) {
  switch (random.Below(11)) {
    case 0: return std::string();
    case 1: return Printable(random, 1 + random.Below(40));
    case 2: return HighBytes(random, 1 + random.Below(16));
    case 3: return random.Pick(kLineBreaks);
    case 4: return random.Pick(kQuotes);
    case 5: return random.Pick(kPaths);
    case 6: return random.Pick(kJson);
    case 7: return random.Pick(kEdgeNumbers);
    case 8: return AnyBytes(random, 1 + random.Below(24));
    case 9: return std::string(1, static_cast<char>(1 + random.Below(31)));  // a control character
    default: return std::string(" \t ");
  }
}

std::string WithContinuationMarks(std::string text) {
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 3)
    text.insert(at + 2, 1, kAnsiContinuationMark);
  return text;
}

char FlipCase(TFuzzRandom& random, char c) {
  if (!random.Percent(30)) return c;
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 32);
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c + 32);
  return c;
}
}  // namespace

std::string RandomText(TFuzzRandom& random) {
  std::string text;
  const uint32_t pick = random.Below(100);
  if (pick < 8) {
    text = std::string();
  } else if (pick < 11) {
    text = Large(random);
  } else {
    const uint32_t fragments = 1 + random.Below(4);
    for (uint32_t i = 0; i < fragments; ++i) text += Fragment(random);
  }
  return WithContinuationMarks(text);
}

std::string RandomNumberText(TFuzzRandom& random) {
  if (random.Percent(80)) return random.Pick(kEdgeNumbers);
  if (random.Percent(50)) return std::to_string(static_cast<int32_t>(random.Next()));
  return RandomText(random);
}

std::string RandomPathText(TFuzzRandom& random, const std::vector<std::string>& existing) {
  const uint32_t pick = random.Below(100);
  if (pick < 35 && !existing.empty()) return random.Pick(existing);
  if (pick < 75) return random.Pick(kPaths);
  if (pick < 80) return "C:\\" + std::string(300 + random.Below(200), 'p') + "\\x.html";
  return RandomText(random);
}

std::string RandomVariableName(TFuzzRandom& random) {
  const uint32_t pick = random.Below(100);
  if (pick < 70) return "[V" + std::to_string(random.Below(6)) + "]";
  if (pick < 80) return " \t[Padded" + std::to_string(random.Below(3)) + "]\r\n";
  if (pick < 85) return std::string();
  return RandomText(random);
}

std::string RandomWord(TFuzzRandom& random, const std::vector<std::string>& words) {
  if (words.empty() || random.Percent(25)) return RandomText(random);
  std::string word;
  for (char c : random.Pick(words)) word += FlipCase(random, c);
  if (random.Percent(15)) word = " " + word + "\t";
  return word;
}

std::wstring RandomEngineText(TFuzzRandom& random) {
  static const std::vector<std::wstring> kPieces = {
      L"__TAMREL_CONSOLE__",
      L"__tamrel_console__",
      L"{\"level\":\"log\",\"message\":\"hi\",\"time\":\"2024-01-01T00:00:00.000Z\",\"url\":\"x\"}",
      L"{\"level\":\"error\",\"message\":\"a\\r\\nb\"}",
      L"\r\n",
      L"\n",
      L"\r",
      L"\"",
      L"\\",
      std::wstring(1, static_cast<wchar_t>(0xD800)),  // a lone high surrogate
      std::wstring(1, static_cast<wchar_t>(0xDFFF)),  // a lone low surrogate
      L"\xD83D\xDE00",                                // a whole pair
      L"\x00E9\x20AC\x4E2D\xFFFD\xFEFF",
      L"https://page.example/?q=1#x",
      L"null",
      L"[1,2,{\"a\":\"b\"}]"};
  std::wstring text;
  const uint32_t pieces = random.Below(5);
  for (uint32_t i = 0; i < pieces; ++i) {
    if (random.Percent(20)) {
      const uint32_t length = 1 + random.Below(12);
      for (uint32_t k = 0; k < length; ++k) text += static_cast<wchar_t>(1 + random.Below(0xFFFF));
    } else {
      text += random.Pick(kPieces);
    }
  }
  if (random.Percent(2)) text += std::wstring(65536, L'w');
  return text;
}
}  // namespace soak
