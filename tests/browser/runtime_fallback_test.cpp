// A browser with no WebView2Loader.dll anywhere: the plug-in finds the installed runtime
// through the registry and creates the environment through the runtime's engine library (here
// the engine double under that library's name, in a version folder the build lays out).
#include "browser_fixture.h"
#include "runtime_registration.h"

using namespace browsertest;

namespace {
std::wstring EngineLibrary() {
  return testhost::StandInRuntimeFolder() + L"\\EBWebView\\x86\\EmbeddedBrowserWebView.dll";
}
std::string Dependency(const std::string& text) { return "NeoBookDependency | " + text; }
}  // namespace

TEST_F(BrowserTest, BecomesReadyThroughTheInstalledRuntimeWithNoLoaderAnywhere) {
  testhost::ScopedTempDir empty(L"noloader");
  ASSERT_TRUE(SetCurrentDirectoryW(empty.path().c_str()));  // TearDown goes back
  testhost::ScopedRuntimeRegistration registration(HKEY_CURRENT_USER, testhost::StandInRuntimeFolder());
  ASSERT_TRUE(registration.ok());
  EngineClient runtime(EngineLibrary());
  ASSERT_TRUE(runtime.ok()) << testhost::Utf8(EngineLibrary());
  runtime.Reset();

  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1", L"https://pending.example/"), 1);
  ASSERT_TRUE(
      testhost::PumpUntil([&] { return FindCall(runtime.Calls(), L"AddScriptToExecuteOnDocumentCreated") >= 0; }));
  testhost::PumpUntil([&] { return runtime.PendingDeliveries() == 0; });

  const std::wstring userData = appData->dir() + L"tamrelDesk\\WebView2";
  const auto calls = runtime.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0].name, L"CreateWebViewEnvironmentWithOptionsInternal");
  EXPECT_EQ(calls[0].args, L"true|0|" + userData);
  // The options object reached the engine as IUnknown and answered for its own interface.
  const EngineOptions options = runtime.LastOptions();
  EXPECT_TRUE(options.given);
  EXPECT_EQ(options.targetVersion, L"137.0.3296.44");
  const int navigate = FindCall(calls, L"Navigate");
  ASSERT_GE(navigate, 0);
  EXPECT_EQ(calls[static_cast<size_t>(navigate)].args, L"https://pending.example/");
  EXPECT_EQ(engine::Calls().size(), 0u) << "the loader double beside the tests was not used";

  EXPECT_FALSE(host->HasVar("[LastError]"));
  const std::string library = testhost::Utf8(EngineLibrary());
  EXPECT_TRUE(InOrder(
      LogTexts(),
      {Dependency("WebView2Loader.dll was not found. Checked plugin directory, host executable directory and "
                  "current directory."),
       Dependency("WebView2 Runtime registered at " + testhost::Utf8(testhost::StandInRuntimeFolder())),
       Dependency("WebView2 Runtime version " + testhost::Utf8(testhost::StandInRuntimeVersion())),
       Dependency("WebView2 Runtime engine loaded and entry resolved: " + library),
       Dependency("CreateWebViewEnvironmentWithOptionsInternal(checkRunningInstance=true, runtimeType=0) returned "
                  "0x00000000"),
       "OnCreateWebViewCompleted callback received: HRESULT=0x00000000", "WebView2 reports WebViewCreated=True"}));
  EXPECT_EQ(Control(L"Rect1", L"STOP"), 1);  // ready: commands reach the engine

  // The objects of the runtime's engine all go with the browser.
  EXPECT_EQ(Destroy(L"Rect1"), 1);
  testhost::PumpUntil([&] { return runtime.PendingDeliveries() == 0; });
  EXPECT_EQ(runtime.LiveObjects(), 0);
}
