#include "actions/action_handlers.h"
#include "host/not_available.h"

bool LoadLocalHTMLFile(const std::wstring&, const std::wstring&) { ActionNotAvailable(L"zkTamrelLoadFile"); }
bool LoadLocalWebApp(const std::wstring&, const std::wstring&, const std::wstring&) { ActionNotAvailable(L"zkTamrelLoadFolder"); }
