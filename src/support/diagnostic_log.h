#pragma once
// One append-only UTF-8 log per user: %LOCALAPPDATA%\tamrelDesk\tamrelDesk.log.
// Writers never raise and never report a failure.
#include <string>

std::wstring LogFolder();    // ...\tamrelDesk (no trailing backslash)
std::wstring LogFilePath();  // ...\tamrelDesk\tamrelDesk.log

void WriteLog(const std::wstring& text);            // ts | PID= | TID= | text
void WriteDependencyLog(const std::wstring& text);  // ts | PID= | TID= | NeoBookDependency | text
void WriteAssetLog(const std::wstring& text);       // ts | WebAssets | text
void LogComApartment();
std::wstring ComApartmentLine(long hr, int type, int qualifier);

// Creates a folder and every missing parent; an existing folder counts as success.
bool ForceDirectories(const std::wstring& path);
std::wstring LocalAppDataWithSlash();  // LOCALAPPDATA with exactly one trailing backslash added if missing
