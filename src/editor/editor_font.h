#pragma once
#include <windows.h>
#include "support/unique_resource.h"

// The dialog's font: "Segoe UI" 9 pt where the system has it, else the system's message
// font face at the same size. Owned; deleted with the holder.
class TEditorFont {
 public:
  TEditorFont();
  TEditorFont(const TEditorFont&) = delete;
  TEditorFont& operator=(const TEditorFont&) = delete;
  HFONT handle() const { return font_.get(); }

 private:
  TUniqueFont font_;
};
