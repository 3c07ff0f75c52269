#pragma once
// The host calls and is called with Delphi's "register" convention: arguments 1-3 in
// EAX, EDX, ECX, the rest pushed left to right, callee pops, a Boolean comes back in AL.
// GCC gets there with regparm(3) + stdcall, declaring the stack arguments in reverse
// order (stdcall pushes right to left).
#include <cstdint>

#define HOSTCALL __attribute__((regparm(3), stdcall))

// A Delphi Boolean is the AL byte only; the rest of EAX may hold anything.
inline bool HostBool(uint32_t eax) { return (eax & 0xFFu) != 0; }

// Host order: id, name, hint, type bytes (pointer, highest index), count.
typedef void(HOSTCALL* AddActionProc)(int32_t id, const char* name, const char* hint, int32_t count, int32_t highIndex,
                                      const uint8_t* types);
typedef void(HOSTCALL* AddFileProc)(const char* path, uint8_t flag);
typedef void(HOSTCALL* SetVariableProc)(const char* name, const char* value);
typedef void(HOSTCALL* RunScriptProc)(const char* script);
typedef uint32_t(HOSTCALL* InterfaceAccessProc)(int32_t code, char** buffer);
