#pragma once
// The modal parameter dialog of one action: built in code from the field list, with one
// labelled input control per parameter and OK / Cancel.
#include <windows.h>
#include <string>
#include <vector>
#include "editor/editor_fields.h"
#include "editor/editor_font.h"
#include "editor/editor_layout.h"

class TTamrelActionEditor {
 public:
  TTamrelActionEditor(std::wstring caption, std::vector<TEditorField> fields, std::vector<std::wstring> values);
  TTamrelActionEditor(const TTamrelActionEditor&) = delete;
  TTamrelActionEditor& operator=(const TTamrelActionEditor&) = delete;

  // Runs the dialog until it is closed; true for OK. The window and its controls are gone
  // when this returns. After OK, Values() holds each field's text.
  bool ShowModal();
  const std::vector<std::wstring>& Values() const { return values_; }

  // The "..." click: lets the host choose an object of the publication for the object edit.
  void PickPublicationObject();

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void SetInitialValue(size_t index, HWND input);
  void PlaceWindow();
  void CollectValues();
  HWND AddControl(const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                  const TControlBox& box, int id);

  std::wstring caption_;
  std::vector<TEditorField> fields_;
  std::vector<std::wstring> values_;
  TEditorLayout layout_;
  TEditorFont font_;
  HWND owner_ = nullptr;
  HWND dialog_ = nullptr;
  HWND lastControl_ = nullptr;  // tab order follows creation order
  std::vector<HWND> inputs_;
  HWND FObjectEdit = nullptr;
};
