#include "chromium_fixture.h"

#include <ostream>

namespace chromiumtest {

namespace {

template <typename F>
F EngineExport(const char* name) {
  // The plug-in loads the engine on its first browser; the same file is loaded here before that.
  HMODULE module = GetModuleHandleW(L"WebView2Loader.dll");
  if (!module) module = LoadLibraryW((EngineFolder() + L"WebView2Loader.dll").c_str());
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

constexpr DWORD kWaitMs = 20000;
constexpr char kKeeper[] = "Keeper";

std::string ReadWhole(const std::wstring& path) { return testhost::ReadFileBytes(path); }

// Owners of the handles the helpers below open.
struct FindHandle {
  HANDLE h;
  ~FindHandle() {
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
  }
};
struct KernelHandle {
  HANDLE h;
  ~KernelHandle() {
    if (h) CloseHandle(h);
  }
};

}  // namespace

namespace engine {
int LiveObjects() {
  auto f = EngineExport<int32_t(__cdecl*)()>("ChromiumEngine_LiveObjects");
  return f ? f() : -1;
}
int PageCount() {
  auto f = EngineExport<int32_t(__cdecl*)()>("ChromiumEngine_PageCount");
  return f ? f() : -1;
}
int BrowserCount() {
  auto f = EngineExport<int32_t(__cdecl*)()>("ChromiumEngine_BrowserCount");
  return f ? f() : -1;
}
HRESULT CapturePng(HWND window, const std::wstring& path) {
  auto f = EngineExport<HRESULT(__cdecl*)(HWND, const wchar_t*)>("ChromiumEngine_CapturePng");
  return f ? f(window, path.c_str()) : E_NOINTERFACE;
}
}  // namespace engine

namespace {
std::string UserDataArgument(const std::wstring& userDataFolder) {
  using UnixName = char*(__cdecl*)(const wchar_t*);
  static const auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return std::string();
  char* unix = unixName(userDataFolder.c_str());
  if (!unix) return std::string();
  std::string argument = std::string("--user-data-dir=") + unix;
  HeapFree(GetProcessHeap(), 0, unix);
  while (argument.size() > 1 && argument.back() == '/') argument.pop_back();
  return argument;
}

// Process ids and NUL-separated command lines of the processes started with that argument.
std::vector<std::pair<std::wstring, std::string>> ProcessesWith(const std::string& argument) {
  std::vector<std::pair<std::wstring, std::string>> found;
  const std::wstring proc = WindowsPathOf("/proc");
  WIN32_FIND_DATAW entry;
  const FindHandle find{FindFirstFileW((proc + L"\\*").c_str(), &entry)};
  if (find.h == INVALID_HANDLE_VALUE) return found;
  do {
    const std::wstring pid = entry.cFileName;
    if (pid.empty() || pid.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    const std::string cmdline = ReadWhole(proc + L"\\" + pid + L"\\cmdline") + '\0';
    if (cmdline.find('\0' + argument + '\0') != std::string::npos) found.emplace_back(pid, cmdline);
  } while (FindNextFileW(find.h, &entry));
  return found;
}
}  // namespace

int ChromiumProcesses(const std::wstring& userDataFolder) {
  const std::string argument = UserDataArgument(userDataFolder);
  return argument.empty() ? -1 : static_cast<int>(ProcessesWith(argument).size());
}

bool KillBrowserProcess(const std::wstring& userDataFolder) {
  for (const auto& process : ProcessesWith(UserDataArgument(userDataFolder))) {
    if (process.second.find("--type=") != std::string::npos) continue;
    std::wstring command = L"\"" + WindowsPathOf("/bin/kill") + L"\" -KILL " + process.first;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
      return false;
    const KernelHandle threadHandle{info.hThread}, processHandle{info.hProcess};
    return true;
  }
  return false;
}

std::wstring WindowsPathOf(const std::string& unixPath) {
  using DosName = wchar_t*(__cdecl*)(const char*);
  static const auto dosName = reinterpret_cast<DosName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (!dosName) return std::wstring();
  wchar_t* dos = dosName(unixPath.c_str());
  if (!dos) return std::wstring();
  std::wstring out = dos;
  HeapFree(GetProcessHeap(), 0, dos);
  return out;
}

std::wstring JsonString(const std::wstring& text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    if (c == L'"' || c == L'\\') out += L'\\';
    if (c == L'\n') {
      out += L"\\n";
      continue;
    }
    out += c;
  }
  return out + L"\"";
}

std::wstring EngineFolder() { return testhost::ExeDirectory() + L"chromium-engine\\"; }

std::ostream& operator<<(std::ostream& out, const Event& e) { return out << e.name << " | " << e.details; }

std::wstring TempFolder::Write(const std::wstring& relative, const std::string& utf8) const {
  const std::wstring full = path_ + relative;
  for (size_t at = full.find(L'\\', path_.size()); at != std::wstring::npos; at = full.find(L'\\', at + 1))
    CreateDirectoryW(full.substr(0, at).c_str(), nullptr);
  testhost::WriteFileBytes(full, utf8);
  return full;
}

// ---- session ------------------------------------------------------------------------------------

Session* ChromiumTest::session_ = nullptr;

void ChromiumTest::StartSession() {
  session_ = new Session();
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  session_->savedDirectory = current;
  SetCurrentDirectoryW(EngineFolder().c_str());
  session_->appData.reset(new testhost::ScopedLocalAppData());
  session_->host.reset(new testhost::TestHost());
  session_->host->Start();
}

void ChromiumTest::EnsureKeeper() {
  if (!session_ || session_->host->Exec(9, {kKeeper, "WEBVIEW_CREATED", "[keeper]"}) == 1) return;
  auto& window = session_->rectangles[kKeeper];
  window.reset(new testhost::RectangleWindow(200, 100));
  session_->host->rectangles[kKeeper] = window->hwnd();
  session_->host->Exec(1, {kKeeper, ""});
  testhost::PumpUntil([] { return session_->host->Exec(9, {kKeeper, "WEBVIEW_CREATED", "[keeper]"}) == 1; }, kWaitMs);
}

void ChromiumTest::DropKeeper() {
  if (!session_) return;
  session_->host->Exec(5, {kKeeper});
  testhost::PumpFor(20);
}

void ChromiumTest::EndSession() {
  if (!session_) return;
  const std::wstring folder = session_->UserDataFolder();
  session_->host->Message(2);
  testhost::PumpFor(50);
  EXPECT_EQ(engine::LiveObjects(), 0) << "engine objects outlived run-mode cleanup";
  EXPECT_EQ(ChromiumProcesses(folder), 0) << "a Chromium process outlived its environment";
  session_->host.reset();
  session_->rectangles.clear();
  session_->appData.reset();
  SetCurrentDirectoryW(session_->savedDirectory.c_str());
  delete session_;
  session_ = nullptr;
}

namespace {
class SessionEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ChromiumTest::StartSession(); }
  void TearDown() override { ChromiumTest::EndSession(); }
};
[[maybe_unused]] ::testing::Environment* const g_session = ::testing::AddGlobalTestEnvironment(new SessionEnvironment());
}  // namespace

