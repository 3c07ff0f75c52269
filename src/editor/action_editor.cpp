#include "editor/action_editor.h"
#include <windows.h>
#include <algorithm>
#include "editor/action_editor_dialog.h"
#include "editor/editor_fields.h"
#include "editor/folder_files.h"
#include "host/errors.h"
#include "host/file_system.h"
#include "host/host_string.h"
#include "host/text.h"

namespace {
constexpr int32_t kLoadFolderAction = 18;

// Every new buffer is made before any entry changes: a failed allocation frees only the new
// ones and leaves the host's array as it was, so "not confirmed" is true of the array too.
bool WriteBack(char** params, const std::vector<std::wstring>& values, size_t count) {
  std::vector<HostStringHolder> fresh(count);
  try {
    for (size_t i = 0; i < count; ++i) SetHostString(fresh[i].variable(), values[i]);
  } catch (const TamrelError&) {
    return false;
  }
  for (size_t i = 0; i < count; ++i) {
    FreeHostString(params[i]);
    params[i] = fresh[i].variable();
    fresh[i].variable() = nullptr;  // now the host's
  }
  return true;
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

  if (!WriteBack(params, editor.Values(), std::min(fields.size(), entries))) return false;

  // The folder is read back from the buffer just written: what the host keeps is what counts.
  if (id == kLoadFolderAction && entries >= 2) {
    const std::wstring folder = FullPath(Trim(AnsiToWide(params[1])));  // as the run-time action reads it
    if (DirectoryExistsAt(folder)) RegisterFolderFiles(folder);
  }
  return true;
}
