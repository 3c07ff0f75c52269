#pragma once
// The seam between the COM objects and the engine behind them. The COM classes (controller,
// webview, settings, event arguments) translate the ABI into calls on this interface; each
// engine DLL links exactly one implementation and defines Behaviour() to return it: the
// scripted core of the double (engine_core.h) or a core driving a real browser.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace engine {

struct Page;

// Completion of one ExecuteScript; json may be null.
using ScriptCompletion = std::function<void(HRESULT hr, const wchar_t* json)>;
// Completion of one AddScriptToExecuteOnDocumentCreated; id is the script's id.
using DocumentScriptCompletion = std::function<void(HRESULT hr, const wchar_t* id)>;

class EngineBehaviour {
 public:
  // Records one call of the plug-in (an engine may keep no records).
  virtual void Record(const std::wstring& name, const std::wstring& args, int32_t webview) = 0;
  // Failure set for a creation step (S_OK when none).
  virtual HRESULT Failure(int32_t step) const = 0;

  // Close(): handlers and document scripts are dropped; later calls fail.
  virtual void ClosePage(Page& page) = 0;
  virtual HRESULT Navigate(Page& page, const std::wstring& uri) = 0;
  virtual HRESULT NavigateToString(Page& page, const std::wstring& html) = 0;
  virtual void Reload(Page& page) = 0;
  virtual void GoBack(Page& page) = 0;
  virtual void GoForward(Page& page) = 0;
  virtual void Stop(Page& page) = 0;
  virtual void PostMessageToPage(Page& page, const std::wstring& text) = 0;
  virtual void SetBounds(Page& page, const RECT& bounds) = 0;
  virtual void SetVisible(Page& page, BOOL visible) = 0;
  virtual HRESULT SetZoom(Page& page, double factor) = 0;
  virtual void SetParentWindow(Page& page, HWND parent) = 0;
  virtual HRESULT EnableWebMessages(Page& page, BOOL enabled) = 0;

  // Registers a document-created script; `done` (if set) is called later through the message
  // loop with the script's id.
  virtual void AddDocumentScript(Page& page, const std::wstring& script, DocumentScriptCompletion done) = 0;
  virtual void RemoveDocumentScript(Page& page, const std::wstring& id) = 0;
  // Runs a script in the page; `done` is called later through the message loop.
  virtual void StartScript(Page& page, const std::wstring& script, ScriptCompletion done) = 0;

  // ICoreWebView2_3: whether the webview answers QueryInterface for it (and ICoreWebView2_2),
  // and its virtual host mapping: https://<host>/ serves the files of folder.
  virtual bool OffersVirtualHostMapping() const = 0;
  virtual HRESULT SetVirtualHostMapping(Page& page, const std::wstring& host, const std::wstring& folder,
                                        int32_t accessKind) = 0;
  virtual HRESULT ClearVirtualHostMapping(Page& page, const std::wstring& host) = 0;

 protected:
  ~EngineBehaviour() = default;
};

// The engine this DLL stands for.
EngineBehaviour& Behaviour();

}  // namespace engine
