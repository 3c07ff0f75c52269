#include "support/directory_walk.h"
#include <algorithm>
#include <memory>
#include <set>
#include <vector>
#include "support/file_system.h"
#include "support/file_system_path.h"
#include "support/text.h"

namespace {
struct TEntry {
  std::wstring name;
  bool directory;
};

// One folder being walked: its entries, read in full, and the next one to handle.
struct TFrame {
  std::wstring folder;
  std::vector<TEntry> entries;
  size_t next = 0;
};

bool IsDotEntry(const wchar_t* name) {
  return (name[0] == L'.' && name[1] == L'\0') || (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

bool LessIgnoringCase(const TEntry& a, const TEntry& b) {
  const std::wstring ua = UpperAscii(a.name), ub = UpperAscii(b.name);
  return ua != ub ? ua < ub : a.name < b.name;
}

std::vector<TEntry> ReadEntries(const std::wstring& folder) {
  std::vector<TEntry> entries;
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirst(JoinPath(folder, L"*"), data));
  if (!find) return entries;
  do {
    if (!IsDotEntry(data.cFileName))
      entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(find.get(), &data));
  return entries;
}

class TWalk {
 public:
  explicit TWalk(const TWalkOptions& options) : options_(options) {}

  void Enter(const std::wstring& folder) {
    DirectoryId id;
    if (ReadDirectoryId(folder, id)) {
      if (!visited_.insert(id).second) return;
    } else if (options_.unidentifiedLinks == TUnidentifiedLinks::ulSkip &&
               (AttributesAt(folder) & FILE_ATTRIBUTE_REPARSE_POINT)) {
      return;
    }
    auto frame = std::make_unique<TFrame>();
    frame->folder = folder;
    frame->entries = ReadEntries(folder);
    if (options_.order == TWalkOrder::woFilesByName) {
      auto firstFolder = std::stable_partition(frame->entries.begin(), frame->entries.end(),
                                               [](const TEntry& e) { return !e.directory; });
      std::sort(frame->entries.begin(), firstFolder, LessIgnoringCase);
      std::sort(firstFolder, frame->entries.end(), LessIgnoringCase);
    }
    stack_.push_back(std::move(frame));
  }

  void Run(const std::function<void(const std::wstring&, const std::wstring&)>& onFile) {
    while (!stack_.empty()) {
      TFrame& top = *stack_.back();
      if (top.next == top.entries.size()) {
        stack_.pop_back();
        continue;
      }
      const TEntry entry = top.entries[top.next++];
      const std::wstring path = JoinPath(top.folder, entry.name);
      if (!entry.directory)
        onFile(path, entry.name);
      else if (options_.subfolders)
        Enter(path);  // its entries come next, before the rest of this folder
    }
  }

 private:
  TWalkOptions options_;
  std::vector<std::unique_ptr<TFrame>> stack_;
  std::set<DirectoryId> visited_;
};
}  // namespace

void WalkDirectory(const std::wstring& folder, const TWalkOptions& options,
                   const std::function<void(const std::wstring& path, const std::wstring& name)>& onFile) {
  TWalk walk(options);
  walk.Enter(folder);
  walk.Run(onFile);
}
