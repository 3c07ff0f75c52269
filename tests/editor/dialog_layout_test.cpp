// The dialog each action shows: title, fields, control kinds and the pixel layout, read
// from the real dialog while nbEditAction runs.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "editor_driver.h"
#include "testhost/test_env.h"

using namespace editortest;

namespace {

struct FieldSpec {
  const wchar_t* caption;
  char kind;   // 'O' object, 'T' text, 'M' memo, 'C' combo
  int height;  // layout height of the row; the memo's own height
};
struct ActionSpec {
  int id;
  const wchar_t* title;
  std::vector<FieldSpec> more;  // the fields after "Rectangle object name"
};

const FieldSpec kResult = {L"NeoBook result variable (optional)", 'T', 28};
const FieldSpec kContainer = {L"HTML container element ID", 'T', 28};

const std::vector<ActionSpec>& Actions() {
  static const std::vector<ActionSpec> actions = {
      {1, L"Create WebView", {{L"Initial URL (optional)", 'T', 28}}},
      {2, L"Navigate", {{L"Destination URL", 'T', 28}}},
      {3, L"Set HTML", {{L"HTML source", 'M', 190}}},
      {4, L"Execute JavaScript", {{L"JavaScript source", 'M', 170}, kResult}},
      {5, L"Destroy WebView", {}},
      {6,
       L"JavaScript Bridge",
       {{L"NeoBook variable for incoming messages", 'T', 28},
        {L"NeoBook action script to run when a message arrives", 'M', 125}}},
      {7, L"Post Web Message", {{L"Message text to send to the webpage", 'M', 110}}},
      {8,
       L"Browser Event Handler",
       {{L"Browser event to handle", 'C', 28},
        {L"NeoBook variable to receive event details", 'T', 28},
        {L"NeoBook action script to execute when the event occurs", 'M', 125}}},
      {9,
       L"Get Browser Information",
       {{L"Information to retrieve", 'C', 28}, {L"NeoBook variable to receive the result", 'T', 28}}},
      {10, L"Browser Back", {}},
      {11, L"Browser Forward", {}},
      {12, L"Browser Refresh", {}},
      {13, L"Stop Navigation", {}},
      {14, L"Set Browser Zoom", {{L"Zoom percentage (25-500)", 'T', 28}}},
      {15, L"Get Browser Zoom", {{L"NeoBook variable to receive zoom percentage", 'T', 28}}},
      {16, L"Browser Control", {{L"Browser operation", 'C', 28}}},
      {17, L"Load Local HTML File", {{L"HTML file path", 'T', 28}}},
      {18,
       L"Load Local Web Application Folder",
       {{L"Application folder path", 'T', 28}, {L"Start page (default: index.html)", 'T', 28}}},
      {19,
       L"JavaScript Developer Console",
       {{L"NeoBook variable for each console event", 'T', 28},
        {L"NeoBook action script to run for each console event (optional)", 'M', 125}}},
      {20, L"Clear JavaScript Developer Console", {}},
      {21, L"Create Tabulator Data Grid", {kContainer, {L"Tabulator configuration JSON", 'M', 170}, kResult}},
      {22,
       L"Create Quill Rich Text Editor",
       {kContainer, {L"Quill options JSON (e.g. theme/modules)", 'M', 170}, kResult}},
      {23, L"Create Apache ECharts Visualization", {kContainer, {L"ECharts option JSON", 'M', 190}, kResult}},
      {25,
       L"Serve Local Web Application Folder",
       {{L"Application folder path", 'T', 28},
        {L"Start page (default: index.html)", 'T', 28},
        {L"Virtual host name (optional)", 'T', 28}}},
  };
  return actions;
}

// What one dialog looked like while it was open.
struct Seen {
  std::wstring caption;
  SIZE client = {};
  std::vector<Field> fields;
  std::vector<Control> ok, cancel;
  std::vector<HWND> tabOrder;
  std::vector<HWND> expectedTabOrder;
  HWND focus = nullptr;
  std::vector<std::vector<std::wstring>> comboItems;
  bool dialogDefaultIsOk = false;
  bool okIsDefaultButton = false;
  std::wstring pickerHint;
};

struct HintSearch {
  HWND dialog, picker;
  std::wstring text;
};

BOOL CALLBACK ReadHint(HWND w, LPARAM p) {
  auto& s = *reinterpret_cast<HintSearch*>(p);
  if (GetWindow(w, GW_OWNER) != s.dialog || ClassOf(w) != L"tooltips_class32") return TRUE;
  wchar_t buffer[256] = {};
  TOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = s.dialog;
  tool.uId = reinterpret_cast<UINT_PTR>(s.picker);
  tool.lpszText = buffer;
  SendMessageW(w, TTM_GETTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  s.text = buffer;
  return s.text.empty();
}

// The hint lives in a tooltip window that the dialog owns.
std::wstring PickerHint(HWND dialog, HWND picker) {
  HintSearch search{dialog, picker, L""};
  EnumThreadWindows(GetCurrentThreadId(), ReadHint, reinterpret_cast<LPARAM>(&search));
  return search.text;
}

Seen OpenAndCancel(testhost::TestHost& host, int id, int parameters) {
  std::vector<const char*> values(static_cast<size_t>(parameters), "");
  ParamArray params(host, values);
  Seen seen;
  bool shown = false;
  EditWithDialog(
      host, id, params.data(), params.high(),
      [&](HWND dialog) {
        seen.caption = TextOf(dialog);
        seen.client = ClientSize(dialog);
        seen.fields = Fields(dialog);
        seen.tabOrder = TabOrder(dialog);
        seen.focus = GetFocus();
        for (const Field& f : seen.fields) {
          seen.expectedTabOrder.push_back(f.input.hwnd);
          if (f.picker.hwnd) seen.expectedTabOrder.push_back(f.picker.hwnd);
          seen.comboItems.push_back(f.input.cls == L"ComboBox" ? ComboItems(f.input.hwnd)
                                                               : std::vector<std::wstring>());
        }
        HWND ok = Button(dialog, L"OK"), cancel = Button(dialog, L"Cancel");
        seen.expectedTabOrder.push_back(ok);
        seen.expectedTabOrder.push_back(cancel);
        if (ok) seen.ok.push_back(Describe(dialog, ok));
        if (cancel) seen.cancel.push_back(Describe(dialog, cancel));
        const LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
        seen.dialogDefaultIsOk = HIWORD(def) == DC_HASDEFID && LOWORD(def) == IDOK;
        seen.okIsDefaultButton = ok && (GetWindowLongW(ok, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
        if (!seen.fields.empty() && seen.fields[0].picker.hwnd)
          seen.pickerHint = PickerHint(dialog, seen.fields[0].picker.hwnd);
        Click(cancel);
      },
      &shown);
  EXPECT_TRUE(shown) << "no dialog for id " << id;
  return seen;
}

class EditorDialog : public ::testing::Test {
 protected:
  void SetUp() override { host_.Start(); }
  testhost::ScopedLocalAppData appData_;
  testhost::TestHost host_;
};

TEST_F(EditorDialog, EveryActionShowsItsTitleFieldsAndLayout) {
  for (const ActionSpec& action : Actions()) {
    SCOPED_TRACE("id " + std::to_string(action.id));
    std::vector<FieldSpec> fields = {{L"Rectangle object name", 'O', 28}};
    fields.insert(fields.end(), action.more.begin(), action.more.end());
    const Seen seen = OpenAndCancel(host_, action.id, static_cast<int>(fields.size()));

    EXPECT_EQ(seen.caption, std::wstring(L"tamrelDesk - ") + action.title + L" Properties");
    EXPECT_EQ(seen.client.cx, 664);
    ASSERT_EQ(seen.fields.size(), fields.size());
    int y = 18;
    for (size_t i = 0; i < fields.size(); ++i) {
      SCOPED_TRACE("field " + std::to_string(i));
      const FieldSpec& want = fields[i];
      const Field& got = seen.fields[i];
      EXPECT_EQ(got.label.text, want.caption);
      EXPECT_EQ(got.label.Left(), 18);
      EXPECT_EQ(got.label.Top(), y);
      EXPECT_EQ(got.label.Width(), 626);
      EXPECT_EQ(got.input.Left(), 18);
      EXPECT_EQ(got.input.Top(), y + 22);
      switch (want.kind) {
        case 'O':
          EXPECT_EQ(got.input.cls, L"Edit");
          EXPECT_EQ(got.input.Width(), 570);
          EXPECT_EQ(got.input.Height(), 25);
          EXPECT_EQ(got.picker.text, L"...");
          EXPECT_EQ(got.picker.Left(), 18 + 570 + 6);
          EXPECT_EQ(got.picker.Top(), y + 22);
          EXPECT_EQ(got.picker.Width(), 48);
          EXPECT_EQ(got.picker.Height(), 25);
          break;
        case 'T':
          EXPECT_EQ(got.input.cls, L"Edit");
          EXPECT_FALSE(got.input.style & ES_MULTILINE);
          EXPECT_EQ(got.input.Width(), 628);
          EXPECT_EQ(got.input.Height(), 25);
          EXPECT_FALSE(got.picker.hwnd);
          break;
        case 'M':
          EXPECT_EQ(got.input.cls, L"Edit");
          EXPECT_TRUE(got.input.style & ES_MULTILINE);
          EXPECT_TRUE(got.input.style & WS_HSCROLL);
          EXPECT_TRUE(got.input.style & WS_VSCROLL);
          EXPECT_TRUE(got.input.style & ES_AUTOHSCROLL) << "a memo does not wrap its lines";
          EXPECT_EQ(got.input.Width(), 628);
          EXPECT_EQ(got.input.Height(), want.height);
          break;
        case 'C':
          EXPECT_EQ(got.input.cls, L"ComboBox");
          EXPECT_EQ(got.input.style & 0x3, CBS_DROPDOWNLIST);
          EXPECT_EQ(got.input.Width(), 628);
          break;
      }
      y += want.height + 35;
    }
    ASSERT_EQ(seen.ok.size(), 1u);
    ASSERT_EQ(seen.cancel.size(), 1u);
    EXPECT_EQ(seen.ok[0].box.left, 456);
    EXPECT_EQ(seen.ok[0].box.top, y + 5);
    EXPECT_EQ(seen.ok[0].Width(), 92);
    EXPECT_EQ(seen.ok[0].Height(), 28);
    EXPECT_EQ(seen.cancel[0].box.left, 556);
    EXPECT_EQ(seen.cancel[0].box.top, y + 5);
    EXPECT_EQ(seen.cancel[0].Width(), 92);
    EXPECT_EQ(seen.cancel[0].Height(), 28);
    EXPECT_EQ(seen.client.cy, y + 48);
    EXPECT_EQ(seen.tabOrder, seen.expectedTabOrder);
    EXPECT_EQ(seen.focus, seen.fields[0].input.hwnd) << "the object edit has the focus first";
    EXPECT_TRUE(seen.dialogDefaultIsOk);
    EXPECT_TRUE(seen.okIsDefaultButton);
    EXPECT_EQ(seen.pickerHint, L"Select an object from the publication");
  }
}

// The sizes worked out by hand: one object field gives 129; a one-line field adds 63 and a
// memo of 190 adds 225.
TEST_F(EditorDialog, ClientHeightsMatchTheWorkedSizes) {
  const struct {
    int id, parameters, clientHeight;
  } cases[] = {{5, 1, 129}, {2, 2, 129 + 63}, {18, 3, 129 + 63 + 63}, {3, 2, 129 + 225}, {23, 4, 129 + 63 + 225 + 63}};
  for (const auto& c : cases) {
    SCOPED_TRACE("id " + std::to_string(c.id));
    const Seen seen = OpenAndCancel(host_, c.id, c.parameters);
    EXPECT_EQ(seen.client.cy, c.clientHeight);
    ASSERT_FALSE(seen.fields.empty());
    EXPECT_EQ(seen.fields[0].label.Top(), 18);
    EXPECT_EQ(seen.fields[0].input.Top(), 40);
    EXPECT_EQ(seen.fields[0].picker.Top(), 40);
    ASSERT_EQ(seen.ok.size(), 1u);
    EXPECT_EQ(seen.ok[0].Top(), c.clientHeight - 43);
  }
}

TEST_F(EditorDialog, ComboFieldsListTheirChoicesInOrder) {
  const struct {
    int id, parameters;
    size_t field;
    std::vector<std::wstring> items;
  } cases[] = {
      {8,
       4,
       1,
       {L"NavigationStarting", L"NavigationCompleted", L"ContentLoading", L"TitleChanged", L"SourceChanged",
        L"ProcessFailed"}},
      {9, 3, 1, {L"URL", L"TITLE", L"CAN_GO_BACK", L"CAN_GO_FORWARD", L"WEBVIEW_CREATED"}},
      {16, 2, 1, {L"BACK", L"FORWARD", L"REFRESH", L"STOP"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("id " + std::to_string(c.id));
    const Seen seen = OpenAndCancel(host_, c.id, c.parameters);
    ASSERT_GT(seen.comboItems.size(), c.field);
    EXPECT_EQ(seen.comboItems[c.field], c.items);
  }
}

TEST_F(EditorDialog, IdsWithoutAnEditorReturnFalseAndShowNothing) {
  for (int id : {0, 24, 99, -1}) {
    SCOPED_TRACE("id " + std::to_string(id));
    ParamArray params(host_, {"Rect1", "x"});
    char* before0 = params.raw(0);
    bool shown = true;
    WindowCreationCounter created;
    EXPECT_FALSE(EditWithDialog(
        host_, id, params.data(), params.high(), [](HWND) {}, &shown));
    EXPECT_FALSE(shown);
    EXPECT_EQ(created.count(), 0);
    EXPECT_EQ(params.raw(0), before0);
    EXPECT_EQ(params.at(0), "Rect1");
    EXPECT_EQ(host_.LiveBuffers(), 0);
  }
}

}  // namespace
