#pragma once
// The virtual https origin a served web-app folder gets: its host name (the author's, checked,
// or one made from the Rectangle name) and the start page's URL below it.
#include <string>

// Longest folder path the engine's mapping takes (MAX_PATH counts the terminating NUL).
constexpr size_t kMaxServedFolderLength = 259;

// The host name for a Rectangle: "<label>-<hash>.tamreldesk.example", where label is the name's
// ASCII letters and digits in lower case (other runs of characters become one "-"; at most 40
// characters; "rectangle" when none is left) and hash is 16 hexadecimal digits of the 64-bit
// FNV-1a hash of the name with A to Z folded to a to z. Names that the registry takes for the
// same Rectangle give the same host; the hash keeps different Rectangles apart even when their
// labels agree.
std::wstring DefaultServedHostName(const std::wstring& rectangleName);

// A host name an author gave, trimmed and in lower case; empty when it is not one the engine
// takes as a host: dot-separated labels of ASCII letters, digits and "-", each 1 to 63 characters
// and neither beginning nor ending with "-", the last label not all digits (no IPv4 address), no
// trailing dot, 253 characters at most.
std::wstring CanonicalServedHostName(const std::wstring& hostName);
