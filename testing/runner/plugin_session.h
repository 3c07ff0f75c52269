#pragma once
// The plug-in as the host holds it: loaded with LoadLibrary and called through the test host's
// register-convention thunks, with the host's callbacks routed to the runner.
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "catalogue.h"
#include "testhost/test_host.h"

namespace runner {

struct HostSide {
  std::function<void(const std::string& path)> fileAdded;                              // UTF-8
  std::function<void(const std::string& name, const std::string& value)> variableSet;  // UTF-8
  std::function<void(const std::string& script)> runScript;                            // UTF-8
  std::function<HWND(const std::string& name)> rectangle;  // code 7; null when there is none
};

class PluginSession {
 public:
  // Throws std::runtime_error when the file cannot be loaded or lacks an entry point.
  PluginSession(const std::wstring& pluginPath, HostSide host);
  ~PluginSession();
  PluginSession(const PluginSession&) = delete;
  PluginSession& operator=(const PluginSession&) = delete;

  // nbInitPlugIn, nbRegisterPlugIn, nbRegisterScriptProcessor, nbRegisterInterfaceAccess.
  void Start();
  int32_t Exec(int32_t id, const std::vector<std::string>& utf8Params);
  void EndRunMode();  // nbMessage 2

  const Catalogue& catalogue() const { return catalogue_; }
  const std::string& title() const { return title_; }
  const std::string& author() const { return author_; }

 private:
  bool AnswerInterface(int32_t code, char** buffer);

  HostSide side_;
  testhost::TestHost host_;
  Catalogue catalogue_;
  std::string title_, author_;
};

}  // namespace runner
