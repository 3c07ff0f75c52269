// nbExecAction: ids outside the catalogue, the guard, "[LastError]" and the parameter rules.
#include <gtest/gtest.h>
#include "support/text.h"
#include "test_env.h"
#include "test_host.h"

using namespace testhost;

TEST(Dispatch, IdsWithoutAnActionReturnZeroAndTouchNothing) {
  ScopedLocalAppData appData;
  TestHost host;
  host.Start();
  host.variables["[LastError]"] = "earlier";
  const size_t before = host.calls.size();
  const std::string logBefore = appData.Log();  // registration logs the loader dependency
  for (int32_t id : {0, 25, -1, 1000, INT32_MIN}) {
    const char* params[] = {"Rect1", "x", "y", "z", nullptr};
    EXPECT_EQ(host.ExecRaw(id, params), 0) << id;
  }
  // Not even the parameter array is read for them.
  EXPECT_EQ(host.ExecRaw(0, nullptr), 0);
  EXPECT_EQ(host.calls.size(), before);
  EXPECT_EQ(host.Var("[LastError]"), "earlier");
  EXPECT_EQ(appData.Log(), logBefore);
}

TEST(Dispatch, FirstFailureStaysInLastErrorAfterALaterSuccess) {
  ScopedLocalAppData appData;
  TestHost host;
  host.Start();
  EXPECT_EQ(host.Exec(2, {"Nowhere", "https://example.com/"}), 0);
  const std::string first = "No WebView2 instance is attached to \"Nowhere\".";
  EXPECT_EQ(host.Var("[LastError]"), first);
  ASSERT_FALSE(appData.LogTexts().empty());
  EXPECT_EQ(appData.LogTexts().back(), "ERROR: " + first);

  // Action 24 with a keyword that names no component succeeds without touching "[LastError]".
  EXPECT_EQ(host.Exec(24, {"NOTHING", ""}), 1);
  EXPECT_EQ(host.Var("[LastError]"), first);
  EXPECT_EQ(host.SetsOf("[LastError]").size(), 1u);
}

TEST(Dispatch, NullParameterEntriesReadAsEmptyText) {
  ScopedLocalAppData appData;
  TestHost host;
  host.Start();
  const char* params[] = {nullptr, nullptr};
  // Create with a null name is a blank name.
  EXPECT_EQ(host.ExecRaw(1, params), 0);
  EXPECT_EQ(host.Var("[LastError]"), "A Rectangle object name is required.");
}

TEST(Dispatch, FixedCommandActionsReadOnlyTheirOneParameter) {
  ScopedLocalAppData appData;
  TestHost host;
  host.Start();
  // Entry 2 points to unreadable memory: reading it would crash the host.
  const char* params[] = {"NoSuchRect", reinterpret_cast<const char*>(0x10)};
  for (int32_t id : {5, 10, 11, 12, 13, 20}) {
    host.variables.erase("[LastError]");
    const int32_t result = host.ExecRaw(id, params);
    EXPECT_EQ(result, 0) << id;
  }
}

TEST(Dispatch, WithoutSetVariableCallbackFailuresOnlyReachTheLog) {
  ScopedLocalAppData appData;
  TestHost host;
  host.Register(true, false);
  EXPECT_EQ(host.Exec(2, {"Nowhere", "about:blank"}), 0);
  EXPECT_TRUE(host.CallsOf(CallKind::SetVariable).empty());
  ASSERT_FALSE(appData.LogTexts().empty());
  EXPECT_EQ(appData.LogTexts().back(), "ERROR: No WebView2 instance is attached to \"Nowhere\".");
}

TEST(Dispatch, ActionsRunBeforeRegistrationSkipTheMissingCallbacks) {
  ScopedLocalAppData appData;
  TestHost host;
  EXPECT_EQ(host.Exec(2, {"Nowhere", "about:blank"}), 0);
  EXPECT_TRUE(host.calls.empty());
}

TEST(Dispatch, MessagesOutsideTheCodePageReachLastErrorWithTheDefaultCharacter) {
  // The log path of the initialization failure carries letters that code page 1252 lacks.
  ASSERT_EQ(GetACP(), 1252u);
  ScopedLocalAppData appData;
  const std::wstring folder = appData.dir() + L"\u0416\u0443\u0440\u043d\u0430\u043b \u0101";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  SetEnvironmentVariableW(L"LOCALAPPDATA", folder.c_str());
  TestHost host;
  host.Start();
  RectangleWindow rect;
  host.rectangles["Rect1"] = rect.hwnd();
  SetCurrentDirectoryW(MakeTempDir(L"noloader").c_str());  // no WebView2Loader.dll anywhere
  EXPECT_EQ(host.Exec(1, {"Rect1", ""}), 1);
  const std::wstring logPath = folder + L"\\tamrelDesk\\tamrelDesk.log";
  // Every letter the code page lacks becomes "?", none a look-alike ("a" for a-macron).
  const std::string expected = "WebView2 initialization failed (HRESULT 0x8007007E). See " +
                               Ansi(appData.dir()) + "?????? ?\\tamrelDesk\\tamrelDesk.log for diagnostics.";
  EXPECT_EQ(host.Var("[LastError]"), expected);
  const std::string log = ReadFileBytes(logPath);
  EXPECT_NE(log.find("ERROR: WebView2 initialization failed (HRESULT 0x8007007E). See " + Utf8(logPath)),
            std::string::npos);
  host.Exec(5, {"Rect1"});
}

namespace {
struct IntCase {
  const wchar_t* text;
  bool ok;
  int32_t value;
};
}  // namespace

TEST(IntegerRule, ReadsTheHostPlatformsIntegerForms) {
  const IntCase cases[] = {
      {L"150", true, 150},        {L" 150", true, 150},       {L"   150", true, 150},
      {L"150 ", false, 0},        {L"", false, 0},            {L"$96", true, 150},
      {L"0x96", true, 150},       {L"0X96", true, 150},       {L"x96", true, 150},
      {L"X96", true, 150},        {L"+7", true, 7},           {L"-", false, 0},
      {L"+", false, 0},           {L"$", false, 0},           {L"0x", false, 0},
      {L"2147483647", true, 2147483647},                      {L"2147483648", false, 0},
      {L"-2147483648", true, INT32_MIN},                      {L"-2147483649", false, 0},
      {L"150%", false, 0},        {L"1 50", false, 0},        {L"\t150", false, 0},
      {L"-$10", true, -16},       {L"0", true, 0},            {L"007", true, 7},
      {L"$FFFFFFFF", true, -1},   {L"$100000000", false, 0},  {L"1e3", false, 0},
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
  EXPECT_EQ(WideToCodePageExact(text, 1252), "Gr\xFC\xDF" "e ? ?");
  // A system whose ANSI code page is UTF-8 gets every character, not an empty text.
  EXPECT_EQ(WideToCodePageExact(text, CP_UTF8), Utf8(text));
  EXPECT_EQ(WideToCodePageExact(L"", CP_UTF8), "");
}
