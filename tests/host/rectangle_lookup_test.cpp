// The Rectangle's window handle comes from the host through interface code 7.
#include <gtest/gtest.h>
#include <cstring>
#include "test_env.h"
#include "test_host.h"

using namespace testhost;

namespace {
// Answers code 7 with `answer` written into a buffer of the host's own (replacing the plug-in's).
std::function<bool(int32_t, char**)> Answer(bool found, const char* text, std::vector<void*>* replaced = nullptr) {
  return [=](int32_t code, char** buffer) {
    if (code != 7) return false;
    if (found && text) {
      char* mine = TestHost::HostBuffer(text);
      if (replaced) replaced->push_back(mine);
      TestHost::Current()->FreeHostBuffer(*buffer);  // the host may release what it was given
      *buffer = mine;
    } else if (found && !text) {
      TestHost::Current()->FreeHostBuffer(*buffer);  // true, but no buffer at all
    }
    return found;
  };
}

std::string CreatingLine(const ScopedLocalAppData& appData) {
  for (const auto& t : appData.LogTexts())
    if (t.rfind("Creating WebView host; Rectangle HWND=", 0) == 0) return t;
  return std::string();
}
}  // namespace

TEST(RectangleLookup, FailuresGiveTheirMessagesAndReleaseEveryBuffer) {
  const struct {
    const char* label;
    bool found;
    const char* answer;
    const char* message;
  } cases[] = {
      {"host says no", false, nullptr, "VisualNEO could not locate Rectangle \"Rect 1\"."},
      {"zero", true, "0", "Rectangle \"Rect 1\" was not found or has no window handle."},
      {"empty", true, "", "Rectangle \"Rect 1\" was not found or has no window handle."},
      {"not a number", true, "12ab", "Rectangle \"Rect 1\" was not found or has no window handle."},
      {"trailing blank", true, "1312 ", "Rectangle \"Rect 1\" was not found or has no window handle."},
      {"no buffer", true, nullptr, "Rectangle \"Rect 1\" was not found or has no window handle."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ScopedLocalAppData appData;
    TestHost host;
    host.Start();
    host.onInterfaceAccess = Answer(c.found, c.answer);
    EXPECT_EQ(host.Exec(1, {"Rect 1", "https://example.com/"}), 0);
    EXPECT_EQ(host.Var("[LastError]"), c.message);
    ASSERT_FALSE(appData.LogTexts().empty());
    EXPECT_EQ(appData.LogTexts().back(), std::string("ERROR: ") + c.message);
    EXPECT_EQ(host.LiveBuffers(), 0);
    EXPECT_EQ(CreatingLine(appData), "");
    // Nothing was registered: a later navigate finds no host.
    EXPECT_EQ(host.Exec(2, {"Rect 1", "about:blank"}), 0);
    EXPECT_EQ(host.Var("[LastError]"), "No WebView2 instance is attached to \"Rect 1\".");
  }
}

TEST(RectangleLookup, NoInterfaceCallbackMeansNoBufferAndNoCall) {
  ScopedLocalAppData appData;
  TestHost host;
  host.Register();
  host.RegisterScriptProcessor();
  EXPECT_EQ(host.Exec(1, {"Rect1", ""}), 0);
  EXPECT_EQ(host.Var("[LastError]"), "The VisualNEO interface callback is not available.");
  EXPECT_TRUE(host.CallsOf(CallKind::InterfaceAccess).empty());
  EXPECT_EQ(host.LiveBuffers(), 0);
}

TEST(RectangleLookup, TheNameGoesToTheHostUntrimmedInTheAnsiCodePage) {
  ScopedLocalAppData appData;
  TestHost host;
  host.Start();
  host.onInterfaceAccess = Answer(false, nullptr);
  const std::string name = " R\xE9\x63t \x80 ";  // blanks around, e-acute and the euro sign of code page 1252
  host.Exec(1, {name, ""});
  const auto asked = host.CallsOf(CallKind::InterfaceAccess);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].id, 7);
  EXPECT_EQ(asked[0].text, name);
  EXPECT_EQ(host.Var("[LastError]"), "VisualNEO could not locate Rectangle \"" + name + "\".");
}

TEST(RectangleLookup, TheAnswerIsReadAsAnIntegerHandle) {
  const struct {
    const char* answer;
    const char* hwnd;
  } cases[] = {
      {"1312", "00000520"},
      {" 1312", "00000520"},
      {"$520", "00000520"},
      {"-5", "FFFFFFFB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    ScopedLocalAppData appData;
    TestHost host;
    host.Start();
    std::vector<void*> replaced;
    host.onInterfaceAccess = Answer(true, c.answer, &replaced);
    host.Exec(1, {"Rect1", ""});
    EXPECT_EQ(CreatingLine(appData), std::string("Creating WebView host; Rectangle HWND=") + c.hwnd);
    // The host replaced the buffer: the plug-in released the host's new one.
    ASSERT_EQ(replaced.size(), 1u);
    EXPECT_TRUE(host.FreedByPlugin(replaced[0]));
    EXPECT_EQ(host.LiveBuffers(), 0);
    host.Exec(5, {"Rect1"});
  }
}

TEST(RectangleLookup, AHostReusingTheBufferGetsItReleasedToo) {
  ScopedLocalAppData appData;
  TestHost host;
  host.Start();
  RectangleWindow rect;
  host.rectangles["Rect1"] = rect.hwnd();  // default answer writes into the plug-in's buffer when it fits
  host.rectangles["R"] = rect.hwnd();      // a one-letter name: the handle does not fit, the host replaces it
  for (const char* name : {"Rect1", "R"}) {
    SCOPED_TRACE(name);
    host.Exec(1, {name, ""});
    char hex[16];
    snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(rect.hwnd())));
    EXPECT_EQ(CreatingLine(appData), std::string("Creating WebView host; Rectangle HWND=") + hex);
    EXPECT_EQ(host.LiveBuffers(), 0);
    host.Exec(5, {name});
  }
}
