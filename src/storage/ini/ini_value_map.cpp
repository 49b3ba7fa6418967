#include "storage/ini/ini_value_map.h"

#include "storage/ini/ini_file_data.h"
#include "storage/model/profile_store.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Names are hashed as prepared names are, so that a prepared name is looked up as it is.
uint64_t Hash(std::string_view name) { return VValueNameHash(name); }

int TypeOfKind(char kind) {
  switch (kind) {
    case 'D': return 0;
    case 'S':
    case 'E': return 1;
    case 'B': return 2;
    default: return 3;
  }
}

// Names are looked up in their UTF-8 form; short ones are encoded without allocating.
class Utf8Name {
 public:
  explicit Utf8Name(std::u16string_view name) {
    bool ascii = name.size() <= sizeof buffer_;
    size_t i = 0;
#if defined(__SSE2__)
    // Eight characters at a time: every value a configuration object loads is looked up here.
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
    for (; ascii && i + 8 <= name.size(); i += 8) {
      __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(name.data() + i));
      if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(units, high), _mm_setzero_si128())) != 0xFFFF)
        ascii = false;
      else
        _mm_storel_epi64(reinterpret_cast<__m128i*>(buffer_ + i), _mm_packus_epi16(units, units));
    }
#endif
    for (; ascii && i < name.size(); ++i) {
      if (name[i] >= 0x80) ascii = false;
      else buffer_[i] = static_cast<char>(name[i]);
    }
    if (ascii) {
      view_ = std::string_view(buffer_, name.size());
    } else {
      heap_ = vtext::ToUtf8(name);
      view_ = heap_;
    }
  }
  std::string_view View() const { return view_; }

 private:
  char buffer_[128];
  std::string heap_;
  std::string_view view_;
};

// Decodes UTF-8 text (a name, or a string value) into `out`, reusing its buffer: listing a key's
// hundred and fifty names then allocates once rather than once per name. Names are nearly always
// ASCII; any other text is decoded as vtext::FromUtf8 does.
void AssignName(VUnicodeString& out, std::string_view utf8) {
  size_t n = utf8.size();
  size_t i = 0;
  out.resize(n);
#if defined(__SSE2__)
  for (; i + 16 <= n; i += 16) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(utf8.data() + i));
    if (_mm_movemask_epi8(bytes)) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out.data() + i), _mm_unpacklo_epi8(bytes, _mm_setzero_si128()));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out.data() + i + 8), _mm_unpackhi_epi8(bytes, _mm_setzero_si128()));
  }
#endif
  for (; i < n && static_cast<unsigned char>(utf8[i]) < 0x80; ++i) out[i] = static_cast<char16_t>(utf8[i]);
  if (i < n) out = vtext::FromUtf8(utf8);
}

}  // namespace

const std::array<std::u16string_view, VIniValueMap::kPersonalCount>& VIniValueMap::PersonalNames() {
  static constexpr std::array<std::u16string_view, kPersonalCount> kNames = {
      u"Username", u"Password", u"Password V2", u"Login Script V2", u"Login Script V3",
      u"Session Password Saved", u"Local Shell Command Pre-connect",
      u"Local Shell Command Pre-connect V2", u"Account", u"Account V2", u"Monitor Username",
      u"Monitor Password", u"Monitor Password V2", u"Normal Font v2", u"Narrow Font v2",
      u"Use Narrow Font", u"SCP Shell Password", u"SCP Shell Password V2", u"PGP Upload Command",
      u"PGP Upload Command V2", u"PGP Download Command", u"PGP Download Command V2"};
  return kNames;
}

