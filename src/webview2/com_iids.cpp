// The one system interface id the plug-in compares against, defined here: the toolchain's
// uuid library first offers it from an object that carries a few hundred media GUIDs with it,
// and the linker would take them all into the plug-in.
#include <unknwn.h>

extern "C" const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
