#pragma once
// Fixture of the tests of what reaches the host from a browser: events, page messages, script
// results, and the actions that configure them. Host callbacks are read back as short texts
// ("set NAME=VALUE", "run SCRIPT") so that their order can be compared in one assertion.
#include <string>
#include <vector>
#include "browser_fixture.h"

namespace browsertest {

class HostOutputTest : public BrowserTest {
 protected:
  // Creates the host of a Rectangle and pumps until its webview (number `webview`) is ready.
  void ReadyHost(const std::wstring& name = L"Rect1", int webview = 1) {
    AddRectangle(testhost::Ansi(name));
    ASSERT_EQ(Create(name), 1);
    ASSERT_TRUE(WaitReady(webview));
  }

  int32_t ExecJS(const std::wstring& name, const std::wstring& script, const std::wstring& variable) {
    return host->ExecW(4, {name, script, variable});
  }
  int32_t Bridge(const std::wstring& name, const std::wstring& variable, const std::wstring& script) {
    return host->ExecW(6, {name, variable, script});
  }
  int32_t PostMessageToPage(const std::wstring& name, const std::wstring& message) {
    return host->ExecW(7, {name, message});
  }
  int32_t OnEvent(const std::wstring& name, const std::wstring& event, const std::wstring& variable,
                  const std::wstring& script) {
    return host->ExecW(8, {name, event, variable, script});
  }
  int32_t DebugConsole(const std::wstring& name, const std::wstring& variable, const std::wstring& script) {
    return host->ExecW(19, {name, variable, script});
  }
  int32_t DebugClear(const std::wstring& name) { return host->ExecW(20, {name}); }

  // Index into host->calls from which HostOutput reads.
  size_t Mark() const { return host->calls.size(); }
  // Variable writes and script runs since `mark`, in order.
  std::vector<std::string> HostOutput(size_t mark) const {
    std::vector<std::string> out;
    for (size_t i = mark; i < host->calls.size(); ++i) {
      const testhost::HostCall& c = host->calls[i];
      if (c.kind == testhost::CallKind::SetVariable) out.push_back("set " + c.text + "=" + c.text2);
      if (c.kind == testhost::CallKind::RunScript) out.push_back("run " + c.text);
    }
    return out;
  }

  // Log texts from `from` on (an index into LogTexts()).
  std::vector<std::string> LogSince(size_t from) const {
    const std::vector<std::string> all = LogTexts();
    return from < all.size() ? std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(from), all.end())
                             : std::vector<std::string>();
  }

  EngineClient& Engine() { return engine::Client(); }
};

}  // namespace browsertest
