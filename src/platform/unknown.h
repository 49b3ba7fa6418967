// Reference counting in the component-object manner: the count starts at 1 and the last Release
// destroys the object through DeleteThis.
#pragma once

#include <atomic>
#include <cstdint>

struct VGuid {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  uint8_t data4[8] = {};
  bool operator==(const VGuid& other) const;
  bool operator!=(const VGuid& other) const { return !(*this == other); }
};

// The root interface: objects answer QueryInterface for the interfaces they implement.
class IUnknown {
 public:
  virtual void* QueryInterface(const VGuid& iid) = 0;
  virtual long AddRef() = 0;
  virtual long Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};

template <class Interface>
class VUnknown : public Interface {
 public:
  VUnknown() = default;
  VUnknown(const VUnknown& other) : Interface(other) {}
  VUnknown& operator=(const VUnknown& other) {
    Interface::operator=(other);
    return *this;
  }

  // Objects answer only for themselves unless a derived class knows more interfaces.
  void* QueryInterface(const VGuid&) override { return nullptr; }
  long AddRef() override { return ++references_; }
  long Release() override {
    long left = --references_;
    if (left == 0) DeleteThis();
    return left;
  }
  long GetReferenceCount() const { return references_; }
  virtual void DeleteThis() { delete this; }

 protected:
  ~VUnknown() override = default;

 private:
  std::atomic<long> references_{1};
};

// Holds one reference and releases it when it goes.
template <class T>
class VRef {
 public:
  VRef() = default;
  explicit VRef(T* adopted) : object_(adopted) {}
  VRef(const VRef& other) : object_(other.object_) {
    if (object_) object_->AddRef();
  }
  VRef& operator=(const VRef& other) {
    if (other.object_) other.object_->AddRef();
    Reset();
    object_ = other.object_;
    return *this;
  }
  ~VRef() { Reset(); }
  void Reset() {
    if (object_) object_->Release();
    object_ = nullptr;
  }
  T* Get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_ = nullptr;
};
