#pragma once
#include <string>

// Action 24: registers the web library files beside the plug-in as publication files.
bool PrepareWebAssets(const std::wstring& components, const std::wstring& resultVariable);