namespace {

// The personal names by hash in a small open table, so that telling a name is not personal
// costs one probe.
struct PersonalTable {
  static constexpr size_t kSlots = 64;
  std::array<std::string, VIniValueMap::kPersonalCount> names;
  std::array<uint64_t, VIniValueMap::kPersonalCount> hashes;
  std::array<int8_t, kSlots> slots;
};

int PersonalSlot(std::string_view name, uint64_t hash) {
  static const PersonalTable kTable = [] {
    PersonalTable table;
    table.slots.fill(-1);
    for (size_t i = 0; i < table.names.size(); ++i) {
      table.names[i] = vtext::ToUtf8(VIniValueMap::PersonalNames()[i]);
      table.hashes[i] = Hash(table.names[i]);
      size_t slot = table.hashes[i] % PersonalTable::kSlots;
      while (table.slots[slot] >= 0) slot = (slot + 1) % PersonalTable::kSlots;
      table.slots[slot] = static_cast<int8_t>(i);
    }
    return table;
  }();
  for (size_t slot = hash % PersonalTable::kSlots;; slot = (slot + 1) % PersonalTable::kSlots) {
    int index = kTable.slots[slot];
    if (index < 0) return -1;
    if (kTable.hashes[static_cast<size_t>(index)] == hash && kTable.names[static_cast<size_t>(index)] == name)
      return index;
  }
}

}  // namespace

VIniValueMap::VIniValueMap() {
  personal_.fill(-1);
  table_.assign(64, -1);
}

VIniValueMap::~VIniValueMap() {
  // Most maps are read for a few numbers and strings, answered from the entries as read: no
  // value object was ever made and the elements need no visit.
  if (!madeData_) return;
  for (Element& element : elements_) delete element.data;
}

void VIniValueMap::SetData(Element& element, std::unique_ptr<VIniFileData> data) {
  delete element.data;
  element.data = data.release();
  madeData_ = madeData_ || element.data;
}

int32_t VIniValueMap::Lookup(std::string_view name, uint64_t hash) const {
  size_t mask = table_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    int32_t index = table_[i];
    if (index < 0) return -1;
    // Every element in the table is indexed and carries its hash: names of the same length
    // are common, and comparing the hashes first spares most of their comparisons.
    const Element& element = elements_[static_cast<size_t>(index)];
    if (element.hash == hash && element.name == name) return index;
  }
}

void VIniValueMap::Rehash() {
  std::vector<int32_t> table(table_.size() * 2, -1);
  size_t mask = table.size() - 1;
  for (size_t e = 0; e < indexed_; ++e) {
    if (elements_[e].merged) continue;
    size_t i = elements_[e].hash & mask;
    while (table[i] >= 0) i = (i + 1) & mask;
    table[i] = static_cast<int32_t>(e);
  }
  table_.swap(table);
}

void VIniValueMap::Place(int32_t index, uint64_t hash) {
  Element& element = elements_[static_cast<size_t>(index)];
  element.slot = static_cast<int8_t>(PersonalSlot(element.name, hash));
  size_t mask = table_.size() - 1;
  size_t i = hash & mask;
  while (table_[i] >= 0) i = (i + 1) & mask;
  table_[i] = index;
  if (element.slot >= 0) {
    personal_[static_cast<size_t>(element.slot)] = index;
  } else {
    general_.push_back(index);
  }
}

int32_t VIniValueMap::Insert(std::string_view name, uint64_t hash) {
  Index();
  if ((elements_.size() + 1) * 2 > table_.size()) Rehash();
  auto index = static_cast<int32_t>(elements_.size());
  Element& element = elements_.emplace_back();
  element.name = name;
  element.hash = hash;
  element.data = nullptr;
  element.present = false;
  element.merged = false;
  element.slot = -1;
  element.change = kUnchanged;
  indexed_ = elements_.size();
  Place(index, hash);
  return index;
}

void VIniValueMap::Index() {
  if (indexed_ == elements_.size()) return;
  size_t wanted = table_.size();
  while (wanted < elements_.size() * 2) wanted *= 2;
  if (wanted != table_.size()) {
    table_.assign(wanted / 2, -1);
    Rehash();
  }
  general_.reserve(elements_.size());
  for (size_t e = indexed_; e < elements_.size(); ++e) {
    Element& element = elements_[e];
    uint64_t hash = Hash(element.name);
    element.hash = hash;
    int32_t first = Lookup(element.name, hash);
    if (first >= 0) {
      // A name read again keeps its first place and takes the later value.
      Element& kept = elements_[static_cast<size_t>(first)];
      kept.raw = element.raw;
      SetData(kept, std::unique_ptr<VIniFileData>(element.data));
      element.data = nullptr;
      kept.present = element.present;
      element.merged = true;
      element.present = false;
      continue;
    }
    indexed_ = e;  // Place sees the elements before this one
    Place(static_cast<int32_t>(e), hash);
  }
  indexed_ = elements_.size();
}

