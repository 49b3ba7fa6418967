// A configuration object: a composite of typed values driven by its member table. Load, save,
// compare, commit, revert, copy, lookup, listing and setting from text are written once, here,
// for every object; an object declares its rows and, where it needs them, hooks.
//
// An object names each setting once, in a member list, and the list is expanded twice: into the
// member declarations (QL_MEMBERS, inside the class) and into the rows of the table
// (QL_MEMBER_TABLE, in the object's .cpp). A member declared without a row would never be
// loaded or saved, and a row naming the wrong member would store one setting under another's
// name; with one list neither can be written. A list is a macro taking two macros, with one line
// per member, in load order (each line but the last ends in a backslash, left out here):
//
//   #define SAMPLE_CONFIG_MEMBERS(SETTING, OBJECT)
//     SETTING(VProfile<bool>, showToolbar, u"Show Toolbar", true, .Lmb())
//     SETTING(VProfile<int>, mruCount, u"MRU Count", 4, .Clamp(0, 16))
//     SETTING(VProfile<int>, lineSendDelay, u"Line Send Delay", 5, .LoadOnly())
//     SETTING(VProfile<int>, tabWidth, u"Tab Width",
//             QL_COMPUTED(SampleConfig::DefaultTabWidth))
//     SETTING(VProfileString, autoSessionName, u"Auto Session Name", , .Lmb())
//     SETTING(VProfileEncryptedString, secret, u"Password V2", , .Custom())
//     SETTING(ProfilePath, scriptDirectory, u"Script Directory")
//     OBJECT(PrinterConfig, printer)
//     OBJECT(VProfileSubkeyCopy, palettes, u"ANSI Color Palettes")
//
//   class SampleConfig : public VProfileComposite {
//    public:
//     const VMemberTable& GetMemberTable() const override { return MemberTable(); }
//     static const VMemberTable& MemberTable();
//     QL_MEMBERS(SAMPLE_CONFIG_MEMBERS)
//
//    private:
//     void DefaultTabWidth(VProfile<int>& value, const VProfileKey* key);
//     std::mutex mutex_;  // not a setting: an ordinary declaration
//   };
//
//   QL_MEMBER_TABLE(SampleConfig, SAMPLE_CONFIG_MEMBERS)  // in the .cpp
//
// SETTING(type, member, stored name [, default [, row modifiers]]) declares `type member;` and
// makes the row QL_ROW(Class, member, stored name, default) followed by the modifiers (.Lmb(),
// .LmbName(...), .LoadOnly(), .Clamp(min, max), .Custom()); an empty default leaves the member
// its own initial value. OBJECT(type, member [, constructor arguments]) declares
// `type member{arguments};` and makes the row QL_NESTED(Class, member). The rows are expanded
// inside Class::MemberTable, so defaults may name the .cpp's own constants and the class's
// private default functions. Comments inside a list are written /* ... */, since a // comment
// would swallow the line that the backslash joins to it.
//
// QL_ROW and QL_NESTED (below) make single rows: for tables built by other means (tests of rows
// that must be refused, generated tables).
#pragma once

#include <string_view>
#include <type_traits>
#include <vector>

#include "storage/values/member_table.h"

// One line of a listing: a setting as a save would write it.
struct VSettingInfo {
  VUnicodeString name;       // the stored name (with " LMB" where the product calls for it)
  const char* kind = "";     // the value kind: "bool", "int", "string", "font", ...
  int storedType = -1;       // the kind it is stored as, 0..3
  bool hasValue = false;     // false when a save would write nothing (an empty blob)
  VStoredValue value;        // what a save would write
  bool stored = false;       // taken from the store (or written to it since), not a default
  bool loadOnly = false;     // read from the store but never written
};

class VProfileComposite : public VProfileData {
 public:
  VProfileComposite() = default;
  VProfileComposite(const VProfileComposite&) = default;
  VProfileComposite& operator=(const VProfileComposite&) = default;

  virtual const VMemberTable& GetMemberTable() const = 0;

  // Loads every row in table order from `key` (null: every setting takes its default) for the
  // product `productId` (-1 when not known): OnBeforeLoad, the rows, OnAfterLoad. Loading never
  // fails: a missing or unreadable value takes its default and is flagged for writing.
  void Load(const VProfileKey* key, int productId = -1);
  bool IsLoaded() const { return loaded_; }
  int GetProductId() const { return productId_; }
  // Product ids 6 and 9 store their own values of the LMB settings.
  bool UsesLmbNames() const { return productId_ == 6 || productId_ == 9; }

