#pragma once
// The page scripts that build a Tabulator grid, a Quill editor or an ECharts chart in an
// element of the page. Pure text assembly: the ID must have passed IsValidContainerId (it is
// placed inside JavaScript string literals), and the JSON is inserted as a JavaScript
// expression exactly as given, neither parsed nor validated.
#include <string>

// Non-empty, at most 128 UTF-16 code units, each an ASCII letter, a digit, '_', '-' or ':'.
// Applied to the ID exactly as passed (no trimming).
bool IsValidContainerId(const std::wstring& id);

std::wstring BuildTabulatorScript(const std::wstring& id, const std::wstring& configJson);
// Options that are empty after trimming become "{}"; any other text is used as given.
std::wstring BuildQuillScript(const std::wstring& id, const std::wstring& optionsJson);
std::wstring BuildEChartsScript(const std::wstring& id, const std::wstring& optionJson);
