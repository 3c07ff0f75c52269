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
  int32_t ExecJS(const std::wstring& name, const std::wstring& script, const std::wstring& variable) {
    return Exec("zkTamrelExecuteJS", {name, script, variable});
  }
  int32_t Bridge(const std::wstring& name, const std::wstring& variable, const std::wstring& script) {
    return Exec("zkTamrelBridge", {name, variable, script});
  }
  int32_t PostMessageToPage(const std::wstring& name, const std::wstring& message) {
    return Exec("zkTamrelPostMessage", {name, message});
  }
  int32_t OnEvent(const std::wstring& name, const std::wstring& event, const std::wstring& variable,
                  const std::wstring& script) {
    return Exec("zkTamrelOnEvent", {name, event, variable, script});
  }
  int32_t DebugConsole(const std::wstring& name, const std::wstring& variable, const std::wstring& script) {
    return Exec("zkTamrelDebugConsole", {name, variable, script});
  }
  int32_t DebugClear(const std::wstring& name) { return Exec("zkTamrelDebugClear", {name}); }

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
