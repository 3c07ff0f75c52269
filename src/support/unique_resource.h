#pragma once
// TUniqueResource: the one holder of every Win32 handle, module, GDI object and system-allocated
// buffer the plug-in owns. Its traits name the invalid value, the test for a valid one, and the
// call that releases it; the holder releases a valid value exactly once (reset, destruction or
// move-assignment) and never an invalid one, so `if (holder)` is the only test a caller needs.
#include <objbase.h>
#include <windows.h>
#include <utility>

template <class Traits>
class TUniqueResource {
 public:
  using pointer = typename Traits::pointer;

  TUniqueResource() = default;
  explicit TUniqueResource(pointer value) : value_(value) {}
  ~TUniqueResource() { reset(); }
  TUniqueResource(TUniqueResource&& other) noexcept : value_(other.release()) {}
  TUniqueResource& operator=(TUniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  TUniqueResource(const TUniqueResource&) = delete;
  TUniqueResource& operator=(const TUniqueResource&) = delete;

  pointer get() const { return value_; }
  explicit operator bool() const { return Traits::IsValid(value_); }

  // Releases what is held (when valid) and holds value instead.
  void reset(pointer value = Traits::Invalid()) {
    const pointer old = value_;
    value_ = value;
    if (Traits::IsValid(old)) Traits::Close(old);
  }
  // Gives up ownership without releasing.
  pointer release() { return std::exchange(value_, Traits::Invalid()); }
  // For an [out] parameter: releases what is held first.
  pointer* put() {
    reset();
    return &value_;
  }
  // For an [in, out] variable that the callee may release and replace (a host string
  // buffer): whatever the variable holds afterwards is owned by this holder.
  pointer& variable() { return value_; }

 private:
  pointer value_ = Traits::Invalid();
};

// ---- traits: null is invalid unless a type says otherwise --------------------------------------------
template <class T, void (*CloseFn)(T)>
struct TNullInvalidTraits {
  using pointer = T;
  static constexpr T Invalid() { return nullptr; }
  static bool IsValid(T value) { return value != nullptr; }
  static void Close(T value) { CloseFn(value); }
};

namespace unique_resource_detail {
inline void CloseFile(HANDLE h) { CloseHandle(h); }
inline void CloseFind(HANDLE h) { FindClose(h); }
inline void CloseModule(HMODULE m) { FreeLibrary(m); }
inline void CloseFont(HFONT f) { DeleteObject(f); }
inline void CloseCoTaskMemString(LPWSTR s) { CoTaskMemFree(s); }
inline void CloseGlobalString(char* s) { GlobalFree(static_cast<HGLOBAL>(s)); }
inline void CloseView(void* view) { UnmapViewOfFile(view); }
}  // namespace unique_resource_detail

// CreateFileW and FindFirstFileW fail with INVALID_HANDLE_VALUE, not null; null is no handle either.
template <void (*CloseFn)(HANDLE)>
struct TFileHandleTraits {
  using pointer = HANDLE;
  static pointer Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Close(HANDLE h) { CloseFn(h); }
};

using TUniqueFile = TUniqueResource<TFileHandleTraits<&unique_resource_detail::CloseFile>>;
using TUniqueFind = TUniqueResource<TFileHandleTraits<&unique_resource_detail::CloseFind>>;
using TUniqueModule = TUniqueResource<TNullInvalidTraits<HMODULE, &unique_resource_detail::CloseModule>>;
using TUniqueFont = TUniqueResource<TNullInvalidTraits<HFONT, &unique_resource_detail::CloseFont>>;
// A string the system allocated with CoTaskMemAlloc (WebView2 getters hand these out).
using TUniqueCoTaskMemString =
    TUniqueResource<TNullInvalidTraits<LPWSTR, &unique_resource_detail::CloseCoTaskMemString>>;
// A GlobalAlloc'ed NUL-terminated ANSI string, as the host exchanges them.
using TUniqueGlobalString = TUniqueResource<TNullInvalidTraits<char*, &unique_resource_detail::CloseGlobalString>>;

// A view of a file mapping from MapViewOfFile.
using TUniqueView = TUniqueResource<TNullInvalidTraits<void*, &unique_resource_detail::CloseView>>;

// A device context from GetDC, released to its window with ReleaseDC.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~TWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};
