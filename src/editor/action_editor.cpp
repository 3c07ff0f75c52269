#include "editor/action_editor.h"
#include <windows.h>
#include "actions/action_table.h"
#include "editor/action_editor_dialog.h"
#include "editor/editor_fields.h"
#include "publishing/folder_files.h"
#include "support/file_system.h"
#include "host/host_string.h"
#include "support/text.h"

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
  if (FindAction(id)->RegistersFolderFiles && entries >= 2) {
    const std::wstring folder = AnsiToWide(params[1]);
    if (DirectoryExistsAt(folder)) RegisterFolderFiles(FullPath(folder));
  }
  return true;
}
