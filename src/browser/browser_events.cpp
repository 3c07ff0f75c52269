// The browser host's event, page-message and script-result handlers.
#include "browser/tamrel_edge_browser.h"

void TTamrelEdgeBrowser::ForwardBrowserEvent(const std::wstring&, const std::wstring&) {
  // Filled in with the event forwarding to host variables and scripts.
}

void TTamrelEdgeBrowser::HandleWebMessageReceived(TEdgeBrowser*, ICoreWebView2WebMessageReceivedEventArgs*) {
  // Filled in with the bridge and console-capture message handling.
}

void TTamrelEdgeBrowser::HandleExecuteScriptCompleted(TEdgeBrowser*, HRESULT, LPCWSTR) {
  // Filled in with the script-result delivery.
}

void TTamrelEdgeBrowser::HandleNavigationStarting(TEdgeBrowser*, ICoreWebView2NavigationStartingEventArgs*) {
  // Filled in with the NavigationStarting forwarding.
}

void TTamrelEdgeBrowser::HandleNavigationCompleted(TEdgeBrowser*, ICoreWebView2NavigationCompletedEventArgs*) {
  // Filled in with the NavigationCompleted forwarding.
}

void TTamrelEdgeBrowser::HandleContentLoading(TEdgeBrowser*, ICoreWebView2ContentLoadingEventArgs*) {
  // Filled in with the ContentLoading forwarding.
}

void TTamrelEdgeBrowser::HandleDocumentTitleChanged(TEdgeBrowser*, IUnknown*) {
  // Filled in with the TitleChanged forwarding.
}

void TTamrelEdgeBrowser::HandleSourceChanged(TEdgeBrowser*, ICoreWebView2SourceChangedEventArgs*) {
  // Filled in with the SourceChanged forwarding.
}

void TTamrelEdgeBrowser::HandleProcessFailed(TEdgeBrowser*, ICoreWebView2ProcessFailedEventArgs*) {
  // Filled in with the ProcessFailed forwarding.
}
