#include "config/highlight/highlight_config.h"

#include "config/highlight/highlight_messages.h"

namespace {

constexpr int kAbsent = -1;

}  // namespace

HighlightConfig::HighlightConfig(const VUnicodeString& name)
    : VNamedItemObject(ItemCollection::KeywordLists, name) {}

QL_MEMBER_TABLE(HighlightConfig, HIGHLIGHT_CONFIG_MEMBERS)

void HighlightConfig::OnAfterLoad(const VProfileKey* key) {
  otherKind_ = false;
  olderOtherKind_ = false;
  convertedOlder_ = false;
  int currentType = kAbsent;
  int olderType = kAbsent;
  if (key) {
    key->ForEachValueName([&](const VUnicodeString& valueName, int type) {
      if (valueName == kKeywordListV2Name) currentType = type;
      else if (valueName == kOlderKeywordListName) olderType = type;
    });
  }
  if (currentType != kAbsent && currentType != kProfileTypeMultiSz) {
    // Not ours to replace unasked: the list reads as empty and the value stays as stored until
    // the keywords are set.
    otherKind_ = true;
    keywordList.SetWritePending(false);
  } else if (currentType == kAbsent && olderType != kAbsent && olderType != kProfileTypeString) {
    // Nothing to convert; the older value is left as it is.
    olderOtherKind_ = true;
  } else if (currentType == kAbsent && olderType == kProfileTypeString) {
    VUnicodeString older;
    if (key->ReadString(kOlderKeywordListName, older)) {
      keywordList = vkeywords::ConvertOlderList(older);
      keywordList.saved = keywordList.Current();
      // Written in the current form at the next save, which then blanks the older value.
      keywordList.SetWritePending(true);
      convertedOlder_ = true;
    }
  }
  keywords_.clear();
  unreadable_.clear();
  if (!otherKind_) {
    for (const VUnicodeString& stored : keywordList.Current()) {
      if (std::optional<KeywordEntry> entry = vkeywords::ParseEntry(stored))
        keywords_.push_back(std::move(*entry));
      else
        unreadable_.push_back(stored);
    }
  }
  loaded_ = keywords_;
}

VStringArray HighlightConfig::StoredEntries() const {
  VStringArray entries;
  for (const KeywordEntry& entry : keywords_) entries.Add(vkeywords::FormatEntry(entry));
  for (const VUnicodeString& entry : unreadable_) entries.Add(entry);
  return entries;
}

bool HighlightConfig::Save(VProfileKey& key, bool force) {
  // Entries are written anew only when they changed, so that a list saved unchanged keeps the
  // bytes it was stored with (a value written "ff" by an older release stays "ff").
  if (keywords_ != loaded_) {
    keywordList = StoredEntries();
    otherKind_ = false;
  }
  // A list stored as another kind of value is kept as it is: only "Match Case" is written.
  bool saved = otherKind_ ? matchCase.Save(key, force) : VProfileComposite::Save(key, force);
  if (!saved) return false;
  loaded_ = keywords_;
  if (convertedOlder_) {
    if (!key.WriteString(kOlderKeywordListName, u"")) return false;
    convertedOlder_ = false;
  }
  return true;
}

bool HighlightConfig::IsModified() const {
  return keywords_ != loaded_ || VProfileComposite::IsModified();
}

void HighlightConfig::CopyValue(const VProfileData& other) {
  auto* same = dynamic_cast<const HighlightConfig*>(&other);
  if (!same || same == this) return;
  VProfileComposite::CopyValue(other);
  if (same->keywords_ != same->loaded_) keywords_ = same->keywords_;
}

void HighlightConfig::DoCommit() {
  if (keywords_ != loaded_) {
    keywordList = StoredEntries();
    otherKind_ = false;
  }
  VProfileComposite::DoCommit();
  loaded_ = keywords_;
}

void HighlightConfig::DoRevert() {
  keywords_ = loaded_;
  VProfileComposite::DoRevert();
}

std::vector<VUnicodeString> HighlightConfig::GetLoadWarnings() const {
  std::vector<VUnicodeString> warnings;
  if (otherKind_)
    warnings.push_back(HighlightWarning(kMsgKeywordListOtherKind, {GetItemName(), kKeywordListV2Name}));
  if (olderOtherKind_)
    warnings.push_back(HighlightWarning(kMsgOlderKeywordListOtherKind, {GetItemName(), kOlderKeywordListName}));
  if (!unreadable_.empty()) {
    VUnicodeString entries;
    for (const VUnicodeString& entry : unreadable_) {
      if (!entries.empty()) entries += u"\n";
      entries += entry;
    }
    warnings.push_back(HighlightWarning(kMsgKeywordEntriesUnreadable, {GetItemName(), entries}));
  }
  return warnings;
}
