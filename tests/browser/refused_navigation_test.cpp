// Navigations the engine refuses, and HTML over WebView2's size limit: a refused request is a
// failure of its action (or, delivered at readiness, a log line), never a silent success.
#include "browser/html_limit.h"
#include "browser_fixture.h"

using namespace browsertest;

namespace {
std::vector<std::string> ErrorLines(const std::vector<std::string>& texts) {
  std::vector<std::string> errors;
  for (const auto& t : texts)
    if (t.rfind("ERROR: ", 0) == 0) errors.push_back(t);
  return errors;
}

struct RefusedCase {
  const char* label;
  const char* action;
  std::wstring text;  // the URL or HTML
  EngineStep step;
  HRESULT hr;
  const wchar_t* call;  // the engine call that refuses
  std::string message;
};
void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.label; }

class RefusedNavigation : public BrowserTest, public ::testing::WithParamInterface<RefusedCase> {};
}  // namespace

TEST_P(RefusedNavigation, OnAReadyHostFailsTheActionWithTheCallAndItsHresult) {
  const RefusedCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  engine::FailStep(c.step, c.hr);

  EXPECT_EQ(Exec(c.action, {L"Rect1", c.text}), 0);
  // The request did reach the engine, which refused it.
  EXPECT_EQ(engine::Client().ArgsOf(c.call, 1), std::vector<std::wstring>{c.text});
  EXPECT_EQ(LastError(), c.message);
  EXPECT_EQ(ErrorLines(LogTexts()), std::vector<std::string>{"ERROR: " + c.message});

  // Accepted, the same request succeeds: the refusal alone made the action fail.
  engine::FailStep(c.step, S_OK);
  EXPECT_EQ(Exec(c.action, {L"Rect1", c.text}), 1);
  EXPECT_EQ(engine::Client().CountOf(c.call, 1), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Browser, RefusedNavigation,
    ::testing::Values(RefusedCase{"NavigateInvalidUri", "zkTamrelNavigate", L"not a uri", ENGINE_STEP_NAVIGATE,
                                  E_INVALIDARG, L"Navigate", "Navigate failed (HRESULT 0x80070057)."},
                      RefusedCase{"NavigateAfterTheBrowserProcessFailed", "zkTamrelNavigate", L"https://gone.example/",
                                  ENGINE_STEP_NAVIGATE, HRESULT_FROM_WIN32(ERROR_INVALID_STATE), L"Navigate",
                                  "Navigate failed (HRESULT 0x8007139F)."},
                      RefusedCase{"SetHTML", "zkTamrelSetHTML", L"<p>refused</p>", ENGINE_STEP_NAVIGATE_TO_STRING,
                                  E_FAIL, L"NavigateToString", "NavigateToString failed (HRESULT 0x80004005)."}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.label); });

namespace {
struct DeliveryCase {
  const char* label;
  const char* action;
  std::wstring text;
  EngineStep step;
  const wchar_t* call;
  std::string line;
};
void PrintTo(const DeliveryCase& c, std::ostream* os) { *os << c.label; }
class RefusedDelivery : public BrowserTest, public ::testing::WithParamInterface<DeliveryCase> {};
}  // namespace

