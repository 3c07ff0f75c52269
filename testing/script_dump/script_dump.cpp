// Writes the JavaScript texts the plug-in builds to a file, so that the browser tests run
// exactly what the plug-in would hand to WebView2.
//
//   tamrel_script_dump <output.json> <cases.json>
//   tamrel_script_dump <output.json> [<kind> <id> <json>]...
//
// A case is a component kind ("tabulator", "quill" or "echarts"), a container ID and the JSON
// parameter; cases.json is a JSON array of such [kind, id, json] string triples (UTF-8).
// The output is one JSON object (ASCII, every other code unit as \uXXXX, so the UTF-16 text
// comes back unchanged):
//   {"bridge":..., "consoleCapture":..., "stored":..., "initScript":...,
//    "scripts":[{"kind":..., "id":..., "validId":true|false, "script":...}, ...]}
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "actions/component_scripts.h"
#include "browser/page_scripts.h"
#include "webview2/string_lines.h"

namespace {

struct Case {
  std::wstring kind, id, json;
};

std::wstring Utf8ToWide(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) throw std::runtime_error("input is not valid UTF-8");
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

// A reader for the one shape the cases file has: an array of arrays of strings.
class CasesReader {
 public:
  explicit CasesReader(std::wstring text) : s_(std::move(text)) {}

  std::vector<Case> Read() {
    std::vector<Case> cases;
    Expect(L'[');
    if (!Peek(L']')) {
      do {
        Expect(L'[');
        Case c;
        c.kind = String();
        Expect(L',');
        c.id = String();
        Expect(L',');
        c.json = String();
        Expect(L']');
        cases.push_back(c);
      } while (Take(L','));
    }
    Expect(L']');
    SkipBlanks();
    if (i_ != s_.size()) Fail("trailing text");
    return cases;
  }

 private:
  [[noreturn]] void Fail(const char* what) {
    throw std::runtime_error(std::string("cases file: ") + what + " at " + std::to_string(i_));
  }
  void SkipBlanks() {
    while (i_ < s_.size() && (s_[i_] == L' ' || s_[i_] == L'\t' || s_[i_] == L'\r' || s_[i_] == L'\n')) ++i_;
  }
  bool Peek(wchar_t c) {
    SkipBlanks();
    return i_ < s_.size() && s_[i_] == c;
  }
  bool Take(wchar_t c) {
    if (!Peek(c)) return false;
    ++i_;
    return true;
  }
  void Expect(wchar_t c) {
    if (!Take(c)) Fail("unexpected character");
  }
  unsigned Hex4() {
    if (i_ + 4 > s_.size()) Fail("short \\u escape");
    unsigned v = 0;
    for (int k = 0; k < 4; ++k) {
      wchar_t c = s_[i_++];
      v <<= 4;
      if (c >= L'0' && c <= L'9')
        v |= c - L'0';
      else if (c >= L'a' && c <= L'f')
        v |= c - L'a' + 10;
      else if (c >= L'A' && c <= L'F')
        v |= c - L'A' + 10;
      else
        Fail("bad \\u escape");
    }
    return v;
  }
  std::wstring String() {
    Expect(L'"');
    std::wstring out;
    for (;;) {
      if (i_ >= s_.size()) Fail("unterminated string");
      wchar_t c = s_[i_++];
      if (c == L'"') return out;
      if (c != L'\\') {
        out += c;
        continue;
      }
      if (i_ >= s_.size()) Fail("unterminated escape");
      switch (wchar_t e = s_[i_++]) {
        case L'"':
        case L'\\':
        case L'/': out += e; break;
        case L'b': out += L'\b'; break;
        case L'f': out += L'\f'; break;
        case L'n': out += L'\n'; break;
        case L'r': out += L'\r'; break;
        case L't': out += L'\t'; break;
        case L'u': out += static_cast<wchar_t>(Hex4()); break;  // lone surrogates kept as they are
        default: Fail("bad escape");
      }
    }
  }

  std::wstring s_;
  size_t i_ = 0;
};

std::string JsonString(const std::wstring& text) {
  std::string out = "\"";
  char buf[8];
  for (wchar_t c : text) {
    if (c == L'"')
      out += "\\\"";
    else if (c == L'\\')
      out += "\\\\";
    else if (c >= 0x20 && c < 0x7F)
      out += static_cast<char>(c);
    else {
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
      out += buf;
    }
  }
  return out + "\"";
}

// Exactly what the browser control registers: the stored text as its InitScript lines,
// read back as one text.
std::wstring InitScriptText(const std::wstring& stored) {
  TStringLines lines;
  lines.SetText(stored);
  return lines.Text();
}

std::wstring BuildScript(const Case& c) {
  if (c.kind == L"tabulator") return BuildTabulatorScript(c.id, c.json);
  if (c.kind == L"quill") return BuildQuillScript(c.id, c.json);
  if (c.kind == L"echarts") return BuildEChartsScript(c.id, c.json);
  throw std::runtime_error("unknown component kind");
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the cases file");
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int Run(int argc, wchar_t** argv) {
  if (argc < 2)
    throw std::runtime_error("usage: tamrel_script_dump <output.json> [<cases.json> | <kind> <id> <json>...]");
  std::vector<Case> cases;
  if (argc == 3) {
    std::string bytes = ReadFileBytes(argv[2]);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    cases = CasesReader(Utf8ToWide(bytes)).Read();
  } else if ((argc - 2) % 3 == 0) {
    for (int i = 2; i + 2 < argc; i += 3) cases.push_back({argv[i], argv[i + 1], argv[i + 2]});
  } else {
    throw std::runtime_error("cases on the command line come in triples: kind id json");
  }

  std::ostringstream out;
  out << "{\"bridge\":" << JsonString(BridgeScript()) << ",\n\"consoleCapture\":" << JsonString(ConsoleCaptureScript())
      << ",\n\"stored\":" << JsonString(StoredPageScriptText())
      << ",\n\"initScript\":" << JsonString(InitScriptText(StoredPageScriptText())) << ",\n\"scripts\":[";
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    out << (i ? ",\n" : "\n") << "{\"kind\":" << JsonString(c.kind) << ",\"id\":" << JsonString(c.id)
        << ",\"validId\":" << (IsValidContainerId(c.id) ? "true" : "false")
        << ",\"script\":" << JsonString(BuildScript(c)) << "}";
  }
  out << "]}\n";

  std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
  file << out.str();
  file.close();
  if (!file) throw std::runtime_error("cannot write the output file");
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tamrel_script_dump: %s\n", e.what());
    return 2;
  }
}
