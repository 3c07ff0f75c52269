// The causes in words behind the HRESULTs and Win32 errors of a failed start, and the version
// rules of the installed-runtime fallback.
#include <gtest/gtest.h>
#include "webview2/failure_causes.h"
#include "webview2/installed_runtime.h"
#include "support/text.h"

namespace {
struct CauseCase {
  TFailureContext context;
  uint32_t code;
  const char* phrase;  // a phrase the explanation holds; null: no explanation
};

std::string Utf8(const std::wstring& text) { return WideToUtf8(text); }
}  // namespace

TEST(FailureCauses, EachKnownCodeIsExplainedInItsOwnContextOnly) {
  const CauseCase cases[] = {
      {TFailureContext::EnvironmentCreation, 0x80070002,
       "No WebView2 Runtime is installed, or none as new as 137.0.3296.44, the version this plug-in targets"},
      {TFailureContext::EnvironmentCreation, 0x8007007E, "Neither WebView2Loader.dll nor a usable installed WebView2"},
      {TFailureContext::EnvironmentCreation, 0x8007139F,
       "user-data folder is in use by another process that started its browser with other options"},
      {TFailureContext::EnvironmentCreation, 0x80070005, "Access to the WebView2 user-data folder was denied"},
      {TFailureContext::LoaderLibrary, ERROR_BAD_EXE_FORMAT, "WebView2Loader.dll is not the 32-bit (x86) build"},
      {TFailureContext::RuntimeLibrary, ERROR_BAD_EXE_FORMAT,
       "EmbeddedBrowserWebView.dll is not the 32-bit (x86) build"},
      // Numbers that say nothing more, or belong to another context.
      {TFailureContext::EnvironmentCreation, 0x80004004, nullptr},
      {TFailureContext::EnvironmentCreation, 0x80004005, nullptr},
      {TFailureContext::EnvironmentCreation, 0x00000000, nullptr},
      {TFailureContext::EnvironmentCreation, ERROR_BAD_EXE_FORMAT, nullptr},
      {TFailureContext::EnvironmentCreation, 0x800700C1, nullptr},  // HRESULT of 193: not what LoadLibrary gives
      {TFailureContext::LoaderLibrary, 0x80070005, nullptr},
      {TFailureContext::LoaderLibrary, ERROR_MOD_NOT_FOUND, nullptr},
      {TFailureContext::RuntimeLibrary, 0x80070002, nullptr},
  };
  for (const CauseCase& c : cases) {
    const std::string text = Utf8(ExplainFailure(c.context, c.code));
    SCOPED_TRACE(testing::Message() << "context " << static_cast<int>(c.context) << ", code 0x" << std::hex << c.code);
    if (c.phrase)
      EXPECT_NE(text.find(c.phrase), std::string::npos) << text;
    else
      EXPECT_EQ(text, "");
  }
  // The wrong-bitness line is exactly this text.
  EXPECT_EQ(Utf8(ExplainFailure(TFailureContext::LoaderLibrary, ERROR_BAD_EXE_FORMAT)),
            "WebView2Loader.dll is not the 32-bit (x86) build");
}

TEST(RuntimeVersion, FolderNameAndBuildNumber) {
  const struct {
    const wchar_t* folder;
    const wchar_t* version;
    long build;
  } cases[] = {
      {L"C:\\Program Files (x86)\\Microsoft\\EdgeWebView\\Application\\138.0.3351.48", L"138.0.3351.48", 3351},
      {L"C:\\Runtime\\137.0.3296.44\\", L"137.0.3296.44", 3296},
      {L"C:/Runtime/120.0.2210.91", L"120.0.2210.91", 2210},
      {L"138.0.3351.48", L"138.0.3351.48", 3351},
      {L"C:\\Runtime\\Application", L"Application", -1},
      {L"C:\\Runtime\\138.0.3351", L"138.0.3351", -1},
      {L"C:\\Runtime\\138.0.3351.48.1", L"138.0.3351.48.1", -1},
      {L"C:\\Runtime\\138.0..48", L"138.0..48", -1},
      {L"C:\\Runtime\\138.0.33a1.48", L"138.0.33a1.48", -1},
      {L"C:\\Runtime\\138.0.-3351.48", L"138.0.-3351.48", -1},
      {L"", L"", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf8(c.folder));
    EXPECT_EQ(Utf8(RuntimeVersionOfFolder(c.folder)), Utf8(c.version));
    EXPECT_EQ(RuntimeBuildNumber(c.version), c.build);
  }
  // The lowest accepted build is the target version's: 137.0.3296.44.
  EXPECT_EQ(MinimumRuntimeBuild(), 3296);
}
