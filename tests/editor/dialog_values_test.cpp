// What the dialog shows from the host's parameter buffers and what it writes back: typed
// text, combo choices, the "..." picker, and the ways of closing it.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "editor_driver.h"
#include "testhost/test_env.h"

using namespace editortest;
using testhost::Ansi;

namespace {

class EditorValues : public ::testing::Test {
 protected:
  void SetUp() override { host_.Start(); }
  testhost::ScopedLocalAppData appData_;
  testhost::TestHost host_;
};

std::vector<std::wstring> ShownValues(HWND dialog) {
  std::vector<std::wstring> values;
  for (const Field& f : Fields(dialog))
    values.push_back(f.input.cls == L"ComboBox" ? ComboSelection(f.input.hwnd) : TextOf(f.input.hwnd));
  return values;
}

TEST_F(EditorValues, InitialValuesComeFromTheHostArray) {
  const std::string cafe = Ansi(L"caf\u00e9");
  const struct {
    const char* name;
    int id;
    std::vector<const char*> params;
    std::vector<std::wstring> shown;
  } cases[] = {
      {"all entries", 4, {"Rect1", "return 1+1;", "[r]"}, {L"Rect1", L"return 1+1;", L"[r]"}},
      {"array shorter than the fields", 4, {"Rect1"}, {L"Rect1", L"", L""}},
      {"empty array", 2, {}, {L"", L""}},
      {"null entries", 4, {nullptr, "x", nullptr}, {L"", L"x", L""}},
      {"ANSI text", 2, {cafe.c_str(), "http://a/?q=1"}, {L"caf\u00e9", L"http://a/?q=1"}},
      {"combo value in other letter case", 8, {"R", "titlechanged", "[v]", "s"},
       {L"R", L"TitleChanged", L"[v]", L"s"}},
      {"unknown combo value opens on the first choice", 9, {"R", "NOSUCH", "[v]"}, {L"R", L"URL", L"[v]"}},
      {"empty combo value opens on the first choice", 16, {"R", ""}, {L"R", L"BACK"}},
      {"memo with line breaks", 3, {"R", "<p>\r\nline</p>"}, {L"R", L"<p>\r\nline</p>"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ParamArray params(host_, c.params);
    std::vector<std::wstring> shown;
    EXPECT_FALSE(EditWithDialog(host_, c.id, params.data(), params.high(), [&](HWND dialog) {
      shown = ShownValues(dialog);
      PressKey(dialog, VK_ESCAPE);
    }));
    EXPECT_EQ(shown, c.shown);
  }
}

TEST_F(EditorValues, OkWritesEveryEntryThroughNewBuffersAndFreesTheOldOnes) {
  ParamArray params(host_, {"Rect1", "navigationcompleted", nullptr, "old script"});
  const std::vector<char*> before = {params.raw(0), params.raw(1), params.raw(2), params.raw(3)};
  EXPECT_TRUE(EditWithDialog(host_, 8, params.data(), params.high(), [](HWND dialog) {
    const std::vector<Field> fields = Fields(dialog);
    Type(fields[2].input.hwnd, L"[Details]");
    Type(fields[3].input.hwnd, L"SetVar \"[x]\" \"1\"");
    Click(Button(dialog, L"OK"));
  }));
  EXPECT_EQ(params.at(0), "Rect1");
  EXPECT_EQ(params.at(1), "NavigationCompleted") << "the choice is written as the list writes it";
  EXPECT_EQ(params.at(2), "[Details]");
  EXPECT_EQ(params.at(3), "SetVar \"[x]\" \"1\"");
  for (size_t i = 0; i < before.size(); ++i) {
    SCOPED_TRACE(i);
    if (before[i]) {
      EXPECT_TRUE(host_.FreedByPlugin(before[i])) << "the old buffer is released";
    }
  }
  EXPECT_EQ(host_.LiveBuffers(), 4) << "four new plug-in buffers, even for unchanged values, now the host's";
}

// A buffer that cannot be allocated, whichever of the four it is, leaves the host's array as it
// was: same buffers, none of them freed, no new buffer left behind, and "not confirmed".
TEST_F(EditorValues, FailedAllocationDuringWriteBackLeavesTheArrayUntouched) {
  for (int failing = 1; failing <= 4; ++failing) {
    SCOPED_TRACE(failing);
    ParamArray params(host_, {"Rect1", "navigationcompleted", nullptr, "old script"});
    const std::vector<char*> before = {params.raw(0), params.raw(1), params.raw(2), params.raw(3)};
    const int liveBefore = host_.LiveBuffers();
    host_.FailNthAllocation(failing);
    EXPECT_FALSE(EditWithDialog(host_, 8, params.data(), params.high(), [](HWND dialog) {
      const std::vector<Field> fields = Fields(dialog);
      Type(fields[2].input.hwnd, L"[Details]");
      Type(fields[3].input.hwnd, L"new script");
      Click(Button(dialog, L"OK"));
    }));
    host_.FailNthAllocation(0);
    for (size_t i = 0; i < before.size(); ++i) {
      EXPECT_EQ(params.raw(i), before[i]) << "entry " << i;
      if (before[i]) {
        EXPECT_FALSE(host_.FreedByPlugin(before[i])) << "entry " << i;
      }
    }
    EXPECT_EQ(params.at(1), "navigationcompleted");
    EXPECT_EQ(params.at(3), "old script");
    EXPECT_EQ(host_.LiveBuffers(), liveBefore) << "the new buffers made before the failure are released";
  }
}

TEST_F(EditorValues, ShortArrayWritesOnlyTheEntriesItHas) {
  ParamArray params(host_, {"Rect1"});
  EXPECT_TRUE(EditWithDialog(host_, 21, params.data(), params.high(), [](HWND dialog) {
    const std::vector<Field> fields = Fields(dialog);
    Type(fields[0].input.hwnd, L"Grid");
    Type(fields[1].input.hwnd, L"box");
    PressKey(dialog, VK_RETURN);
  }));
  EXPECT_EQ(params.at(0), "Grid");
  EXPECT_EQ(host_.LiveBuffers(), 1);
}

TEST_F(EditorValues, TextRoundTripsThroughTheAnsiCodePage) {
  const std::string original = Ansi(L"na\u00efve \u00a3");
  ParamArray params(host_, {"R", original.c_str()});
  std::wstring shown;
  EXPECT_TRUE(EditWithDialog(host_, 2, params.data(), params.high(), [&](HWND dialog) {
    shown = TextOf(Fields(dialog)[1].input.hwnd);
    Click(Button(dialog, L"OK"));
  }));
  EXPECT_EQ(shown, L"na\u00efve \u00a3");
  EXPECT_EQ(params.at(1), original);
}

// Enter in a memo is a line break (the key and the character a keyboard delivers); Enter in
// a one-line edit confirms the dialog.
TEST_F(EditorValues, EnterInAMemoStartsANewLineAndEnterElsewhereConfirms) {
  ParamArray params(host_, {"R", ""});
  EXPECT_TRUE(EditWithDialog(host_, 7, params.data(), params.high(), [](HWND dialog) {
    const std::vector<Field> fields = Fields(dialog);
    HWND memo = fields[1].input.hwnd;
    Type(memo, L"one");
    PostMessageW(memo, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(memo, WM_CHAR, L'\r', 1);
    for (wchar_t ch : std::wstring(L"two")) PostMessageW(memo, WM_CHAR, ch, 1);
    PostMessageW(fields[0].input.hwnd, WM_KEYDOWN, VK_RETURN, 1);
  }));
  EXPECT_EQ(params.at(1), "one\r\ntwo");
}

TEST_F(EditorValues, CancelEscapeAndTheCloseBoxChangeNothing) {
  const struct {
    const char* name;
    std::function<void(HWND)> close;
  } ways[] = {
      {"Cancel", [](HWND d) { Click(Button(d, L"Cancel")); }},
      {"Escape", [](HWND d) { PressKey(d, VK_ESCAPE); }},
      {"Escape in a memo", [](HWND d) {
         SetFocus(Fields(d)[1].input.hwnd);
         PressKey(d, VK_ESCAPE);
       }},
      {"close box", [](HWND d) { CloseBox(d); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    ParamArray params(host_, {"Rect1", "<b>old</b>", nullptr});
    const std::vector<char*> before = {params.raw(0), params.raw(1), params.raw(2)};
    const int freesBefore = host_.PluginFrees();
    bool shown = false;
    EXPECT_FALSE(EditWithDialog(
        host_, 4, params.data(), params.high(),
        [&](HWND dialog) {
          const std::vector<Field> fields = Fields(dialog);
          Type(fields[0].input.hwnd, L"Other");
          Type(fields[1].input.hwnd, L"changed");
          way.close(dialog);
        },
        &shown));
    EXPECT_TRUE(shown);
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(params.raw(i), before[i]);
    EXPECT_EQ(params.at(0), "Rect1");
    EXPECT_EQ(params.at(1), "<b>old</b>");
    EXPECT_EQ(host_.PluginFrees() - freesBefore, 0);
    EXPECT_EQ(host_.LiveBuffers(), 0);
  }
}

// The "..." button hands the edit's text to the host (interface code 8) and takes the
// host's answer only when it says yes and gives a buffer; the buffer is released each time.
TEST_F(EditorValues, PickerAsksTheHostAndReleasesItsBuffer) {
  const struct {
    const char* name;
    bool answer;
    const char* replacement;  // nullptr: the host leaves the buffer; "<null>": sets it to null
    std::wstring expected;
  } cases[] = {
      {"chosen object", true, "Rectangle2", L"Rectangle2"},
      {"same buffer answered yes", true, nullptr, L"Typed"},
      {"host says no", false, "Rectangle2", L"Typed"},
      {"yes without a buffer", true, "<null>", L"Typed"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ParamArray params(host_, {"Rect1", "x"});
    std::vector<std::string> handedIn;
    bool handedPluginBuffer = false;
    host_.onInterfaceAccess = [&](int32_t code, char** buffer) {
      EXPECT_EQ(code, 8);
      handedIn.push_back(*buffer ? *buffer : "<null>");
      handedPluginBuffer = host_.LiveBuffers() == 1;
      if (c.replacement && std::string(c.replacement) == "<null>") {
        host_.FreeHostBuffer(*buffer);
      } else if (c.replacement) {
        host_.FreeHostBuffer(*buffer);
        *buffer = testhost::TestHost::HostBuffer(c.replacement);
      }
      return c.answer;
    };
    std::wstring after;
    EXPECT_TRUE(EditWithDialog(host_, 1, params.data(), params.high(), [&](HWND dialog) {
      const Field object = Fields(dialog)[0];
      Type(object.input.hwnd, L"Typed");
      Click(object.picker.hwnd);
      after = TextOf(object.input.hwnd);
      Click(Button(dialog, L"OK"));
    }));
    EXPECT_EQ(handedIn, std::vector<std::string>{"Typed"});
    EXPECT_TRUE(handedPluginBuffer);
    EXPECT_EQ(after, c.expected);
    EXPECT_EQ(params.at(0), Ansi(c.expected)) << "OK writes the picked name";
    EXPECT_EQ(host_.LiveBuffers(), 2) << "only the two written-back entries remain";
    host_.onInterfaceAccess = nullptr;
    host_.calls.clear();
  }
}

TEST_F(EditorValues, PickerDoesNothingWithoutTheInterfaceCallback) {
  testhost::TestHost host;  // a fresh plug-in that never got the interface-access callback
  host.Register();
  ParamArray params(host, {"Rect1"});
  std::wstring after;
  EXPECT_TRUE(EditWithDialog(host, 5, params.data(), params.high(), [&](HWND dialog) {
    const Field object = Fields(dialog)[0];
    Click(object.picker.hwnd);
    after = TextOf(object.input.hwnd);
    Click(Button(dialog, L"OK"));
  }));
  EXPECT_EQ(after, L"Rect1");
  EXPECT_TRUE(host.CallsOf(testhost::CallKind::InterfaceAccess).empty());
  EXPECT_EQ(params.at(0), "Rect1");
}

}  // namespace
