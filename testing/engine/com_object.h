#pragma once
// Reference counting and QueryInterface shared by every COM object of the double: each object
// implements exactly one interface and answers IUnknown and that interface's IID only.
#include <windows.h>

#include "engine_abi.h"
#include "live_objects.h"

namespace engine {

template <typename Interface, const GUID& Iid>
class ComObject : public Interface {
 public:
  ComObject() { ObjectCreated(); }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualGUID(riid, engine_abi::IID_Unknown) || IsEqualGUID(riid, Iid)) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 protected:
  // Objects start with one reference, owned by whoever created them.
  virtual ~ComObject() { ObjectDestroyed(); }

 private:
  LONG refs_ = 1;
};

// Owning pointer to a COM interface (the double does not depend on WRL).
template <typename T>
class Ref {
 public:
  Ref() = default;
  Ref(T* p, bool addRef) : p_(p) {
    if (p_ && addRef) p_->AddRef();
  }
  static Ref Adopt(T* p) { return Ref(p, false); }
  static Ref Share(T* p) { return Ref(p, true); }
  Ref(const Ref& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  Ref(Ref&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  Ref& operator=(Ref o) noexcept {
    T* t = p_;
    p_ = o.p_;
    o.p_ = t;
    return *this;
  }
  ~Ref() {
    if (p_) p_->Release();
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Hands one reference out through an [out] pointer.
  T* Detach() {
    T* t = p_;
    p_ = nullptr;
    return t;
  }
  void Reset() { Ref().Swap(*this); }
  void Swap(Ref& o) noexcept {
    T* t = p_;
    p_ = o.p_;
    o.p_ = t;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace engine
