// Registers WebView2Loader.dll with the host as a file every published publication carries.
// It only looks for the file: the loader state is not touched and nothing is loaded.
#include <windows.h>
#include "publishing/loader_registration.h"
#include "host/host_callbacks.h"
#include "support/ansi_path.h"
#include "support/diagnostic_log.h"
#include "support/file_system.h"
#include "support/module.h"

void RegisterWebView2LoaderDependency() {
  // Beside the plug-in, then its "Dependencies" folder (kept for publishing only; the
  // run-time search never looks there), then beside the host executable.
  std::wstring path = PluginDirectory() + L"WebView2Loader.dll";
  if (!FileExistsAt(path)) path = PluginDirectory() + L"Dependencies\\WebView2Loader.dll";
  if (!FileExistsAt(path)) path = HostExecutableDirectory() + L"WebView2Loader.dll";
  if (!FileExistsAt(path)) {
    WriteDependencyLog(L"Cannot register WebView2Loader dependency; file not found: " + path);
    return;
  }
  if (!RepresentableInAnsi(path)) {
    WriteDependencyLog(L"Cannot register WebView2Loader dependency; path is outside the ANSI code page: " + path);
    return;
  }
  if (AddPublicationFile(path))
    WriteDependencyLog(L"Registered NeoBook publication dependency: " + path);
  else
    WriteDependencyLog(L"nbAddFile callback is not assigned; dependency was not registered.");
}
