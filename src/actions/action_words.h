#pragma once
// The words the information and browser-control actions accept, in the order the editor
// offers them.
inline constexpr wchar_t kInfoURL[] = L"URL";
inline constexpr wchar_t kInfoTitle[] = L"TITLE";
inline constexpr wchar_t kInfoCanGoBack[] = L"CAN_GO_BACK";
inline constexpr wchar_t kInfoCanGoForward[] = L"CAN_GO_FORWARD";
inline constexpr wchar_t kInfoWebViewCreated[] = L"WEBVIEW_CREATED";
inline constexpr const wchar_t* kInformationKinds[] = {kInfoURL, kInfoTitle, kInfoCanGoBack, kInfoCanGoForward,
                                                       kInfoWebViewCreated};

inline constexpr wchar_t kCommandBack[] = L"BACK";
inline constexpr wchar_t kCommandForward[] = L"FORWARD";
inline constexpr wchar_t kCommandRefresh[] = L"REFRESH";
inline constexpr wchar_t kCommandStop[] = L"STOP";
inline constexpr const wchar_t* kBrowserCommands[] = {kCommandBack, kCommandForward, kCommandRefresh, kCommandStop};
