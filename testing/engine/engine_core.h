#pragma once
// The behaviour behind the double's COM objects: the record of every call, the failure
// settings, the page state of each webview, script completion and the posting of events.
// The COM classes (environment.h, controller.h, webview.h, ...) only translate the ABI into
// calls on EngineBehaviour (engine_behaviour.h), which this core implements for the double,
// so that another engine can stand behind the same objects.
// Everything runs on the thread that drives the double (the UI thread of the test).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine_behaviour.h"
#include "engine_control.h"

namespace engine {

// What methods called after Close() return (the runtime does not document a code).
constexpr HRESULT kClosedError = HRESULT_FROM_WIN32(ERROR_INVALID_STATE);  // 0x8007139F

// A text that may also be null (a null LPCWSTR / a null result string).
struct NullableText {
  bool isNull = true;
  std::wstring text;
  static NullableText Of(const wchar_t* p) { return p ? NullableText{false, p} : NullableText{}; }
  const wchar_t* Ptr() const { return isNull ? nullptr : text.c_str(); }
};

// Arguments of one browser event, owned (copied from the test's EngineEventArgs).
struct EventData {
  NullableText uri;
  BOOL isSuccess = FALSE;
  int32_t webErrorStatus = 0;
  BOOL isErrorPage = FALSE;
  uint64_t navigationId = 0;
  BOOL isNewDocument = FALSE;
  int32_t processFailedKind = 0;
};

// Implemented by the webview COM object: it owns the registered handlers.
class EventSink {
 public:
  virtual void DeliverEvent(int32_t event, const EventData& data) = 0;
  virtual void DeliverWebMessage(const std::wstring& source, const std::wstring& text, bool isString) = 0;
  virtual int32_t HandlerCount() const = 0;
  virtual void DropHandlers() = 0;  // Close(): release every handler reference
 protected:
  ~EventSink() = default;
};

// State of one webview, shared by its controller, webview and settings objects.
struct Page {
  int32_t number = 0;
  HWND parent = nullptr;
  RECT bounds{};
  BOOL visible = TRUE;
  double zoom = 1.0;
  bool closed = false;
  BOOL webMessageEnabled = FALSE;  // TRUE once the plug-in enabled it
  std::wstring source = L"about:blank";
  std::wstring title;
  BOOL canGoBack = FALSE;
  BOOL canGoForward = FALSE;
  std::vector<std::pair<std::wstring, std::wstring>> documentScripts;  // id, script
  int nextScriptId = 1;
  // Ids of the scripts whose registration's completion was delivered: only these run in the
  // documents of navigations that start from then on (the runtime guarantees no more).
  std::vector<std::wstring> settledScriptIds;
  // For each navigation started (Navigate, NavigateToString): the scripts that applied to it.
  std::vector<std::vector<std::wstring>> navigationScripts;
  // Virtual host mappings in force: host name as given -> folder.
  std::vector<std::pair<std::wstring, std::wstring>> virtualHosts;
  EventSink* sink = nullptr;  // the live webview object, null once it is gone
};

struct CallRecord {
  std::wstring name;
  std::wstring args;
  int32_t webview = 0;
};

struct EnvironmentOptions {
  bool given = false;  // an options object was passed
  std::wstring browserFolder = L"(null)", userDataFolder = L"(null)", additionalArgs = L"(null)", language = L"(null)",
               targetVersion = L"(null)";
  BOOL allowSso = FALSE;
};

class EngineCore final : public EngineBehaviour {
 public:
  static EngineCore& Instance();

  void Reset();

  // Records.
  void Record(const std::wstring& name, const std::wstring& args, int32_t webview) override;
  const std::vector<CallRecord>& Calls() const { return calls_; }

  // Failure settings (EngineStep).
  void SetFailure(int32_t step, HRESULT hr);
  HRESULT Failure(int32_t step) const override;

  void SetLastOptions(const EnvironmentOptions& options) { options_ = options; }
  const EnvironmentOptions& LastOptions() const { return options_; }

  void SetBrowserVersion(HRESULT hr, const NullableText& version) {
    versionHr_ = hr;
    version_ = version;
  }
  HRESULT BrowserVersionResult() const { return versionHr_; }
  const NullableText& BrowserVersion() const { return version_; }

