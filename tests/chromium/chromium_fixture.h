#pragma once
// Fixture of the tests on the real engine: the plug-in in the test host with the Chromium
// engine's WebView2Loader.dll found through the current directory (the loader's third
// candidate), as any host would find it beside the plug-in. One plug-in instance, one
// LOCALAPPDATA and so one Chromium serve the whole test program: a keeper browser host holds
// the browser process between the tests, and the program's end checks that nothing is left.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "testhost/test_env.h"
#include "testhost/test_host.h"

namespace chromiumtest {

// The Chromium engine's controls, from the WebView2Loader.dll the plug-in loaded.
namespace engine {
int LiveObjects();
int PageCount();
int BrowserCount();
HRESULT CapturePng(HWND window, const std::wstring& path);
}  // namespace engine

// Unix processes whose command line carries --user-data-dir=<this folder>, read from /proc.
int ChromiumProcesses(const std::wstring& userDataFolder);
// Ends the browser process of that folder (the one without a --type= argument) with the Unix
// kill command, as a crash would end it; false when there is none.
bool KillBrowserProcess(const std::wstring& userDataFolder);
std::wstring EngineFolder();  // bin\chromium-engine\ beside the test program
// A Windows path for a Unix path (e.g. a folder named by the test environment).
std::wstring WindowsPathOf(const std::string& unixPath);

// A JSON string literal, as JSON.stringify writes it.
std::wstring JsonString(const std::wstring& text);

// One browser event as the host received it: its name and details.
struct Event {
  std::string name;
  std::string details;
  bool operator==(const Event& o) const { return name == o.name && details == o.details; }
};
std::ostream& operator<<(std::ostream& out, const Event& e);

// The plug-in, its LOCALAPPDATA and Rectangles, shared by the tests of one suite.
struct Session {
  std::unique_ptr<testhost::ScopedLocalAppData> appData;
  std::unique_ptr<testhost::TestHost> host;
  std::map<std::string, std::unique_ptr<testhost::RectangleWindow>> rectangles;
  std::wstring savedDirectory;
  std::wstring UserDataFolder() const { return appData->dir() + L"tamrelDesk\\WebView2"; }
};

class ChromiumTest : public ::testing::Test {
 public:
  // The session lives for the whole test program (a global test environment starts and ends
  // it); each suite makes sure that the keeper's browser host exists, so that one browser
  // process serves every suite that does not end it on purpose.
  static void StartSession();
  // Message 2, then the check that no engine object and no Chromium process is left.
  static void EndSession();
  static void EnsureKeeper();
  static void DropKeeper();
  static void SetUpTestSuite() { EnsureKeeper(); }

 protected:
  void TearDown() override;  // destroys the browser hosts the test created

  testhost::TestHost& Host() { return *session_->host; }
  Session& Current() { return *session_; }

  HWND AddRectangle(const std::string& name, int width = 640, int height = 400);
  // Creates the host of a Rectangle and waits until it is ready and its page scripts are
  // registered. Every event of the host goes to the variable EventVariable(name).
  void ReadyHost(const std::string& name, int width = 640, int height = 400);
  static std::string EventVariable(const std::string& name) { return "[ev_" + name + "]"; }
  // Waits until the host reports being ready (GetInfo WEBVIEW_CREATED succeeds).
  bool WaitReady(const std::string& name);

  int32_t Exec(int32_t id, const std::vector<std::string>& params) { return Host().Exec(id, params); }
  int32_t ExecW(int32_t id, const std::vector<std::wstring>& params) { return Host().ExecW(id, params); }

  // Runs a script through ExecuteJS and waits for its JSON result.
  std::string Eval(const std::string& name, const std::string& script);
  // Host calls from now on are read from this mark.
  size_t Mark() const { return session_->host->calls.size(); }
  // Events of a host since `mark`, in order.
  std::vector<Event> EventsSince(const std::string& name, size_t mark) const;
  std::vector<std::string> EventNamesSince(const std::string& name, size_t mark) const;
  // Waits until the host has received `count` events named `event` since `mark`.
  bool WaitForEvent(const std::string& name, const std::string& event, size_t mark, int count = 1);
  // Runs `start` and waits for the navigation it causes to complete.
  bool Navigated(const std::string& name, const std::function<void()>& start);
  bool NavigateTo(const std::string& name, const std::wstring& url) {
    return Navigated(name, [&] { ExecW(2, {testhost::Widen(name), url}); });
  }
  // Values written to a variable since `mark`, in order.
  std::vector<std::string> SetsSince(const std::string& variable, size_t mark) const;
  std::vector<std::string> ScriptRunsSince(size_t mark) const;
  std::string Info(const std::string& name, const std::string& word);

  // A file URL as the plug-in builds it for a local path (Windows form).
  static std::wstring FileUrl(const std::wstring& path);

  static Session* session_;
  std::vector<std::string> created_;  // Rectangles whose hosts this test created
};

// A fresh folder of the test, removed with it.
class TempFolder {
 public:
  TempFolder() : path_(testhost::MakeTempDir(L"chromium")) {}
  ~TempFolder() { testhost::RemoveTree(path_); }
  const std::wstring& path() const { return path_; }  // with trailing backslash
  std::wstring Write(const std::wstring& relative, const std::string& utf8) const;
 private:
  std::wstring path_;
};

}  // namespace chromiumtest
