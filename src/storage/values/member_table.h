// Member tables: a configuration object declares its settings as data, one row per setting
// (which member, its stored name, its kind, its default, its flags), and one generic loader and
// saver (VProfileComposite) serve every object. See profile_composite.h for the member lists
// that make an object's members and its rows together.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <type_traits>
#include <vector>

#include "storage/model/profile_data.h"
#include "storage/values/stored_value.h"

class VProfileComposite;

// What the generic code can do with one kind of member; built for each member type from the
// type itself (VMemberKindOf in profile_composite.h), so a row cannot disagree with its member.
struct VMemberKind {
  const char* name = nullptr;  // the kind in listings: "bool", "string", "font", ...
  int storedType = -1;         // kProfileTypeDword..kProfileTypeMultiSz; -1 for a composite
  // The load pattern: the stored value, or the default flagged for writing; then saved = current.
  bool (*load)(VProfileData&, const VProfileKey*) = nullptr;
  // The value a save would write; false when it would write nothing.
  bool (*storedValue)(const VProfileData&, VStoredValue&) = nullptr;
  bool (*setFromText)(VProfileData&, const VUnicodeString&, VReportMessageParams&) = nullptr;
  bool (*setFromList)(VProfileData&, const VStringArray&, VReportMessageParams&) = nullptr;
  void (*setNumber)(VProfileData&, int64_t) = nullptr;  // numbers only
  int64_t (*getNumber)(const VProfileData&) = nullptr;  // numbers only
  void (*clamp)(VProfileData&, int64_t, int64_t) = nullptr;  // numbers only
  VProfileComposite* (*composite)(VProfileData&) = nullptr;  // nested objects only
};

using VMemberAccessor = VProfileData& (*)(VProfileComposite& object);
// Computes a default at load time. `key` is the key being loaded (null when there is none), so
// that older forms of the setting can serve as its default.
using VMemberCompute = void (*)(VProfileComposite& object, VProfileData& member,
                                const VProfileKey* key);

// A default: none (the member's own initial value), a number, a text (in the kind's text form),
// or a function.
struct VMemberDefault {
  enum class Kind : uint8_t { None, Number, Text, Computed };
  Kind kind = Kind::None;
  int64_t number = 0;
  const char16_t* text = nullptr;
  VMemberCompute compute = nullptr;

  constexpr VMemberDefault() = default;
  template <class N>
    requires(std::is_integral_v<N> || std::is_enum_v<N>)
  constexpr VMemberDefault(N value)  // NOLINT: rows read better without a wrapper
      : kind(Kind::Number), number(static_cast<int64_t>(value)) {}
  constexpr VMemberDefault(const char16_t* value) : kind(Kind::Text), text(value) {}  // NOLINT
  static constexpr VMemberDefault Computed(VMemberCompute function) {
    VMemberDefault d;
    d.kind = Kind::Computed;
    d.compute = function;
    return d;
  }
};

enum VMemberFlag : uint32_t {
  kMemberLmb = 1u << 0,       // stored as "<name> LMB" (or its own LMB name) under ids 6 and 9
  kMemberLoadOnly = 1u << 1,  // loaded, but not saved, compared, copied or committed
  kMemberClamp = 1u << 2,     // kept within [min, max] after loading
  kMemberCustom = 1u << 3,    // loaded by the object's LoadCustomMember hook
};

struct VMemberRow {
  VMemberAccessor member = nullptr;
  const VMemberKind* kind = nullptr;
  const char16_t* name = nullptr;  // the stored name; null for a nested object
  // The name under the product ids 6 and 9 when it is not "<name> LMB" (a pair such as
  // "Ostrel Update Prompt Date" / "LMB Update Prompt Date").
  const char16_t* lmbName = nullptr;
  VMemberDefault def;
  uint32_t flags = 0;
  int64_t min = 0;
  int64_t max = 0;

  constexpr VMemberRow Lmb() const { return With(kMemberLmb); }
  constexpr VMemberRow LmbName(const char16_t* other) const {
    VMemberRow row = With(kMemberLmb);
    row.lmbName = other;
    return row;
  }
  constexpr VMemberRow LoadOnly() const { return With(kMemberLoadOnly); }
  constexpr VMemberRow Custom() const { return With(kMemberCustom); }
  constexpr VMemberRow Clamp(int64_t low, int64_t high) const {
    VMemberRow row = With(kMemberClamp);
    row.min = low;
    row.max = high;
    return row;
  }
  constexpr bool Has(uint32_t flag) const { return (flags & flag) != 0; }

 private:
  constexpr VMemberRow With(uint32_t flag) const {
    VMemberRow row = *this;
    row.flags |= flag;
    return row;
  }
};

constexpr VMemberRow VMakeMemberRow(VMemberAccessor member, const VMemberKind* kind,
                                    const char16_t* name, VMemberDefault def = {}) {
  VMemberRow row;
  row.member = member;
  row.kind = kind;
  row.name = name;
  row.def = def;
  return row;
}

// The name a row is stored under for the products 6 and 9 (`lmbProduct`) or for the others.
VUnicodeString LmbViewName(const VMemberRow& row, bool lmbProduct);

// The rows of one class of configuration object, in load order. The rows that are not load-only
// form the member table proper: the positions of GetMember, and what save, compare, copy,
// commit and revert walk.
class VMemberTable {
 public:
  // Checks the rows (raises std::logic_error for a row that cannot work: a clamp on a kind that
  // is not a number, a default the kind cannot take, a missing or repeated name).
  template <size_t N>
  explicit VMemberTable(const VMemberRow (&rows)[N])
      : VMemberTable(std::span<const VMemberRow>(rows, N)) {}
  explicit VMemberTable(std::span<const VMemberRow> rows);

  const std::vector<VMemberRow>& Rows() const { return rows_; }
  // LmbViewName(row, lmbProduct) of the row at `index`, made once with the table: every load of
  // every object names each of its members, and building the names anew each time cost more
  // than reading the values.
  const VUnicodeString& ViewName(size_t index, bool lmbProduct) const {
    return names_[lmbProduct ? 1 : 0][index].Text();
  }
  // The same name prepared for stores that look names up in UTF-8.
  const VPreparedName& PreparedViewName(size_t index, bool lmbProduct) const {
    return names_[lmbProduct ? 1 : 0][index];
  }
  // The position of `row` when it is one of this table's rows, else -1.
  ptrdiff_t IndexOf(const VMemberRow& row) const {
    std::less<const VMemberRow*> before;  // defined for pointers into different objects too
    if (rows_.empty() || before(&row, rows_.data()) || !before(&row, rows_.data() + rows_.size()))
      return -1;
    return &row - rows_.data();
  }
  // Rows of the member table proper, by position.
  size_t MemberCount() const { return members_.size(); }
  size_t MemberRow(size_t position) const { return members_[position]; }

 private:
  std::vector<VMemberRow> rows_;
  std::vector<size_t> members_;
  std::vector<VPreparedName> names_[2];
};
