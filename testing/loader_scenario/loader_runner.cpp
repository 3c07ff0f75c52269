// Stands in for the host executable of one loader scenario, in a fresh process because the
// loader state lasts for the process. Copied into the scenario's "host" folder and started
// with the scenario's current directory.
//   loader_runner <plug-in path> <result file> <operation>...
// Operations, each writing one result line:
//   register | register-without-addfile   nbRegisterPlugIn through the test host (black box)
//   version | create                      the loader wrappers, with the plug-in module of the
//                                         scenario as this program's plug-in module (white box)
//   version-without-module                as version, with a plug-in module whose file name
//                                         Windows cannot tell
//   dirs                                  PluginDirectory and HostExecutableDirectory
//   loaded=<path>                         whether a module of that path is loaded
#include <windows.h>
#include <objbase.h>
#include <cstdio>
#include <string>
#include "webview2/webview2_loader.h"
#include "support/module.h"
#include "test_env.h"
#include "test_host.h"

namespace {
std::string Hex(HRESULT hr) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08lX", static_cast<unsigned long>(hr));
  return buffer;
}

std::string Register(const std::wstring& plugin, bool withAddFile) {
  testhost::TestHost host(plugin);
  host.Register(withAddFile, true);
  std::string line = "register";
  bool actionSeen = false;
  for (const auto& call : host.calls) {
    if (call.kind == testhost::CallKind::AddAction) actionSeen = true;
    if (call.kind == testhost::CallKind::AddFile)
      line += std::string(actionSeen ? " late-addfile " : " addfile ") + std::to_string(call.flag) + " " + call.text;
  }
  return line;
}

void UsePluginModule(const std::wstring& plugin) {
  // Loaded again for each operation: the test host frees every instance when it ends.
  PluginInstance = LoadLibraryW(plugin.c_str());
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring plugin = argv[1];
  std::string out;
  for (int i = 3; i < argc; ++i) {
    const std::wstring op = argv[i];
    if (op == L"register" || op == L"register-without-addfile") {
      out += Register(plugin, op == L"register");
    } else if (op == L"version" || op == L"version-without-module") {
      if (op == L"version")
        UsePluginModule(plugin);
      else
        PluginInstance = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x10));  // no module there
      LPWSTR version = reinterpret_cast<LPWSTR>(1);                                  // must come back null on failure
      const HRESULT hr = GetBrowserVersionThroughLoader(nullptr, &version);
      out += "version " + Hex(hr) + " " + (version ? testhost::Utf8(version) : std::string("(null)"));
      if (version) CoTaskMemFree(version);
    } else if (op == L"create") {
      UsePluginModule(plugin);
      const HRESULT hr = CreateEnvironmentThroughLoader(
          L"fixture-browser", L"fixture-data", reinterpret_cast<ICoreWebView2EnvironmentOptions*>(0x1111),
          reinterpret_cast<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*>(0x2222));
      out += "create " + Hex(hr);
    } else if (op == L"dirs") {
      UsePluginModule(plugin);
      out += "dirs " + testhost::Utf8(PluginDirectory()) + "|" + testhost::Utf8(HostExecutableDirectory());
    } else if (op.rfind(L"loaded=", 0) == 0) {
      out += std::string("loaded ") + (GetModuleHandleW(op.substr(7).c_str()) ? "yes" : "no");
    } else {
      return 2;
    }
    out += "\n";
  }
  return testhost::WriteFileBytes(argv[2], out) ? 0 : 3;
}
