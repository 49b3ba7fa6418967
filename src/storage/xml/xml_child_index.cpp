#include "storage/xml/xml_child_index.h"

#include "storage/model/value_name.h"

namespace {

constexpr std::string_view kNameAttribute = "name";

// Up to two thirds full: every large element read keeps its index while the document lives, and
// a walk over thousands of sessions keeps thousands.
size_t SlotsFor(size_t entries) {
  size_t slots = 16;
  while (slots * 2 < entries * 3) slots *= 2;
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
  // The value names' own hash (a few loads and multiplies, whatever the length), told apart by
  // the kind's length and first letter: a key holds each name under one kind or two at most.
  const uint64_t k = kind.size() | (kind.empty() ? 0u : static_cast<uint64_t>(static_cast<unsigned char>(kind[0])) << 8);
  return static_cast<size_t>(VValueNameHash(name) ^ (k * 0x9E3779B97F4A7C15ULL));
}

VXmlChildIndex::Node* VXmlChildIndex::Find(std::string_view kind, std::string_view name) const {
  return FindHashed(Hash(kind, name), kind, name);
}

VXmlChildIndex::Node* VXmlChildIndex::FindHashed(size_t hash, std::string_view kind,
                                                 std::string_view name) const {
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (!slot.child) return nullptr;
    if (slot.hash == hash && std::string_view(slot.kind, slot.kindSize) == kind &&
        std::string_view(slot.name, slot.nameSize) == name)
      return slot.child;
  }
}

void VXmlChildIndex::Add(Node* child) {
  const std::string_view kind = KindOf(child);
  const std::string_view name = NameOf(child);
  const size_t hash = Hash(kind, name);
  if (FindHashed(hash, kind, name)) return;
  if ((size_ + 1) * 3 > slots_.size() * 2) Grow();
  Place(Slot{hash, child, kind.data(), name.data(), static_cast<uint32_t>(kind.size()),
             static_cast<uint32_t>(name.size())});
  ++size_;
}

void VXmlChildIndex::Place(const Slot& slot) {
  const size_t mask = slots_.size() - 1;
  size_t i = slot.hash & mask;
  while (slots_[i].child) i = (i + 1) & mask;
  slots_[i] = slot;
}

void VXmlChildIndex::Grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  for (const Slot& slot : old) {
    if (slot.child) Place(slot);
  }
}
