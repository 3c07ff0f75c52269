#include "editor/editor_layout.h"

namespace {
constexpr int kMargin = 18;
constexpr int kLabelToControl = 22;
constexpr int kRowGap = 13;
constexpr int kEditHeight = 25;
// A drop-down list keeps its natural height; this is only the height it is created with.
constexpr int kComboHeight = 25;
constexpr int kPickerWidth = 48;
constexpr int kPickerGap = 6;
constexpr int kButtonWidth = 92, kButtonHeight = 28;
}  // namespace

TEditorLayout ComputeEditorLayout(const std::vector<TEditorField>& fields) {
  TEditorLayout layout;
  layout.ClientWidth = kDesignWidth - 16;
  const int fullWidth = layout.ClientWidth - 2 * kMargin;
  int y = kMargin;
  for (const TEditorField& field : fields) {
    TFieldBoxes boxes;
    boxes.Label = {kMargin, y, kDesignWidth - 54, 0};
    const int top = y + kLabelToControl;
    switch (field.Kind) {
      case fkMemo: boxes.Input = {kMargin, top, fullWidth, field.Height}; break;
      case fkCombo: boxes.Input = {kMargin, top, fullWidth, kComboHeight}; break;
      case fkObject:
        boxes.Input = {kMargin, top, layout.ClientWidth - 94, kEditHeight};
        boxes.HasPicker = true;
        boxes.Picker = {boxes.Input.Left + boxes.Input.Width + kPickerGap, top, kPickerWidth, kEditHeight};
        break;
      case fkText:
      default: boxes.Input = {kMargin, top, fullWidth, kEditHeight}; break;
    }
    layout.Fields.push_back(boxes);
    y += kLabelToControl + field.Height + kRowGap;
  }
  layout.Ok = {layout.ClientWidth - 208, y + 5, kButtonWidth, kButtonHeight};
  layout.Cancel = {layout.ClientWidth - 108, y + 5, kButtonWidth, kButtonHeight};
  layout.ClientHeight = y + 48;
  return layout;
}