std::string_view VIniValueMap::AddFile(std::string bytes) {
  texts_.push_back(std::move(bytes));
  // Elements of a deque stay where they are as others are added.
  const std::string_view kept = texts_.back();
  std::string converted;
  std::string_view text = VIniTextAsUtf8(texts_.back(), converted);
  if (!converted.empty()) {
    texts_.push_back(std::move(converted));
    text = texts_.back();
  }
  elements_.reserve(elements_.size() + text.size() / 32 + 8);
  // Each element is laid down whole from the entry: making it empty first and then filling it
  // wrote every element twice, and a file holds a hundred and fifty of them.
  VScanIniEntries(text, [this](const VIniRawEntry& raw) {
    elements_.push_back(Element{raw.name, 0, raw, nullptr, true, false, -1, kUnchanged});
  });
  return kept;
}

VIniFileData* VIniValueMap::Materialize(Element& element) {
  if (!element.present) return nullptr;
  if (!element.data) {
    element.data = VMakeIniData(element.raw).release();
    madeData_ = madeData_ || element.data;
  }
  return element.data;
}

int VIniValueMap::Type(const Element& element) const {
  return element.data ? element.data->GetType() : TypeOfKind(element.raw.kind);
}

VIniValueMap::Element* VIniValueMap::FindElement(std::u16string_view name) {
  Utf8Name utf8(name);
  return FindElement(utf8.View(), nullptr);
}

VIniValueMap::Element* VIniValueMap::FindElement(std::string_view wanted, const uint64_t* hash) {
  // A reader with prepared names (a configuration object) reads most of the values: the index
  // pays for itself at once.
  if (!hash && indexed_ < elements_.size() && ++unindexedLookups_ <= 4) {
    // The last entry of the name holds its value; looking back through the entries is cheaper
    // than an index when only a few values are read.
    for (size_t e = elements_.size(); e-- > 0;) {
      Element& element = elements_[e];
      if (!element.merged && element.name.size() == wanted.size() && element.name == wanted)
        return element.present ? &element : nullptr;
    }
    return nullptr;
  }
  Index();
  int32_t index = Lookup(wanted, hash ? *hash : Hash(wanted));
  if (index < 0 || !elements_[static_cast<size_t>(index)].present) return nullptr;
  return &elements_[static_cast<size_t>(index)];
}

VIniFileData* VIniValueMap::Find(std::u16string_view name) {
  Element* element = FindElement(name);
  return element ? Materialize(*element) : nullptr;
}

bool VIniValueMap::ReadDword(std::u16string_view name, uint32_t& value) {
  return ReadDword(FindElement(name), value);
}

bool VIniValueMap::ReadDword(std::string_view utf8, uint64_t hash, uint32_t& value) {
  return ReadDword(FindElement(utf8, &hash), value);
}

bool VIniValueMap::ReadString(std::u16string_view name, VUnicodeString& value) {
  return ReadString(FindElement(name), value);
}

bool VIniValueMap::ReadString(std::string_view utf8, uint64_t hash, VUnicodeString& value) {
  return ReadString(FindElement(utf8, &hash), value);
}

bool VIniValueMap::ReadDword(Element* element, uint32_t& value) {
  if (!element) return false;
  if (element->data) return element->data->GetDword(value);
  if (element->raw.kind != 'D') return false;
  value = element->raw.number;
  return true;
}

