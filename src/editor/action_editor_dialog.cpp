#include "editor/action_editor_dialog.h"
#include <commctrl.h>
#include <cstring>
#include "host/host_services.h"
#include "host/host_string.h"
#include "support/buffer_text.h"
#include "support/errors.h"
#include "support/guard.h"
#include "support/module.h"
#include "support/text.h"

namespace {
constexpr int kInputId = 1000;   // + field index
constexpr int kPickerId = 2000;  // + field index
constexpr int kLabelId = 3000;   // + field index
// A drop-down list is created with room for its list; the closed box keeps its natural height.
constexpr int kComboListHeight = 220;
const wchar_t kPickerHint[] = L"Select an object from the publication";

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME;

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return std::wstring();
  // A text that fills the buffer may have been cut: ask again with more room.
  return BufferText(
      [window](wchar_t* buffer, DWORD size) {
        const int copied = GetWindowTextW(window, buffer, static_cast<int>(size));
        return copied <= 0 ? 0u : static_cast<DWORD>(copied) + 1 >= size ? size : static_cast<DWORD>(copied);
      },
      static_cast<DWORD>(length) + 2);
}

std::wstring ComboSelection(HWND combo) {
  const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return std::wstring();
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR || length <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

// An empty dialog template built in memory: the controls are created in pixels afterwards.
std::vector<WORD> DialogTemplate(const std::wstring& caption) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  DLGTEMPLATE header = {};
  header.style = kDialogStyle;
  header.dwExtendedStyle = kDialogExStyle;
  std::memcpy(words.data(), &header, sizeof(header));
  words.push_back(0);  // no menu
  words.push_back(0);  // the standard dialog class
  for (wchar_t c : caption) words.push_back(static_cast<WORD>(c));
  words.push_back(0);
  return words;
}
}  // namespace

TTamrelActionEditor::TTamrelActionEditor(std::wstring caption, std::vector<TEditorField> fields,
                                         std::vector<std::wstring> values)
    : caption_(std::move(caption)), fields_(std::move(fields)), values_(std::move(values)) {
  values_.resize(fields_.size());
  layout_ = ComputeEditorLayout(fields_);
}

bool TTamrelActionEditor::ShowModal() {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  // The dialog belongs to the window the author is working in; the modal loop disables it.
  owner_ = GetActiveWindow();
  std::vector<WORD> dialogTemplate = DialogTemplate(caption_);
  const INT_PTR result =
      DialogBoxIndirectParamW(PluginInstance, reinterpret_cast<DLGTEMPLATE*>(dialogTemplate.data()), owner_,
                              &TTamrelActionEditor::DialogProc, reinterpret_cast<LPARAM>(this));
  dialog_ = nullptr;
  return result == IDOK;
}

INT_PTR CALLBACK TTamrelActionEditor::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  TTamrelActionEditor* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<TTamrelActionEditor*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    self->dialog_ = dialog;
  } else {
    self = reinterpret_cast<TTamrelActionEditor*>(GetWindowLongPtrW(dialog, DWLP_USER));
  }
  if (!self) return FALSE;
  // Nothing may unwind through the window manager's frames into the host.
  return Guarded(INT_PTR{FALSE}, [&] { return self->Handle(message, wParam, lParam); });
}

INT_PTR TTamrelActionEditor::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      if (!Guarded(false, [&] {
            SendMessageW(dialog_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.handle()), FALSE);
            CreateControls();
            PlaceWindow();
            return true;
          })) {
        EndDialog(dialog_, IDABORT);
        return FALSE;
      }
      if (!inputs_.empty()) SetFocus(inputs_.front());
      return FALSE;  // focus is set here
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (id == IDOK && code == BN_CLICKED) {
        CollectValues();
        EndDialog(dialog_, IDOK);
        return TRUE;
      }
      if (id == IDCANCEL && code == BN_CLICKED) {
        EndDialog(dialog_, IDCANCEL);
        return TRUE;
      }
      if (id >= kPickerId && id < kPickerId + static_cast<int>(fields_.size()) && code == BN_CLICKED) {
        PickPublicationObject();
        return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE: EndDialog(dialog_, IDCANCEL); return TRUE;
  }
  return FALSE;
}

HWND TTamrelActionEditor::AddControl(const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                                     const TControlBox& box, int id) {
  HWND control =
      CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, box.Left, box.Top, box.Width,
                      box.Height, dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), PluginInstance, nullptr);
  if (!control) Fail(L"A control of the action editor could not be created.");
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.handle()), FALSE);
  // Keep the sibling order equal to the creation order: it is the Tab order.
  SetWindowPos(control, lastControl_ ? lastControl_ : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  lastControl_ = control;
  return control;
}

