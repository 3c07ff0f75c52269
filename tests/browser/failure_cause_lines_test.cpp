// A creation failure that the log would show only as an HRESULT gets one more line, right after
// the failure's own lines, with the cause in words; "[LastError]" keeps its message.
#include "browser_fixture.h"
#include "import_patch.h"

using namespace browsertest;

namespace {
std::string FailureMessage(const testhost::ScopedLocalAppData& appData, HRESULT hr) {
  return "WebView2 initialization failed (HRESULT 0x" + Hex8(static_cast<uint32_t>(hr)) + "). See " +
         testhost::Utf8(appData.LogPath()) + " for diagnostics.";
}

// The log line right after `text`, or "(none)".
std::string LineAfter(const std::vector<std::string>& texts, const std::string& text) {
  for (size_t i = 0; i + 1 < texts.size(); ++i)
    if (texts[i] == text) return texts[i + 1];
  return "(none)";
}

struct CauseCase {
  const char* label;
  EngineStep step;
  HRESULT hr;
  const char* cause;  // a phrase the extra line holds; null: no extra line
};

class FailureCause : public BrowserTest, public ::testing::WithParamInterface<CauseCase> {};
}  // namespace

TEST_P(FailureCause, FollowsTheFailureLines) {
  const CauseCase& c = GetParam();
  AddRectangle("Rect1");
  engine::FailStep(c.step, c.hr);
  ASSERT_EQ(Create(L"Rect1"), 1);
  ASSERT_TRUE(testhost::PumpUntil([&] { return host->HasVar("[LastError]"); }));
  DrainPostedMessages();

  const std::string message = FailureMessage(*appData, c.hr);
  EXPECT_EQ(host->SetsOf("[LastError]"), std::vector<std::string>{message});
  const auto texts = WithoutDependencyLines(LogTexts());
  ASSERT_TRUE(
      InOrder(texts, {"OnCreateWebViewCompleted callback received: HRESULT=0x" + Hex8(static_cast<uint32_t>(c.hr)),
                      "ERROR: " + message}));
  const std::string next = LineAfter(texts, "ERROR: " + message);
  if (c.cause) {
    EXPECT_NE(next.find(c.cause), std::string::npos) << next;
  } else {
    EXPECT_EQ(next, "(none)");  // the failure's lines are the last the creation wrote
  }
}

INSTANTIATE_TEST_SUITE_P(
    Browser, FailureCause,
    ::testing::Values(CauseCase{"NoRuntimeFromTheLoader", ENGINE_STEP_ENVIRONMENT_COMPLETION, HRESULT(0x80070002),
                                "No WebView2 Runtime is installed, or none as new as 137.0.3296.44"},
                      CauseCase{"NoRuntimeAtOnce", ENGINE_STEP_CREATE_ENVIRONMENT_CALL, HRESULT(0x80070002),
                                "install or update the Microsoft Edge WebView2 Runtime"},
                      CauseCase{"FolderInUseWithOtherOptions", ENGINE_STEP_CONTROLLER_COMPLETION, HRESULT(0x8007139F),
                                "in use by another process that started its browser with other options"},
                      CauseCase{"FolderAccessDenied", ENGINE_STEP_CREATE_ENVIRONMENT_CALL, HRESULT(0x80070005),
                                "Access to the WebView2 user-data folder was denied"},
                      CauseCase{"AbortSaysNothingMore", ENGINE_STEP_CONTROLLER_COMPLETION, HRESULT(0x80004004),
                                nullptr}),
    [](const ::testing::TestParamInfo<CauseCase>& info) { return std::string(info.param.label); });

namespace {
using LoadLibraryWFn = HMODULE(WINAPI*)(LPCWSTR);
LoadLibraryWFn g_realLoadLibrary = nullptr;

bool EndsWithLoaderName(LPCWSTR name) {
  static const wchar_t kName[] = L"\\WebView2Loader.dll";
  const size_t length = name ? wcslen(name) : 0, suffix = wcslen(kName);
  return length >= suffix && _wcsicmp(name + length - suffix, kName) == 0;
}

// What Windows answers a 32-bit process that loads a 64-bit DLL.
HMODULE WINAPI LoadLibraryOfOtherBitness(LPCWSTR name) {
  if (EndsWithLoaderName(name)) {
    SetLastError(ERROR_BAD_EXE_FORMAT);
    return nullptr;
  }
  return g_realLoadLibrary(name);
}
}  // namespace

TEST_F(BrowserTest, LoaderOfTheWrongBitnessIsNamedAndNoEngineMeansModuleNotFoundInWords) {
  testhost::ScopedTempDir folder(L"badloader");
  ASSERT_TRUE(testhost::WriteFileBytes(folder.path() + L"WebView2Loader.dll", "MZ"));
  ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));  // TearDown goes back
  g_realLoadLibrary = reinterpret_cast<LoadLibraryWFn>(
      testhost::PatchImport(host->module(), "LoadLibraryW", reinterpret_cast<void*>(&LoadLibraryOfOtherBitness)));
  ASSERT_NE(g_realLoadLibrary, nullptr);

  AddRectangle("Rect1");
  const int32_t created = Create(L"Rect1");
  testhost::PatchImport(host->module(), "LoadLibraryW", reinterpret_cast<void*>(g_realLoadLibrary));
  ASSERT_EQ(created, 1);

  const auto texts = LogTexts();
  const std::string attempt =
      "NeoBookDependency | Attempting LoadLibrary: " + testhost::Utf8(folder.path()) + "WebView2Loader.dll";
  EXPECT_TRUE(InOrder(texts, {attempt, "NeoBookDependency | LoadLibrary failed; Win32 error=193",
                              "NeoBookDependency | WebView2Loader.dll is not the 32-bit (x86) build"}));
  EXPECT_EQ(LineAfter(texts, "NeoBookDependency | LoadLibrary failed; Win32 error=193"),
            "NeoBookDependency | WebView2Loader.dll is not the 32-bit (x86) build");

  // With no runtime registered either, the failure stays 0x8007007E, now with its cause.
  const std::string message = FailureMessage(*appData, HRESULT(0x8007007E));
  EXPECT_EQ(LastError(), message);
  const std::string next = LineAfter(WithoutDependencyLines(texts), "ERROR: " + message);
  EXPECT_EQ(next.rfind("Neither WebView2Loader.dll nor a usable installed WebView2 Runtime was found", 0), 0u) << next;
}
