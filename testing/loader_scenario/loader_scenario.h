#pragma once
// One loader scenario: a "host" folder holding the runner (the host executable), a "plugin"
// folder holding a copy of the plug-in, an empty "cwd" folder, and a private log. The runner
// runs in a fresh process, because the loader state lasts for the life of a process.
#include <string>
#include <vector>
#include "test_env.h"

class LoaderScenario {
 public:
  explicit LoaderScenario(const std::wstring& pluginFolderName = L"plugin");
  ~LoaderScenario();

  std::wstring root, host, plugin, cwd;  // folders, each with a trailing backslash
  bool ready = false;                    // the runner and the plug-in copy are in place
  std::wstring PluginFile() const { return plugin + L"zkTamrelDesk.nbp"; }

  // Copies a fixture loader ("complete" or "partial") to <folder>WebView2Loader.dll.
  void PlaceLoader(const std::wstring& folder, const char* kind);
  // Lays out an installed runtime's version folder <root>rt\<name> with a fixture as its engine
  // library EBWebView\x86\EmbeddedBrowserWebView.dll (a fixture's file name without ".dll":
  // "fake_runtime_engine", or a loader's, which lacks the engine's entry); the folder's path,
  // without a trailing backslash.
  std::wstring PlaceRuntime(const std::wstring& name, const char* fixture);

  // Runs the runner from `host` with `currentDir`, loading `pluginPath`; the result lines.
  std::vector<std::string> Run(const std::vector<std::wstring>& operations, const std::wstring& pluginPath,
                               const std::wstring& currentDir);
  std::vector<std::string> Run(const std::vector<std::wstring>& operations) {
    return Run(operations, PluginFile(), cwd);
  }

  // Texts of the log lines under the "NeoBookDependency" tag.
  std::vector<std::string> DependencyLines() const;

 private:
  testhost::ScopedLocalAppData appData_;
};

std::string Narrow(const std::wstring& path);  // UTF-8, as log and results carry it
