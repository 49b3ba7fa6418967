// A ring of the last N lines, kept while a log file cannot be written and written out, in order,
// once it can; lines pushed out of a full ring are counted so that the loss can be reported.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/unicode_string.h"

class VCircularStringCache {
 public:
  explicit VCircularStringCache(size_t capacity);

  // Adds a line; when the ring is full the oldest line is dropped and counted.
  void Add(const VUnicodeString& line);
  // The lines in the order they were added; empties the ring (the dropped count stays).
  std::vector<VUnicodeString> TakeAll();
  size_t Count() const { return count_; }
  bool IsFull() const { return count_ == slots_.size(); }
  size_t DroppedCount() const { return dropped_; }
  void ResetDroppedCount() { dropped_ = 0; }

 private:
  // An occupancy count rather than "the slot is not empty": an empty line is a line too.
  std::vector<VUnicodeString> slots_;
  size_t write_ = 0;
  size_t read_ = 0;
  size_t count_ = 0;
  size_t dropped_ = 0;
};
