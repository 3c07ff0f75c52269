#pragma once
// Arguments of one WebMessageReceived delivery. A message the page posted as a string gives
// its text through TryGetWebMessageAsString; any other value fails there with E_INVALIDARG,
// as the runtime does, and is only available as JSON.
#include <cstdint>
#include <string>

#include "com_object.h"
#include "engine_abi.h"

namespace engine {

class WebMessageArgs final : public ComObject<engine_abi::ICoreWebView2WebMessageReceivedEventArgs,
                                              engine_abi::IID_ICoreWebView2WebMessageReceivedEventArgs> {
 public:
  WebMessageArgs(int32_t webview, std::wstring source, std::wstring text, bool isString)
      : webview_(webview), source_(std::move(source)), text_(std::move(text)), isString_(isString) {}
  HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_WebMessageAsJson(LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE TryGetWebMessageAsString(LPWSTR* value) override;

 private:
  int32_t webview_;
  std::wstring source_;
  std::wstring text_;  // the string, or the JSON of a non-string message
  bool isString_;
};

// JSON string literal of text (quotes, backslashes and control characters escaped).
std::wstring JsonQuote(const std::wstring& text);

}  // namespace engine
