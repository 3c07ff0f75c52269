#include "editor/action_editor.h"
#include <windows.h>
#include "editor/action_editor_dialog.h"
#include "editor/editor_fields.h"
#include "editor/folder_files.h"
#include "host/host_string.h"
#include "host/text.h"

namespace {
constexpr int32_t kLoadFolderAction = 18;

bool IsExistingDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring AbsolutePath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
  if (written == 0 || written >= size) return path;
  full.resize(written);
  return full;
}
}  // namespace

bool RunActionEditor(int32_t id, char** params, int32_t highIndex) {
  std::wstring title;
  std::vector<TEditorField> fields;
  if (!BuildEditorFields(id, title, fields)) return false;

  // Entries the host's array does not have show as empty fields and are never written.
  const size_t entries = params && highIndex >= 0 ? static_cast<size_t>(highIndex) + 1 : 0;
  std::vector<std::wstring> values(fields.size());
  for (size_t i = 0; i < fields.size() && i < entries; ++i) values[i] = AnsiToWide(params[i]);

  TTamrelActionEditor editor(L"tamrelDesk - " + title + L" Properties", fields, values);
  if (!editor.ShowModal()) return false;

  for (size_t i = 0; i < fields.size() && i < entries; ++i) SetHostString(params[i], editor.Values()[i]);

  // The folder is read back from the buffer just written: what the host keeps is what counts.
  if (id == kLoadFolderAction && entries >= 2) {
    const std::wstring folder = AnsiToWide(params[1]);
    if (IsExistingDirectory(folder)) RegisterFolderFiles(AbsolutePath(folder));
  }
  return true;
}
