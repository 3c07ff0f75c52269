#include "engine_core.h"

#include <cmath>
#include <cwchar>

#include "delivery_queue.h"
#include "engine_control.h"

namespace engine {
namespace {
const NullableText kDefaultVersion{false, L"138.0.3351.48"};
const NullableText kNullJson{false, L"null"};
}  // namespace

EngineCore& EngineCore::Instance() {
  static EngineCore core;
  return core;
}

void EngineCore::Reset() {
  // Live objects keep their pages (shared_ptr); only the numbering and the records start over.
  // Scripts still waiting for completion stay pending: their handlers belong to live callers.
  calls_.clear();
  for (HRESULT& hr : failures_) hr = S_OK;
  options_ = EnvironmentOptions{};
  versionHr_ = S_OK;
  version_ = kDefaultVersion;
  pages_.clear();
  manualScripts_ = false;
  scriptHr_ = S_OK;
  scriptJson_ = kNullJson;
  virtualHostOffered_ = true;
  virtualHostResult_ = S_OK;
}

HRESULT EngineCore::SetVirtualHostMapping(Page& page, const std::wstring& host, const std::wstring& folder, int32_t) {
  if (FAILED(virtualHostResult_)) return virtualHostResult_;
  ClearVirtualHostMapping(page, host);
  page.virtualHosts.emplace_back(host, folder);
  return S_OK;
}

HRESULT EngineCore::ClearVirtualHostMapping(Page& page, const std::wstring& host) {
  for (auto it = page.virtualHosts.begin(); it != page.virtualHosts.end(); ++it) {
    if (it->first == host) {
      page.virtualHosts.erase(it);
      break;
    }
  }
  return S_OK;
}

void EngineCore::Record(const std::wstring& name, const std::wstring& args, int32_t webview) {
  calls_.push_back(CallRecord{name, args, webview});
}

void EngineCore::SetFailure(int32_t step, HRESULT hr) {
  if (step >= 0 && step < ENGINE_STEP_COUNT) failures_[step] = hr;
}

HRESULT EngineCore::Failure(int32_t step) const {
  return (step >= 0 && step < ENGINE_STEP_COUNT) ? failures_[step] : S_OK;
}

std::shared_ptr<Page> EngineCore::OpenPage(HWND parent) {
  auto page = std::make_shared<Page>();
  page->number = static_cast<int32_t>(pages_.size()) + 1;
  page->parent = parent;
  pages_.push_back(page);
  return page;
}

std::shared_ptr<Page> EngineCore::FindPage(int32_t number) const {
  if (number < 1 || number > static_cast<int32_t>(pages_.size())) return nullptr;
  return pages_[number - 1];
}

void EngineCore::ClosePage(Page& page) {
  if (page.closed) return;
  page.closed = true;
  page.documentScripts.clear();
  page.settledScriptIds.clear();
  if (page.sink) page.sink->DropHandlers();
}

namespace {
// A new document: it runs the document scripts settled at this moment.
void StartDocument(Page& page) {
  std::vector<std::wstring> applied;
  for (const auto& script : page.documentScripts)
    for (const std::wstring& id : page.settledScriptIds)
      if (id == script.first) applied.push_back(script.second);
  page.navigationScripts.push_back(std::move(applied));
}
}  // namespace

HRESULT EngineCore::Navigate(Page& page, const std::wstring& uri) {
  page.source = uri;
  StartDocument(page);
  return S_OK;
}

// A document shown from a string has the origin about:blank.
HRESULT EngineCore::NavigateToString(Page& page, const std::wstring&) {
  page.source = L"about:blank";
  StartDocument(page);
  return S_OK;
}

HRESULT EngineCore::SetZoom(Page& page, double factor) {
  // The runtime refuses a factor of zero or below.
  if (!(factor > 0.0) || !std::isfinite(factor)) return E_INVALIDARG;
  page.zoom = factor;
  return S_OK;
}

HRESULT EngineCore::EnableWebMessages(Page& page, BOOL enabled) {
  if (FAILED(Failure(ENGINE_STEP_PUT_WEB_MESSAGE_ENABLED))) return Failure(ENGINE_STEP_PUT_WEB_MESSAGE_ENABLED);
  page.webMessageEnabled = enabled ? TRUE : FALSE;
  return S_OK;
}

void EngineCore::AddDocumentScript(Page& page, const std::wstring& script, DocumentScriptCompletion done) {
  const HRESULT failure = Failure(ENGINE_STEP_DOCUMENT_SCRIPT_COMPLETION);
  if (FAILED(failure)) {
    Post([done = std::move(done), failure] {
      if (done) done(failure, nullptr);
    });
    return;
  }
  std::wstring id = L"script-" + std::to_wstring(page.nextScriptId++);
  page.documentScripts.emplace_back(id, script);
  // Looked up again when the completion runs: the page may be gone or closed by then.
  Post([this, number = page.number, registered = &page, id, done = std::move(done)] {
    const std::shared_ptr<Page> settled = FindPage(number);
    if (settled.get() == registered && !settled->closed) settled->settledScriptIds.push_back(id);
    if (done) done(S_OK, id.c_str());
  });
}

void EngineCore::RemoveDocumentScript(Page& page, const std::wstring& id) {
  for (auto it = page.documentScripts.begin(); it != page.documentScripts.end(); ++it) {
    if (it->first == id) {
      page.documentScripts.erase(it);
      for (auto settled = page.settledScriptIds.begin(); settled != page.settledScriptIds.end(); ++settled)
        if (*settled == id) {
          page.settledScriptIds.erase(settled);
          break;
        }
      return;
    }
  }
}

void EngineCore::FireEvent(int32_t number, int32_t event, const EventData& data) {
  std::shared_ptr<Page> page = FindPage(number);
  if (!page) return;
  Post([page, event, data] {
    // Handlers registered at delivery time receive it; a closed webview has none.
    if (page->sink && !page->closed) page->sink->DeliverEvent(event, data);
  });
}

void EngineCore::PostWebMessage(int32_t number, const std::wstring& text, bool isString) {
  std::shared_ptr<Page> page = FindPage(number);
  if (!page) return;
  Post([page, text, isString] {
    if (page->sink && !page->closed) page->sink->DeliverWebMessage(page->source, text, isString);
  });
}

void EngineCore::StartScript(Page&, const std::wstring&, ScriptCompletion completion) {
  if (manualScripts_) {
    pendingScripts_.push_back(std::move(completion));
    return;
  }
  const HRESULT hr = scriptHr_;
  const NullableText json = scriptJson_;
  Post([completion = std::move(completion), hr, json] { completion(hr, json.Ptr()); });
}

bool EngineCore::CompleteScript(int32_t index, HRESULT hr, const NullableText& json) {
  if (index < 0 || index >= static_cast<int32_t>(pendingScripts_.size())) return false;
  ScriptCompletion completion = std::move(pendingScripts_[index]);
  pendingScripts_.erase(pendingScripts_.begin() + index);
  Post([completion = std::move(completion), hr, json] { completion(hr, json.Ptr()); });
  return true;
}

std::wstring ArgText(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(L"(null)"); }

std::wstring ArgBool(BOOL value) { return value ? L"1" : L"0"; }

std::wstring ArgRect(const RECT& r) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
         std::to_wstring(r.bottom);
}

std::wstring ArgDouble(double value) {
  wchar_t buf[64];
  swprintf(buf, 64, L"%.17g", value);
  return buf;
}

std::wstring ArgHandle(const void* handle) {
  wchar_t buf[16];
  swprintf(buf, 16, L"%08lX", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(handle)));
  return buf;
}

std::wstring ArgHresult(HRESULT hr) {
  wchar_t buf[16];
  swprintf(buf, 16, L"0x%08lX", static_cast<unsigned long>(hr));
  return buf;
}

std::wstring JoinArgs(std::initializer_list<std::wstring> parts) {
  std::wstring out;
  bool first = true;
  for (const std::wstring& part : parts) {
    if (!first) out += L'|';
    out += part;
    first = false;
  }
  return out;
}

}  // namespace engine
