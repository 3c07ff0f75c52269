#include "browser/html_limit.h"
#include "support/errors.h"
#include "support/text.h"

size_t Utf8Length(const std::wstring& text) {
  size_t bytes = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c < 0x80) {
      bytes += 1;
    } else if (c < 0x800) {
      bytes += 2;
    } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      bytes += 4;  // a surrogate pair: one code point beyond U+FFFF
      ++i;
    } else {
      bytes += 3;
    }
  }
  return bytes;
}

void RequireHTMLWithinLimit(const std::wstring& html) {
  // Most texts are far below the limit in characters already; only longer ones are measured.
  if (html.size() * 3 <= kMaxHTMLBytes) return;
  const size_t bytes = Utf8Length(html);
  if (bytes <= kMaxHTMLBytes) return;
  Fail(L"HTML is too large for WebView2: " + UnsignedText(bytes) + L" bytes in UTF-8, more than the limit of " +
       UnsignedText(kMaxHTMLBytes) + L" bytes (2 MB).");
}
