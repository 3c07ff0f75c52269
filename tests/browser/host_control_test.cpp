// WM_HOSTCONTROL (0x4FA) sent to a host's window from outside the plug-in.
#include "browser_fixture.h"

using namespace browsertest;

namespace {
const UINT kHostControl = 0x4FA;

struct VisibilityCase {
  const char* label;
  std::vector<LPARAM> messages;
  bool windowVisible;
  bool controllerVisible;
};

class HostControl : public BrowserTest, public ::testing::WithParamInterface<VisibilityCase> {};
}  // namespace

TEST_P(HostControl, ChangesVisibilityOfWindowAndControllerTogether) {
  const VisibilityCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  HWND window = HostWindow(1);
  ASSERT_TRUE(ShownStyle(window));

  for (LPARAM l : c.messages) EXPECT_EQ(SendMessageW(window, kHostControl, 77, l), 0) << l;
  EXPECT_EQ(ShownStyle(window), c.windowVisible);
  EXPECT_EQ(engine::IsVisible(1), c.controllerVisible);
  EXPECT_EQ(ClientBounds(window), L"0,0,400,300");
}

INSTANTIATE_TEST_SUITE_P(Browser, HostControl,
                         ::testing::Values(VisibilityCase{"One", {1}, false, false},
                                           VisibilityCase{"Three", {3}, false, false},
                                           VisibilityCase{"OneThenTwo", {1, 2}, true, true},
                                           VisibilityCase{"ThreeThenTwo", {3, 2}, true, true},
                                           VisibilityCase{"ZeroAndFive", {0, 5, -1}, true, true},
                                           VisibilityCase{"HiddenStaysHiddenOnZeroAndFive", {1, 0, 5}, false, false}),
                         [](const ::testing::TestParamInfo<VisibilityCase>& info) {
                           return std::string(info.param.label);
                         });

TEST_F(BrowserTest, RefitFollowsTheRectangleWithoutShowingAHiddenHost) {
  HWND rect = AddRectangle("Rect1", 400, 300);
  ASSERT_EQ(Create(L"Rect1"), 1);
  ASSERT_TRUE(WaitReady(1));
  HWND window = HostWindow(1);

  // The host does not follow the Rectangle by itself.
  RECT frame = {0, 0, 500, 200};
  AdjustWindowRect(&frame, GetWindowLongW(rect, GWL_STYLE), FALSE);
  SetWindowPos(rect, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_EQ(ClientBounds(rect), L"0,0,500,200");
  EXPECT_EQ(ClientBounds(window), L"0,0,400,300");

  EXPECT_EQ(SendMessageW(window, kHostControl, 0, 1), 0);
  EXPECT_EQ(SendMessageW(window, kHostControl, 0, 4), 0);
  EXPECT_EQ(ClientBounds(window), L"0,0,500,200");
  EXPECT_EQ(engine::Bounds(1), L"0,0,500,200");
  EXPECT_FALSE(ShownStyle(window));
  EXPECT_FALSE(engine::IsVisible(1));

  EXPECT_EQ(SendMessageW(window, kHostControl, 0, 2), 0);
  EXPECT_TRUE(ShownStyle(window));
  EXPECT_EQ(ClientBounds(window), L"0,0,500,200");
}

TEST_F(BrowserTest, HostControlWorksBeforeTheBrowserIsReady) {
  HWND rect = AddRectangle("Rect1", 0, 0);
  ASSERT_EQ(Create(L"Rect1"), 1);
  HWND window = GetWindow(rect, GW_CHILD);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SendMessageW(window, kHostControl, 0, 3), 0);
  EXPECT_FALSE(ShownStyle(window));

  RECT frame = {0, 0, 250, 150};
  AdjustWindowRect(&frame, GetWindowLongW(rect, GWL_STYLE), FALSE);
  SetWindowPos(rect, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(SendMessageW(window, kHostControl, 0, 4), 0);
  EXPECT_EQ(ClientBounds(window), L"0,0,250,150");

  // Once ready, the controller takes over the window's size and its hidden state.
  ASSERT_TRUE(WaitReady(1));
  EXPECT_EQ(engine::Bounds(1), L"0,0,250,150");
  EXPECT_FALSE(engine::IsVisible(1));
  EXPECT_EQ(SendMessageW(window, kHostControl, 0, 2), 0);
  EXPECT_TRUE(ShownStyle(window));
  EXPECT_TRUE(engine::IsVisible(1));
}