void ChromiumTest::TearDown() {
  for (const std::string& name : created_) Host().Exec(5, {name});
  for (const std::string& name : created_) {
    session_->host->rectangles.erase(name);
    session_->rectangles.erase(name);
  }
  testhost::PumpFor(10);
}

HWND ChromiumTest::AddRectangle(const std::string& name, int width, int height) {
  auto& window = session_->rectangles[name];
  window.reset(new testhost::RectangleWindow(width, height));
  Host().rectangles[name] = window->hwnd();
  return window->hwnd();
}

bool ChromiumTest::WaitReady(const std::string& name) {
  return testhost::PumpUntil([&] { return Host().Exec(9, {name, "WEBVIEW_CREATED", "[ready]"}) == 1; }, kWaitMs);
}

void ChromiumTest::ReadyHost(const std::string& name, int width, int height) {
  AddRectangle(name, width, height);
  created_.push_back(name);
  ASSERT_EQ(Exec(1, {name, ""}), 1) << Host().Var("[LastError]");
  ASSERT_TRUE(WaitReady(name)) << "no ready browser for " << name << ": " << Host().Var("[LastError]");
  ASSERT_EQ(Exec(8, {name, "NavigationCompleted", EventVariable(name), ""}), 1);
  // A script round trip: the page-script registration posted with readiness has arrived by then.
  ASSERT_EQ(Eval(name, "1"), "1");
}

