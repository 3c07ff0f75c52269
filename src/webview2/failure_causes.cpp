#include "webview2/failure_causes.h"
#include <iterator>
#include "support/text.h"
#include "webview2/environment_options.h"

namespace {
struct TCause {
  uint32_t code;
  const char* text;  // ASCII, widened when used: half the size in the plug-in
};

// The documented results of environment creation that point at something outside the plug-in.
const TCause kCreationCauses[] = {
    {0x8007007E,
     "Neither WebView2Loader.dll nor a usable installed WebView2 Runtime was found: install the WebView2 "
     "Runtime, or place the 32-bit WebView2Loader.dll beside the plug-in; the NeoBookDependency lines "
     "above show where it looked."},
    {0x8007139F,
     "The WebView2 user-data folder is in use by another process that started its browser with other options: "
     "close that program, then try again."},
    {0x80070005,
     "Access to the WebView2 user-data folder was denied: the user must be allowed to write the folder "
     "named in the \"WebView2 UserDataFolder=\" line above."},
};

std::wstring Find(const TCause* begin, const TCause* end, uint32_t code) {
  for (const TCause* cause = begin; cause != end; ++cause)
    if (cause->code == code) return AnsiToWide(cause->text);
  return std::wstring();
}
}  // namespace

std::wstring ExplainFailure(TFailureContext context, uint32_t code) {
  switch (context) {
    case TFailureContext::EnvironmentCreation: {
      // The loader gives the same answer when no runtime is installed and when none is new enough.
      if (code == 0x80070002)
        return AnsiToWide("No WebView2 Runtime is installed, or none as new as ") + kTargetCompatibleBrowserVersion +
               AnsiToWide(
                   ", the version this plug-in targets: install or update the Microsoft Edge WebView2 Runtime "
                   "(Evergreen).");
      return Find(std::begin(kCreationCauses), std::end(kCreationCauses), code);
    }
    case TFailureContext::LoaderLibrary:
      if (code == ERROR_BAD_EXE_FORMAT) return L"WebView2Loader.dll is not the 32-bit (x86) build";
      break;
    case TFailureContext::RuntimeLibrary:
      if (code == ERROR_BAD_EXE_FORMAT) return AnsiToWide("EmbeddedBrowserWebView.dll is not the 32-bit (x86) build");
      break;
  }
  return std::wstring();
}
