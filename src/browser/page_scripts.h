#pragma once
#include <string>

// The bridge script and the console-capture script injected into every document.
const std::wstring& BridgeScript();
const std::wstring& ConsoleCaptureScript();
// The text the browser host stores in its InitScript list: bridge, LF, CR, console capture.
const std::wstring& StoredPageScriptText();
