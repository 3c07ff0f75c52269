#include "dependencies/webview2_loader.h"

void RegisterWebView2LoaderDependency() {}
