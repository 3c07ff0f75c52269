#pragma once
// Process-wide callback slots handed over by the host; null until it does. Only the entry
// points (which fill them) and the host services (which call them) touch them.
#include <string>
#include "host/host_abi.h"

extern AddActionProc AddActionCallback;
extern AddFileProc nbAddFile;
extern uint32_t HostThirdValue;
extern SetVariableProc SetVariableCallback;
extern RunScriptProc RunScriptCallback;
extern InterfaceAccessProc InterfaceAccessCallback;
extern int32_t HostValue;

// Shorthands for HostServices(): each converts to the ANSI code page just before the call and
// does nothing when the host has not handed over that callback.
bool SetHostVariable(const std::wstring& name, std::wstring_view value);
bool RunHostScript(const std::wstring& script);
bool AddPublicationFile(const std::wstring& path);