void TTamrelActionEditor::CreateControls() {
  // Labels take the height of one line of the dialog font.
  int labelHeight = 15;
  if (const TWindowDC dc(dialog_); dc) {
    HGDIOBJ old = SelectObject(dc.get(), font_.handle());
    TEXTMETRICW metrics;
    if (GetTextMetricsW(dc.get(), &metrics)) labelHeight = metrics.tmHeight;
    SelectObject(dc.get(), old);
  }
  for (size_t i = 0; i < fields_.size(); ++i) {
    const TEditorField& field = fields_[i];
    const TFieldBoxes& boxes = layout_.Fields[i];
    TControlBox label = boxes.Label;
    label.Height = labelHeight;
    AddControl(L"STATIC", field.Caption, SS_LEFT | SS_NOPREFIX, 0, label, kLabelId + static_cast<int>(i));
    const int inputId = kInputId + static_cast<int>(i);
    HWND input = nullptr;
    switch (field.Kind) {
      case fkMemo:
        input = AddControl(
            L"EDIT", L"",
            WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN,
            WS_EX_CLIENTEDGE, boxes.Input, inputId);
        break;
      case fkCombo: {
        TControlBox box = boxes.Input;
        box.Height = kComboListHeight;
        input = AddControl(L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, box, inputId);
        for (const std::wstring& item : SplitOptions(field.Options))
          SendMessageW(input, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        break;
      }
      case fkObject:
      case fkText:
      default:
        input = AddControl(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, boxes.Input, inputId);
        break;
    }
    // Parameters are not cut short at the edit control's default typing limit.
    if (field.Kind != fkCombo) SendMessageW(input, EM_SETLIMITTEXT, 0, 0);
    inputs_.push_back(input);
    SetInitialValue(i, input);
    if (boxes.HasPicker) {
      FObjectEdit = input;
      HWND picker =
          AddControl(L"BUTTON", L"...", WS_TABSTOP | BS_PUSHBUTTON, 0, boxes.Picker, kPickerId + static_cast<int>(i));
      HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, dialog_, nullptr, PluginInstance, nullptr);
      if (tip) {
        TOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog_;
        tool.uId = reinterpret_cast<UINT_PTR>(picker);
        tool.lpszText = const_cast<wchar_t*>(kPickerHint);
        SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
      }
    }
  }
  AddControl(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, layout_.Ok, IDOK);
  AddControl(L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, 0, layout_.Cancel, IDCANCEL);
  SendMessageW(dialog_, DM_SETDEFID, IDOK, 0);
}

void TTamrelActionEditor::SetInitialValue(size_t index, HWND input) {
  const std::wstring& value = values_[index];
  if (fields_[index].Kind != fkCombo) {
    SetWindowTextW(input, value.c_str());
    return;
  }
  const std::vector<std::wstring> items = SplitOptions(fields_[index].Options);
  if (items.empty()) return;
  size_t selected = 0;  // an unknown value opens on the first choice
  for (size_t k = 0; k < items.size(); ++k) {
    if (SameTextAscii(items[k], value)) {
      selected = k;
      break;
    }
  }
  SendMessageW(input, CB_SETCURSEL, selected, 0);
}

void TTamrelActionEditor::PlaceWindow() {
  RECT frame = {0, 0, layout_.ClientWidth, layout_.ClientHeight};
  AdjustWindowRectEx(&frame, kDialogStyle, FALSE, kDialogExStyle);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetWindowPos(dialog_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Correct for any frame the estimate missed, so that the client area is exact.
  RECT client;
  if (GetClientRect(dialog_, &client)) {
    width += layout_.ClientWidth - (client.right - client.left);
    height += layout_.ClientHeight - (client.bottom - client.top);
    SetWindowPos(dialog_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT placed;
  if (!GetWindowRect(dialog_, &placed)) return;
  width = placed.right - placed.left;
  height = placed.bottom - placed.top;
  int left, top;
  if (owner_) {
    RECT area;
    if (!GetWindowRect(owner_, &area)) return;  // keeps its designed position
    left = area.left + ((area.right - area.left) - width) / 2;
    top = area.top + ((area.bottom - area.top) - height) / 2;
  } else {
    left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  }
  SetWindowPos(dialog_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TTamrelActionEditor::CollectValues() {
  for (size_t i = 0; i < fields_.size(); ++i)
    values_[i] = fields_[i].Kind == fkCombo ? ComboSelection(inputs_[i]) : WindowText(inputs_[i]);
}

void TTamrelActionEditor::PickPublicationObject() {
  THostServices& host = HostServices();
  if (!host.HasInterfaceAccess() || !FObjectEdit) return;
  // The buffer is the plug-in's own; whatever it holds after the call is released here.
  HostStringHolder buffer;
  SetHostString(buffer.variable(), WindowText(FObjectEdit));
  if (host.InterfaceAccess(8, buffer.variable()) && buffer.variable())
    SetWindowTextW(FObjectEdit, AnsiToWide(buffer.variable()).c_str());
}
