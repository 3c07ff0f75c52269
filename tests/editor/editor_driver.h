#pragma once
// Drives the real editor dialog while nbEditAction runs: a thread timer fires inside the
// dialog's modal loop, finds the dialog, and hands it to the test's script, which reads the
// controls, types, clicks and finally closes the dialog as a person would.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "testhost/test_host.h"

namespace editortest {

struct Control {
  HWND hwnd = nullptr;
  std::wstring cls;  // window class, e.g. "Edit"
  std::wstring text;
  RECT box = {};  // in the dialog's client coordinates
  LONG style = 0;
  int Left() const { return box.left; }
  int Top() const { return box.top; }
  int Width() const { return box.right - box.left; }
  int Height() const { return box.bottom - box.top; }
};

std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);
Control Describe(HWND dialog, HWND control);
std::vector<Control> Children(HWND dialog);  // in sibling order
std::vector<HWND> TabOrder(HWND dialog);     // as Tab walks it from the first stop
std::vector<std::wstring> ComboItems(HWND combo);
std::wstring ComboSelection(HWND combo);
SIZE ClientSize(HWND window);

// The labelled inputs of the dialog in field order: label, input and the "..." button if any.
struct Field {
  Control label, input, picker;  // picker.hwnd is null without a "..." button
};
std::vector<Field> Fields(HWND dialog);
HWND Button(HWND dialog, const std::wstring& caption);

// Input as a person gives it.
void Type(HWND control, const std::wstring& text);  // focus, select all, then characters
void PressKey(HWND dialog, UINT key);               // to the focused control, through the modal loop
void Click(HWND button);
void CloseBox(HWND dialog);

// Calls nbEditAction; `script` runs once with the dialog. Returns nbEditAction's result.
// `shown` tells whether a dialog appeared; a script that leaves the dialog open fails the
// test and the dialog is cancelled so that the run goes on.
bool EditWithDialog(testhost::TestHost& host, int32_t id, char** params, int32_t highIndex,
                    const std::function<void(HWND dialog)>& script, bool* shown = nullptr);

// Counts the windows created on this thread while it lives (for "shows nothing").
class WindowCreationCounter {
 public:
  WindowCreationCounter();
  ~WindowCreationCounter();
  int count() const;

 private:
  HHOOK hook_ = nullptr;
};

// Host-owned parameter array for nbEditAction; frees whatever it holds at the end, the way
// the host releases its buffers.
class ParamArray {
 public:
  ParamArray(testhost::TestHost& host, const std::vector<const char*>& values);  // nullptr = null entry
  ~ParamArray();
  char** data() { return entries_.data(); }
  int32_t high() const { return static_cast<int32_t>(entries_.size()) - 1; }  // -1 when empty
  std::string at(size_t i) const { return entries_[i] ? entries_[i] : "<null>"; }
  char* raw(size_t i) const { return entries_[i]; }

 private:
  testhost::TestHost& host_;
  std::vector<char*> entries_;
};

}  // namespace editortest
