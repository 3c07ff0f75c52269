// Registration of single asset files and asset folders with the host, under "WebAssets".
#include "support/ansi_path.h"
#include "publishing/asset_listing.h"
#include "support/file_system.h"
#include "publishing/web_assets.h"
#include "support/diagnostic_log.h"
#include "host/host_callbacks.h"
#include "host/host_services.h"

bool RegisterAssetFile(const std::wstring& path) {
  if (!FileExistsAt(path)) {
    WriteAssetLog(L"Missing dependency: " + path);
    return false;
  }
  if (!HostServices().CanAddFiles()) {
    WriteAssetLog(L"nbAddFile callback unavailable.");
    return false;
  }
  if (!RepresentableInAnsi(path)) {
    WriteAssetLog(L"Cannot register a path outside the ANSI code page: " + path);
    return false;
  }
  AddPublicationFile(path);
  WriteAssetLog(L"Registered publication dependency: " + path);
  return true;
}

bool RegisterAssetFolder(const std::wstring& folder, const std::wstring& pattern, bool allSubfolders, int& counter) {
  if (!DirectoryExistsAt(folder)) {
    WriteAssetLog(L"Asset folder missing: " + folder);
    return false;
  }
  bool ok = true;
  for (const auto& file : ListMatchingFiles(folder, pattern, allSubfolders)) {
    if (RegisterAssetFile(file))
      ++counter;
    else
      ok = false;
  }
  return ok;
}
