#include "actions/served_origin.h"
#include <cstdint>
#include "support/text.h"

namespace {
wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }
bool IsLetterOrDigit(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9'); }

uint64_t Fnv1a64(const std::wstring& text) {
  uint64_t hash = 14695981039346656037ull;
  for (const wchar_t c : text) {
    const uint16_t unit = static_cast<uint16_t>(c);
    for (const uint8_t byte : {static_cast<uint8_t>(unit & 0xFF), static_cast<uint8_t>(unit >> 8)}) {
      hash ^= byte;
      hash *= 1099511628211ull;
    }
  }
  return hash;
}

std::wstring Hex16(uint64_t value) {
  static const wchar_t kHex[] = L"0123456789abcdef";
  std::wstring out(16, L'0');
  for (int i = 15; i >= 0; --i, value >>= 4) out[static_cast<size_t>(i)] = kHex[value & 0xF];
  return out;
}

bool IsValidLabel(const std::wstring& label) {
  if (label.empty() || label.size() > 63 || label.front() == L'-' || label.back() == L'-') return false;
  for (const wchar_t c : label)
    if (!IsLetterOrDigit(c) && c != L'-') return false;
  return true;
}

bool AllDigits(const std::wstring& label) {
  for (const wchar_t c : label)
    if (c < L'0' || c > L'9') return false;
  return true;
}

}  // namespace

std::wstring DefaultServedHostName(const std::wstring& rectangleName) {
  std::wstring folded;
  for (const wchar_t c : rectangleName) folded += FoldAscii(c);
  std::wstring label;
  for (const wchar_t c : folded) {
    if (IsLetterOrDigit(c))
      label += c;
    else if (!label.empty() && label.back() != L'-')
      label += L'-';
    if (label.size() == 40) break;
  }
  while (!label.empty() && label.back() == L'-') label.pop_back();
  if (label.empty()) label = L"rectangle";
  return label + L"-" + Hex16(Fnv1a64(folded)) + L".tamreldesk.example";
}

std::wstring CanonicalServedHostName(const std::wstring& hostName) {
  std::wstring host;
  for (const wchar_t c : Trim(hostName)) host += FoldAscii(c);
  if (host.empty() || host.size() > 253) return std::wstring();
  std::wstring label;
  for (size_t i = 0; i <= host.size(); ++i) {
    if (i < host.size() && host[i] != L'.') {
      label += host[i];
      continue;
    }
    if (!IsValidLabel(label)) return std::wstring();  // also an empty label: "..", a leading or trailing dot
    if (i == host.size() && AllDigits(label)) return std::wstring();
    label.clear();
  }
  return host;
}
