#pragma once
// The fields of the design-time editor: the dialog title and one field per action parameter,
// in parameter order, as the action table describes them.
#include <cstdint>
#include <string>
#include <vector>
#include "actions/action_table.h"

struct TEditorField {
  std::wstring Caption;  // label text
  TFieldKind Kind;
  int32_t Height;        // layout height of the row; also the height of a memo
  std::wstring Options;  // fkCombo: the choices separated by "|"; empty otherwise

  // A plain field.
  TEditorField(std::wstring caption, TFieldKind kind, int32_t height)
      : Caption(std::move(caption)), Kind(kind), Height(height) {}
  // A combo field: a one-line row of the standard height.
  TEditorField(std::wstring caption, std::wstring options)
      : Caption(std::move(caption)), Kind(fkCombo), Height(28), Options(std::move(options)) {}
};

// False for every id without an editor (0, 24 and everything outside 1..23).
bool BuildEditorFields(int32_t id, std::wstring& title, std::vector<TEditorField>& fields);

// The combo choices of one field, split at "|".
std::vector<std::wstring> SplitOptions(const std::wstring& options);
