#pragma once
// Pixel layout of the editor dialog: every control's place in client coordinates,
// computed from the field list alone.
#include <vector>
#include "editor/editor_fields.h"

struct TControlBox {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

struct TFieldBoxes {
  TControlBox Label;
  TControlBox Input;       // memo, combo box or edit
  bool HasPicker = false;  // fkObject: the "..." button beside the edit
  TControlBox Picker;
};

struct TEditorLayout {
  int ClientWidth = 0, ClientHeight = 0;
  std::vector<TFieldBoxes> Fields;
  TControlBox Ok, Cancel;
};

constexpr int kDesignWidth = 680;

TEditorLayout ComputeEditorLayout(const std::vector<TEditorField>& fields);