TEST_P(RefusedDelivery, AtReadinessIsLoggedAndThePendingSlotIsEmptied) {
  const DeliveryCase& c = GetParam();
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1"), 1);
  ASSERT_EQ(Exec(c.action, {L"Rect1", c.text}), 1);  // queued: nothing to refuse yet
  engine::FailStep(c.step, E_INVALIDARG);
  ASSERT_TRUE(WaitReady(1));
  DrainPostedMessages();

  EXPECT_EQ(engine::Client().ArgsOf(c.call, 1), std::vector<std::wstring>{c.text});
  EXPECT_TRUE(LogHas(c.line)) << c.line;
  // The refused request is not kept for a second try: a later request goes out alone.
  engine::FailStep(c.step, S_OK);
  ASSERT_EQ(Navigate(L"Rect1", L"https://next.example/"), 1);
  EXPECT_EQ(CountCalls(engine::CallsOf(1), L"Navigate") + CountCalls(engine::CallsOf(1), L"NavigateToString"), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Browser, RefusedDelivery,
    ::testing::Values(DeliveryCase{"Url", "zkTamrelNavigate", L"https://pending.example/", ENGINE_STEP_NAVIGATE,
                                   L"Navigate",
                                   "Pending navigation not delivered: Navigate failed (HRESULT 0x80070057)."},
                      DeliveryCase{"Html", "zkTamrelSetHTML", L"<p>pending</p>", ENGINE_STEP_NAVIGATE_TO_STRING,
                                   L"NavigateToString",
                                   "Pending navigation not delivered: NavigateToString failed (HRESULT 0x80070057)."}),
    [](const ::testing::TestParamInfo<DeliveryCase>& info) { return std::string(info.param.label); });

// ---- the size limit of HTML texts ----------------------------------------------------------------

namespace {
struct LimitCase {
  const char* label;
  wchar_t letter;  // repeated `count` times
  size_t count;
  bool ready;
  std::string message;  // empty: accepted
};
void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.label; }
class HtmlLimit : public BrowserTest, public ::testing::WithParamInterface<LimitCase> {};

std::string TooLarge(size_t bytes) {
  return "HTML is too large for WebView2: " + std::to_string(bytes) +
         " bytes in UTF-8, more than the limit of 2097152 bytes (2 MB).";
}
}  // namespace

TEST_P(HtmlLimit, IsMeasuredInUtf8BytesReadyOrNot) {
  const LimitCase& c = GetParam();
  const std::wstring html(c.count, c.letter);
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1", L"https://before.example/"), 1);
  if (c.ready) {
    ASSERT_TRUE(WaitReady(1));
  }

  const int32_t result = SetHTML(L"Rect1", html);
  if (!c.ready) {
    ASSERT_TRUE(WaitReady(1));
  }
  DrainPostedMessages();
  const std::vector<std::wstring> shown = engine::Client().ArgsOf(L"NavigateToString", 1);
  if (c.message.empty()) {
    EXPECT_EQ(result, 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].size(), c.count);
    return;
  }
  EXPECT_EQ(result, 0);
  EXPECT_EQ(LastError(), c.message);
  EXPECT_TRUE(LogHas("ERROR: " + c.message));
  // Refused before the engine; a request queued before it stays and is delivered.
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(engine::Client().ArgsOf(L"Navigate", 1), std::vector<std::wstring>{L"https://before.example/"});
}

INSTANTIATE_TEST_SUITE_P(
    Browser, HtmlLimit,
    ::testing::Values(LimitCase{"AsciiAtTheLimitQueued", L'a', 2097152, false, ""},
                      LimitCase{"AsciiOverTheLimitQueued", L'a', 2097153, false, TooLarge(2097153)},
                      LimitCase{"AsciiOverTheLimitReady", L'a', 2097153, true, TooLarge(2097153)},
                      // An accented letter is two bytes in UTF-8 but one UTF-16 unit.
                      LimitCase{"AccentedAtTheLimitReady", L'\u00e9', 1048576, true, ""},
                      LimitCase{"AccentedOverTheLimitQueued", L'\u00e9', 1048577, false, TooLarge(2097154)},
                      LimitCase{"AccentedOverTheLimitReady", L'\u00e9', 1048577, true, TooLarge(2097154)}),
    [](const ::testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.label); });

// The measure agrees with Windows' own UTF-8 conversion, surrogates included.
TEST(HtmlLimitMeasure, CountsTheBytesWindowsConvertsTo) {
  const std::wstring texts[] = {
      L"",
      L"plain <p>ascii</p>",
      L"\u00e9t\u00e9 \u20ac \u4e2d",
      L"\U0001F600 pair",
      std::wstring(1, wchar_t(0xD83D)) + L"x",                               // unpaired high surrogate
      L"x" + std::wstring(1, wchar_t(0xDE00)),                               // unpaired low surrogate
      std::wstring(2, wchar_t(0xD83D)) + std::wstring(1, wchar_t(0xDE00))};  // high, then a pair
  for (const std::wstring& text : texts) {
    const int windows =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    EXPECT_EQ(Utf8Length(text), static_cast<size_t>(windows)) << testhost::Utf8(text);
  }
}
