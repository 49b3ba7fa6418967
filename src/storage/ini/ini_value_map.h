// The values of one INI key: the personal names in a fixed order, then the others in order of
// first appearance. Files are kept as read and their entries found in one pass; an entry becomes a
// value object only when it is read or written, so opening a key for one value does not convert
// a hundred others.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "storage/ini/ini_entry_scan.h"
#include "storage/model/value_name.h"

class VIniValueMap {
 public:
  static constexpr size_t kPersonalCount = 22;
  // The value names kept in the personal data folder when one is set, in their fixed order.
  static const std::array<std::u16string_view, kPersonalCount>& PersonalNames();

  VIniValueMap();
  ~VIniValueMap();
  VIniValueMap(const VIniValueMap&) = delete;
  VIniValueMap& operator=(const VIniValueMap&) = delete;

  // Reads the entries of a file's bytes; entries of a name already present replace it.
  // The bytes as kept (for as long as the map lives) are returned.
  std::string_view AddFile(std::string bytes);

  // The value of `name` (names compare case-sensitively); null when absent or deleted.
  VIniFileData* Find(std::u16string_view name);
  // Reads of the two commonest kinds, answered from the entry as read when no value object was
  // made for it, so that loading a configuration object allocates nothing for its numbers.
  bool ReadDword(std::u16string_view name, uint32_t& value);
  bool ReadString(std::u16string_view name, VUnicodeString& value);
  // The same by a name's UTF-8 form and its VValueNameHash, with nothing to convert.
  bool ReadDword(std::string_view utf8, uint64_t hash, uint32_t& value);
  bool ReadString(std::string_view utf8, uint64_t hash, VUnicodeString& value);
  void Store(std::u16string_view name, std::unique_ptr<VIniFileData> data);
  // Leaves the name without a value; false when it had none.
  bool Remove(std::u16string_view name);

  // A handle's own changes, marked on the values themselves so that a save of a hundred and
  // fifty values keeps no list of names beside them. A value stored equal to the one held, and
  // not changed since the last ClearChanges, is no change: a configuration object saves every
  // setting, and counting those would overwrite what other processes changed meanwhile.
  void StoreChange(std::u16string_view name, std::unique_ptr<VIniFileData> data);
  void RemoveChange(std::u16string_view name);
  bool ChangesPersonal();
  // Applies the changes (deletions, then values set, in this map's order) to `target`, a fresh
  // reading of the file.
  void ApplyChangesTo(VIniValueMap& target);
  void ClearChanges();

  // The bytes of the key's file (byte-order mark, then each value's lines, lists last); with
  // `split` the personal values go to `personal` instead.
  void Serialize(bool split, std::string& main, std::string& personal);

  // Takes the personal values out of their fixed places, so they are stored with the others.
  void MovePersonalToGeneral();
  bool HasPersonalData();

  // Every value, personal places first; `personal` tells whether it sits in a personal place.
  void ForEach(const std::function<void(const VUnicodeString& name, VIniFileData& data,
                                        bool personal)>& visit);
  // Every name with a value and its type code, in the same order.
  void ForEachName(const std::function<void(const VUnicodeString& name, int type)>& visit);
  // ForEachName without the names `skip` holds (compared as spelt).
  void ForEachNameExcept(const VValueNameSet& skip,
                         const std::function<void(const VUnicodeString& name, int type)>& visit);

 private:
  // Plain data, so that a file's entries are laid down without constructors or moves.
  struct Element {
    std::string_view name;  // UTF-8, into a kept file or a stored name
    uint64_t hash;          // VValueNameHash of the name, once the element is indexed
    VIniRawEntry raw;       // the entry as read, while no value object was made
    VIniFileData* data;     // owned; made from `raw` when first asked for
    bool present;
    bool merged;  // a repeat of an earlier name: its value went to that element
    int8_t slot;  // the personal place, or -1
    uint8_t change;  // a Change
  };
  enum Change : uint8_t { kUnchanged = 0, kSet = 1, kDeleted = 2 };
  // A copy of `name` kept as long as the map, in shared blocks rather than one string each.
  std::string_view Keep(std::string_view name);
  // The element of a UTF-8 name, made (not present) when there is none.
  Element& ElementFor(std::string_view utf8, uint64_t hash);
  void SetData(Element& element, std::unique_ptr<VIniFileData> data);

  int32_t Lookup(std::string_view name, uint64_t hash) const;
  int32_t Insert(std::string_view name, uint64_t hash);
  // Enters the entries read since the last call into the index, folding repeated names into
  // their first appearance. Done on the first need, so a key read for one or two values never
  // builds an index for a hundred.
  void Index();
  void Place(int32_t index, uint64_t hash);
  void Rehash();
  VIniFileData* Materialize(Element& element);
  Element* FindElement(std::u16string_view name);
  // `hash`, when given, is the name's hash, known beforehand.
  Element* FindElement(std::string_view utf8, const uint64_t* hash);
  bool ReadDword(Element* element, uint32_t& value);
  bool ReadString(Element* element, VUnicodeString& value);
  int Type(const Element& element) const;
  template <class F>
  void InOrder(F visit);

  std::deque<std::string> texts_;  // the files read and the names stored, kept for the views
  std::deque<std::string> names_;  // blocks of stored names, never grown past their capacity
  // Names deleted by the handle that held no value here: the file on disk may have one.
  std::vector<std::string> removedAbsent_;
  std::vector<Element> elements_;
  std::vector<int32_t> table_;     // open addressing over element indexes by name
  std::array<int32_t, kPersonalCount> personal_;
  std::vector<int32_t> general_;
  size_t indexed_ = 0;  // elements_[0, indexed_) are in the index
  bool madeData_ = false;  // whether any element was ever given a value object
  int unindexedLookups_ = 0;
};
