// The seven entry points the host calls. They only convert and forward, each under the guard,
// so nothing raised inside the plug-in ever crosses into the host.
#include <windows.h>
#include "browser/browser_registry.h"
#include "publishing/loader_registration.h"
#include "editor/action_editor.h"
#include "plugin/catalogue.h"
#include "plugin/dispatcher.h"
#include "host/host_callbacks.h"
#include "host/host_services.h"
#include "host/host_string.h"
#include "support/guard.h"
#include "support/module.h"

void ReleaseRuntimeTlsIndexes();  // runtime_tls.cpp

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) PluginInstance = instance;
  // At process exit (reserved not null) nothing needs giving back.
  if (reason == DLL_PROCESS_DETACH && !reserved) ReleaseRuntimeTlsIndexes();
  return TRUE;
}

extern "C" {

void HOSTCALL nbInitPlugIn(int32_t hostValue, char** title, char** author, char** description) {
  GuardedCall([&] {
    HostValue = hostValue;
    SetHostString(*title, L"zkTamrelDesk");
    SetHostString(*author, L"tamrelDesk");
    SetHostString(*description, L"WebView2-based HTML, JavaScript and web-component host for Rectangle objects.");
  });
}

void HOSTCALL nbRegisterPlugIn(AddActionProc addAction, AddFileProc addFile, uint32_t third,
                               SetVariableProc setVariable) {
  GuardedCall([&] {
    HostThirdValue = third;
    SetVariableCallback = setVariable;
    AddActionCallback = addAction;
    nbAddFile = addFile;
    RegisterWebView2LoaderDependency();
    if (AddActionCallback) RegisterCatalogue();
  });
}

void HOSTCALL nbRegisterScriptProcessor(RunScriptProc runScript) {
  GuardedCall([&] { RunScriptCallback = runScript; });
}

void HOSTCALL nbRegisterInterfaceAccess(InterfaceAccessProc interfaceAccess) {
  GuardedCall([&] { InterfaceAccessCallback = interfaceAccess; });
}

void HOSTCALL nbMessage(int32_t code) {
  GuardedCall([&] {
    if (code != 2) return;
    DestroyAllBrowserHosts();
    // What the plug-in keeps between calls goes back with the browsers.
    ReleaseKeptArguments();
    ReleaseKeptHostMemory();
  });
}

bool HOSTCALL nbEditAction(int32_t id, char** params, int32_t highIndex) {
  return Guarded(false, [&] { return RunActionEditor(id, params, highIndex); });
}

// ExecuteAction is this edge's guard: it reports what it catches to "[LastError]".
int32_t HOSTCALL nbExecAction(int32_t id, const char* const* params) { return ExecuteAction(id, params); }

}  // extern "C"
