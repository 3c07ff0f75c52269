// The cdecl control exports of the double (declared in engine_control.h).
#include "engine_control.h"

#include <cstring>
#include <string>

#include "delivery_queue.h"
#include "engine_core.h"
#include "live_objects.h"

using engine::EngineCore;
using engine::NullableText;

namespace {

int32_t CopyText(const std::wstring& text, wchar_t* buf, int32_t cap) {
  if (buf && cap > 0) {
    const size_t n = text.size() < static_cast<size_t>(cap - 1) ? text.size() : static_cast<size_t>(cap - 1);
    memcpy(buf, text.data(), n * sizeof(wchar_t));
    buf[n] = L'\0';
  }
  return static_cast<int32_t>(text.size());
}

const engine::CallRecord* CallAt(int32_t index) {
  const auto& calls = EngineCore::Instance().Calls();
  if (index < 0 || index >= static_cast<int32_t>(calls.size())) return nullptr;
  return &calls[index];
}

}  // namespace

// The double's behaviour is its scripted core.
engine::EngineBehaviour& engine::Behaviour() { return EngineCore::Instance(); }

extern "C" {

void __cdecl Engine_Reset(void) { EngineCore::Instance().Reset(); }

void __cdecl Engine_FailStep(int32_t step, HRESULT hr) { EngineCore::Instance().SetFailure(step, hr); }

int32_t __cdecl Engine_LiveObjects(void) { return engine::LiveObjectCount(); }

int32_t __cdecl Engine_WebViewCount(void) { return EngineCore::Instance().PageCount(); }

int32_t __cdecl Engine_CallCount(void) { return static_cast<int32_t>(EngineCore::Instance().Calls().size()); }

int32_t __cdecl Engine_CallName(int32_t index, wchar_t* buf, int32_t cap) {
  const engine::CallRecord* call = CallAt(index);
  return call ? CopyText(call->name, buf, cap) : -1;
}

int32_t __cdecl Engine_CallArgs(int32_t index, wchar_t* buf, int32_t cap) {
  const engine::CallRecord* call = CallAt(index);
  return call ? CopyText(call->args, buf, cap) : -1;
}

int32_t __cdecl Engine_CallWebView(int32_t index) {
  const engine::CallRecord* call = CallAt(index);
  return call ? call->webview : -1;
}

int32_t __cdecl Engine_LastOptions(wchar_t* browserFolder, wchar_t* userDataFolder, wchar_t* additionalArgs,
                                   wchar_t* language, wchar_t* targetVersion, BOOL* allowSso, int32_t cap) {
  const engine::EnvironmentOptions& o = EngineCore::Instance().LastOptions();
  CopyText(o.browserFolder, browserFolder, cap);
  CopyText(o.userDataFolder, userDataFolder, cap);
  CopyText(o.additionalArgs, additionalArgs, cap);
  CopyText(o.language, language, cap);
  CopyText(o.targetVersion, targetVersion, cap);
  if (allowSso) *allowSso = o.allowSso;
  return o.given ? TRUE : FALSE;
}

HWND __cdecl Engine_ParentWindow(int32_t webview) {
  auto page = EngineCore::Instance().FindPage(webview);
  return page ? page->parent : nullptr;
}

BOOL __cdecl Engine_GetBounds(int32_t webview, RECT* bounds) {
  auto page = EngineCore::Instance().FindPage(webview);
  if (!page || !bounds) return FALSE;
  *bounds = page->bounds;
  return TRUE;
}

BOOL __cdecl Engine_IsVisible(int32_t webview) {
  auto page = EngineCore::Instance().FindPage(webview);
  return page ? page->visible : FALSE;
}

double __cdecl Engine_GetZoom(int32_t webview) {
  auto page = EngineCore::Instance().FindPage(webview);
  return page ? page->zoom : 0.0;
}

BOOL __cdecl Engine_IsClosed(int32_t webview) {
  auto page = EngineCore::Instance().FindPage(webview);
  return page && page->closed ? TRUE : FALSE;
}

BOOL __cdecl Engine_WebMessageEnabled(int32_t webview) {
  auto page = EngineCore::Instance().FindPage(webview);
  return page ? page->webMessageEnabled : FALSE;
}

int32_t __cdecl Engine_HandlerCount(int32_t webview) {
  auto page = EngineCore::Instance().FindPage(webview);
  return page && page->sink ? page->sink->HandlerCount() : 0;
}

int32_t __cdecl Engine_DocumentScriptCount(int32_t webview) {
  auto page = EngineCore::Instance().FindPage(webview);
  return page ? static_cast<int32_t>(page->documentScripts.size()) : 0;
}

int32_t __cdecl Engine_DocumentScript(int32_t webview, int32_t i, wchar_t* buf, int32_t cap) {
  auto page = EngineCore::Instance().FindPage(webview);
  if (!page || i < 0 || i >= static_cast<int32_t>(page->documentScripts.size())) return -1;
  return CopyText(page->documentScripts[i].second, buf, cap);
}

int32_t __cdecl Engine_NavigationCount(int32_t webview) {
  auto page = EngineCore::Instance().FindPage(webview);
  return page ? static_cast<int32_t>(page->navigationScripts.size()) : 0;
}

int32_t __cdecl Engine_NavigationScriptCount(int32_t webview, int32_t navigation) {
  auto page = EngineCore::Instance().FindPage(webview);
  if (!page || navigation < 0 || navigation >= static_cast<int32_t>(page->navigationScripts.size())) return 0;
  return static_cast<int32_t>(page->navigationScripts[navigation].size());
}

int32_t __cdecl Engine_NavigationScript(int32_t webview, int32_t navigation, int32_t i, wchar_t* buf, int32_t cap) {
  auto page = EngineCore::Instance().FindPage(webview);
  if (!page || navigation < 0 || navigation >= static_cast<int32_t>(page->navigationScripts.size())) return -1;
  const auto& scripts = page->navigationScripts[navigation];
  if (i < 0 || i >= static_cast<int32_t>(scripts.size())) return -1;
  return CopyText(scripts[i], buf, cap);
}

void __cdecl Engine_SetSource(int32_t webview, const wchar_t* uri) {
  if (auto page = EngineCore::Instance().FindPage(webview)) page->source = uri ? uri : L"";
}

void __cdecl Engine_SetTitle(int32_t webview, const wchar_t* title) {
  if (auto page = EngineCore::Instance().FindPage(webview)) page->title = title ? title : L"";
}

void __cdecl Engine_SetHistory(int32_t webview, BOOL canGoBack, BOOL canGoForward) {
  if (auto page = EngineCore::Instance().FindPage(webview)) {
    page->canGoBack = canGoBack ? TRUE : FALSE;
    page->canGoForward = canGoForward ? TRUE : FALSE;
  }
}

void __cdecl Engine_SetZoom(int32_t webview, double factor) {
  if (auto page = EngineCore::Instance().FindPage(webview)) page->zoom = factor;
}

void __cdecl Engine_FireEvent(int32_t webview, int32_t event, const EngineEventArgs* args) {
  engine::EventData data;
  if (args) {
    data.uri = NullableText::Of(args->uri);
    data.isSuccess = args->isSuccess;
    data.webErrorStatus = args->webErrorStatus;
    data.isErrorPage = args->isErrorPage;
    data.navigationId = args->navigationId;
    data.isNewDocument = args->isNewDocument;
    data.processFailedKind = args->processFailedKind;
  }
  EngineCore::Instance().FireEvent(webview, event, data);
}

void __cdecl Engine_PostWebMessage(int32_t webview, const wchar_t* text, BOOL isString) {
  EngineCore::Instance().PostWebMessage(webview, text ? text : L"", isString != FALSE);
}

void __cdecl Engine_SetManualScripts(BOOL manual) { EngineCore::Instance().SetManualScripts(manual != FALSE); }

void __cdecl Engine_SetScriptResult(HRESULT hr, const wchar_t* json) {
  EngineCore::Instance().SetScriptResult(hr, NullableText::Of(json));
}

int32_t __cdecl Engine_PendingScriptCount(void) { return EngineCore::Instance().PendingScriptCount(); }

BOOL __cdecl Engine_CompleteScript(int32_t index, HRESULT hr, const wchar_t* json) {
  return EngineCore::Instance().CompleteScript(index, hr, NullableText::Of(json)) ? TRUE : FALSE;
}

void __cdecl Engine_SetVirtualHostMapping(BOOL offered, HRESULT result) {
  EngineCore::Instance().SetVirtualHostMapping(offered != FALSE, result);
}

int32_t __cdecl Engine_VirtualHostFolder(int32_t webview, const wchar_t* host, wchar_t* buf, int32_t cap) {
  auto page = EngineCore::Instance().FindPage(webview);
  if (!page || !host) return -1;
  for (const auto& mapping : page->virtualHosts)
    if (mapping.first == host) return CopyText(mapping.second, buf, cap);
  return -1;
}

int32_t __cdecl Engine_PendingDeliveries(void) { return engine::PendingDeliveries(); }

void __cdecl Engine_SetBrowserVersion(HRESULT hr, const wchar_t* version) {
  EngineCore::Instance().SetBrowserVersion(hr, NullableText::Of(version));
}

}  // extern "C"
