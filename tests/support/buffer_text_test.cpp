// Text from Win32 calls that return a length: nothing is cut at MAX_PATH, whichever way the
// call says that the buffer was short.
#include "support/buffer_text.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <cwchar>
#include <string>
#include "test_env.h"

namespace {
// Answers as GetEnvironmentVariableW does: the length when it fits, else the size it needs.
DWORD FillNeedingSize(const std::wstring& text, wchar_t* buffer, DWORD size) {
  if (text.size() + 1 > size) return static_cast<DWORD>(text.size() + 1);
  wmemcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}
// Answers as GetModuleFileNameW does: a cut text and the buffer's size.
DWORD FillCutting(const std::wstring& text, wchar_t* buffer, DWORD size) {
  const size_t n = std::min<size_t>(text.size(), size - 1);
  wmemcpy(buffer, text.c_str(), n);
  buffer[n] = L'\0';
  return n < text.size() ? size : static_cast<DWORD>(n);
}
}  // namespace

TEST(BufferText, LongTextsArriveWhole) {
  for (size_t length : {size_t{1}, size_t{259}, size_t{260}, size_t{261}, size_t{700}, size_t{32767}}) {
    SCOPED_TRACE(length);
    const std::wstring text(length, L'x');
    EXPECT_EQ(BufferText([&](wchar_t* b, DWORD s) { return FillNeedingSize(text, b, s); }), text);
    EXPECT_EQ(BufferText([&](wchar_t* b, DWORD s) { return FillCutting(text, b, s); }), text);
  }
}

TEST(BufferText, AValueThatGrowsBetweenCallsIsReadAgain) {
  std::wstring text(300, L'a');
  int calls = 0;
  const std::wstring got = BufferText([&](wchar_t* b, DWORD s) {
    ++calls;
    const DWORD answer = FillNeedingSize(text, b, s);
    text.append(200, L'b');  // longer by the next call
    return answer;
  });
  EXPECT_EQ(got.size() + 200, text.size());
  EXPECT_EQ(got.substr(0, 300), std::wstring(300, L'a'));
  EXPECT_GE(calls, 2);
}

TEST(BufferText, FailureIsTheEmptyText) {
  EXPECT_EQ(BufferText([](wchar_t*, DWORD) { return DWORD{0}; }), L"");
  // A call that never fits ends instead of growing for ever.
  EXPECT_EQ(BufferText([](wchar_t*, DWORD s) { return s; }), L"");
}

TEST(BufferText, EnvironmentVariablesLongerThanMaxPath) {
  const std::wstring value = L"C:\\" + std::wstring(1000, L'v');
  {
    const testhost::ScopedEnvironmentVariable variable(L"TAMREL_BUFFER_TEXT", value.c_str());
    EXPECT_EQ(EnvironmentText(L"TAMREL_BUFFER_TEXT"), value);
  }
  EXPECT_EQ(EnvironmentText(L"TAMREL_BUFFER_TEXT"), L"");
}
