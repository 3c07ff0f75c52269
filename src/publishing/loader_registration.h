#pragma once

// Registers WebView2Loader.dll with the host as a publication file (nbRegisterPlugIn).
void RegisterWebView2LoaderDependency();
