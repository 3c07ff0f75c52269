#include "host/host_callbacks.h"
#include "support/text.h"

AddActionProc AddActionCallback = nullptr;
AddFileProc nbAddFile = nullptr;
uint32_t HostThirdValue = 0;
SetVariableProc SetVariableCallback = nullptr;
RunScriptProc RunScriptCallback = nullptr;
InterfaceAccessProc InterfaceAccessCallback = nullptr;
int32_t HostValue = 0;

bool SetHostVariable(const std::wstring& name, const std::wstring& value) {
  if (!SetVariableCallback) return false;
  const std::string n = WideToAnsi(name), v = WideToAnsi(value);
  SetVariableCallback(n.c_str(), v.c_str());
  return true;
}

bool RunHostScript(const std::wstring& script) {
  if (!RunScriptCallback) return false;
  const std::string s = WideToAnsi(script);
  RunScriptCallback(s.c_str());
  return true;
}

bool AddPublicationFile(const std::wstring& path) {
  if (!nbAddFile) return false;
  const std::string p = WideToAnsi(path);
  nbAddFile(p.c_str(), 1);
  return true;
}
