#pragma once
#include <functional>
#include <string>

// The handlers' common failure path: "ERROR: " + message to the log, message to "[LastError]".
void ReportError(const std::wstring& message);

// Runs a handler body under its own guard: a raised failure goes to ReportError and the
// handler returns false.
bool RunGuarded(const std::function<bool()>& body);
