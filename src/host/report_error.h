#pragma once
#include <functional>
#include <string>

// The handlers' common failure path: "ERROR: " + message to the log, message to "[LastError]".
void ReportError(const std::wstring& message);

// ReportError, then false: a check in a handler body fails without raising, which costs far
// more than the line it logs.
bool Refuse(const std::wstring& message);

// "[LastError]" alone, without a log line: the dispatcher's report of what a handler let through.
void StoreLastError(const std::wstring& message);

// Runs a handler body under its own guard: a raised failure goes to ReportError and the
// handler returns false. Only a failure that is not a standard exception passes on.
bool RunGuarded(const std::function<bool()>& body);
