// Speed and size figures of the plug-in, each against its floor, in one process: the plug-in
// in the test host, the WebView2 engine double behind it, and the same engine called directly.
// The two (or three) operations of a row alternate within one loop, so both see the same
// machine; each row prints the medians and 95th percentiles of both and the ratio of the
// medians with its goal. Timing only: the tests assert behaviour.
//   bash scripts/bench.sh   (builds this program, pins it and the Wine server to one CPU)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_client.h"
#include "support/diagnostic_log.h"
#include "testhost/iat_hook.h"
#include "testhost/test_env.h"
#include "testhost/test_host.h"
#include "webview2/webview2.h"

namespace {

using testhost::TestHost;

// The plug-in's action ids.
constexpr int32_t kNavigate = 2, kExecuteJS = 4, kBridge = 6, kDebugConsole = 19;

double NowUs() {
  static const double perUs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1e6;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / perUs;
}

struct Stats {
  double median = 0, p95 = 0;
};

Stats Of(std::vector<double> us) {
  Stats s;
  if (us.empty()) return s;
  std::sort(us.begin(), us.end());
  s.median = us[us.size() / 2];
  s.p95 = us[std::min(us.size() - 1, us.size() * 95 / 100)];
  return s;
}

int g_missed = 0;

// One row: what was measured against its floor, the ratio of the medians and the goal.
void Row(const char* what, const std::vector<double>& a, const char* floorName, const std::vector<double>& b,
         double goal, const char* goalText) {
  const Stats sa = Of(a), sb = Of(b);
  const double ratio = sb.median > 0 ? sa.median / sb.median : 0;
  const bool met = ratio <= goal;
  if (!met) ++g_missed;
  std::printf("%-50s n=%-6zu median %9.2f us  p95 %9.2f us\n", what, a.size(), sa.median, sa.p95);
  std::printf("  vs %-46s n=%-6zu median %9.2f us  p95 %9.2f us\n", floorName, b.size(), sb.median, sb.p95);
  std::printf("  ratio %.2fx   goal %s   %s\n", ratio, goalText, met ? "met" : "NOT MET");
  std::fflush(stdout);
}

// Runs the operations of a row in turn, `reps` times each, the order rotating every round.
std::vector<std::vector<double>> Interleaved(int reps, const std::vector<std::function<void()>>& ops,
                                             const std::function<void()>& between = nullptr) {
  std::vector<std::vector<double>> us(ops.size());
  for (auto& v : us) v.reserve(static_cast<size_t>(reps));
  for (int i = 0; i < reps; ++i) {
    for (size_t k = 0; k < ops.size(); ++k) {
      const size_t op = (k + static_cast<size_t>(i)) % ops.size();
      const double t = NowUs();
      ops[op]();
      us[op].push_back(NowUs() - t);
    }
    if (between) between();
  }
  return us;
}

// Dispatches until the engine double has delivered everything it posted.
void Deliver(EngineClient& engine) {
  MSG msg;
  while (engine.PendingDeliveries() > 0) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (engine.PendingDeliveries() > 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
}

void PumpWhile(const std::function<bool()>& waiting) {
  MSG msg;
  while (waiting()) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
  }
}

// ---- the engine called directly, without the plug-in ---------------------------------------------

// A completion handler that keeps what it is handed.
template <class Interface, class Result>
class Completion final : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, Interface::Iid())) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the stack of its caller
  HRESULT STDMETHODCALLTYPE Invoke(HRESULT hr, Result result) override {
    done = true;
    status = hr;
    Keep(result);
    return S_OK;
  }
  bool done = false;
  HRESULT status = E_PENDING;
  Result value{};

 private:
  template <class T>
  void Keep(T* p) {
    value = p;
    if (p) p->AddRef();
  }
  void Keep(LPCWSTR) {}
  ULONG refs_ = 1;
};

using EnvironmentDone =
    Completion<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, ICoreWebView2Environment*>;
using ControllerDone = Completion<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, ICoreWebView2Controller*>;
using ScriptDone = Completion<ICoreWebView2ExecuteScriptCompletedHandler, LPCWSTR>;

struct DirectEngine {
  ICoreWebView2Environment* environment = nullptr;
  ICoreWebView2Controller* controller = nullptr;
  ICoreWebView2* webview = nullptr;
};

