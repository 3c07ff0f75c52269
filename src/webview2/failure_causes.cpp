#include "webview2/failure_causes.h"
#include <iterator>
#include "webview2/environment_options.h"

namespace {
struct TCause {
  uint32_t code;
  const wchar_t* text;
};

// The documented results of environment creation that point at something outside the plug-in.
const TCause kCreationCauses[] = {
    {0x8007007E,
     L"Neither WebView2Loader.dll nor a usable installed WebView2 Runtime was found: install the Microsoft Edge "
     L"WebView2 Runtime, or place the 32-bit WebView2Loader.dll beside the plug-in; the NeoBookDependency lines "
     L"above say where the plug-in looked."},
    {0x8007139F,
     L"The WebView2 user-data folder is in use by another process that started its browser with other options: "
     L"close the other program that shows WebView2 browsers from this folder, then try again."},
    {0x80070005,
     L"Access to the WebView2 user-data folder was denied: the user must be allowed to create and write the folder "
     L"named in the \"WebView2 UserDataFolder=\" line above."},
    {0x80070050, L"A file stands where the WebView2 user-data folder must be created: move or delete that file."},
    {0x8007064E,
     L"The WebView2 Runtime that this browser used was uninstalled or updated: restart the publication."},
    {0x800401F0, L"COM is not initialized on the host's thread: WebView2 needs a single-threaded apartment there."},
    {0x80010106,
     L"The host's thread is a multithreaded COM apartment: WebView2 needs a single-threaded apartment there."},
};

std::wstring Find(const TCause* begin, const TCause* end, uint32_t code) {
  for (const TCause* cause = begin; cause != end; ++cause)
    if (cause->code == code) return cause->text;
  return std::wstring();
}
}  // namespace

std::wstring ExplainFailure(TFailureContext context, uint32_t code) {
  switch (context) {
    case TFailureContext::EnvironmentCreation: {
      // The loader gives the same answer when no runtime is installed and when none is new enough.
      if (code == 0x80070002)
        return std::wstring(L"No WebView2 Runtime is installed, or none as new as ") + kTargetCompatibleBrowserVersion +
               L", the version this plug-in targets: install or update the Microsoft Edge WebView2 Runtime "
               L"(Evergreen).";
      return Find(std::begin(kCreationCauses), std::end(kCreationCauses), code);
    }
    case TFailureContext::LoaderLibrary:
      if (code == ERROR_BAD_EXE_FORMAT) return L"WebView2Loader.dll is not the 32-bit (x86) build";
      break;
    case TFailureContext::RuntimeLibrary:
      if (code == ERROR_BAD_EXE_FORMAT) return L"EmbeddedBrowserWebView.dll is not the 32-bit (x86) build";
      break;
  }
  return std::wstring();
}