  // OnBeforeSave, every save-enabled member, OnAfterSave. Every member is tried; false when one
  // failed (its value stays flagged, so a later save tries it again) or when the object was
  // never loaded (its members have no names yet).
  bool Save(VProfileKey& key, bool force) override;
  bool IsModified() const override;
  // Takes, member by member, only the values that `other` reports modified; `other` must be an
  // object with the same member table (anything else is ignored).
  void CopyValue(const VProfileData& other) override;
  // The member at position `index` of the member table; null outside it.
  VProfileData* GetMember(int index) override;
  void DoCommit() override;
  void DoRevert() override;

  size_t GetMemberCount() const { return GetMemberTable().MemberCount(); }
  // The first member of the member table whose name equals `storedName` without regard to
  // case, looking into nested objects too; null when there is none.
  VProfileData* FindMember(std::u16string_view storedName);
  // The stored names of every member of the member table, nested objects included.
  void CollectMemberNames(std::vector<VUnicodeString>& names);

  // Every row in table order (nested objects in place), as a save would write it.
  std::vector<VSettingInfo> ListSettings() const;
  // Sets one setting from a person's text (numbers decimal or 0x hexadecimal, booleans 0, 1,
  // true or false, the kind's text form otherwise) or list. False, with a message naming the
  // setting and nothing changed, when there is no such setting, it is never saved, or the value
  // does not fit (a clamped setting accepts only its range).
  bool SetSetting(std::u16string_view storedName, const VUnicodeString& text,
                  VReportMessageParams& error);
  bool SetSetting(std::u16string_view storedName, const VStringArray& list,
                  VReportMessageParams& error);

  // One setting found by its stored name (nested objects included), to be looked at and set
  // without searching for it again.
  class SettingRow {
   public:
    bool IsFound() const { return owner_ != nullptr; }
    // The name as listed, the kind and the stored type of the setting found.
    VUnicodeString Name() const;
    const char* Kind() const;
    int StoredType() const;

   private:
    friend class VProfileComposite;
    const VMemberRow& Row() const;
    VProfileData& Member() const;
    VProfileComposite* owner_ = nullptr;
    size_t row_ = 0;
  };
  // The first row in listing order whose name equals `storedName` without regard to case; false
  // when there is none.
  bool FindSettingRow(std::u16string_view storedName, SettingRow& found);
  // SetSetting of the row found, with the same checks and messages.
  static bool SetSetting(const SettingRow& found, const VUnicodeString& text,
                         VReportMessageParams& error);
  static bool SetSetting(const SettingRow& found, const VStringArray& list,
                         VReportMessageParams& error);

 protected:
  virtual void OnBeforeLoad(const VProfileKey* key) {}
  virtual void OnAfterLoad(const VProfileKey* key) {}
  // Loads a row marked Custom, at its place in the table; the member already has its name.
  // Returns whether the value came from the store. The default is the standard load.
  virtual bool LoadCustomMember(const VMemberRow& row, VProfileData& member,
                                const VProfileKey* key);
  // The standard load of one row: its default, then the stored value (or the default flagged
  // for writing), then its clamp. True when the value came from the store.
  bool LoadStandardMember(const VMemberRow& row, VProfileData& member, const VProfileKey* key);
  // The name a row is stored under for this object's product. Objects whose names depend on how
  // they were built (a prefix given by their owner) override it.
  virtual VUnicodeString StoredName(const VMemberRow& row) const;
  // The stored name of a row when it is the member table's own, which outlives every object
  // (a load then names the member without copying); null for a name the object makes. An
  // object that overrides StoredName overrides this to return null.
  virtual const VUnicodeString* LastingStoredName(const VMemberRow& row) const;
  VProfileData& MemberOf(const VMemberRow& row) const {
    return row.member(const_cast<VProfileComposite&>(*this));
  }

 private:
  // `asked` is the name a refusal reports: the caller's spelling where it gave one.
  static bool Settable(const SettingRow& found, std::u16string_view asked,
                       VReportMessageParams& error);
  static bool SetFound(const SettingRow& found, std::u16string_view asked,
                       const VUnicodeString& text, VReportMessageParams& error);
  static bool SetFound(const SettingRow& found, std::u16string_view asked,
                       const VStringArray& list, VReportMessageParams& error);
  void AppendSettings(std::vector<VSettingInfo>& out) const;

  std::vector<uint8_t> stored_;  // per row: the value came from the store or was written to it
  int productId_ = -1;
  bool loaded_ = false;
};

// ---- building rows ----

