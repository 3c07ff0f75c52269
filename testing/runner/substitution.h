#pragma once
// Replaces variable references in a parameter before the action sees it, as the host does:
// "[Name]" becomes the variable's value (the empty text when it was never set) and "[#nn]"
// the character with the code nn (1 to 255) of the system's code page. A name begins with a
// letter and holds letters, digits, "_" and "."; any other bracket stays as written, so JSON
// arrays such as [1,2] or ["a"] pass unchanged. Values are inserted once, never rescanned.
#include <string>
#include "variables.h"

namespace runner {

std::string Substitute(const std::string& text, const Variables& variables);

}  // namespace runner
