#include "publication_window.h"
#include "text.h"

namespace runner {
namespace {
const wchar_t kWindowClass[] = L"TamrelRunnerPublication";
const wchar_t kRectangleClass[] = L"TamrelRunnerRectangle";

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kWindowClass;
  RegisterClassW(&wc);
  wc.lpszClassName = kRectangleClass;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  RegisterClassW(&wc);
  done = true;
}
}  // namespace

PublicationWindow::PublicationWindow(const Publication& publication) : publication_(publication) {
  RegisterClasses();
  RECT frame{0, 0, publication.width, publication.height};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  AdjustWindowRect(&frame, style, FALSE);
  window_ = CreateWindowExW(0, kWindowClass, WideFromUtf8(publication.title).c_str(), style, CW_USEDEFAULT,
                            CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!window_) return;
  for (const auto& r : publication.rectangles)
    rectangles_.push_back(CreateWindowExW(0, kRectangleClass, WideFromUtf8(r.name).c_str(),
                                          WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r.left, r.top, r.width, r.height,
                                          window_, nullptr, GetModuleHandleW(nullptr), nullptr));
  ShowWindow(window_, SW_SHOWNOACTIVATE);
}

PublicationWindow::~PublicationWindow() {
  if (window_) DestroyWindow(window_);  // destroys the Rectangles with it
}

HWND PublicationWindow::Rectangle(const std::string& name) const {
  for (size_t i = 0; i < publication_.rectangles.size(); ++i)
    if (UpperAscii(publication_.rectangles[i].name) == UpperAscii(name)) return rectangles_[i];
  return nullptr;
}

}  // namespace runner
