#include "editor/editor_font.h"
#include <cwchar>

namespace {
const wchar_t kPreferredFace[] = L"Segoe UI";
constexpr int kPointSize = 9;

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// CreateFont never fails for a missing face, it substitutes silently; ask for the family instead.
bool FaceInstalled(HDC dc, const wchar_t* face) {
  LOGFONTW query = {};
  query.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(dc, &query, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}
}  // namespace

TEditorFont::TEditorFont() {
  LOGFONTW font = {};
  bool preferred = false;
  {
    const TWindowDC screen(nullptr);
    preferred = screen && FaceInstalled(screen.get(), kPreferredFace);
    font.lfHeight = -MulDiv(kPointSize, screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96, 72);
  }
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  if (preferred) {
    wcsncpy(font.lfFaceName, kPreferredFace, LF_FACESIZE - 1);
  } else {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
      wcsncpy(font.lfFaceName, metrics.lfMessageFont.lfFaceName, LF_FACESIZE - 1);
  }
  font_.reset(CreateFontIndirectW(&font));
}
