#pragma once
// A fake host for tests that call the plug-in's code in their own process: it stands in for the
// host's callbacks through UseHostServices while it lives, records what the plug-in asks of it
// as short texts ("set NAME=VALUE", "run SCRIPT", "file PATH", "access CODE BUFFER") and answers
// interface access from a table of Rectangle names.
#include <windows.h>
#include <map>
#include <string>
#include <vector>
#include "host/host_services.h"

namespace testhost {

class FakeHost final : public THostServices {
 public:
  FakeHost() { UseHostServices(this); }
  ~FakeHost() override { UseHostServices(nullptr); }
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  bool SetVariable(const std::wstring& name, std::wstring_view value) override;
  bool RunScript(const std::wstring& script) override;
  bool AddFile(const std::wstring& path) override;
  bool InterfaceAccess(int32_t code, char*& buffer) override;
  bool CanSetVariables() const override { return setVariables; }
  bool CanAddFiles() const override { return addFiles; }
  bool HasInterfaceAccess() const override { return interfaceAccess; }

  // Which callbacks this host has handed over.
  bool setVariables = true, addFiles = true, interfaceAccess = true, runScripts = true;
  // Interface code 7: Rectangle name to the answer text; a name not listed is refused.
  std::map<std::string, std::string> rectangles;
  std::vector<std::string> calls;
};

}  // namespace testhost
