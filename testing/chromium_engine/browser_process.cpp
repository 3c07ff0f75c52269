#include "browser_process.h"

#include <map>
#include <vector>

#include "scoped_handle.h"
#include "text_utf8.h"
#include "unix_paths.h"

namespace chromium {
namespace {

constexpr char kDefaultBinary[] = "/usr/lib/chromium/chromium";
constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kEndTimeoutMs = 15000;

std::map<std::string, std::weak_ptr<BrowserProcess>>& Browsers() {
  static std::map<std::string, std::weak_ptr<BrowserProcess>> browsers;
  return browsers;
}

int g_running = 0;

// One argument of a command line as CreateProcess splits it (no argument here holds a quote).
std::wstring Quoted(const std::wstring& argument) {
  return argument.find_first_of(L" \t") == std::wstring::npos ? argument : L"\"" + argument + L"\"";
}

// "port\n/devtools/browser/<id>\n", written by the browser once it listens.
bool ParseActivePort(const std::string& text, int* port, std::string* path) {
  const size_t line = text.find('\n');
  if (line == std::string::npos) return false;
  std::string rest = text.substr(line + 1);
  while (!rest.empty() && (rest.back() == '\n' || rest.back() == '\r')) rest.pop_back();
  if (rest.compare(0, 1, "/") != 0) return false;
  *port = atoi(text.substr(0, line).c_str());
  *path = rest;
  return *port > 0;
}

std::vector<std::wstring> SplitArguments(const std::wstring& text) {
  std::vector<std::wstring> out;
  std::wstring current;
  for (wchar_t c : text) {
    if (c == L' ' || c == L'\t') {
      if (!current.empty()) out.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) out.push_back(current);
  return out;
}

}  // namespace

std::string BrowserProcess::BinaryPath() {
  char buf[4096];
  const DWORD n = GetEnvironmentVariableA("TAMREL_CHROMIUM", buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string(kDefaultBinary);
}

int BrowserProcess::Running() { return g_running; }

std::shared_ptr<BrowserProcess> BrowserProcess::ForFolder(const std::wstring& userDataFolder,
                                                          const std::wstring& extraArguments, HRESULT* error) {
  *error = S_OK;
  std::string unixFolder = UnixPath(userDataFolder);
  if (unixFolder.empty()) {
    *error = HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    return nullptr;
  }
  while (unixFolder.size() > 1 && unixFolder.back() == '/') unixFolder.pop_back();
  if (auto running = Browsers()[unixFolder].lock()) return running;
  std::shared_ptr<BrowserProcess> browser(new BrowserProcess());
  browser->userDataDir_ = unixFolder;
  *error = browser->Start(userDataFolder, extraArguments);
  if (FAILED(*error)) return nullptr;
  Browsers()[unixFolder] = browser;
  return browser;
}

HRESULT BrowserProcess::Start(const std::wstring& userDataFolder, const std::wstring& extraArguments) {
  const std::string binary = BinaryPath();
  const std::wstring binaryWindows = WindowsPath(binary);
  if (binaryWindows.empty() || GetFileAttributesW(binaryWindows.c_str()) == INVALID_FILE_ATTRIBUTES)
    return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

  std::wstring folder = userDataFolder;
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring portFile = folder + L"\\DevToolsActivePort";
  DeleteFileW(portFile.c_str());  // a stale file of an earlier run would name a dead port

  std::vector<std::wstring> arguments = {
      L"--headless=new", L"--remote-debugging-port=0", L"--user-data-dir=" + FromUtf8(userDataDir_),
      L"--no-first-run", L"--no-default-browser-check", L"--no-sandbox", L"--disable-gpu",
      L"--disable-background-networking", L"--disable-component-update", L"--disable-sync",
      L"--disable-extensions", L"--mute-audio", L"--password-store=basic", L"--use-mock-keychain",
      L"--hide-scrollbars", L"--log-level=3"};
  for (const std::wstring& extra : SplitArguments(extraArguments)) arguments.push_back(extra);
  arguments.push_back(L"about:blank");
  std::wstring commandLine = Quoted(binaryWindows);
  for (const std::wstring& argument : arguments) commandLine += L" " + Quoted(argument);

  // The browser's own output goes to a file of its profile, not to the host's console or
  // pipes (a reader of those would otherwise wait for the browser too).
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const ScopedHandle output(CreateFileW((folder + L"\\browser-output.log").c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (output.valid()) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = startup.hStdError = output.get();
  }
  PROCESS_INFORMATION info{};
  // Wine starts the Unix binary but gives no handle that could wait for it or end it: the
  // protocol's Browser.close ends it.
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, output.valid(), 0, nullptr, nullptr, &startup, &info))
    return HRESULT_FROM_WIN32(GetLastError());
  const ScopedHandle thread(info.hThread), process(info.hProcess);
  ++g_running;
  started_ = true;

  StartWinsock();  // while the browser starts
  int port = 0;
  std::string path;
  const DWORD start = GetTickCount();
  while (!ParseActivePort(ReadWholeFile(portFile), &port, &path)) {
    if (GetTickCount() - start > kStartTimeoutMs) return E_FAIL;  // the destructor ends what started
    Sleep(10);
  }
  connection_ = CdpConnection::Open(port, path);
  if (!connection_) return E_FAIL;
  const Json version = connection_->Call("Browser.getVersion", Json::object());
  version_ = FromUtf8(Text(Member(version, "result"), "product"));
  return S_OK;
}

BrowserProcess::~BrowserProcess() {
  auto& browsers = Browsers();
  auto it = browsers.find(userDataDir_);
  if (it != browsers.end() && it->second.expired()) browsers.erase(it);
  if (connection_) {
    connection_->Call("Browser.close", Json::object(), std::string(), kEndTimeoutMs);
    connection_->WaitClosed(kEndTimeoutMs);
  }
  // The browser's helpers leave shortly after it; nothing of this folder may outlive it.
  const std::string argument = "--user-data-dir=" + userDataDir_;
  const DWORD start = GetTickCount();
  while (CountProcessesWithArgument(argument) > 0 && GetTickCount() - start < kEndTimeoutMs) Sleep(10);
  if (started_) --g_running;
  connection_.reset();
}

}  // namespace chromium
