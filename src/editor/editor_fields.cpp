#include "editor/editor_fields.h"
#include "actions/action_table.h"

namespace {
std::wstring JoinedOptions(const TWordList& words) {
  std::wstring options;
  for (const wchar_t* word : words) {
    if (!options.empty()) options += L'|';
    options += word;
  }
  return options;
}
}  // namespace

bool BuildEditorFields(int32_t id, std::wstring& title, std::vector<TEditorField>& fields) {
  title.clear();
  fields.clear();
  const TActionRow* action = FindAction(id);
  if (!action || !action->EditorTitle) return false;
  title = action->EditorTitle;
  for (const TFieldSpec& field : action->Fields) {
    if (field.Kind == fkCombo)
      fields.emplace_back(field.Caption, JoinedOptions(field.Options));
    else
      fields.emplace_back(field.Caption, field.Kind, field.Height);
  }
  return true;
}

std::vector<std::wstring> SplitOptions(const std::wstring& options) {
  std::vector<std::wstring> items;
  if (options.empty()) return items;
  size_t start = 0;
  for (;;) {
    const size_t bar = options.find(L'|', start);
    items.push_back(options.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
    if (bar == std::wstring::npos) break;
    start = bar + 1;
  }
  return items;
}