std::string ChromiumTest::Eval(const std::string& name, const std::string& script) {
  // Variables stay set for the whole suite's host: every result gets a name of its own.
  static int counter = 0;
  const std::string variable = "[eval" + std::to_string(++counter) + "]";
  if (Exec(4, {name, script, variable}) != 1) return "(ExecuteJS failed: " + Host().Var("[LastError]") + ")";
  if (!testhost::PumpUntil([&] { return Host().HasVar(variable); }, kWaitMs)) return "(no result)";
  return Host().Var(variable);
}

std::vector<Event> ChromiumTest::EventsSince(const std::string& name, size_t mark) const {
  std::vector<Event> events;
  const std::string variable = EventVariable(name);
  std::string lastName;
  const auto& calls = session_->host->calls;
  for (size_t i = mark; i < calls.size(); ++i) {
    if (calls[i].kind != testhost::CallKind::SetVariable) continue;
    if (calls[i].text == "[WebEventName]") lastName = calls[i].text2;
    if (calls[i].text == variable) events.push_back(Event{lastName, calls[i].text2});
  }
  return events;
}

std::vector<std::string> ChromiumTest::EventNamesSince(const std::string& name, size_t mark) const {
  std::vector<std::string> names;
  for (const Event& e : EventsSince(name, mark)) names.push_back(e.name);
  return names;
}

bool ChromiumTest::WaitForEvent(const std::string& name, const std::string& event, size_t mark, int count) {
  return testhost::PumpUntil(
      [&] {
        int seen = 0;
        for (const Event& e : EventsSince(name, mark)) seen += e.name == event;
        return seen >= count;
      },
      kWaitMs);
}

bool ChromiumTest::Navigated(const std::string& name, const std::function<void()>& start) {
  const size_t mark = Mark();
  start();
  return WaitForEvent(name, "NavigationCompleted", mark);
}

std::vector<std::string> ChromiumTest::SetsSince(const std::string& variable, size_t mark) const {
  std::vector<std::string> values;
  const auto& calls = session_->host->calls;
  for (size_t i = mark; i < calls.size(); ++i)
    if (calls[i].kind == testhost::CallKind::SetVariable && calls[i].text == variable) values.push_back(calls[i].text2);
  return values;
}

std::vector<std::string> ChromiumTest::ScriptRunsSince(size_t mark) const {
  std::vector<std::string> runs;
  const auto& calls = session_->host->calls;
  for (size_t i = mark; i < calls.size(); ++i)
    if (calls[i].kind == testhost::CallKind::RunScript) runs.push_back(calls[i].text);
  return runs;
}

std::string ChromiumTest::Info(const std::string& name, const std::string& word) {
  const std::string variable = "[info]";
  if (Exec(9, {name, word, variable}) != 1) return "(GetInfo failed: " + Host().Var("[LastError]") + ")";
  return Host().Var(variable);
}

std::wstring ChromiumTest::FileUrl(const std::wstring& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::wstring out = L"file:///";
  for (const char c : testhost::Utf8(path)) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b == '\\') {
      out += L'/';
    } else if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' || b == '_' ||
               b == '.' || b == '~' || b == '/' || b == ':') {
      out += static_cast<wchar_t>(b);
    } else {
      out += L'%';
      out += static_cast<wchar_t>(kHex[b >> 4]);
      out += static_cast<wchar_t>(kHex[b & 15]);
    }
  }
  return out;
}

}  // namespace chromiumtest
