#pragma once
// The action table: one row per catalogue entry, in registration order, holding everything
// about an action - id, name, hint, parameters (type code and editor field), handler, editor
// title and the words it accepts. Registration, dispatch, the editor and the tests read it; a
// new action is one row and one handler.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Parameter-type codes handed to the host (never read back).
enum TParamType : uint8_t { ptHeader = 0, ptText = 1, ptNumber = 3, ptPath = 5, ptVariable = 6, ptObject = 8 };

// How the design-time editor shows a parameter.
enum TFieldKind : uint8_t { fkText = 0, fkMemo = 1, fkObject = 2, fkCombo = 3 };

// A fixed list of words an action accepts (event names, information kinds, commands).
struct TWordList {
  const wchar_t* const* Words = nullptr;
  size_t Count = 0;
  const wchar_t* const* begin() const { return Words; }
  const wchar_t* const* end() const { return Words + Count; }
};
template <size_t N>
constexpr TWordList Words(const wchar_t* const (&words)[N]) {
  return {words, N};
}

// One editor field: label, kind, row height (also a memo's height), the choices of a combo.
struct TFieldSpec {
  const wchar_t* Caption = nullptr;  // null: the parameter has no editor field
  TFieldKind Kind = fkText;
  int32_t Height = 28;
  TWordList Options;
};

struct TParamSpec {
  TParamType Type;
  TFieldSpec Field;
};

// The most parameters an action has; its arguments live in place, not on the heap.
constexpr size_t kMostActionParams = 4;
using TActionArgs = std::array<std::wstring, kMostActionParams>;
using TActionInvoker = bool (*)(const TActionArgs& args);

struct TActionRow {
  int32_t Id = 0;  // 0 for a group header
  const char* Name = "";
  const char* Hint = "";
  std::vector<uint8_t> Types;            // one byte per parameter; a header carries one byte 0
  int32_t Count = 0;                     // parameters the handler takes (0 for a header)
  TActionInvoker Invoke = nullptr;       // null for a header
  const wchar_t* EditorTitle = nullptr;  // null: no design-time editor
  std::vector<TFieldSpec> Fields;        // one per parameter when there is an editor
  TWordList AcceptedWords;               // the word parameter's choices, when the action has one
  bool RegistersFolderFiles = false;     // confirming the editor registers the folder's files
};

const std::vector<TActionRow>& ActionTable();
// The row of an action id (never a header), or null.
const TActionRow* FindAction(int32_t id);
// The id of the action registered under this exact name; 0 when there is none.
int32_t ActionId(const std::string& name);

// ---- building rows: the handler's argument count is checked against the parameters --------------
namespace action_table_detail {
template <class F>
struct TArity;
template <class... A>
struct TArity<bool (*)(A...)> {
  static constexpr size_t value = sizeof...(A);
};

template <auto Handler, size_t... I>
bool InvokeWith(const TActionArgs& args, std::index_sequence<I...>) {
  return Handler(args[I]...);
}
template <auto Handler>
bool Invoke(const TActionArgs& args) {
  return InvokeWith<Handler>(args, std::make_index_sequence<TArity<decltype(Handler)>::value>());
}
}  // namespace action_table_detail

TActionRow Header(const char* caption);

template <auto Handler, size_t N>
TActionRow Action(int32_t id, const char* name, const char* hint, const wchar_t* editorTitle,
                  const TParamSpec (&params)[N], TWordList acceptedWords = {}) {
  static_assert(N == action_table_detail::TArity<decltype(Handler)>::value,
                "an action's parameters must match its handler's arguments");
  static_assert(N <= kMostActionParams, "an action's arguments must fit TActionArgs");
  TActionRow row;
  row.Id = id;
  row.Name = name;
  row.Hint = hint;
  row.Count = static_cast<int32_t>(N);
  row.Invoke = &action_table_detail::Invoke<Handler>;
  row.EditorTitle = editorTitle;
  row.AcceptedWords = acceptedWords;
  for (const TParamSpec& p : params) {
    row.Types.push_back(p.Type);
    if (editorTitle) row.Fields.push_back(p.Field);
  }
  return row;
}
