#include "host/host_callbacks.h"
#include "host/host_services.h"

AddActionProc AddActionCallback = nullptr;
AddFileProc nbAddFile = nullptr;
uint32_t HostThirdValue = 0;
SetVariableProc SetVariableCallback = nullptr;
RunScriptProc RunScriptCallback = nullptr;
InterfaceAccessProc InterfaceAccessCallback = nullptr;
int32_t HostValue = 0;

bool SetHostVariable(const std::wstring& name, std::wstring_view value) {
  return HostServices().SetVariable(name, value);
}

bool RunHostScript(const std::wstring& script) { return HostServices().RunScript(script); }

bool AddPublicationFile(const std::wstring& path) { return HostServices().AddFile(path); }
