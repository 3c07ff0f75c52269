#include "editor/editor_fields.h"

namespace {
const wchar_t kEvents[] =
    L"NavigationStarting|NavigationCompleted|ContentLoading|TitleChanged|SourceChanged|ProcessFailed";
const wchar_t kInformation[] = L"URL|TITLE|CAN_GO_BACK|CAN_GO_FORWARD|WEBVIEW_CREATED";
const wchar_t kOperations[] = L"BACK|FORWARD|REFRESH|STOP";

TEditorField Text(const wchar_t* caption) { return TEditorField(caption, fkText, 28); }
TEditorField Memo(const wchar_t* caption, int32_t height) { return TEditorField(caption, fkMemo, height); }
TEditorField Combo(const wchar_t* caption, const wchar_t* options) { return TEditorField(caption, options); }

// The three web component actions differ only in the caption and height of their memo.
void ComponentFields(std::vector<TEditorField>& fields, const wchar_t* memoCaption, int32_t memoHeight) {
  fields.push_back(Text(L"HTML container element ID"));
  fields.push_back(Memo(memoCaption, memoHeight));
  fields.push_back(Text(L"NeoBook result variable (optional)"));
}
}  // namespace

bool BuildEditorFields(int32_t id, std::wstring& title, std::vector<TEditorField>& fields) {
  title.clear();
  fields.clear();
  if (id < 1 || id > 23) return false;
  // Every action's first parameter is the Rectangle it works on.
  fields.emplace_back(L"Rectangle object name", fkObject, 28);
  switch (id) {
    case 1:
      title = L"Create WebView";
      fields.push_back(Text(L"Initial URL (optional)"));
      break;
    case 2:
      title = L"Navigate";
      fields.push_back(Text(L"Destination URL"));
      break;
    case 3:
      title = L"Set HTML";
      fields.push_back(Memo(L"HTML source", 190));
      break;
    case 4:
      title = L"Execute JavaScript";
      fields.push_back(Memo(L"JavaScript source", 170));
      fields.push_back(Text(L"NeoBook result variable (optional)"));
      break;
    case 5: title = L"Destroy WebView"; break;
    case 6:
      title = L"JavaScript Bridge";
      fields.push_back(Text(L"NeoBook variable for incoming messages"));
      fields.push_back(Memo(L"NeoBook action script to run when a message arrives", 125));
      break;
    case 7:
      title = L"Post Web Message";
      fields.push_back(Memo(L"Message text to send to the webpage", 110));
      break;
    case 8:
      title = L"Browser Event Handler";
      fields.push_back(Combo(L"Browser event to handle", kEvents));
      fields.push_back(Text(L"NeoBook variable to receive event details"));
      fields.push_back(Memo(L"NeoBook action script to execute when the event occurs", 125));
      break;
    case 9:
      title = L"Get Browser Information";
      fields.push_back(Combo(L"Information to retrieve", kInformation));
      fields.push_back(Text(L"NeoBook variable to receive the result"));
      break;
    case 10: title = L"Browser Back"; break;
    case 11: title = L"Browser Forward"; break;
    case 12: title = L"Browser Refresh"; break;
    case 13: title = L"Stop Navigation"; break;
    case 14:
      title = L"Set Browser Zoom";
      fields.push_back(Text(L"Zoom percentage (25-500)"));
      break;
    case 15:
      title = L"Get Browser Zoom";
      fields.push_back(Text(L"NeoBook variable to receive zoom percentage"));
      break;
    case 16:
      title = L"Browser Control";
      fields.push_back(Combo(L"Browser operation", kOperations));
      break;
    case 17:
      title = L"Load Local HTML File";
      fields.push_back(Text(L"HTML file path"));
      break;
    case 18:
      title = L"Load Local Web Application Folder";
      fields.push_back(Text(L"Application folder path"));
      fields.push_back(Text(L"Start page (default: index.html)"));
      break;
    case 19:
      title = L"JavaScript Developer Console";
      fields.push_back(Text(L"NeoBook variable for each console event"));
      fields.push_back(Memo(L"NeoBook action script to run for each console event (optional)", 125));
      break;
    case 20: title = L"Clear JavaScript Developer Console"; break;
    case 21:
      title = L"Create Tabulator Data Grid";
      ComponentFields(fields, L"Tabulator configuration JSON", 170);
      break;
    case 22:
      title = L"Create Quill Rich Text Editor";
      ComponentFields(fields, L"Quill options JSON (e.g. theme/modules)", 170);
      break;
    case 23:
      title = L"Create Apache ECharts Visualization";
      ComponentFields(fields, L"ECharts option JSON", 190);
      break;
  }
  return true;
}

std::vector<std::wstring> SplitOptions(const std::wstring& options) {
  std::vector<std::wstring> items;
  if (options.empty()) return items;
  size_t start = 0;
  for (;;) {
    const size_t bar = options.find(L'|', start);
    items.push_back(options.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
    if (bar == std::wstring::npos) break;
    start = bar + 1;
  }
  return items;
}
