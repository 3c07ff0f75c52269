// Thread-local storage indexes that the C++ run-time allocates inside this module: libgcc's
// emulated TLS key (the exception globals) and winpthread's own slot are allocated once per
// load and never freed, so a host that loads and unloads the plug-in runs out of indexes after
// about a thousand cycles. The module's own import of TlsAlloc is pointed at a recorder before
// any of that code runs (a TLS callback in .CRT$XLB runs before winpthread's and before the
// C run-time starts), and the recorded indexes are freed when the module unloads.
#include <windows.h>
#include <cstring>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
constexpr LONG kMaxRecorded = 16;
DWORD g_recorded[kMaxRecorded];
LONG g_recordedCount = 0;
DWORD(WINAPI* g_systemTlsAlloc)() = nullptr;

DWORD WINAPI RecordingTlsAlloc() {
  const DWORD index = g_systemTlsAlloc();
  if (index != TLS_OUT_OF_INDEXES) {
    const LONG at = InterlockedIncrement(&g_recordedCount) - 1;
    if (at < kMaxRecorded) g_recorded[at] = index;
  }
  return index;
}

// __ImageBase is declared as one DOS header, but it is the start of the whole mapped image.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
void RecordTlsAllocOfThisModule() {
  auto base = reinterpret_cast<BYTE*>(&__ImageBase);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return;
  for (auto imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    if (!imp->OriginalFirstThunk) continue;
    auto names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
    auto slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "TlsAlloc") != 0) continue;
      DWORD old;
      if (!VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old)) return;
      g_systemTlsAlloc = reinterpret_cast<DWORD(WINAPI*)()>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(&RecordingTlsAlloc);
      VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
    }
  }
}

#pragma GCC diagnostic pop

void NTAPI EarlyTlsCallback(PVOID, DWORD reason, PVOID) {
  if (reason == DLL_PROCESS_ATTACH) RecordTlsAllocOfThisModule();
}
}  // namespace

// The section name orders this callback before the run-time's own (.CRT$XLC and later).
extern "C" __attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK tamrel_early_tls_callback =
    EarlyTlsCallback;

// Called last at process detach, after the run-time's TLS callbacks have run.
void ReleaseRuntimeTlsIndexes() {
  const LONG count = g_recordedCount < kMaxRecorded ? g_recordedCount : kMaxRecorded;
  for (LONG i = 0; i < count; ++i) TlsFree(g_recorded[i]);
  g_recordedCount = 0;
}
