// Title, history, reload, stop and zoom of a real page, read back through the plug-in.
#include <winsock2.h>

#include "chromium_fixture.h"

namespace chromiumtest {
namespace {

class State : public ChromiumTest {
 protected:
  void SetUp() override { ReadyHost("St"); }
  std::wstring Page(const std::wstring& name, const std::string& title) {
    return FileUrl(folder_.Write(name, "<!doctype html><title>" + title + "</title><body>" + title + "</body>"));
  }
  TempFolder folder_;
};

TEST_F(State, TitleChangeRaisesTitleChanged) {
  ASSERT_TRUE(NavigateTo("St", Page(L"titled.html", "First title")));
  ASSERT_TRUE(testhost::PumpUntil([&] { return Info("St", "TITLE") == "First title"; }, 20000));
  const size_t mark = Mark();
  ASSERT_EQ(ExecW(4, {L"St", L"document.title = 'Zw\u00e9ite'; 0", L""}), 1);
  ASSERT_TRUE(WaitForEvent("St", "TitleChanged", mark));
  EXPECT_EQ(EventsSince("St", mark), (std::vector<Event>{Event{"TitleChanged", testhost::Ansi(L"Zw\u00e9ite")}}));
  EXPECT_EQ(Info("St", "TITLE"), testhost::Ansi(L"Zw\u00e9ite"));
}

TEST_F(State, BackForwardRefreshAndInformationWords) {
  const std::wstring first = Page(L"one.html", "One"), second = Page(L"two.html", "Two");
  ASSERT_TRUE(NavigateTo("St", first));
  ASSERT_TRUE(NavigateTo("St", second));
  const struct {
    int action;  // 0: none
    std::wstring url;
    const char* back;
    const char* forward;
  } steps[] = {{0, second, "True", "False"}, {10, first, "True", "True"}, {11, second, "True", "False"},
               {12, second, "True", "False"}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.action);
    ASSERT_EQ(Eval("St", "window.__mark = 1"), "1");
    if (step.action) {
      ASSERT_TRUE(Navigated("St", [&] { ASSERT_EQ(Exec(step.action, {"St"}), 1); }));
    }
    EXPECT_EQ(Info("St", "URL"), testhost::Ansi(step.url));
    EXPECT_EQ(Info("St", "CAN_GO_BACK"), step.back);
    EXPECT_EQ(Info("St", "CAN_GO_FORWARD"), step.forward);
    // Each of the three commands loaded a new document.
    EXPECT_EQ(Eval("St", "typeof window.__mark"), step.action ? "\"undefined\"" : "\"number\"");
  }
  // The control action with its command word does the same.
  ASSERT_TRUE(Navigated("St", [&] { ASSERT_EQ(Exec(16, {"St", " back "}), 1); }));
  EXPECT_EQ(Info("St", "URL"), testhost::Ansi(first));
}

// A server that accepts connections and never answers: a navigation to it stays on its way.
class SilentServer {
 public:
  SilentServer() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (socket_ != INVALID_SOCKET && ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::listen(socket_, 8) == 0 && getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size) == 0)
      port_ = ntohs(address.sin_port);
  }
  ~SilentServer() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    WSACleanup();
  }
  int port() const { return port_; }

 private:
  SOCKET socket_ = INVALID_SOCKET;
  int port_ = 0;
};

TEST_F(State, StopCancelsTheNavigationOnItsWay) {
  const std::wstring first = Page(L"stay.html", "Stay");
  ASSERT_TRUE(NavigateTo("St", first));
  SilentServer server;
  ASSERT_NE(server.port(), 0);
  const size_t mark = Mark();
  ASSERT_EQ(ExecW(2, {L"St", L"http://127.0.0.1:" + std::to_wstring(server.port()) + L"/never"}), 1);
  ASSERT_TRUE(WaitForEvent("St", "NavigationStarting", mark));
  ASSERT_EQ(Exec(13, {"St"}), 1);
  ASSERT_TRUE(WaitForEvent("St", "NavigationCompleted", mark));
  EXPECT_EQ(EventsSince("St", mark),
            (std::vector<Event>{{"NavigationStarting", "http://127.0.0.1:" + std::to_string(server.port()) + "/never"},
                                {"NavigationCompleted", "Success=False; WebErrorStatus=14; URL=" + testhost::Ansi(first)}}));
  EXPECT_EQ(Info("St", "URL"), testhost::Ansi(first));
  EXPECT_EQ(Eval("St", "document.title"), "\"Stay\"");
}

TEST_F(State, ZoomSetAndReadBack) {
  ASSERT_TRUE(NavigateTo("St", Page(L"zoom.html", "Zoom")));
  const struct {
    const char* percent;
    const char* width;  // CSS pixels of the 640 pixel wide browser
  } cases[] = {{"150", "427"}, {"25", "2560"}, {"100", "640"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.percent);
    ASSERT_EQ(Exec(14, {"St", c.percent}), 1);
    ASSERT_EQ(Exec(15, {"St", "[zoom]"}), 1);
    EXPECT_EQ(Host().Var("[zoom]"), c.percent);
    // Applied for real: the page lays out in fewer, larger CSS pixels.
    EXPECT_TRUE(testhost::PumpUntil([&] { return Eval("St", "window.innerWidth") == c.width; }, 20000))
        << Eval("St", "window.innerWidth");
  }
}

}  // namespace
}  // namespace chromiumtest
