// Errors as values below the message layer. A VStatus is success or a Win32 code, with a catalogue
// message id and its inserts where a plain code would not say enough (a file too large, a lock
// not had in time). Both types are [[nodiscard]] so that a failure cannot be dropped by accident:
// ignoring one has to be written out.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/win32_errors.h"

class [[nodiscard]] VStatus {
 public:
  VStatus() = default;  // success
  static VStatus Ok() { return VStatus(); }
  static VStatus Error(uint32_t code) {
    VStatus s;
    s.code_ = code;
    return s;
  }
  // The Win32 code of an errno value (see win32::FromErrno).
  static VStatus FromErrno(int error, bool missingPath = false) {
    return Error(win32::FromErrno(error, missingPath));
  }
  // A failure told by a catalogue message; `code` is the Win32 code beneath it.
  static VStatus Message(uint32_t code, uint32_t messageId, std::vector<std::string> inserts) {
    VStatus s = Error(code);
    s.messageId_ = messageId;
    s.inserts_ = std::move(inserts);
    return s;
  }

  bool ok() const { return code_ == win32::kSuccess && messageId_ == 0; }
  explicit operator bool() const { return ok(); }
  uint32_t Code() const { return code_; }
  uint32_t MessageId() const { return messageId_; }
  // Inserts of the message, UTF-8.
  const std::vector<std::string>& Inserts() const { return inserts_; }

  // Marks a status as looked at where a caller knowingly goes on whatever it says.
  void IgnoreError() const {}

 private:
  uint32_t code_ = win32::kSuccess;
  uint32_t messageId_ = 0;
  std::vector<std::string> inserts_;
};

// A value or the status that says why there is none.
template <typename T>
class [[nodiscard]] VExpected {
 public:
  VExpected(T value) : state_(std::in_place_index<0>, std::move(value)) {}  // NOLINT
  VExpected(VStatus status) : state_(std::in_place_index<1>, std::move(status)) {}  // NOLINT

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }
  T& operator*() { return std::get<0>(state_); }
  const T& operator*() const { return std::get<0>(state_); }
  T* operator->() { return &std::get<0>(state_); }
  const T* operator->() const { return &std::get<0>(state_); }
  // The failure; success when there is a value.
  VStatus Status() const { return ok() ? VStatus() : std::get<1>(state_); }
  uint32_t Code() const { return ok() ? win32::kSuccess : std::get<1>(state_).Code(); }

 private:
  std::variant<T, VStatus> state_;
};
