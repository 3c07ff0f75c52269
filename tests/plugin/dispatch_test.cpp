// nbExecAction: ids outside the catalogue, the guard, "[LastError]" and the parameter rules.
#include <gtest/gtest.h>
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
  for (int32_t id : {0, 26, -1, 1000, INT32_MIN}) {
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
    if (id == 5) {
      // Destroy finds no host of that name: a plain failure, no report.
      EXPECT_FALSE(host.HasVar("[LastError]"));
    } else {
      // The handler ran with entry 1 as its Rectangle, and with nothing else.
      EXPECT_EQ(host.Var("[LastError]"), "No WebView2 instance is attached to \"NoSuchRect\".") << id;
    }
  }
  // Each of them read only entry 1: the log names the Rectangle once per reported action.
  size_t reports = 0;
  for (const std::string& line : appData.LogTexts())
    if (line == "ERROR: No WebView2 instance is attached to \"NoSuchRect\".") ++reports;
  EXPECT_EQ(reports, 5u);
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
  ScopedEnvironmentVariable localAppData(L"LOCALAPPDATA", folder.c_str());
  TestHost host;
  host.Start();
  RectangleWindow rect;
  host.rectangles["Rect1"] = rect.hwnd();
  const ScopedTempDir noLoader(L"noloader");
  const ScopedCurrentDirectory current(noLoader.path());  // no WebView2Loader.dll anywhere
  ASSERT_TRUE(current.ok());
  EXPECT_EQ(host.Exec(1, {"Rect1", ""}), 1);
  const std::wstring logPath = folder + L"\\tamrelDesk\\tamrelDesk.log";
  // Every letter the code page lacks becomes "?", none a look-alike ("a" for a-macron).
  const std::string expected = "WebView2 initialization failed (HRESULT 0x8007007E). See " + Ansi(appData.dir()) +
                               "?????? ?\\tamrelDesk\\tamrelDesk.log for diagnostics.";
  EXPECT_EQ(host.Var("[LastError]"), expected);
  const std::string log = ReadFileBytes(logPath);
  EXPECT_NE(log.find("ERROR: WebView2 initialization failed (HRESULT 0x8007007E). See " + Utf8(logPath)),
            std::string::npos);
  host.Exec(5, {"Rect1"});
}
