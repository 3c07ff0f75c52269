// The run-time's default terminate handler prints the demangled type of the exception, which
// links the whole demangler into the plug-in. Nothing reaches std::terminate by design (every
// edge is guarded), so the plug-in's own definition only aborts, as the default one does after
// printing; the linker then takes neither the default handler nor the demangler.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
