#pragma once
// A WebView2 Runtime registered in the test prefix's registry as its installer registers it
// (the EBWebView value of the runtime's ClientState key, 32-bit view), removed again when the
// holder goes, also when a failed assertion ends the test early.
#include <windows.h>
#include <string>

namespace testhost {

// The engine double placed as an installed runtime's version folder by the build:
// <exe dir>runtime\138.0.3351.48 (no trailing backslash), holding EBWebView\x86\EmbeddedBrowserWebView.dll.
std::wstring StandInRuntimeFolder();
std::wstring StandInRuntimeVersion();

class ScopedRuntimeRegistration {
 public:
  // root: HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER; folder: the value of EBWebView.
  ScopedRuntimeRegistration(HKEY root, const std::wstring& folder);
  ~ScopedRuntimeRegistration();
  ScopedRuntimeRegistration(const ScopedRuntimeRegistration&) = delete;
  ScopedRuntimeRegistration& operator=(const ScopedRuntimeRegistration&) = delete;
  bool ok() const { return ok_; }

 private:
  HKEY root_;
  bool createdVendorKey_ = false;  // SOFTWARE\Microsoft\EdgeUpdate did not exist before
  bool ok_ = false;
};

}  // namespace testhost
