#include "config/sync/synchronize_names.h"

#include <limits>

namespace syncnames {
namespace {

constexpr std::u16string_view kTask = u"Task[";
constexpr std::u16string_view kSource = u"].Source[";
constexpr std::u16string_view kTarget = u"].Target[";

struct FieldName {
  Field field;
  std::u16string_view text;
};
constexpr FieldName kFields[] = {
    {Field::Name, u"Name"},       {Field::Type, u"Type"},  {Field::MasterOverwrites, u"MasterOverwrites"},
    {Field::Session, u"Session"}, {Field::Path, u"Path"},  {Field::Recurse, u"Recurse"},
};

bool BelongsTo(Part part, Field field) {
  switch (part) {
    case Part::Task:
      return field == Field::Name || field == Field::Type || field == Field::MasterOverwrites;
    case Part::Source:
      return field == Field::Session || field == Field::Path || field == Field::Recurse;
    case Part::Target:
      return field == Field::Session || field == Field::Path;
  }
  return false;
}

void AppendNumber(VUnicodeString& out, uint32_t value) {
  char16_t digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (count > 0) out += digits[--count];
}

// Reads a decimal index at `pos`: at least one digit, no leading zero, within 32 bits.
bool ReadIndex(std::u16string_view text, size_t& pos, uint32_t& value) {
  size_t start = pos;
  uint64_t number = 0;
  while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
    number = number * 10 + static_cast<uint64_t>(text[pos] - u'0');
    if (number > std::numeric_limits<uint32_t>::max()) return false;
    ++pos;
  }
  if (pos == start || (text[start] == u'0' && pos - start > 1)) return false;
  value = static_cast<uint32_t>(number);
  return true;
}

bool Consume(std::u16string_view text, size_t& pos, std::u16string_view expected) {
  if (text.substr(pos, expected.size()) != expected) return false;
  pos += expected.size();
  return true;
}

}  // namespace

VUnicodeString Format(const IndexedName& name) {
  VUnicodeString out(kTask);
  AppendNumber(out, name.task);
  if (name.part != Part::Task) {
    out += name.part == Part::Source ? kSource : kTarget;
    AppendNumber(out, name.item);
  }
  out += u"].";
  for (const FieldName& field : kFields) {
    if (field.field == name.field) out += field.text;
  }
  return out;
}

bool Parse(std::u16string_view text, IndexedName& name) {
  IndexedName parsed;
  size_t pos = 0;
  if (!Consume(text, pos, kTask) || !ReadIndex(text, pos, parsed.task)) return false;
  if (Consume(text, pos, kSource)) parsed.part = Part::Source;
  else if (Consume(text, pos, kTarget)) parsed.part = Part::Target;
  if (parsed.part != Part::Task && !ReadIndex(text, pos, parsed.item)) return false;
  if (!Consume(text, pos, u"].")) return false;
  std::u16string_view rest = text.substr(pos);
  for (const FieldName& field : kFields) {
    if (rest == field.text && BelongsTo(parsed.part, field.field)) {
      parsed.field = field.field;
      name = parsed;
      return true;
    }
  }
  return false;
}

}  // namespace syncnames
