#include "editor/action_editor.h"

bool RunActionEditor(int32_t, char**, int32_t) { return false; }