bool VIniValueMap::ReadString(Element* element, VUnicodeString& value) {
  if (!element) return false;
  if (element->data) return element->data->GetString(value);
  if (element->raw.kind != 'S' && element->raw.kind != 'E') return false;
  // Decoded in place: a configuration object reads a hundred strings, and a decoded copy moved
  // into each cost more than the decoding. A secret is replaced whole, so that its older text
  // is wiped rather than left in a buffer given back.
  if (value.IsSensitive()) {
    value = vtext::FromUtf8(element->raw.rest);
  } else {
    AssignName(value, element->raw.rest);
  }
  return true;
}

std::string_view VIniValueMap::Keep(std::string_view name) {
  constexpr size_t kBlock = 4096;
  if (names_.empty() || names_.back().capacity() - names_.back().size() < name.size()) {
    names_.emplace_back();
    names_.back().reserve(std::max(kBlock, name.size()));
  }
  // Appending within the capacity never moves the block, so earlier views stay valid.
  std::string& block = names_.back();
  const size_t at = block.size();
  block.append(name);
  return std::string_view(block.data() + at, name.size());
}

VIniValueMap::Element& VIniValueMap::ElementFor(std::string_view utf8, uint64_t hash) {
  Index();
  int32_t index = Lookup(utf8, hash);
  if (index < 0) index = Insert(Keep(utf8), hash);
  return elements_[static_cast<size_t>(index)];
}

void VIniValueMap::Store(std::u16string_view name, std::unique_ptr<VIniFileData> data) {
  Utf8Name utf8(name);
  Element& element = ElementFor(utf8.View(), Hash(utf8.View()));
  SetData(element, std::move(data));
  element.present = true;
}

void VIniValueMap::StoreChange(std::u16string_view name, std::unique_ptr<VIniFileData> data) {
  Utf8Name utf8(name);
  const uint64_t hash = Hash(utf8.View());
  Index();
  int32_t index = Lookup(utf8.View(), hash);
  if (index < 0) {
    index = Insert(Keep(utf8.View()), hash);
    // Stored again after a deletion of a name this map never held: the value now wins.
    if (!removedAbsent_.empty())
      std::erase(removedAbsent_, std::string(utf8.View()));
  }
  Element& element = elements_[static_cast<size_t>(index)];
  VIniFileData* old = element.change == kSet ? nullptr : Materialize(element);
  const bool same = old && VSameIniData(*old, *data);
  SetData(element, std::move(data));
  element.present = true;
  if (!same) element.change = kSet;
}

void VIniValueMap::RemoveChange(std::u16string_view name) {
  Utf8Name utf8(name);
  Index();
  int32_t index = Lookup(utf8.View(), Hash(utf8.View()));
  if (index < 0) {
    // Not made an element: a value stored under the name later is placed as a new one.
    std::string kept(utf8.View());
    if (std::find(removedAbsent_.begin(), removedAbsent_.end(), kept) == removedAbsent_.end())
      removedAbsent_.push_back(std::move(kept));
    return;
  }
  Element& element = elements_[static_cast<size_t>(index)];
  element.present = false;
  SetData(element, nullptr);
  element.change = kDeleted;
}

bool VIniValueMap::ChangesPersonal() {
  Index();
  for (const Element& element : elements_) {
    if (element.change != kUnchanged && !element.merged &&
        PersonalSlot(element.name, element.hash) >= 0)
      return true;
  }
  for (const std::string& name : removedAbsent_) {
    if (PersonalSlot(name, Hash(name)) >= 0) return true;
  }
  return false;
}

void VIniValueMap::ApplyChangesTo(VIniValueMap& target) {
  Index();
  target.Index();
  auto remove = [&](std::string_view name, uint64_t hash) {
    int32_t index = target.Lookup(name, hash);
    if (index < 0) return;
    Element& element = target.elements_[static_cast<size_t>(index)];
    element.present = false;
    target.SetData(element, nullptr);
  };
  for (const Element& element : elements_) {
    if (element.change == kDeleted && !element.merged) remove(element.name, element.hash);
  }
  for (const std::string& name : removedAbsent_) remove(name, Hash(name));
  InOrder([&](int32_t index, bool) {
    Element& element = elements_[static_cast<size_t>(index)];
    if (element.change != kSet) return;
    VIniFileData* data = Materialize(element);
    if (!data) return;
    Element& into = target.ElementFor(element.name, element.hash);
    target.SetData(into, VCopyIniData(*data));
    into.present = true;
  });
}

