#include "browser/page_scripts.h"
#include "page_scripts.inc"

const std::wstring& BridgeScript() {
  static const std::wstring text(kBridgeScript);
  return text;
}

const std::wstring& ConsoleCaptureScript() {
  static const std::wstring text(kConsoleCaptureScript);
  return text;
}

const std::wstring& StoredPageScriptText() {
  static const std::wstring text = BridgeScript() + L"\n\r" + ConsoleCaptureScript();
  return text;
}
