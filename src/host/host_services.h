#pragma once
// THostServices: what the plug-in asks of its host - set a variable, run an action script, add
// a publication file, the interface access of object lookups. Actions, the browser host and
// the editor reach the host only through HostServices(), so a test can put a fake host in place
// of the callbacks that the entry points receive.
#include <cstdint>
#include <string>
#include <string_view>

class THostServices {
 public:
  virtual ~THostServices() = default;

  // Each converts to the ANSI code page just before the call; false (and no call) when the
  // host has not handed over that callback.
  virtual bool SetVariable(const std::wstring& name, std::wstring_view value) = 0;
  virtual bool RunScript(const std::wstring& script) = 0;
  virtual bool AddFile(const std::wstring& path) = 0;
  // The host's interface access: code and a host string buffer variable that the host may
  // release and replace; false when the host said no or has no such callback.
  virtual bool InterfaceAccess(int32_t code, char*& buffer) = 0;

  virtual bool CanSetVariables() const = 0;
  virtual bool CanAddFiles() const = 0;
  virtual bool HasInterfaceAccess() const = 0;
};

// The services in use: the host's callbacks (host_callbacks.h) unless a test put others in place.
THostServices& HostServices();
// Gives back the conversion memory the callbacks keep between calls (run mode ended).
void ReleaseKeptHostMemory();
// Puts services in place of the callbacks; null goes back to the callbacks.
void UseHostServices(THostServices* services);
