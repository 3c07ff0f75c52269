#include "runtime_registration.h"
#include "test_env.h"

namespace testhost {
namespace {
const wchar_t kMicrosoft[] = L"SOFTWARE\\Microsoft";
const wchar_t kVendor[] = L"EdgeUpdate";
const wchar_t kClientState[] = L"SOFTWARE\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
const REGSAM kView = KEY_WOW64_32KEY;

bool KeyExists(HKEY root, const wchar_t* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_READ | kView, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}
}  // namespace

std::wstring StandInRuntimeVersion() { return L"138.0.3351.48"; }  // the folder testing/engine's build makes
std::wstring StandInRuntimeFolder() { return ExeDirectory() + L"runtime\\" + StandInRuntimeVersion(); }

ScopedRuntimeRegistration::ScopedRuntimeRegistration(HKEY root, const std::wstring& folder) : root_(root) {
  const std::wstring vendor = std::wstring(kMicrosoft) + L"\\" + kVendor;
  createdVendorKey_ = !KeyExists(root, vendor.c_str());
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, kClientState, 0, nullptr, 0, KEY_WRITE | kView, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  const DWORD bytes = static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t));
  ok_ = RegSetValueExW(key, L"EBWebView", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()), bytes) ==
        ERROR_SUCCESS;
  RegCloseKey(key);
}

ScopedRuntimeRegistration::~ScopedRuntimeRegistration() {
  // What this holder made goes: the whole vendor key when it made it, else the runtime's key.
  const wchar_t* parentPath = createdVendorKey_ ? kMicrosoft : L"SOFTWARE\\Microsoft\\EdgeUpdate\\ClientState";
  const wchar_t* child = createdVendorKey_ ? kVendor : L"{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
  HKEY parent = nullptr;
  if (RegOpenKeyExW(root_, parentPath, 0, KEY_ALL_ACCESS | kView, &parent) != ERROR_SUCCESS) return;
  RegDeleteTreeW(parent, child);
  RegCloseKey(parent);
}

}  // namespace testhost
