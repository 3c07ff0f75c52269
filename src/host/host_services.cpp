#include "host/host_services.h"
#include <atomic>
#include <string>
#include "host/host_callbacks.h"
#include "support/text.h"

namespace {
// A page message of a megabyte is converted into a fresh block of that size on every call
// otherwise, and such a block is new memory each time (a page fault per page), which costs
// more than the conversion. The buffer is kept unless it grew beyond this.
constexpr size_t kKeptValueBuffer = 8u << 20;

// The callback slots the entry points fill.
class TCallbackServices final : public THostServices {
 public:
  bool SetVariable(const std::wstring& name, std::wstring_view value) override {
    if (!SetVariableCallback) return false;
    const std::string n = WideToAnsi(name);
    // A value set while the host still reads the kept buffer (from within its callback) gets
    // a buffer of its own.
    if (valueBufferBusy_.exchange(true)) {
      std::string v;
      WideToAnsiInto(value, v);
      SetVariableCallback(n.c_str(), v.c_str());
      return true;
    }
    struct TRelease {
      TCallbackServices& self;
      ~TRelease() {
        if (self.valueBuffer_.capacity() > kKeptValueBuffer) std::string().swap(self.valueBuffer_);
        self.valueBufferBusy_ = false;
      }
    } release{*this};
    WideToAnsiInto(value, valueBuffer_);
    SetVariableCallback(n.c_str(), valueBuffer_.c_str());
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

  void ReleaseKeptBuffer() {
    if (valueBufferBusy_.exchange(true)) return;  // the host is reading it right now
    std::string().swap(valueBuffer_);
    valueBufferBusy_ = false;
  }

 private:
  std::string valueBuffer_;
  std::atomic<bool> valueBufferBusy_{false};
};

TCallbackServices callbackServices;
THostServices* current = &callbackServices;
}  // namespace

THostServices& HostServices() { return *current; }
void ReleaseKeptHostMemory() { callbackServices.ReleaseKeptBuffer(); }

void UseHostServices(THostServices* services) { current = services ? services : &callbackServices; }