  // Webviews, numbered from 1 in order of creation since the last reset.
  std::shared_ptr<Page> OpenPage(HWND parent);
  std::shared_ptr<Page> FindPage(int32_t number) const;
  int32_t PageCount() const { return static_cast<int32_t>(pages_.size()); }
  // Close(): handlers and document scripts are dropped; later calls fail.
  void ClosePage(Page& page) override;

  // What the engine does for each call the COM objects pass on. The double only keeps the
  // state that the getters report; another engine would drive a browser here.
  HRESULT Navigate(Page& page, const std::wstring& uri) override;
  HRESULT NavigateToString(Page& page, const std::wstring& html) override;
  void Reload(Page&) override {}
  void GoBack(Page&) override {}
  void GoForward(Page&) override {}
  void Stop(Page&) override {}
  void PostMessageToPage(Page&, const std::wstring&) override {}
  void SetBounds(Page& page, const RECT& bounds) override { page.bounds = bounds; }
  void SetVisible(Page& page, BOOL visible) override { page.visible = visible ? TRUE : FALSE; }
  HRESULT SetZoom(Page& page, double factor) override;
  void SetParentWindow(Page& page, HWND parent) override { page.parent = parent; }
  HRESULT EnableWebMessages(Page& page, BOOL enabled) override;

  // Document-created scripts. A script applies to navigations that start after its completion
  // was delivered (posted with S_OK and the new id, or with the failure set for that step).
  void AddDocumentScript(Page& page, const std::wstring& script, DocumentScriptCompletion done) override;
  void RemoveDocumentScript(Page& page, const std::wstring& id) override;

  // Posted to the thread's message loop; ignored for an unknown webview.
  void FireEvent(int32_t number, int32_t event, const EventData& data);
  void PostWebMessage(int32_t number, const std::wstring& text, bool isString);

  // ExecuteScript completions.
  void SetManualScripts(bool manual) { manualScripts_ = manual; }
  void SetScriptResult(HRESULT hr, const NullableText& json) {
    scriptHr_ = hr;
    scriptJson_ = json;
  }
  void StartScript(Page& page, const std::wstring& script, ScriptCompletion completion) override;
  int32_t PendingScriptCount() const { return static_cast<int32_t>(pendingScripts_.size()); }
  bool CompleteScript(int32_t index, HRESULT hr, const NullableText& json);

  // Virtual host mapping: offered or not (E_NOINTERFACE), and what the mapping call returns.
  void SetVirtualHostMapping(bool offered, HRESULT result) {
    virtualHostOffered_ = offered;
    virtualHostResult_ = result;
  }
  bool OffersVirtualHostMapping() const override { return virtualHostOffered_; }
  HRESULT SetVirtualHostMapping(Page& page, const std::wstring& host, const std::wstring& folder,
                                int32_t accessKind) override;
  HRESULT ClearVirtualHostMapping(Page& page, const std::wstring& host) override;

 private:
  EngineCore() { Reset(); }

  std::vector<CallRecord> calls_;
  HRESULT failures_[ENGINE_STEP_COUNT] = {};  // one per EngineStep
  EnvironmentOptions options_;
  HRESULT versionHr_ = S_OK;
  NullableText version_;
  std::vector<std::shared_ptr<Page>> pages_;
  bool manualScripts_ = false;
  HRESULT scriptHr_ = S_OK;
  NullableText scriptJson_;
  std::vector<ScriptCompletion> pendingScripts_;
  bool virtualHostOffered_ = true;
  HRESULT virtualHostResult_ = S_OK;
};

// Argument rendering for the call records.
std::wstring ArgText(const wchar_t* text);                         // "(null)" for null
std::wstring ArgBool(BOOL value);                                  // "0" / "1"
std::wstring ArgRect(const RECT& r);                               // "l,t,r,b"
std::wstring ArgDouble(double value);                              // %.17g
std::wstring ArgHandle(const void* handle);                        // eight upper-case hex digits
std::wstring ArgHresult(HRESULT hr);                               // 0x + eight upper-case hex digits
std::wstring JoinArgs(std::initializer_list<std::wstring> parts);  // separated by '|'

}  // namespace engine
