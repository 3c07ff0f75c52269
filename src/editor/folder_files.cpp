#include "editor/folder_files.h"
#include <windows.h>
#include <memory>
#include <set>
#include <vector>
#include "dependencies/ansi_path.h"
#include "host/diagnostic_log.h"
#include "host/file_system.h"
#include "host/file_system_path.h"
#include "host/host_callbacks.h"

namespace {

std::wstring FullPathOrSelf(const std::wstring& path) {
  const std::wstring full = FullPath(path);
  return full.empty() ? path : full;
}

bool IsDotEntry(const wchar_t* name) {
  return (name[0] == L'.' && name[1] == L'\0') || (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

// One folder being enumerated; the walk keeps these on the heap, not on the call stack.
struct Frame {
  std::wstring folder;
  FindHandle find;
  WIN32_FIND_DATAW data;
  bool pending;  // data holds an entry not yet handled
};

class FolderWalk {
 public:
  void Enter(const std::wstring& folder) {
    // A directory whose identity cannot be read is walked: only a proven repeat is skipped.
    DirectoryId id;
    if (ReadDirectoryId(folder, id) && !visited_.insert(id).second) return;
    auto frame = std::make_unique<Frame>();
    frame->folder = folder;
    frame->find.reset(FindFirst(JoinPath(folder, L"*.*"), frame->data));
    frame->pending = frame->find.get() != INVALID_HANDLE_VALUE;
    if (frame->pending) stack_.push_back(std::move(frame));
  }

  void Run() {
    while (!stack_.empty()) {
      Frame& top = *stack_.back();
      if (!top.pending) {
        stack_.pop_back();
        continue;
      }
      const WIN32_FIND_DATAW entry = top.data;
      const std::wstring folder = top.folder;
      top.pending = FindNextFileW(top.find.get(), &top.data) != FALSE;
      if (IsDotEntry(entry.cFileName)) continue;
      const std::wstring path = JoinPath(folder, entry.cFileName);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        Enter(path);  // its files come next, before the rest of this folder
      else
        Register(FullPathOrSelf(path));
    }
  }

 private:
  // The host takes ANSI paths: one with characters outside the code page would arrive with
  // substitutes and name no file, so it is left out (its short name would ship the file under
  // a name the page does not use).
  static void Register(const std::wstring& path) {
    if (RepresentableInAnsi(path))
      AddPublicationFile(path);
    else
      WriteLog(L"Cannot register a path outside the ANSI code page: " + path);
  }

  std::vector<std::unique_ptr<Frame>> stack_;
  std::set<DirectoryId> visited_;
};

}  // namespace

void RegisterFolderFiles(const std::wstring& folder) {
  if (!nbAddFile) return;
  FolderWalk walk;
  walk.Enter(folder);
  walk.Run();
}
