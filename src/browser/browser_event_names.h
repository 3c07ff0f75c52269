#pragma once
// The six browser events that reach the host, under the names the host sees; the event
// action (zkTamrelOnEvent) accepts exactly these.
inline constexpr wchar_t kNavigationStartingEvent[] = L"NavigationStarting";
inline constexpr wchar_t kNavigationCompletedEvent[] = L"NavigationCompleted";
inline constexpr wchar_t kContentLoadingEvent[] = L"ContentLoading";
inline constexpr wchar_t kTitleChangedEvent[] = L"TitleChanged";
inline constexpr wchar_t kSourceChangedEvent[] = L"SourceChanged";
inline constexpr wchar_t kProcessFailedEvent[] = L"ProcessFailed";

inline constexpr const wchar_t* kBrowserEventNames[] = {kNavigationStartingEvent, kNavigationCompletedEvent,
                                                        kContentLoadingEvent,     kTitleChangedEvent,
                                                        kSourceChangedEvent,      kProcessFailedEvent};
