#include "actions/action_handlers.h"
#include "host/not_available.h"

bool CreateBrowserHost(const std::wstring&, const std::wstring&) { ActionNotAvailable(L"zkTamrelCreate"); }
bool NavigateBrowser(const std::wstring&, const std::wstring&) { ActionNotAvailable(L"zkTamrelNavigate"); }
bool SetBrowserHTML(const std::wstring&, const std::wstring&) { ActionNotAvailable(L"zkTamrelSetHTML"); }
bool ControlBrowser(const std::wstring&, const std::wstring&) { ActionNotAvailable(L"zkTamrelControl"); }