template <class V>
constexpr VMemberKind VMakeMemberKind() {
  static_assert(std::is_base_of_v<VProfileData, V>, "a member must be a VProfileData");
  VMemberKind kind;
  if constexpr (std::is_base_of_v<VProfileComposite, V>) {
    kind.name = "object";
    kind.composite = [](VProfileData& d) -> VProfileComposite* { return &static_cast<V&>(d); };
  } else {
    kind.name = V::KindName();
    kind.storedType = V::kStoredType;
    kind.load = [](VProfileData& d, const VProfileKey* key) {
      return static_cast<V&>(d).Load(key);
    };
    kind.storedValue = [](const VProfileData& d, VStoredValue& value) {
      return static_cast<const V&>(d).GetStoredValue(value);
    };
    kind.setFromText = [](VProfileData& d, const VUnicodeString& text, VReportMessageParams& e) {
      return static_cast<V&>(d).SetFromText(text, e);
    };
    if constexpr (requires(V& v, const VStringArray& l, VReportMessageParams& e) {
                    v.SetFromList(l, e);
                  }) {
      kind.setFromList = [](VProfileData& d, const VStringArray& list, VReportMessageParams& e) {
        return static_cast<V&>(d).SetFromList(list, e);
      };
    }
    if constexpr (requires(V& v) { v.Clamp(int64_t{}, int64_t{}); }) {
      kind.setNumber = [](VProfileData& d, int64_t n) { static_cast<V&>(d).SetNumber(n); };
      kind.getNumber = [](const VProfileData& d) { return static_cast<const V&>(d).GetNumber(); };
      kind.clamp = [](VProfileData& d, int64_t low, int64_t high) {
        static_cast<V&>(d).Clamp(low, high);
      };
    }
  }
  return kind;
}

// The kind of each member type, one object per type.
template <class V>
inline constexpr VMemberKind VMemberKindOf = VMakeMemberKind<V>();

// Turns a member function `void Class::F(Member&, const VProfileKey*)` into a computed default.
template <auto Method>
struct VComputeThunk;
template <class C, class M, void (C::*Method)(M&, const VProfileKey*)>
struct VComputeThunk<Method> {
  static void Run(VProfileComposite& object, VProfileData& member, const VProfileKey* key) {
    (static_cast<C&>(object).*Method)(static_cast<M&>(member), key);
  }
};

// The member `field` of `Class`: an accessor and the kind of the field's type.
#define QL_MEMBER(Class, field)                                                                    \
  +[](VProfileComposite& object) -> VProfileData& { return static_cast<Class&>(object).field; },   \
      &VMemberKindOf<std::remove_cvref_t<decltype(static_cast<Class*>(nullptr)->field)>>

// A setting: QL_ROW(Class, field, stored name [, default]), then .Lmb(), .LoadOnly(),
// .Clamp(min, max), .Custom() as needed.
#define QL_ROW(Class, field, storedName, ...)                                                      \
  VMakeMemberRow(QL_MEMBER(Class, field), storedName __VA_OPT__(, ) __VA_ARGS__)
// A nested object loaded from and saved to the same key.
#define QL_NESTED(Class, field) VMakeMemberRow(QL_MEMBER(Class, field), nullptr)
// A default computed at load time by `void Class::Method(Member&, const VProfileKey* key)`.
#define QL_COMPUTED(method) VMemberDefault::Computed(&VComputeThunk<&method>::Run)

// ---- one list for the members and their rows (see the top of this file) ----

// The member declarations of a list. The static_asserts stop the build where a single setting
// is listed as a nested object or the other way round.
#define QL_MEMBERS(LIST) LIST(QL_DECLARE_SETTING_, QL_DECLARE_OBJECT_)
#define QL_DECLARE_SETTING_(type, field, storedName, ...)                                          \
  static_assert(!std::is_base_of_v<VProfileComposite, type>,                                       \
                #field ": an object of settings is listed with OBJECT, not SETTING");              \
  type field;
#define QL_DECLARE_OBJECT_(type, field, ...)                                                       \
  static_assert(std::is_base_of_v<VProfileComposite, type>,                                        \
                #field ": a single setting is listed with SETTING, not OBJECT");                   \
  type field __VA_OPT__({__VA_ARGS__});

// Defines `const VMemberTable& Class::MemberTable()` with one row per line of the list, in the
// list's order.
#define QL_MEMBER_TABLE(Class, LIST)                                                               \
  const VMemberTable& Class::MemberTable() {                                                       \
    using QlListOwner = Class;                                                                     \
    static const VMemberRow kRows[] = {LIST(QL_SETTING_ROW_, QL_OBJECT_ROW_)};                     \
    static const VMemberTable table(kRows);                                                        \
    return table;                                                                                  \
  }
#define QL_SETTING_ROW_(type, field, storedName, ...)                                              \
  VMakeMemberRow(QL_MEMBER(QlListOwner, field), storedName,                                        \
                 VMemberDefault{QL_FIRST_(__VA_ARGS__)}) QL_REST_(__VA_ARGS__),
#define QL_OBJECT_ROW_(type, field, ...) QL_NESTED(QlListOwner, field),
#define QL_FIRST_(first, ...) first
#define QL_REST_(first, ...) __VA_ARGS__
