// Actions 9, 14 and 15: information words, zoom setting and zoom reading.
#include <cmath>
#include <limits>
#include "actions/zoom_percentage.h"
#include "browser_fixture.h"

using namespace browsertest;

namespace {
const char kNotReady[] = "WebView2 is not ready yet.";
const char kNoCallback[] = "VisualNEO variable callback is unavailable.";

// A registered Rect1 whose WebView is created.
class ReadyBrowserTest : public BrowserTest {
 protected:
  void SetUp() override {
    BrowserTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(ReadyHost());
  }
  int32_t Info(const std::wstring& word, const std::wstring& variable = L"Out") {
    return host->ExecW(9, {L"Rect1", word, variable});
  }
  int32_t SetZoomText(const std::wstring& text) { return host->ExecW(14, {L"Rect1", text}); }
  int32_t ReadZoom(const std::wstring& variable = L"Zoom") { return host->ExecW(15, {L"Rect1", variable}); }
  int ErrorLines() const {
    int n = 0;
    for (const auto& t : LogTexts()) n += t.rfind("ERROR: ", 0) == 0;
    return n;
  }
};

// ---- information words ------------------------------------------------------------------------

struct InfoCase {
  const char* label;
  std::wstring source, title;
  bool canGoBack, canGoForward;
  std::wstring word;
  std::string value;  // ANSI
};
void PrintTo(const InfoCase& c, std::ostream* os) { *os << c.label; }

class InformationWord : public ReadyBrowserTest, public ::testing::WithParamInterface<InfoCase> {};

TEST_P(InformationWord, WritesTheValueOfTheFirstMatchingWord) {
  const InfoCase& c = GetParam();
  engine::Client().SetSource(1, c.source);
  engine::Client().SetTitle(1, c.title);
  engine::SetHistory(1, c.canGoBack, c.canGoForward);
  EXPECT_EQ(Info(c.word), 1);
  EXPECT_EQ(host->SetsOf("Out"), std::vector<std::string>{c.value});
  EXPECT_FALSE(host->HasVar("[LastError]"));
}

INSTANTIATE_TEST_SUITE_P(
    State, InformationWord,
    ::testing::Values(
        InfoCase{"Url", L"https://a.example/p?q=1", L"T", false, false, L"URL", "https://a.example/p?q=1"},
        InfoCase{"UrlLowerCase", L"https://a.example/", L"T", false, false, L"url", "https://a.example/"},
        InfoCase{"UrlMixedCase", L"file:///C:/x.html", L"T", false, false, L"uRl", "file:///C:/x.html"},
        InfoCase{"BlankPageGivesEmptyUrl", L"about:blank", L"T", false, false, L"URL", ""},
        InfoCase{"BlankPageInCapitals", L"ABOUT:Blank", L"T", false, false, L"URL", ""},
        InfoCase{"BlankPageWithMoreIsAUrl", L"about:blank#x", L"T", false, false, L"URL", "about:blank#x"},
        InfoCase{"Title", L"https://a.example/", L"Caf\u00e9 menu", false, false, L"TITLE", "Caf\xe9 menu"},
        InfoCase{"EmptyTitle", L"https://a.example/", L"", false, false, L"title", ""},
        InfoCase{"CanGoBackTrue", L"x:", L"", true, false, L"CAN_GO_BACK", "True"},
        InfoCase{"CanGoBackFalse", L"x:", L"", false, true, L"can_go_back", "False"},
        InfoCase{"CanGoForwardTrue", L"x:", L"", false, true, L"Can_Go_Forward", "True"},
        InfoCase{"CanGoForwardFalse", L"x:", L"", true, false, L"CAN_GO_FORWARD", "False"},
        InfoCase{"WebViewCreated", L"x:", L"", false, false, L"WEBVIEW_CREATED", "True"},
        InfoCase{"WebViewCreatedLowerCase", L"x:", L"", false, false, L"webview_created", "True"}),
    [](const ::testing::TestParamInfo<InfoCase>& info) { return std::string(info.param.label); });

TEST_F(ReadyBrowserTest, UnknownInformationWordsFailWithTheWordAsPassed) {
  for (const std::wstring& word : {std::wstring(L" URL"), std::wstring(L"URL "), std::wstring(L""),
                                   std::wstring(L"CANGOBACK"), std::wstring(L"\u00dcRL")}) {
    EXPECT_EQ(Info(word), 0) << testhost::Utf8(word);
    EXPECT_EQ(LastError(), "Unsupported information type: " + testhost::Ansi(word));
  }
  EXPECT_TRUE(LogHas("ERROR: Unsupported information type:  URL"));
  EXPECT_FALSE(host->HasVar("Out"));
}

TEST_F(ReadyBrowserTest, VariableNamesAreHandedOverWithTheirBlanks) {
  engine::Client().SetSource(1, L"https://a.example/");
  EXPECT_EQ(Info(L"URL", L" Page Url "), 1);
  EXPECT_EQ(host->SetsOf(" Page Url "), std::vector<std::string>{"https://a.example/"});
  EXPECT_FALSE(host->HasVar("Page Url"));
  engine::Client().SetZoom(1, 1.25);
  EXPECT_EQ(ReadZoom(L"\tZ "), 1);
  EXPECT_EQ(host->SetsOf("\tZ "), std::vector<std::string>{"125"});
}

TEST_F(BrowserTest, InformationNeedsAReadyHost) {
  AddRectangle("Rect1");
  EXPECT_EQ(host->ExecW(9, {L"Rect1", L"URL", L"Out"}), 0);
  EXPECT_EQ(LastError(), "No WebView2 instance is attached to \"Rect1\".");
  ASSERT_EQ(Create(L"Rect1", L"https://start.example/"), 1);
  // Readiness is tested before the word: even an unknown word gets the readiness message.
  for (const wchar_t* word : {L"URL", L"TITLE", L"CAN_GO_BACK", L"CAN_GO_FORWARD", L"WEBVIEW_CREATED", L"NOPE"}) {
    EXPECT_EQ(host->ExecW(9, {L"RECT1", word, L"Out"}), 0) << testhost::Utf8(word);
    EXPECT_EQ(LastError(), kNotReady);
  }
  EXPECT_FALSE(host->HasVar("Out"));
  ASSERT_TRUE(WaitReady(1));
  EXPECT_EQ(host->ExecW(9, {L"rect1", L"WEBVIEW_CREATED", L"Out"}), 1);
  EXPECT_EQ(host->ExecW(9, {L"Rect1", L"URL", L"Url"}), 1);
  EXPECT_EQ(host->Var("Out"), "True");
  EXPECT_EQ(host->Var("Url"), "https://start.example/");
}

// Without a set-variable callback the information action reports the callback first, the zoom
// reading the readiness first; neither can set "[LastError]", so only the log tells.
TEST_F(BrowserTest, TheTwoReadersTestCallbackAndReadinessInOppositeOrder) {
  host.reset();
  host.reset(new testhost::TestHost());
  host->Register(true, /*setVariable=*/false);
  host->RegisterScriptProcessor();
  host->RegisterInterfaceAccess();
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1"), 1);

  EXPECT_EQ(host->ExecW(9, {L"Rect1", L"URL", L"Out"}), 0);
  EXPECT_EQ(host->ExecW(15, {L"Rect1", L"Zoom"}), 0);
  EXPECT_TRUE(InOrder(LogTexts(), {"ERROR: " + std::string(kNoCallback), "ERROR: " + std::string(kNotReady)}));

  ASSERT_TRUE(WaitReady(1));
  EXPECT_EQ(host->ExecW(15, {L"Rect1", L"Zoom"}), 0);
  EXPECT_EQ(LogTexts().back(), "ERROR: " + std::string(kNoCallback));
  EXPECT_TRUE(host->CallsOf(testhost::CallKind::SetVariable).empty());
}

// ---- zoom -------------------------------------------------------------------------------------

struct ZoomSetCase {
  const char* label;
  std::wstring text;  // parameter 2 as the host passes it
  int percentage;     // 0: refused by the range test
};
void PrintTo(const ZoomSetCase& c, std::ostream* os) { *os << c.label; }

class ZoomSetting : public ReadyBrowserTest, public ::testing::WithParamInterface<ZoomSetCase> {};

TEST_P(ZoomSetting, ReadsTheIntegerAndHandsOverTheFactor) {
  const ZoomSetCase& c = GetParam();
  const int32_t result = SetZoomText(c.text);
  const auto puts = engine::Client().ArgsOf(L"put_ZoomFactor", 1);
  if (c.percentage == 0) {
    EXPECT_EQ(result, 0);
    EXPECT_EQ(LastError(), "Zoom must be between 25 and 500 percent.");
    EXPECT_TRUE(LogHas("ERROR: Zoom must be between 25 and 500 percent."));
    EXPECT_TRUE(puts.empty());
    EXPECT_EQ(engine::Client().Zoom(1), 1.0);
    return;
  }
  EXPECT_EQ(result, 1);
  ASSERT_EQ(puts.size(), 1u);
  EXPECT_EQ(engine::Client().Zoom(1), c.percentage / 100.0);
  EXPECT_TRUE(LogHas("Zoom set to " + std::to_string(c.percentage) + "% for \"Rect1\""));
  EXPECT_FALSE(host->HasVar("[LastError]"));
}

INSTANTIATE_TEST_SUITE_P(
    State, ZoomSetting,
    ::testing::Values(ZoomSetCase{"Decimal", L"150", 150}, ZoomSetCase{"LowestAccepted", L"25", 25},
                      ZoomSetCase{"HighestAccepted", L"500", 500}, ZoomSetCase{"BelowTheRange", L"24", 0},
                      ZoomSetCase{"AboveTheRange", L"501", 0}, ZoomSetCase{"Zero", L"0", 0},
                      ZoomSetCase{"LeadingBlank", L" 150", 150},
                      ZoomSetCase{"TrailingBlankGivesTheDefault", L"150 ", 100},
                      ZoomSetCase{"PercentSignGivesTheDefault", L"150%", 100},
                      ZoomSetCase{"EmptyGivesTheDefault", L"", 100},
                      ZoomSetCase{"FractionGivesTheDefault", L"1.5", 100}, ZoomSetCase{"DollarHex", L"$96", 150},
                      ZoomSetCase{"ZeroXHex", L"0x96", 150}, ZoomSetCase{"XHex", L"x96", 150},
                      ZoomSetCase{"SignedSmall", L"+7", 0}, ZoomSetCase{"SignedInRange", L"+200", 200},
                      ZoomSetCase{"BeyondTheSignedRangeGivesTheDefault", L"2147483648", 100},
                      ZoomSetCase{"LowestInteger", L"-2147483648", 0}),
    [](const ::testing::TestParamInfo<ZoomSetCase>& info) { return std::string(info.param.label); });

TEST_F(ReadyBrowserTest, FactorIsThePercentageOverOneHundred) {
  ASSERT_EQ(SetZoomText(L"150"), 1);
  EXPECT_EQ(engine::Client().ArgsOf(L"put_ZoomFactor", 1), std::vector<std::wstring>{L"1.5"});
  ASSERT_EQ(ReadZoom(), 1);
  EXPECT_EQ(host->Var("Zoom"), "150");
  // The log line carries one percent sign.
  int zoomLines = 0;
  for (const auto& t : LogTexts()) zoomLines += t.find("Zoom set to") != std::string::npos;
  EXPECT_EQ(zoomLines, 1);
  EXPECT_TRUE(LogHas("Zoom set to 150% for \"Rect1\""));
}

TEST_F(BrowserTest, ZoomNeedsAReadyHost) {
  AddRectangle("Rect1");
  EXPECT_EQ(host->ExecW(14, {L"Rect1", L"150"}), 0);
  EXPECT_EQ(LastError(), "No WebView2 instance is attached to \"Rect1\".");
  EXPECT_EQ(host->ExecW(15, {L"Rect1 ", L"Zoom"}), 0);
  EXPECT_EQ(LastError(), "No WebView2 instance is attached to \"Rect1 \".");
  ASSERT_EQ(Create(L"Rect1"), 1);
  // Readiness comes before the range test.
  EXPECT_EQ(host->ExecW(14, {L"Rect1", L"1000"}), 0);
  EXPECT_EQ(LastError(), kNotReady);
  EXPECT_EQ(host->ExecW(15, {L"Rect1", L"Zoom"}), 0);
  EXPECT_EQ(LastError(), kNotReady);
  EXPECT_FALSE(host->HasVar("Zoom"));
  ASSERT_TRUE(WaitReady(1));
  EXPECT_EQ(host->ExecW(14, {L"Rect1", L"75"}), 1);
  EXPECT_EQ(host->ExecW(15, {L"Rect1", L"Zoom"}), 1);
  EXPECT_EQ(host->Var("Zoom"), "75");
}

TEST_F(ReadyBrowserTest, ReadingRoundsToTheNearestAndAHalfToEven) {
  const struct {
    double factor;
    const char* text;
  } cases[] = {{1.125, "112"}, {1.375, "138"}, {0.125, "12"},   {0.375, "38"}, {1.0, "100"},
               {1.004, "100"}, {1.006, "101"}, {3.3333, "333"}, {0.25, "25"},  {5.0, "500"}};
  for (const auto& c : cases) {
    engine::Client().SetZoom(1, c.factor);
    ASSERT_EQ(ReadZoom(), 1) << c.factor;
    EXPECT_EQ(host->SetsOf("Zoom").back(), c.text) << c.factor;
  }
  EXPECT_EQ(ErrorLines(), 0);
}

// Values the engine cannot report through the double: halves below zero and numbers that
// would overflow the conversion.
TEST(ZoomPercentage, RoundsHalvesToEvenAndStaysInRange) {
  EXPECT_EQ(ZoomFactorToPercentage(-0.125), -12);
  EXPECT_EQ(ZoomFactorToPercentage(-0.375), -38);
  EXPECT_EQ(ZoomFactorToPercentage(0.0), 0);
  EXPECT_EQ(ZoomFactorToPercentage(0.625), 62);  // 62.5
  EXPECT_EQ(ZoomFactorToPercentage(0.875), 88);  // 87.5
  EXPECT_EQ(ZoomFactorToPercentage(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(ZoomFactorToPercentage(std::numeric_limits<double>::infinity()), INT64_MAX);
  EXPECT_EQ(ZoomFactorToPercentage(-1e300), INT64_MIN);
}

}  // namespace
