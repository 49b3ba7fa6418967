// What the protocol parts of one session share: the window their prompts appear over and whether
// the session may be changed.
#pragma once

#include "platform/unknown.h"

class ICommonConfig {
 public:
  virtual void* GetParentWindow() const = 0;
  virtual void SetParentWindow(void* parent) = 0;
  virtual bool IsReadOnly() const = 0;
  virtual void SetReadOnly(bool readOnly) = 0;

 protected:
  virtual ~ICommonConfig() = default;
};

class CommonConfig : public ICommonConfig {
 public:
  void* GetParentWindow() const override { return parent_; }
  void SetParentWindow(void* parent) override { parent_ = parent; }
  bool IsReadOnly() const override { return readOnly_; }
  void SetReadOnly(bool readOnly) override { readOnly_ = readOnly; }

 private:
  void* parent_ = nullptr;  // a QWidget* of the host; never used here
  bool readOnly_ = false;
};