bool StartDirect(EngineClient& engine, HWND parent, DirectEngine& direct) {
  using Create = HRESULT(STDMETHODCALLTYPE*)(PCWSTR, PCWSTR, ICoreWebView2EnvironmentOptions*,
                                             ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*);
  auto create = reinterpret_cast<Create>(
      reinterpret_cast<void*>(GetProcAddress(engine.module(), "CreateCoreWebView2EnvironmentWithOptions")));
  if (!create) return false;
  EnvironmentDone environment;
  if (FAILED(create(nullptr, nullptr, nullptr, &environment))) return false;
  PumpWhile([&] { return !environment.done; });
  if (!environment.value) return false;
  direct.environment = environment.value;
  ControllerDone controller;
  if (FAILED(direct.environment->CreateCoreWebView2Controller(parent, &controller))) return false;
  PumpWhile([&] { return !controller.done; });
  if (!controller.value) return false;
  direct.controller = controller.value;
  return SUCCEEDED(direct.controller->get_CoreWebView2(&direct.webview)) && direct.webview;
}

// ---- the rows ---------------------------------------------------------------------------------------

// One bare open-append-close of these bytes: the least any line of the log can cost.
void FloorLine(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

// A line of the log's form around `text`, for the floor: the same length as the plug-in's.
std::string LineLike(const std::string& text) {
  return "2026-01-01 00:00:00.000 | PID=" + std::to_string(GetCurrentProcessId()) +
         " | TID=" + std::to_string(GetCurrentThreadId()) + " | " + text + "\r\n";
}

void LogRows() {
  const std::wstring path = LogFilePath();
  const std::wstring text = L"Web message received from Rectangle \"Bench\"; length=10";
  const std::string same = LineLike(testhost::Utf8(text));
  auto us = Interleaved(10000, {[&] { WriteLog(text); }, [&] { FloorLine(path, same); }});
  Row("log line (the plug-in's writer)", us[0], "floor: open, append the same bytes, close", us[1], 1.3, "<= 1.3x");
}

void FailingActionRow(TestHost& host) {
  const std::wstring path = LogFilePath();
  const std::string same = LineLike("ERROR: No WebView2 instance is attached to \"Nope\".");
  auto us = Interleaved(10000,
                        {[&] {
                           host.Exec(kNavigate, {"Nope", "about:blank"});
                         },
                         [&] { FloorLine(path, same); }},
                        [&] { host.calls.clear(); });
  Row("failing action (ERROR line + [LastError])", us[0], "floor: open, append the same bytes, close", us[1], 1.3,
      "<= 1.3x");
}

void BridgeRows(TestHost& host, EngineClient& engine, int bridged, int plain) {
  const struct {
    const char* name;
    size_t length;
    int reps;
    double goal;
    const char* goalText;
  } sizes[] = {{"10 B", 10, 10000, 0, "none (set for 64 KB and 1 MB)"},
               {"1 KB", 1024, 10000, 0, "none (set for 64 KB and 1 MB)"},
               {"64 KB", 65536, 1000, 1.2, "<= 1.2x"},
               {"1 MB", 1u << 20, 200, 1.2, "<= 1.2x"}};
  for (const auto& s : sizes) {
    const std::wstring message(s.length, L'm');
    auto us = Interleaved(s.reps,
                          {[&] {
                             engine.PostWebMessage(bridged, message);
                             Deliver(engine);
                           },
                           [&] {
                             engine.PostWebMessage(plain, message);
                             Deliver(engine);
                           }},
                          [&] {
                            host.calls.clear();
                            host.variables.clear();
                          });
    const std::string what = std::string("bridge message ") + s.name + " (posted, delivered, variable set)";
    if (s.goal > 0) {
      Row(what.c_str(), us[0], "the same message, no bridge configured", us[1], s.goal, s.goalText);
    } else {
      const Stats a = Of(us[0]), b = Of(us[1]);
      std::printf("%-50s n=%-6zu median %9.2f us  p95 %9.2f us\n", what.c_str(), us[0].size(), a.median, a.p95);
      std::printf("  vs %-46s n=%-6zu median %9.2f us  p95 %9.2f us\n", "the same message, no bridge configured",
                  us[1].size(), b.median, b.p95);
      std::printf("  ratio %.2fx   goal %s\n", b.median > 0 ? a.median / b.median : 0, s.goalText);
    }
  }
}

void LookupRows(TestHost& host, const std::vector<std::string>& names) {
  // An action that does nothing but find its browser and store two empty settings.
  const std::string first = names.front(), tenth = names[9], last = names.back();
  auto us = Interleaved(10000, {[&] {
                                  host.Exec(kDebugConsole, {first, "", ""});
                                },
                                [&] {
                                  host.Exec(kDebugConsole, {tenth, "", ""});
                                },
                                [&] {
                                  host.Exec(kDebugConsole, {last, "", ""});
                                }});
  Row("lookup: 10th registered of 100 browsers", us[1], "the 1st registered (as with 1 browser)", us[0], 2.0, "<= 2x");
  Row("lookup: 100th registered of 100 browsers", us[2], "the 1st registered (as with 1 browser)", us[0], 2.0, "<= 2x");
}

// The host's own part of a call (building the parameter array, the call convention): the same
// call with id 0, which names no action. What the plug-in adds is what remains beyond it.
constexpr int32_t kNoAction = 0;

void HostCallLine(const Stats& c, size_t n) {
  std::printf("  vs %-46s n=%-6zu median %9.2f us  p95 %9.2f us\n", "the host's own call (id 0, no action)", n,
              c.median, c.p95);
}

void NavigateRow(TestHost& host, EngineClient& engine, const DirectEngine& direct) {
  auto us = Interleaved(10000,
                        {[&] {
                           host.Exec(kNavigate, {"Bench", "https://bench.example/"});
                         },
                         [&] { direct.webview->Navigate(L"https://bench.example/"); },
                         [&] {
                           host.Exec(kNoAction, {"Bench", "https://bench.example/"});
                         }},
                        [&] {
                          Deliver(engine);
                          host.calls.clear();
                          host.variables.clear();
                        });
  const Stats a = Of(us[0]), b = Of(us[1]), c = Of(us[2]);
  const double added = a.median - b.median - c.median;
  std::printf("%-50s n=%-6zu median %9.2f us  p95 %9.2f us\n", "action 2 (Navigate) through the plug-in", us[0].size(),
              a.median, a.p95);
  std::printf("  vs %-46s n=%-6zu median %9.2f us  p95 %9.2f us\n", "the engine's Navigate called directly",
              us[1].size(), b.median, b.p95);
  HostCallLine(c, us[2].size());
  const bool met = added < 1.0;
  if (!met) ++g_missed;
  std::printf(
      "  ratio %.2fx; beyond the engine and the host's call the plug-in adds %.2f us   goal: adds < 1 us (no "
      "log line)   %s\n",
      b.median > 0 ? a.median / b.median : 0, added, met ? "met" : "NOT MET");
  std::fflush(stdout);
}

void ScriptRow(TestHost& host, EngineClient& engine, const DirectEngine& direct) {
  // The variable exists, as a publication's does; it is emptied between rounds (not timed) and
  // the script's result ("null" from the engine) fills it.
  std::string& result = host.variables["[r]"];
  auto us = Interleaved(10000,
                        {[&] {
                           host.Exec(kExecuteJS, {"Bench", "1+1", "[r]"});
                           PumpWhile([&] { return result.empty(); });
                         },
                         [&] {
                           ScriptDone done;
                           direct.webview->ExecuteScript(L"1+1", &done);
                           PumpWhile([&] { return !done.done; });
                         },
                         [&] {
                           host.Exec(kNoAction, {"Bench", "1+1", "[r]"});
                         }},
                        [&] {
                          Deliver(engine);
                          host.calls.clear();
                          result.clear();
                        });
  const Stats a = Of(us[0]), b = Of(us[1]), c = Of(us[2]);
  const double ratio = b.median > 0 ? (a.median - c.median) / b.median : 0;
  const bool met = ratio <= 1.1;
  if (!met) ++g_missed;
  std::printf("%-50s n=%-6zu median %9.2f us  p95 %9.2f us\n", "ExecuteJS end to end (result in the variable)",
              us[0].size(), a.median, a.p95);
  std::printf("  vs %-46s n=%-6zu median %9.2f us  p95 %9.2f us\n", "the engine's ExecuteScript round trip",
              us[1].size(), b.median, b.p95);
  HostCallLine(c, us[2].size());
  std::printf("  ratio %.2fx; without the host's call %.2fx   goal <= 1.1x   %s\n",
              b.median > 0 ? a.median / b.median : 0, ratio, met ? "met" : "NOT MET");
  std::fflush(stdout);
}

void RegisterRow(TestHost& host) {
  std::vector<double> us;
  for (int i = 0; i < 1000; ++i) {
    const double t = NowUs();
    host.Register();
    us.push_back(NowUs() - t);
    host.calls.clear();
  }
  const Stats s = Of(us);
  std::printf("%-50s n=%-6zu median %9.2f us  p95 %9.2f us   goal: none set\n",
              "nbRegisterPlugIn (every catalogue entry)", us.size(), s.median, s.p95);
}

void SizeRow() {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  const std::wstring plugin = testhost::DefaultPluginPath();
  if (!GetFileAttributesExW(plugin.c_str(), GetFileExInfoStandard, &data)) {
    std::printf("release zkTamrelDesk.nbp: not found\n");
    ++g_missed;
    return;
  }
  const unsigned long size = data.nFileSizeLow;
  const bool met = size < 400000;
  if (!met) ++g_missed;
  std::printf("%-50s %lu bytes   goal < 400,000 bytes   %s\n", "release zkTamrelDesk.nbp (stripped)", size,
              met ? "met" : "NOT MET");
}

// Number of the double's webview whose host window lies in this Rectangle.
int WebViewIn(EngineClient& engine, HWND rectangle) {
  for (int n = 1; n <= engine.WebViewCount(); ++n)
    if (GetParent(engine.ParentWindow(n)) == rectangle) return n;
  return 0;
}

bool Ready(TestHost& host, EngineClient& engine, int webviews) {
  const double until = NowUs() + 60e6;
  PumpWhile([&] { return engine.WebViewCount() < webviews && NowUs() < until; });
  Deliver(engine);
  (void)host;
  return engine.WebViewCount() >= webviews;
}

}  // namespace