void VIniValueMap::ClearChanges() {
  for (Element& element : elements_) element.change = kUnchanged;
  removedAbsent_.clear();
}

namespace {

// A name as the file gives it back: ASCII as it is; anything else as it reads when decoded and
// encoded again, so that the bytes are those of a name read and written through its text.
std::string_view WrittenName(std::string_view utf8, std::string& scratch) {
  for (char c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      scratch = vtext::ToUtf8(vtext::FromUtf8(utf8));
      return scratch;
    }
  }
  return utf8;
}

}  // namespace

void VIniValueMap::Serialize(bool split, std::string& main, std::string& personal) {
  static constexpr std::string_view kMark = "\xEF\xBB\xBF";
  main.assign(kMark);
  personal.assign(kMark);
  std::string scratch;
  // Lists go after every other kind, as readers of older versions expect.
  for (bool lists : {false, true}) {
    InOrder([&](int32_t index, bool isPersonal) {
      Element& element = elements_[static_cast<size_t>(index)];
      VIniFileData* data = Materialize(element);
      if (!data || (data->GetType() == kProfileTypeMultiSz) != lists) return;
      data->AppendTo(isPersonal && split ? personal : main, WrittenName(element.name, scratch));
    });
  }
}

bool VIniValueMap::Remove(std::u16string_view name) {
  Index();
  Utf8Name utf8(name);
  int32_t index = Lookup(utf8.View(), Hash(utf8.View()));
  if (index < 0 || !elements_[static_cast<size_t>(index)].present) return false;
  Element& element = elements_[static_cast<size_t>(index)];
  element.present = false;
  SetData(element, nullptr);
  return true;
}

void VIniValueMap::MovePersonalToGeneral() {
  Index();
  for (int32_t& index : personal_) {
    if (index < 0) continue;
    Element& element = elements_[static_cast<size_t>(index)];
    if (element.present) {
      element.slot = -1;
      general_.push_back(index);
      index = -1;
    }
  }
}

bool VIniValueMap::HasPersonalData() {
  Index();
  for (int32_t index : personal_) {
    if (index >= 0 && elements_[static_cast<size_t>(index)].present) return true;
  }
  return false;
}

template <class F>
void VIniValueMap::InOrder(F visit) {
  Index();
  for (int32_t index : personal_) {
    if (index >= 0 && elements_[static_cast<size_t>(index)].present) visit(index, true);
  }
  for (int32_t index : general_) {
    if (elements_[static_cast<size_t>(index)].present) visit(index, false);
  }
}

void VIniValueMap::ForEach(
    const std::function<void(const VUnicodeString&, VIniFileData&, bool)>& visit) {
  VUnicodeString name;
  InOrder([&](int32_t index, bool personal) {
    Element& element = elements_[static_cast<size_t>(index)];
    if (VIniFileData* data = Materialize(element)) {
      AssignName(name, element.name);
      visit(name, *data, personal);
    }
  });
}

void VIniValueMap::ForEachName(const std::function<void(const VUnicodeString&, int)>& visit) {
  VUnicodeString name;
  InOrder([&](int32_t index, bool) {
    const Element& element = elements_[static_cast<size_t>(index)];
    AssignName(name, element.name);
    visit(name, Type(element));
  });
}

void VIniValueMap::ForEachNameExcept(const VValueNameSet& skip,
                                     const std::function<void(const VUnicodeString&, int)>& visit) {
  VUnicodeString name;
  InOrder([&](int32_t index, bool) {
    const Element& element = elements_[static_cast<size_t>(index)];
    // Indexed elements carry their name's hash: the set is asked without hashing again.
    if (skip.Contains(element.name, element.hash)) return;
    AssignName(name, element.name);
    visit(name, Type(element));
  });
}
