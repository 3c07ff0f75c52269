// Timing figures of the plug-in on the Chromium engine, through the test host and the
// plug-in's actions (the tests assert behaviour, never time): start to ready, script and
// message round trips, a navigation, a picture and create/destroy cycles.
//   wine bin/chromium_benchmark.exe   (run from anywhere; finds bin/chromium-engine/)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "testhost/test_env.h"
#include "testhost/test_host.h"

namespace {

using testhost::TestHost;

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int g_failures = 0;

void Report(const char* what, std::vector<double> ms) {
  if (ms.empty()) return;
  std::sort(ms.begin(), ms.end());
  const double median = ms[ms.size() / 2], p95 = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
  std::printf("%-44s n=%-4zu median %8.2f ms   p95 %8.2f ms\n", what, ms.size(), median, p95);
  std::fflush(stdout);
}

// A step that did not finish: reported, and the run goes on to the cleanup.
bool Failed(const char* what) {
  std::printf("%-44s did not finish\n", what);
  std::fflush(stdout);
  ++g_failures;
  return false;
}

bool Ready(TestHost& host, const std::string& name) {
  return testhost::PumpUntil([&] { return host.Exec(9, {name, "WEBVIEW_CREATED", "[ready]"}) == 1; }, 30000);
}

// Runs one ExecuteJS and waits for its result variable.
bool Script(TestHost& host, const std::string& name, const std::string& script, int n) {
  const std::string variable = "[bench" + std::to_string(n) + "]";
  return host.Exec(4, {name, script, variable}) == 1 &&
         testhost::PumpUntil([&] { return host.HasVar(variable); }, 30000);
}

}  // namespace

int Measure(TestHost& host, testhost::RectangleWindow& window, const std::wstring& folder) {
  int n = 0;
  double t = Now();
  host.Exec(1, {"Keeper", ""});
  if (!Ready(host, "Keeper") || !Script(host, "Keeper", "1", ++n)) return Failed("first browser");
  std::printf("%-44s %8.2f ms\n", "browser start, first browser ready + script", Now() - t);

  std::vector<double> create;
  for (int i = 0; i < 20; ++i) {
    t = Now();
    host.Exec(1, {"Bench", ""});
    if (!Ready(host, "Bench") || !Script(host, "Bench", "1", ++n)) return Failed("create to ready");
    create.push_back(Now() - t);
    if (i < 19) host.Exec(5, {"Bench"});
  }
  Report("create to ready + script (browser running)", create);

  std::vector<double> scripts;
  for (int i = 0; i < 300; ++i) {
    t = Now();
    if (!Script(host, "Bench", "document.title.length", ++n)) return Failed("ExecuteJS");
    scripts.push_back(Now() - t);
  }
  Report("ExecuteJS round trip", scripts);

  const std::wstring file = folder + L"page.html";
  testhost::WriteFileBytes(file, "<!doctype html><title>bench</title><body>bench</body>");
  std::vector<double> navigations;
  auto completed = [&] {
    const std::vector<std::string> names = host.SetsOf("[WebEventName]");
    return std::count(names.begin(), names.end(), std::string("NavigationCompleted"));
  };
  for (int i = 0; i < 50; ++i) {
    const auto before = completed();
    t = Now();
    host.ExecW(17, {L"Bench", file});
    if (!testhost::PumpUntil([&] { return completed() > before; }, 30000)) return Failed("LoadFile");
    navigations.push_back(Now() - t);
  }
  Report("LoadFile to NavigationCompleted", navigations);

  // The page now holds the bridge (a first about:blank never runs the page scripts).
  host.Exec(6, {"Bench", "[echo]", ""});
  Script(host, "Bench", "window.chrome.webview.addEventListener('message', e => tamrelDesk.postMessage(e.data)); 0", ++n);
  std::vector<double> messages;
  for (int i = 0; i < 300; ++i) {
    const size_t before = host.SetsOf("[echo]").size();
    t = Now();
    host.Exec(7, {"Bench", "ping " + std::to_string(i)});
    if (!testhost::PumpUntil([&] { return host.SetsOf("[echo]").size() > before; }, 30000)) return Failed("message");
    messages.push_back(Now() - t);
  }
  Report("host -> page -> host message", messages);

  using Capture = HRESULT(__cdecl*)(HWND, const wchar_t*);
  auto capture = reinterpret_cast<Capture>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"WebView2Loader.dll"), "ChromiumEngine_CapturePng")));
  std::vector<double> pictures;
  for (int i = 0; capture && i < 20; ++i) {
    t = Now();
    if (capture(window.hwnd(), (folder + L"page.png").c_str()) != S_OK) return Failed("picture");
    pictures.push_back(Now() - t);
  }
  Report("picture of a 640x400 page (PNG)", pictures);
  return 0;
}

int wmain() {
  const std::wstring engine = testhost::ExeDirectory() + L"chromium-engine\\";
  SetCurrentDirectoryW(engine.c_str());
  testhost::ScopedLocalAppData appData;
  TestHost host;
  host.Start();
  testhost::RectangleWindow keeperWindow(640, 400), window(640, 400);
  host.rectangles["Keeper"] = keeperWindow.hwnd();
  host.rectangles["Bench"] = window.hwnd();
  const std::wstring folder = testhost::MakeTempDir(L"bench");
  Measure(host, window, folder);
  // Whatever happened, the browsers end with run-mode cleanup.
  const double t = Now();
  host.Message(2);
  std::printf("%-44s %8.2f ms\n", "run-mode cleanup, browser ended", Now() - t);
  testhost::RemoveTree(folder);
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), g_failures ? 1 : 0);
  return 0;
}
