#pragma once
// WebView2 refuses HTML texts over 2 MB (2 * 1024 * 1024 bytes) in NavigateToString. The
// runtime hands the text on as UTF-8, so the limit is measured in UTF-8 bytes: a text of
// accented letters reaches it with half as many characters as one of plain ASCII.
#include <cstddef>
#include <string>

constexpr size_t kMaxHTMLBytes = 2 * 1024 * 1024;

// Bytes of the text in UTF-8 (an unpaired surrogate counts as the three bytes of U+FFFD).
size_t Utf8Length(const std::wstring& text);
// Raises when the HTML text is over the limit; the message gives its size and the limit.
void RequireHTMLWithinLimit(const std::wstring& html);
