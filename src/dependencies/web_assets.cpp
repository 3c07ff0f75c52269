#include "dependencies/web_assets.h"
#include "host/not_available.h"

bool PrepareWebAssets(const std::wstring&, const std::wstring&) { ActionNotAvailable(L"tamrelPrepareAssets"); }
