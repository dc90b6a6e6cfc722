// A zeroing weak reference to a runtime object, for the references UIKit keeps unretained
// (control and gesture targets, a view's controller): it reads nil once the object is gone.
#pragma once

#include "platform/runtime/runtime.h"

#include <memory>

namespace uikit {
// The object's liveness flag, created on first use and cleared when the object is destroyed.
std::shared_ptr<bool> livenessOf(id object);
} // namespace uikit

template <class T> class Weak {
  public:
    Weak() = default;
    Weak(T* object) : object_(object), alive_(object ? uikit::livenessOf(object) : nullptr) {}
    T* get() const { return alive_ && *alive_ ? object_ : nullptr; }
    operator T*() const { return get(); }
    T* operator->() const { return get(); }
    explicit operator bool() const { return get() != nullptr; }

  private:
    T* object_ = nullptr;
    std::shared_ptr<bool> alive_;
};
