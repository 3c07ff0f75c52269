#include "browser_fixture.h"
#include <cstdio>

namespace browsertest {

namespace engine {
namespace {
HMODULE Module() {
  static HMODULE module = LoadLibraryW((testhost::EngineDirectory() + L"WebView2Loader.dll").c_str());
  return module;
}

template <class Fn>
Fn Resolve(const char* name) {
  HMODULE module = Module();
  FARPROC proc = module ? GetProcAddress(module, name) : nullptr;
  if (!proc) {
    ADD_FAILURE() << "engine double lacks " << name;
    return nullptr;
  }
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}

#define ENGINE_FN(name) static auto fn = Resolve<decltype(&::name)>(#name)

std::wstring Text(int32_t (*get)(int32_t, wchar_t*, int32_t), int32_t index) {
  if (!get) return L"";
  const int32_t n = get(index, nullptr, 0);
  if (n < 0) return L"";
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  get(index, &text[0], n + 1);
  text.resize(static_cast<size_t>(n));
  return text;
}
}  // namespace

bool Available() { return Module() != nullptr; }
void Reset() {
  ENGINE_FN(Engine_Reset);
  if (fn) fn();
}
void FailStep(EngineStep step, HRESULT hr) {
  ENGINE_FN(Engine_FailStep);
  if (fn) fn(step, hr);
}
int LiveObjects() {
  ENGINE_FN(Engine_LiveObjects);
  return fn ? fn() : -1;
}
int WebViewCount() {
  ENGINE_FN(Engine_WebViewCount);
  return fn ? fn() : -1;
}
std::vector<EngineCall> Calls() {
  static auto count = Resolve<decltype(&::Engine_CallCount)>("Engine_CallCount");
  static auto name = Resolve<decltype(&::Engine_CallName)>("Engine_CallName");
  static auto args = Resolve<decltype(&::Engine_CallArgs)>("Engine_CallArgs");
  static auto webview = Resolve<decltype(&::Engine_CallWebView)>("Engine_CallWebView");
  std::vector<EngineCall> calls;
  if (!count || !webview) return calls;
  for (int32_t i = 0, n = count(); i < n; ++i) calls.push_back({Text(name, i), Text(args, i), webview(i)});
  return calls;
}
int CallCount() {
  ENGINE_FN(Engine_CallCount);
  return fn ? fn() : 0;
}
int FindCallFrom(const std::wstring& wanted, int from) {
  static auto name = Resolve<decltype(&::Engine_CallName)>("Engine_CallName");
  for (int i = from, n = CallCount(); i < n; ++i)
    if (Text(name, i) == wanted) return i;
  return -1;
}
std::vector<EngineCall> CallsOf(int view) {
  std::vector<EngineCall> calls;
  for (auto& c : Calls())
    if (c.webview == view) calls.push_back(c);
  return calls;
}
Options LastOptions() {
  ENGINE_FN(Engine_LastOptions);
  Options o;
  if (!fn) return o;
  wchar_t a[1024] = {}, b[1024] = {}, c[1024] = {}, d[1024] = {}, e[1024] = {};
  fn(a, b, c, d, e, &o.allowSso, 1024);
  o.browserFolder = a;
  o.userDataFolder = b;
  o.additionalArgs = c;
  o.language = d;
  o.targetVersion = e;
  return o;
}
HWND ParentWindow(int view) {
  ENGINE_FN(Engine_ParentWindow);
  return fn ? fn(view) : nullptr;
}
std::wstring Bounds(int view) {
  ENGINE_FN(Engine_GetBounds);
  RECT r = {};
  if (!fn || !fn(view, &r)) return L"(none)";
  wchar_t buf[64];
  swprintf(buf, 64, L"%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
  return buf;
}
bool IsVisible(int view) {
  ENGINE_FN(Engine_IsVisible);
  return fn && fn(view);
}
bool IsClosed(int view) {
  ENGINE_FN(Engine_IsClosed);
  return fn && fn(view);
}
bool WebMessageEnabled(int view) {
  ENGINE_FN(Engine_WebMessageEnabled);
  return fn && fn(view);
}
int HandlerCount(int view) {
  ENGINE_FN(Engine_HandlerCount);
  return fn ? fn(view) : -1;
}
int DocumentScriptCount(int view) {
  ENGINE_FN(Engine_DocumentScriptCount);
  return fn ? fn(view) : -1;
}
std::wstring DocumentScript(int view, int index) {
  ENGINE_FN(Engine_DocumentScript);
  if (!fn) return L"";
  const int32_t n = fn(view, index, nullptr, 0);
  if (n < 0) return L"(none)";
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  fn(view, index, &text[0], n + 1);
  text.resize(static_cast<size_t>(n));
  return text;
}
void SetHistory(int view, bool canGoBack, bool canGoForward) {
  ENGINE_FN(Engine_SetHistory);
  if (fn) fn(view, canGoBack, canGoForward);
}
#undef ENGINE_FN
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

namespace {
LRESULT CALLBACK MarkerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) *reinterpret_cast<bool*>(wParam) = true;
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MarkerWindow() {
  static HWND window = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MarkerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TamrelBrowserTestMarker";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  }();
  return window;
}
}  // namespace

void DrainPostedMessages() {
  for (int round = 0; round < 2; ++round) {
    bool seen = false;
    PostMessageW(MarkerWindow(), WM_APP, reinterpret_cast<WPARAM>(&seen), 0);
    testhost::PumpUntil([&] { return seen; });
  }
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
  const bool done = testhost::PumpUntil([&] {
    return FindCall(engine::CallsOf(webview), L"AddScriptToExecuteOnDocumentCreated") >= 0;
  });
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

}  // namespace browsertest
