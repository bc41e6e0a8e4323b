#pragma once
// Smart pointers to the stand-in's objects with the semantics of COM smart pointers: an object
// whose creation failed is empty, and every call through an empty pointer raises ComError
// E_POINTER ("Invalid pointer").
#include <functional>
#include <memory>
#include <string>

#include "data/ado/ComError.h"

namespace ado {

// Creation can be made to fail for tests: the hook sees the class name ("ADODB.Connection",
// "ADODB.Recordset", "DataLinks") and returns the HRESULT of the creation.
using CreateInstanceHook = std::function<HRESULT(const std::string& className)>;
void SetCreateInstanceHook(CreateInstanceHook hook);  // an empty function restores success
HRESULT CheckCreateInstance(const std::string& className);

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(std::shared_ptr<T> object) : object_(std::move(object)) {}

  // Creates a new object unless the creation hook refuses it; the pointer stays empty then.
  HRESULT CreateInstance() {
    object_.reset();
    HRESULT hr = CheckCreateInstance(T::kClassName);
    if (Succeeded(hr)) object_ = std::make_shared<T>();
    return hr;
  }

  T* operator->() const {
    if (!object_) throw ComError(E_POINTER);
    return object_.get();
  }
  T& operator*() const { return *operator->(); }
  explicit operator bool() const { return static_cast<bool>(object_); }
  T* get() const { return object_.get(); }
  const std::shared_ptr<T>& shared() const { return object_; }
  void Release() { object_.reset(); }

 private:
  std::shared_ptr<T> object_;
};

}  // namespace ado
