#include "editor_driver.h"
#include <gtest/gtest.h>

namespace editortest {
namespace {

struct DriveState {
  std::function<void(HWND)> script;
  bool shown = false;
  bool scripted = false;
  HWND dialog = nullptr;
  int idleTicks = 0;
};
DriveState* g_drive = nullptr;

BOOL CALLBACK FindEditorWindow(HWND window, LPARAM found) {
  if (ClassOf(window) == L"#32770" && TextOf(window).rfind(L"tamrelDesk - ", 0) == 0 && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// Fires inside the dialog's modal loop on the test thread.
void CALLBACK DriveTick(HWND, UINT, UINT_PTR, DWORD) {
  DriveState& s = *g_drive;
  if (!s.scripted) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindEditorWindow, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    s.shown = s.scripted = true;
    s.dialog = dialog;
    s.script(dialog);
    return;
  }
  // The script must have closed the dialog; a safety net keeps a broken run from hanging.
  if (IsWindow(s.dialog) && ++s.idleTicks > 250) {
    ADD_FAILURE() << "the dialog stayed open after the test's script";
    EndDialog(s.dialog, IDCANCEL);
  }
}

int g_created = 0;
HHOOK g_hook = nullptr;
LRESULT CALLBACK CountCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) ++g_created;
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

std::wstring ClassOf(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return name;
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], static_cast<int>(text.size()))));
  return text;
}

Control Describe(HWND dialog, HWND control) {
  Control c;
  c.hwnd = control;
  c.cls = ClassOf(control);
  c.text = TextOf(control);
  GetWindowRect(control, &c.box);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&c.box), 2);
  c.style = GetWindowLongW(control, GWL_STYLE);
  return c;
}

std::vector<Control> Children(HWND dialog) {
  std::vector<Control> out;
  for (HWND w = GetWindow(dialog, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) out.push_back(Describe(dialog, w));
  return out;
}

std::vector<HWND> TabOrder(HWND dialog) {
  std::vector<HWND> order;
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  for (HWND w = first; w && order.size() < 100; w = GetNextDlgTabItem(dialog, w, FALSE)) {
    if (!order.empty() && w == first) break;
    order.push_back(w);
  }
  return order;
}

std::vector<std::wstring> ComboItems(HWND combo) {
  std::vector<std::wstring> items;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring item(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    item.resize(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]))));
    items.push_back(item);
  }
  return items;
}

std::wstring ComboSelection(HWND combo) {
  const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return L"<none>";
  return ComboItems(combo).at(static_cast<size_t>(index));
}

SIZE ClientSize(HWND window) {
  RECT r = {};
  GetClientRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

std::vector<Field> Fields(HWND dialog) {
  std::vector<Field> fields;
  for (const Control& c : Children(dialog)) {
    if (c.cls == L"Static") {
      fields.emplace_back();
      fields.back().label = c;
    } else if (!fields.empty() && c.cls == L"Button" && c.text == L"...") {
      fields.back().picker = c;
    } else if (!fields.empty() && !fields.back().input.hwnd && c.cls != L"Button") {
      fields.back().input = c;
    }
  }
  return fields;
}

HWND Button(HWND dialog, const std::wstring& caption) {
  for (const Control& c : Children(dialog))
    if (c.cls == L"Button" && c.text == caption) return c.hwnd;
  return nullptr;
}

void Type(HWND control, const std::wstring& text) {
  SetFocus(control);
  SendMessageW(control, EM_SETSEL, 0, -1);
  for (wchar_t ch : text) SendMessageW(control, WM_CHAR, ch, 1);
}

void PressKey(HWND dialog, UINT key) {
  HWND target = GetFocus();
  if (!target) target = dialog;
  const LPARAM down = 1 | (static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16);
  PostMessageW(target, WM_KEYDOWN, key, down);
  PostMessageW(target, WM_KEYUP, key, down | 0xC0000000);
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void CloseBox(HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool EditWithDialog(testhost::TestHost& host, int32_t id, char** params, int32_t highIndex,
                    const std::function<void(HWND)>& script, bool* shown) {
  DriveState state;
  state.script = script;
  g_drive = &state;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, DriveTick);
  const bool result = host.Edit(id, params, highIndex);
  KillTimer(nullptr, timer);
  g_drive = nullptr;
  MSG msg;  // drop a tick that was already queued
  while (PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
  }
  if (shown) *shown = state.shown;
  return result;
}

WindowCreationCounter::WindowCreationCounter() {
  g_created = 0;
  hook_ = g_hook = SetWindowsHookExW(WH_CBT, CountCreation, nullptr, GetCurrentThreadId());
}
WindowCreationCounter::~WindowCreationCounter() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_hook = nullptr;
}
int WindowCreationCounter::count() const { return g_created; }

ParamArray::ParamArray(testhost::TestHost& host, const std::vector<const char*>& values) : host_(host) {
  for (const char* v : values) entries_.push_back(v ? testhost::TestHost::HostBuffer(v) : nullptr);
}
ParamArray::~ParamArray() {
  for (char*& e : entries_) host_.FreeHostBuffer(e);
}

}  // namespace editortest
