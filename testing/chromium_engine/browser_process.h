#pragma once
// One headless Chromium process per user-data folder, shared by every environment and page
// that uses the folder, as WebView2 shares one browser process per folder. It ends, through
// the protocol, when the last of them lets go; the destructor returns only once no process
// with that user-data folder is left.
#include <windows.h>

#include <memory>
#include <string>

#include "cdp_connection.h"

namespace chromium {

class BrowserProcess {
 public:
  // The browser of this folder, started when none runs; null on failure (*error says why).
  static std::shared_ptr<BrowserProcess> ForFolder(const std::wstring& userDataFolder,
                                                   const std::wstring& extraArguments, HRESULT* error);
  // The Unix path of the browser binary: TAMREL_CHROMIUM or /usr/lib/chromium/chromium.
  static std::string BinaryPath();
  // Running browser processes of this DLL.
  static int Running();

  ~BrowserProcess();
  BrowserProcess(const BrowserProcess&) = delete;
  BrowserProcess& operator=(const BrowserProcess&) = delete;

  CdpConnection& Cdp() { return *connection_; }
  const std::shared_ptr<CdpConnection>& Connection() const { return connection_; }
  const std::wstring& Version() const { return version_; }
  const std::string& UserDataDir() const { return userDataDir_; }

 private:
  BrowserProcess() = default;
  HRESULT Start(const std::wstring& userDataFolder, const std::wstring& extraArguments);

  std::string userDataDir_;  // Unix path
  std::shared_ptr<CdpConnection> connection_;
  std::wstring version_;
  bool started_ = false;
};

}  // namespace chromium
