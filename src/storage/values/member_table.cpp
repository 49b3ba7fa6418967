#include "storage/values/member_table.h"

#include <stdexcept>
#include <string>

namespace {

[[noreturn]] void Refuse(const VMemberRow& row, size_t index, const char* why) {
  std::string what = "member table row " + std::to_string(index);
  if (row.name) what += " (" + vtext::ToUtf8(row.name) + ")";
  throw std::logic_error(what + ": " + why);
}

}  // namespace

VUnicodeString LmbViewName(const VMemberRow& row, bool lmbProduct) {
  if (!row.name) return VUnicodeString();
  if (!lmbProduct || !row.Has(kMemberLmb)) return VUnicodeString(row.name);
  if (row.lmbName) return VUnicodeString(row.lmbName);
  return VUnicodeString(row.name) + u" LMB";
}

VMemberTable::VMemberTable(std::span<const VMemberRow> rows) : rows_(rows.begin(), rows.end()) {
  for (size_t i = 0; i < rows_.size(); ++i) {
    const VMemberRow& row = rows_[i];
    if (!row.member || !row.kind) Refuse(row, i, "no member");
    bool nested = row.kind->composite != nullptr;
    if (nested) {
      if (row.def.kind != VMemberDefault::Kind::None ||
          row.Has(kMemberLmb | kMemberClamp | kMemberCustom))
        Refuse(row, i, "a nested object loads itself: it takes no default, clamp, LMB or custom");
    } else {
      if (!row.name || !*row.name) Refuse(row, i, "no stored name");
      if (row.def.kind == VMemberDefault::Kind::Number && !row.kind->setNumber)
        Refuse(row, i, "a number default for a kind that is not a number");
      if (row.def.kind == VMemberDefault::Kind::Text && !row.kind->setFromText)
        Refuse(row, i, "a text default for a kind without a text form");
      if (row.def.kind == VMemberDefault::Kind::Computed && !row.def.compute)
        Refuse(row, i, "a computed default without its function");
      if (row.Has(kMemberClamp) && (!row.kind->clamp || row.min > row.max))
        Refuse(row, i, "a clamp needs a number kind and min <= max");
      if (row.lmbName && !*row.lmbName) Refuse(row, i, "an empty LMB name");
      // Each product reads its own set of names: none may be used twice within either set.
      for (bool lmb : {false, true}) {
        VUnicodeString mine = LmbViewName(row, lmb);
        for (size_t j = 0; j < i; ++j) {
          if (rows_[j].name && vtext::EqualsNoCase(LmbViewName(rows_[j], lmb), mine))
            Refuse(row, i, "the stored name is used twice");
        }
      }
    }
    if (!row.Has(kMemberLoadOnly)) members_.push_back(i);
  }
  for (bool lmb : {false, true}) {
    names_[lmb ? 1 : 0].reserve(rows_.size());
    for (const VMemberRow& row : rows_) names_[lmb ? 1 : 0].emplace_back(LmbViewName(row, lmb));
  }
}