int wmain() {
  SetCurrentDirectoryW(testhost::EngineDirectory().c_str());
  testhost::ScopedLocalAppData appData;
  EngineClient engine;
  if (!engine.ok()) {
    std::printf("engine double missing in %s\n", testhost::Utf8(testhost::EngineDirectory()).c_str());
    return 2;
  }
  engine.Reset();
  TestHost host;
  // VisualNEO does not watch the plug-in's heap: the test host's count of its blocks (a tree
  // insertion per allocation) would be timed as the plug-in's own work.
  testhost::UnhookCrtHeap(host.module());
  host.recordCalls = false;  // it keeps each variable's value, as VisualNEO does, but no history of calls
  host.Start();
  std::printf("the test host counts no heap blocks of the plug-in and keeps no history of its calls\n");

  std::printf("-- log writer\n");
  WriteLog(L"first line: creates the folder and the file");
  LogRows();
  FailingActionRow(host);

  // Browsers: "Bench" for the actions, "Bridge" and "Plain" for messages, 100 more for lookups.
  std::vector<std::unique_ptr<testhost::RectangleWindow>> windows;
  auto rectangle = [&](const std::string& name) {
    windows.emplace_back(new testhost::RectangleWindow(200, 150));
    host.rectangles[name] = windows.back()->hwnd();
  };
  for (const char* name : {"Bench", "Bridge", "Plain"}) {
    rectangle(name);
    host.Exec(1, {name, ""});
  }
  if (!Ready(host, engine, 3)) {
    std::printf("browsers did not start\n");
    return 2;
  }
  host.Exec(kBridge, {"Bridge", "[message]", ""});
  const int bridged = WebViewIn(engine, host.rectangles["Bridge"]), plain = WebViewIn(engine, host.rectangles["Plain"]);
  if (!bridged || !plain) {
    std::printf("the message browsers were not found\n");
    return 2;
  }

  std::printf("-- page -> host messages\n");
  BridgeRows(host, engine, bridged, plain);

  std::printf("-- the plug-in's actions against the engine called directly\n");
  testhost::RectangleWindow directWindow(200, 150);
  DirectEngine direct;
  if (!StartDirect(engine, directWindow.hwnd(), direct)) {
    std::printf("the engine could not be started directly\n");
    return 2;
  }
  // The engine copies every document script into each navigation it starts: the direct
  // WebView carries the plug-in's page scripts too, so that both sides ask the engine for the same work.
  for (const std::wstring& script :
       engine.ArgsOf(L"AddScriptToExecuteOnDocumentCreated", WebViewIn(engine, host.rectangles["Bench"])))
    direct.webview->AddScriptToExecuteOnDocumentCreated(script.c_str(), nullptr);
  Deliver(engine);
  NavigateRow(host, engine, direct);
  ScriptRow(host, engine, direct);

  std::printf("-- lookup by Rectangle name\n");
  std::vector<std::string> names;
  for (int i = 0; i < 100; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "Lookup%03d", i);
    names.push_back(name);
    rectangle(name);
    host.Exec(1, {name, ""});
  }
  if (!Ready(host, engine, 104)) std::printf("(not every lookup browser became ready)\n");
  LookupRows(host, names);

  std::printf("-- registration and size\n");
  RegisterRow(host);
  SizeRow();

  host.Message(2);
  Deliver(engine);
  if (direct.webview) direct.webview->Release();
  if (direct.controller) {
    direct.controller->Close();
    direct.controller->Release();
  }
  if (direct.environment) direct.environment->Release();
  Deliver(engine);
  std::printf("%d goal(s) not met\n", g_missed);
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), 0);
  return 0;
}
