// The one pending navigation of a host that is not ready yet, and direct navigation once it is.
#include "browser_fixture.h"

using namespace browsertest;

namespace {
struct Request {
  int action;  // 2 navigate, 3 HTML
  std::wstring text;
};
struct PendingCase {
  const char* label;
  std::wstring initialUrl;
  std::vector<Request> before;
  std::wstring expectedCall;  // the one navigation call the engine receives
  std::wstring expectedArg;
};

class PendingNavigation : public BrowserTest, public ::testing::WithParamInterface<PendingCase> {};
}  // namespace

TEST_P(PendingNavigation, OnlyTheLastRequestIsDelivered) {
  const PendingCase& c = GetParam();
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1", c.initialUrl), 1);
  for (const auto& r : c.before) ASSERT_EQ(host->ExecW(r.action, {L"Rect1", r.text}), 1);
  EXPECT_EQ(CountCalls(engine::Calls(), L"Navigate") + CountCalls(engine::Calls(), L"NavigateToString"), 0);

  ASSERT_TRUE(WaitReady(1));
  const auto calls = engine::CallsOf(1);
  const int navigations = CountCalls(calls, L"Navigate") + CountCalls(calls, L"NavigateToString");
  EXPECT_EQ(navigations, 1);
  const int at = FindCall(calls, c.expectedCall);
  ASSERT_GE(at, 0);
  EXPECT_EQ(calls[at].args, c.expectedArg);
}

INSTANTIATE_TEST_SUITE_P(
    Browser, PendingNavigation,
    ::testing::Values(
        PendingCase{
            "UrlThenHtml", L"", {{2, L"https://a.example/"}, {3, L"<p>x</p>"}}, L"NavigateToString", L"<p>x</p>"},
        PendingCase{
            "HtmlThenUrl", L"", {{3, L"<p>x</p>"}, {2, L"https://b.example/"}}, L"Navigate", L"https://b.example/"},
        PendingCase{
            "InitialUrlThenHtml", L"https://init.example/", {{3, L"<b>h</b>"}}, L"NavigateToString", L"<b>h</b>"},
        PendingCase{"SecondUrlWins",
                    L"https://init.example/",
                    {{2, L"https://second.example/"}},
                    L"Navigate",
                    L"https://second.example/"},
        PendingCase{"BlankInitialUrlIsAUrl", L"   ", {}, L"Navigate", L"   "}),
    [](const ::testing::TestParamInfo<PendingCase>& info) { return std::string(info.param.label); });

TEST_F(BrowserTest, ReadyHostNavigatesAtOnceAndKeepsNothing) {
  ASSERT_NO_FATAL_FAILURE(ReadyHost());
  EXPECT_EQ(CountCalls(engine::CallsOf(1), L"Navigate"), 0);

  // The call reaches the engine inside the action, before any message is pumped.
  ASSERT_EQ(Navigate(L"Rect1", L"https://now.example/"), 1);
  auto calls = engine::CallsOf(1);
  ASSERT_GE(FindCall(calls, L"Navigate"), 0);
  EXPECT_EQ(calls[FindCall(calls, L"Navigate")].args, L"https://now.example/");

  ASSERT_EQ(SetHTML(L"Rect1", L"<i>now</i>"), 1);
  calls = engine::CallsOf(1);
  ASSERT_GE(FindCall(calls, L"NavigateToString"), 0);
  EXPECT_EQ(calls[FindCall(calls, L"NavigateToString")].args, L"<i>now</i>");

  DrainPostedMessages();
  calls = engine::CallsOf(1);
  EXPECT_EQ(CountCalls(calls, L"Navigate"), 1);
  EXPECT_EQ(CountCalls(calls, L"NavigateToString"), 1);
}

TEST_F(BrowserTest, NavigationRequestsNeedARegisteredHost) {
  AddRectangle("Rect1");
  EXPECT_EQ(Navigate(L"Rect1", L"https://a.example/"), 0);
  EXPECT_EQ(LastError(), "No WebView2 instance is attached to \"Rect1\".");
  EXPECT_EQ(SetHTML(L"Other", L"<p/>"), 0);
  EXPECT_EQ(LastError(), "No WebView2 instance is attached to \"Other\".");
  EXPECT_TRUE(LogHas("ERROR: No WebView2 instance is attached to \"Other\"."));
}
