// The dialog as a window: its owner, where it opens, its frame and its font.
#include <gtest/gtest.h>
#include <cwchar>
#include "editor_driver.h"
#include "testhost/test_env.h"

using namespace editortest;

namespace {

class EditorWindow : public ::testing::Test {
 protected:
  void SetUp() override { host_.Start(); }
  testhost::ScopedLocalAppData appData_;
  testhost::TestHost host_;
};

struct Placement {
  HWND owner = nullptr;
  RECT window = {};
  bool ownerEnabled = true;
  LONG style = 0;
};

Placement OpenAndRead(testhost::TestHost& host, int id) {
  ParamArray params(host, {"Rect1", ""});
  Placement seen;
  EditWithDialog(host, id, params.data(), params.high(), [&](HWND dialog) {
    seen.owner = GetWindow(dialog, GW_OWNER);
    GetWindowRect(dialog, &seen.window);
    seen.ownerEnabled = seen.owner ? IsWindowEnabled(seen.owner) != FALSE : true;
    seen.style = GetWindowLongW(dialog, GWL_STYLE);
    PressKey(dialog, VK_ESCAPE);
  });
  return seen;
}

TEST_F(EditorWindow, OpensOwnedByAndCentredOnTheActiveWindow) {
  // Odd sizes on both sides show the truncating division.
  testhost::RectangleWindow author(901, 777);
  SetWindowPos(author.hwnd(), nullptr, 37, 23, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(author.hwnd(), SW_SHOW);
  SetActiveWindow(author.hwnd());
  ASSERT_EQ(GetActiveWindow(), author.hwnd()) << "the test needs an active window";
  RECT area;
  GetWindowRect(author.hwnd(), &area);

  for (int id : {5, 3, 23}) {
    SCOPED_TRACE(id);
    const Placement seen = OpenAndRead(host_, id);
    EXPECT_EQ(seen.owner, author.hwnd());
    EXPECT_FALSE(seen.ownerEnabled) << "the window behind a modal dialog takes no input";
    const int width = seen.window.right - seen.window.left, height = seen.window.bottom - seen.window.top;
    EXPECT_EQ(seen.window.left, area.left + ((area.right - area.left) - width) / 2);
    EXPECT_EQ(seen.window.top, area.top + ((area.bottom - area.top) - height) / 2);
    EXPECT_TRUE(IsWindowEnabled(author.hwnd())) << "enabled again once the dialog is gone";
  }
}

TEST_F(EditorWindow, OpensCentredOnTheScreenWithoutAnActiveWindow) {
  SetActiveWindow(nullptr);
  ASSERT_EQ(GetActiveWindow(), nullptr);
  const Placement seen = OpenAndRead(host_, 2);
  EXPECT_EQ(seen.owner, nullptr);
  const int width = seen.window.right - seen.window.left, height = seen.window.bottom - seen.window.top;
  EXPECT_EQ(seen.window.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(seen.window.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}

TEST_F(EditorWindow, HasADialogFrameWithTheSystemMenuOnly) {
  const Placement seen = OpenAndRead(host_, 1);
  EXPECT_TRUE(seen.style & WS_CAPTION);
  EXPECT_TRUE(seen.style & WS_SYSMENU);
  EXPECT_FALSE(seen.style & WS_THICKFRAME) << "not resizable";
  EXPECT_FALSE(seen.style & WS_MINIMIZEBOX);
  EXPECT_FALSE(seen.style & WS_MAXIMIZEBOX);
}

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// Every control uses "Segoe UI" 9 pt when the system has that face, else the system's
// message font face at 9 pt.
TEST_F(EditorWindow, ControlsUseSegoeUiNinePointOrTheMessageFace) {
  HDC screen = GetDC(nullptr);
  LOGFONTW query = {};
  query.lfCharSet = DEFAULT_CHARSET;
  wcscpy(query.lfFaceName, L"Segoe UI");
  bool installed = false;
  EnumFontFamiliesExW(screen, &query, NoteFace, reinterpret_cast<LPARAM>(&installed), 0);
  const int height = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  const std::wstring face = installed ? L"Segoe UI" : metrics.lfMessageFont.lfFaceName;

  ParamArray params(host_, {"R", "", ""});
  std::vector<std::wstring> faces;
  std::vector<LONG> heights;
  EditWithDialog(host_, 9, params.data(), params.high(), [&](HWND dialog) {
    for (const Control& c : Children(dialog)) {
      LOGFONTW font = {};
      HFONT handle = reinterpret_cast<HFONT>(SendMessageW(c.hwnd, WM_GETFONT, 0, 0));
      GetObjectW(handle, sizeof(font), &font);
      faces.push_back(font.lfFaceName);
      heights.push_back(font.lfHeight);
    }
    PressKey(dialog, VK_ESCAPE);
  });
  ASSERT_EQ(faces.size(), 9u) << "3 labels, 3 inputs, the picker, OK and Cancel";
  for (size_t i = 0; i < faces.size(); ++i) {
    EXPECT_EQ(faces[i], face) << i;
    EXPECT_EQ(heights[i], height) << i;
  }
}

}  // namespace
