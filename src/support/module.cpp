#include "support/module.h"

// Set by DllMain in the plug-in; stays null in programs that link the core directly, where
// module-relative lookups then fall back to the executable.
HINSTANCE PluginInstance = nullptr;
