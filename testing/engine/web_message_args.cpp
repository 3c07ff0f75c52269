#include "web_message_args.h"

#include <cwchar>

#include "com_strings.h"
#include "engine_core.h"

namespace engine {

std::wstring JsonQuote(const std::wstring& text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    switch (c) {
      case L'"': out += L"\\\""; break;
      case L'\\': out += L"\\\\"; break;
      case L'\n': out += L"\\n"; break;
      case L'\r': out += L"\\r"; break;
      case L'\t': out += L"\\t"; break;
      case L'\b': out += L"\\b"; break;
      case L'\f': out += L"\\f"; break;
      default:
        if (c < 0x20) {
          wchar_t buf[8];
          swprintf(buf, 8, L"\\u%04x", static_cast<unsigned>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  out += L'"';
  return out;
}

HRESULT WebMessageArgs::get_Source(LPWSTR* value) {
  Behaviour().Record(L"get_Source", L"", webview_);
  return CopyOutString(source_, value);
}

HRESULT WebMessageArgs::get_WebMessageAsJson(LPWSTR* value) {
  Behaviour().Record(L"get_WebMessageAsJson", L"", webview_);
  return CopyOutString(isString_ ? JsonQuote(text_) : text_, value);
}

HRESULT WebMessageArgs::TryGetWebMessageAsString(LPWSTR* value) {
  Behaviour().Record(L"TryGetWebMessageAsString", L"", webview_);
  if (!value) return E_POINTER;
  *value = nullptr;
  if (!isString_) return E_INVALIDARG;
  return CopyOutString(text_, value);
}

}  // namespace engine
