#include "loader_scenario.h"
#include <windows.h>
#include <gtest/gtest.h>

namespace {
std::wstring Fixtures() { return testhost::ExeDirectory() + L"fixtures\\"; }

std::wstring Folder(const std::wstring& path) {
  CreateDirectoryW(path.c_str(), nullptr);
  return path + L"\\";
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t pos; (pos = text.find('\n', start)) != std::string::npos; start = pos + 1)
    lines.push_back(text.substr(start, pos - start));
  return lines;
}
}  // namespace

std::string Narrow(const std::wstring& path) { return testhost::Utf8(path); }

LoaderScenario::LoaderScenario(const std::wstring& pluginFolderName) {
  root = testhost::MakeTempDir(L"loader");
  host = Folder(root + L"host");
  plugin = Folder(root + pluginFolderName);
  cwd = Folder(root + L"cwd");
  ready = CopyFileW((Fixtures() + L"loader_runner.exe").c_str(), (host + L"loader_runner.exe").c_str(), FALSE) &&
          CopyFileW(testhost::DefaultPluginPath().c_str(), PluginFile().c_str(), FALSE);
}

LoaderScenario::~LoaderScenario() { testhost::RemoveTree(root); }

void LoaderScenario::PlaceLoader(const std::wstring& folder, const char* kind) {
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring source = Fixtures() + L"fake_loader_" + testhost::Widen(kind) + L".dll";
  ASSERT_TRUE(CopyFileW(source.c_str(), (folder + L"WebView2Loader.dll").c_str(), FALSE));
}

std::wstring LoaderScenario::PlaceRuntime(const std::wstring& name, const char* fixture) {
  const std::wstring version = Folder(Folder(root + L"rt") + name);
  const std::wstring x86 = Folder(Folder(version + L"EBWebView") + L"x86");
  const std::wstring source = Fixtures() + testhost::Widen(fixture) + L".dll";
  EXPECT_TRUE(CopyFileW(source.c_str(), (x86 + L"EmbeddedBrowserWebView.dll").c_str(), FALSE));
  return version.substr(0, version.size() - 1);
}

std::vector<std::string> LoaderScenario::Run(const std::vector<std::wstring>& operations,
                                             const std::wstring& pluginPath, const std::wstring& currentDir) {
  if (!ready) {
    ADD_FAILURE() << "the scenario folders could not be laid out";
    return {};
  }
  const std::wstring results = root + L"results.txt";
  DeleteFileW(results.c_str());
  std::wstring command = L"\"" + host + L"loader_runner.exe\" \"" + pluginPath + L"\" \"" + results + L"\"";
  for (const auto& op : operations) command += L" \"" + op + L"\"";

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::vector<wchar_t> line(command.begin(), command.end());
  line.push_back(L'\0');
  // The child inherits this process's environment, the private LOCALAPPDATA included.
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, currentDir.c_str(), &startup,
                      &process)) {
    ADD_FAILURE() << "cannot start the runner, error " << GetLastError();
    return {};
  }
  const DWORD waited = WaitForSingleObject(process.hProcess, 120000);  // a hang guard only
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(waited, WAIT_OBJECT_0);
  EXPECT_EQ(exitCode, 0u) << "runner failed";
  return SplitLines(testhost::ReadFileBytes(results));
}

std::vector<std::string> LoaderScenario::DependencyLines() const {
  const std::string tag = "NeoBookDependency | ";
  std::vector<std::string> texts;
  for (const auto& line : appData_.LogLines()) {
    const size_t at = line.find(" | " + tag);
    if (at != std::string::npos) texts.push_back(line.substr(at + 3 + tag.size()));
  }
  return texts;
}
