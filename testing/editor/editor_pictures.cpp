// Renders the editor dialog of every action to a BMP picture: loads the plug-in as the host
// does, calls nbEditAction with sample parameters and copies the dialog from the screen once
// it has been painted. Needs a real display (Wine's x11 driver); see scripts/editor-pictures.sh.
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>
#include "testhost/test_env.h"
#include "testhost/test_host.h"

namespace {

struct Sample {
  int id;
  std::vector<const char*> params;
};

// Values an author might have entered, so that each picture shows a filled-in dialog.
const std::vector<Sample> kSamples = {
    {1, {"Rectangle1", "https://example.com/"}},
    {2, {"Rectangle1", "https://example.com/docs/index.html"}},
    {3, {"Rectangle1", "<h1>Hello</h1>\r\n<p>Shown inside the Rectangle.</p>"}},
    {4, {"Rectangle1", "document.title", "[Result]"}},
    {5, {"Rectangle1"}},
    {6, {"Rectangle1", "[Message]", "AlertBox \"Message\" \"[Message]\""}},
    {7, {"Rectangle1", "{\"command\":\"refresh\"}"}},
    {8, {"Rectangle1", "NavigationCompleted", "[EventData]", "SetVar \"[Loaded]\" \"true\""}},
    {9, {"Rectangle1", "TITLE", "[PageTitle]"}},
    {10, {"Rectangle1"}},
    {11, {"Rectangle1"}},
    {12, {"Rectangle1"}},
    {13, {"Rectangle1"}},
    {14, {"Rectangle1", "125"}},
    {15, {"Rectangle1", "[Zoom]"}},
    {16, {"Rectangle1", "REFRESH"}},
    {17, {"Rectangle1", "C:\\Publication\\page.html"}},
    {18, {"Rectangle1", "C:\\Publication\\webapp", "index.html"}},
    {19, {"Rectangle1", "[ConsoleLine]", "ListBoxAddItem \"Log\" \"0\" \"[ConsoleLine]\""}},
    {20, {"Rectangle1"}},
    {21, {"Rectangle1", "grid", "{\"layout\":\"fitColumns\",\"data\":[{\"name\":\"Ada\"}]}", "[GridResult]"}},
    {22, {"Rectangle1", "editor", "{\"theme\":\"snow\"}", "[EditorResult]"}},
    {23,
     {"Rectangle1", "chart", "{\"xAxis\":{\"type\":\"category\"},\"series\":[{\"type\":\"bar\"}]}", "[ChartResult]"}},
    {25, {"Rectangle1", "C:\\Publication\\webapp\\dist", "index.html", ""}},
};

struct Capture {
  std::wstring file;
  HWND dialog = nullptr;
  int ticks = 0;
  bool saved = false;
};
Capture* g_capture = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t cls[64] = {}, text[256] = {};
  GetClassNameW(window, cls, 64);
  GetWindowTextW(window, text, 256);
  if (std::wstring(cls) == L"#32770" && std::wstring(text).rfind(L"tamrelDesk - ", 0) == 0 && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

bool SaveBitmap(HBITMAP bitmap, HDC dc, int width, int height, const std::wstring& file) {
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = ((width * 3 + 3) / 4) * 4;
  std::vector<BYTE> pixels(stride * static_cast<DWORD>(height));
  if (!GetDIBits(dc, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
    return false;
  BITMAPFILEHEADER header = {};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof(header) + sizeof(info);
  header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof(header));
  bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
  bytes.append(reinterpret_cast<const char*>(pixels.data()), pixels.size());
  return testhost::WriteFileBytes(file, bytes);
}

// Copies the dialog, frame and caption included, from the screen.
bool CaptureWindow(HWND window, const std::wstring& file) {
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  const bool ok = SaveBitmap(bitmap, memory, width, height, file);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  Capture& c = *g_capture;
  if (!c.dialog) {
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&c.dialog));
    if (c.dialog)
      RedrawWindow(c.dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return;
  }
  // A few ticks let the X server show what Wine painted.
  if (++c.ticks < 10) return;
  if (!c.saved) {
    GdiFlush();
    c.saved = CaptureWindow(c.dialog, c.file);
    PostMessageW(c.dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: editor_pictures <output folder>\n");
    return 2;
  }
  std::wstring folder = argv[1];
  if (folder.back() != L'\\') folder += L'\\';
  testhost::ScopedLocalAppData appData;
  testhost::TestHost host;
  host.Start();
  int failures = 0;
  for (const Sample& sample : kSamples) {
    std::vector<char*> params;
    for (const char* p : sample.params) params.push_back(testhost::TestHost::HostBuffer(p));
    wchar_t name[32];
    swprintf(name, 32, L"action-%02d.bmp", sample.id);
    Capture capture;
    capture.file = folder + name;
    g_capture = &capture;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, Tick);
    host.Edit(sample.id, params.data(), static_cast<int32_t>(params.size()) - 1);
    KillTimer(nullptr, timer);
    g_capture = nullptr;
    for (char*& p : params) host.FreeHostBuffer(p);
    std::printf("action %2d: %s\n", sample.id, capture.saved ? "captured" : "FAILED");
    if (!capture.saved) ++failures;
  }
  return failures == 0 ? 0 : 1;
}
