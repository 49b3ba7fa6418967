#include "report/log_circular_cache.h"

VCircularStringCache::VCircularStringCache(size_t capacity) : slots_(capacity ? capacity : 1) {}

void VCircularStringCache::Add(const VUnicodeString& line) {
  if (IsFull()) {
    read_ = (read_ + 1) % slots_.size();
    --count_;
    ++dropped_;
  }
  slots_[write_] = line;
  write_ = (write_ + 1) % slots_.size();
  ++count_;
}

std::vector<VUnicodeString> VCircularStringCache::TakeAll() {
  std::vector<VUnicodeString> lines;
  lines.reserve(count_);
  while (count_) {
    lines.push_back(std::move(slots_[read_]));
    slots_[read_].clear();
    read_ = (read_ + 1) % slots_.size();
    --count_;
  }
  read_ = write_ = 0;
  return lines;
}
