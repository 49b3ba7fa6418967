#include "storage/xml/xml_child_index.h"

#include <functional>

namespace {

constexpr std::string_view kNameAttribute = "name";

size_t SlotsFor(size_t entries) {
  size_t slots = 16;
  while (slots < entries * 2) slots *= 2;
  return slots;
}

}  // namespace

VXmlChildIndex::VXmlChildIndex(size_t expected) : slots_(SlotsFor(expected)) {}

std::string_view VXmlChildIndex::KindOf(const Node* child) {
  return std::string_view(child->name(), child->name_size());
}

std::string_view VXmlChildIndex::NameOf(const Node* child) {
  const auto* attribute =
      child->first_attribute(kNameAttribute.data(), kNameAttribute.size(), true);
  if (!attribute) return {};
  return std::string_view(attribute->value(), attribute->value_size());
}

size_t VXmlChildIndex::Hash(std::string_view kind, std::string_view name) {
  const size_t k = std::hash<std::string_view>()(kind);
  return std::hash<std::string_view>()(name) ^ (k + 0x9e3779b97f4a7c15ULL + (k << 6) + (k >> 2));
}

VXmlChildIndex::Node* VXmlChildIndex::Find(std::string_view kind, std::string_view name) const {
  const size_t hash = Hash(kind, name);
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (!slot.child) return nullptr;
    if (slot.hash == hash && KindOf(slot.child) == kind && NameOf(slot.child) == name)
      return slot.child;
  }
}

void VXmlChildIndex::Add(Node* child) {
  const std::string_view kind = KindOf(child);
  const std::string_view name = NameOf(child);
  if (Find(kind, name)) return;
  if ((size_ + 1) * 2 > slots_.size()) Grow();
  Place(Hash(kind, name), child);
  ++size_;
}

void VXmlChildIndex::Place(size_t hash, Node* child) {
  const size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  while (slots_[i].child) i = (i + 1) & mask;
  slots_[i] = Slot{hash, child};
}

void VXmlChildIndex::Grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  for (const Slot& slot : old) {
    if (slot.child) Place(slot.hash, slot.child);
  }
}
