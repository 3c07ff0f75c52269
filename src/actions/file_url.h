#pragma once
// Paths of local content and the file: URLs made from them.
#include <string>

// The file URL of a path: trimmed, made a full path, "\" turned into "/", then the UTF-8 bytes
// percent-encoded except ASCII letters, digits and - _ . ~ / :.
// A drive path gets "file:///", a network path (two leading slashes, which are dropped)
// "file://". An extended-length or device prefix ("\\?\" or "\\.\") is dropped first, its
// "UNC\" form giving a network path, so that such a path names the same file in the URL.
std::wstring PathToFileURL(const std::wstring& path);
// The UTF-8 bytes of text percent-encoded except ASCII letters, digits and - _ . ~ / :.
std::wstring PercentEncodeUtf8(const std::wstring& text);
