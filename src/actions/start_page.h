#pragma once
// The start page of a web-app folder (actions 18 and 25): its character check and where it lies.
#include <string>

// Codes 0 to 31, the double quote, < > | * and ?; an extended-length prefix is not tested.
bool HasInvalidPathCharacters(const std::wstring& page);
// The page as a path: a page that names its own root (a leading slash, a drive, an extended
// prefix) stands as it is; any other lies below the folder.
std::wstring StartPagePath(const std::wstring& folder, const std::wstring& page);
