#pragma once
// Shared fixture of the browser host tests: a fresh plug-in in the test host, a private
// LOCALAPPDATA, Rectangle windows, and the WebView2 engine double found through the current
// directory (the loader's third candidate).
#include <gtest/gtest.h>
#include <windows.h>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "actions/action_table.h"
#include "engine/engine_client.h"
#include "testhost/test_env.h"
#include "testhost/test_host.h"

namespace browsertest {

// The double's controls, through one EngineClient for the whole test program.
namespace engine {
EngineClient& Client();
bool Available();
void Reset();
void FailStep(EngineStep step, HRESULT hr);
int LiveObjects();
int WebViewCount();
std::vector<EngineCall> Calls();
int CallCount();
// Index of the first call named `name` at or after `from`, -1 when none (names only: cheap).
int FindCallFrom(const std::wstring& name, int from);
std::vector<EngineCall> CallsOf(int webview);
EngineOptions LastOptions();
HWND ParentWindow(int webview);
std::wstring Bounds(int webview);  // "l,t,r,b"
bool IsVisible(int webview);
bool IsClosed(int webview);
bool WebMessageEnabled(int webview);
int HandlerCount(int webview);
int DocumentScriptCount(int webview);
std::wstring DocumentScript(int webview, int index);
void SetHistory(int webview, bool canGoBack, bool canGoForward);
}  // namespace engine

// Index of the first call named `name` (from `from` on), -1 when none.
int FindCall(const std::vector<EngineCall>& calls, const std::wstring& name, size_t from = 0);
int CountCalls(const std::vector<EngineCall>& calls, const std::wstring& name);

// Pumps until nothing the double posted is still on its way.
void DrainPostedMessages();

class BrowserTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Adds a Rectangle the host knows by `name` (ANSI text) with a client area of w x h.
  HWND AddRectangle(const std::string& name, int width = 400, int height = 300);

  // Runs the action registered under `action` (its id from the action table).
  int32_t Exec(const char* action, const std::vector<std::wstring>& params) {
    return host->ExecW(ActionId(action), params);
  }
  int32_t Create(const std::wstring& name, const std::wstring& url = L"") {
    return Exec("zkTamrelCreate", {name, url});
  }
  int32_t Destroy(const std::wstring& name) { return Exec("zkTamrelDestroy", {name}); }
  int32_t Navigate(const std::wstring& name, const std::wstring& url) { return Exec("zkTamrelNavigate", {name, url}); }
  int32_t SetHTML(const std::wstring& name, const std::wstring& html) { return Exec("zkTamrelSetHTML", {name, html}); }
  int32_t Control(const std::wstring& name, const std::wstring& command) {
    return Exec("zkTamrelControl", {name, command});
  }
  // Adds the Rectangle, creates its host and pumps until its webview (number `webview`) is ready.
  void ReadyHost(const std::wstring& name = L"Rect1", int webview = 1) {
    AddRectangle(testhost::Ansi(name));
    ASSERT_EQ(Create(name), 1);
    ASSERT_TRUE(WaitReady(webview));
  }

  // Pumps until webview n has finished its creation steps (the document script is its last
  // call) and its completions have arrived.
  bool WaitReady(int webview);
  // The host window of webview n (the controller's parent).
  HWND HostWindow(int webview) { return engine::ParentWindow(webview); }

  std::vector<std::string> LogTexts() const { return appData->LogTexts(); }
  bool LogHas(const std::string& text) const;
  std::string LastError() const { return host->Var("[LastError]"); }

  std::unique_ptr<testhost::ScopedLocalAppData> appData;
  std::unique_ptr<testhost::TestHost> host;
  std::map<std::string, std::unique_ptr<testhost::RectangleWindow>> rectangles;
  std::wstring savedDirectory;
};

// Texts of log lines not written by the loader (those carry the "NeoBookDependency" tag).
std::vector<std::string> WithoutDependencyLines(const std::vector<std::string>& texts);
// True when `expected` appears in `texts` in this order (other lines may lie between).
::testing::AssertionResult InOrder(const std::vector<std::string>& texts, const std::vector<std::string>& expected);

std::string Hex8(uint32_t value);
std::wstring HexW8(uint32_t value);
std::wstring ClientBounds(HWND window);  // "0,0,w,h"
// The window's own visibility (the test Rectangles themselves are never shown on screen).
bool ShownStyle(HWND window);

}  // namespace browsertest
