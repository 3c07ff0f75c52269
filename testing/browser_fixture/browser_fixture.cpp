#include "browser_fixture.h"
#include <cstdio>

namespace browsertest {

namespace engine {
EngineClient& Client() {
  static EngineClient client;
  return client;
}
bool Available() { return Client().ok(); }
void Reset() { Client().Reset(); }
void FailStep(EngineStep step, HRESULT hr) { Client().FailStep(step, hr); }
int LiveObjects() { return Client().LiveObjects(); }
int WebViewCount() { return Client().WebViewCount(); }
std::vector<EngineCall> Calls() { return Client().Calls(); }
int CallCount() {
  auto fn = reinterpret_cast<decltype(&::Engine_CallCount)>(
      reinterpret_cast<void*>(GetProcAddress(Client().module(), "Engine_CallCount")));
  return fn ? fn() : 0;
}
int FindCallFrom(const std::wstring& wanted, int from) {
  static auto name = reinterpret_cast<decltype(&::Engine_CallName)>(
      reinterpret_cast<void*>(GetProcAddress(Client().module(), "Engine_CallName")));
  if (!name) return -1;
  wchar_t buf[128];
  for (int i = from, n = CallCount(); i < n; ++i) {
    buf[0] = 0;
    name(i, buf, 128);
    if (wanted == buf) return i;
  }
  return -1;
}
std::vector<EngineCall> CallsOf(int view) {
  std::vector<EngineCall> calls;
  for (auto& c : Calls())
    if (c.webview == view) calls.push_back(c);
  return calls;
}
EngineOptions LastOptions() { return Client().LastOptions(); }
HWND ParentWindow(int view) { return Client().ParentWindow(view); }
std::wstring Bounds(int view) {
  const RECT r = Client().Bounds(view);
  wchar_t buf[64];
  swprintf(buf, 64, L"%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
  return buf;
}
bool IsVisible(int view) { return Client().IsVisible(view); }
bool IsClosed(int view) { return Client().IsClosed(view); }
bool WebMessageEnabled(int view) { return Client().WebMessageEnabled(view); }
int HandlerCount(int view) { return Client().HandlerCount(view); }
int DocumentScriptCount(int view) { return static_cast<int>(Client().DocumentScripts(view).size()); }
std::wstring DocumentScript(int view, int index) {
  const auto scripts = Client().DocumentScripts(view);
  return index < static_cast<int>(scripts.size()) ? scripts[static_cast<size_t>(index)] : L"(none)";
}
void SetHistory(int view, bool canGoBack, bool canGoForward) { Client().SetHistory(view, canGoBack, canGoForward); }
}  // namespace engine

int FindCall(const std::vector<EngineCall>& calls, const std::wstring& name, size_t from) {
  for (size_t i = from; i < calls.size(); ++i)
    if (calls[i].name == name) return static_cast<int>(i);
  return -1;
}

int CountCalls(const std::vector<EngineCall>& calls, const std::wstring& name) {
  int n = 0;
  for (const auto& c : calls) n += c.name == name;
  return n;
}

void DrainPostedMessages() {
  testhost::PumpUntil([] { return engine::Client().PendingDeliveries() == 0; });
}

void BrowserTest::SetUp() {
  ASSERT_TRUE(engine::Available()) << "engine double missing in " << testhost::Utf8(testhost::EngineDirectory());
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  savedDirectory = current;
  SetCurrentDirectoryW(testhost::EngineDirectory().c_str());
  engine::Reset();
  appData.reset(new testhost::ScopedLocalAppData());
  host.reset(new testhost::TestHost());
  host->Start();
}

void BrowserTest::TearDown() {
  if (host) {
    host->Message(2);  // no host window may outlive the plug-in's code
    DrainPostedMessages();
    host.reset();
  }
  rectangles.clear();
  appData.reset();
  SetCurrentDirectoryW(savedDirectory.c_str());
}

HWND BrowserTest::AddRectangle(const std::string& name, int width, int height) {
  auto& window = rectangles[name];
  window.reset(new testhost::RectangleWindow(width, height));
  host->rectangles[name] = window->hwnd();
  return window->hwnd();
}

bool BrowserTest::WaitReady(int webview) {
  const bool done = testhost::PumpUntil(
      [&] { return FindCall(engine::CallsOf(webview), L"AddScriptToExecuteOnDocumentCreated") >= 0; });
  DrainPostedMessages();
  return done;
}

bool BrowserTest::LogHas(const std::string& text) const {
  for (const auto& t : appData->LogTexts())
    if (t == text) return true;
  return false;
}

std::vector<std::string> WithoutDependencyLines(const std::vector<std::string>& texts) {
  std::vector<std::string> kept;
  for (const auto& t : texts)
    if (t.rfind("NeoBookDependency | ", 0) != 0) kept.push_back(t);
  return kept;
}

::testing::AssertionResult InOrder(const std::vector<std::string>& texts, const std::vector<std::string>& expected) {
  size_t at = 0;
  for (const auto& want : expected) {
    while (at < texts.size() && texts[at] != want) ++at;
    if (at == texts.size()) {
      std::string all;
      for (const auto& t : texts) all += "\n  " + t;
      return ::testing::AssertionFailure() << "missing or out of order: \"" << want << "\" in:" << all;
    }
    ++at;
  }
  return ::testing::AssertionSuccess();
}

std::string Hex8(uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08X", value);
  return buf;
}

std::wstring HexW8(uint32_t value) { return testhost::Widen(Hex8(value)); }

std::wstring ClientBounds(HWND window) {
  RECT r = {};
  GetClientRect(window, &r);
  wchar_t buf[64];
  swprintf(buf, 64, L"%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
  return buf;
}

bool ShownStyle(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace browsertest
