#include "publishing/folder_files.h"
#include <windows.h>
#include "support/ansi_path.h"
#include "support/diagnostic_log.h"
#include "support/file_system.h"
#include "support/directory_walk.h"
#include "host/host_callbacks.h"
#include "host/host_services.h"

namespace {
std::wstring FullPathOrSelf(const std::wstring& path) {
  const std::wstring full = FullPath(path);
  return full.empty() ? path : full;
}

// The host takes ANSI paths: one with characters outside the code page would arrive with
// substitutes and name no file, so it is left out (its short name would ship the file under
// a name the page does not use).
void Register(const std::wstring& path) {
  if (RepresentableInAnsi(path))
    AddPublicationFile(path);
  else
    WriteLog(L"Cannot register a path outside the ANSI code page: " + path);
}
}  // namespace

void RegisterFolderFiles(const std::wstring& folder) {
  if (!HostServices().CanAddFiles()) return;
  TWalkOptions options;
  options.order = TWalkOrder::woAsFound;
  options.unidentifiedLinks = TUnidentifiedLinks::ulWalk;
  WalkDirectory(folder, options, [](const std::wstring& path, const std::wstring&) { Register(FullPathOrSelf(path)); });
}
