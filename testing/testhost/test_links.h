#pragma once
// Directory links for tests. Under Wine they are Unix symbolic links, made and removed with
// Unix tools (Wine's CreateSymbolicLinkW does nothing); on Windows, CreateSymbolicLinkW.
#include <string>

namespace testhost {
// A link at `link` to the folder `target`; false when this system cannot make one.
bool MakeDirectoryLink(const std::wstring& link, const std::wstring& target);
void RemoveDirectoryLink(const std::wstring& link);
}  // namespace testhost
