#pragma once
// Small owners for COM on Windows: an interface pointer released on every road out, and COM
// kept initialised for the calling thread while a scope lives. Windows only.
#include <objbase.h>

namespace quarrix {

// Releases the interface it holds when it goes; `out()` is what a COM call fills in.
template <typename Interface>
class ComPointer {
 public:
  ComPointer() = default;
  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;
  ~ComPointer() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Interface* operator->() const { return pointer_; }
  void** out() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

// COM for the calling thread while the object lives (a thread that has it already keeps it).
class ComScope {
 public:
  ComScope() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (initialised_) CoUninitialize();
  }

 private:
  bool initialised_;
};

}  // namespace quarrix
