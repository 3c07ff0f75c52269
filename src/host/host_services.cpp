#include "host/host_services.h"
#include "host/host_callbacks.h"
#include "support/text.h"

namespace {
// The callback slots the entry points fill.
class TCallbackServices final : public THostServices {
 public:
  bool SetVariable(const std::wstring& name, const std::wstring& value) override {
    if (!SetVariableCallback) return false;
    const std::string n = WideToAnsi(name), v = WideToAnsi(value);
    SetVariableCallback(n.c_str(), v.c_str());
    return true;
  }
  bool RunScript(const std::wstring& script) override {
    if (!RunScriptCallback) return false;
    const std::string s = WideToAnsi(script);
    RunScriptCallback(s.c_str());
    return true;
  }
  bool AddFile(const std::wstring& path) override {
    if (!nbAddFile) return false;
    const std::string p = WideToAnsi(path);
    nbAddFile(p.c_str(), 1);
    return true;
  }
  bool InterfaceAccess(int32_t code, char*& buffer) override {
    return InterfaceAccessCallback && HostBool(InterfaceAccessCallback(code, &buffer));
  }
  bool CanSetVariables() const override { return SetVariableCallback != nullptr; }
  bool CanAddFiles() const override { return nbAddFile != nullptr; }
  bool HasInterfaceAccess() const override { return InterfaceAccessCallback != nullptr; }
};

TCallbackServices callbackServices;
THostServices* current = &callbackServices;
}  // namespace

THostServices& HostServices() { return *current; }
void UseHostServices(THostServices* services) { current = services ? services : &callbackServices; }
