// One keyword list: the words a terminal session highlights in its output, kept as a key below
// "Keywords" whose name is the list's. A session names the list it uses in "Keyword Set".
#pragma once

#include <vector>

#include "config/highlight/keyword_entries.h"
#include "config/items/named_item_config.h"
#include "storage/values/profile_values.h"

// What the terminal and the keyword list editor see of a list.
class IHighlightUI : public IUnknown {
 public:
  virtual std::vector<KeywordEntry> GetKeywordEntries() const = 0;
  virtual bool GetMatchCase() const = 0;

 protected:
  ~IHighlightUI() override = default;
};

inline constexpr const char16_t* kKeywordListV2Name = u"Keyword List V2";
inline constexpr const char16_t* kOlderKeywordListName = u"Keyword List";

#define HIGHLIGHT_CONFIG_MEMBERS(SETTING, OBJECT)                                                  \
  SETTING(VProfileStringArray, keywordList, kKeywordListV2Name)                                    \
  SETTING(VProfile<bool>, matchCase, u"Match Case", false)

class HighlightConfig : public VNamedItemObject<IHighlightUI> {
 public:
  explicit HighlightConfig(const VUnicodeString& name = VUnicodeString());

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();

  // ---- IHighlightUI ----
  std::vector<KeywordEntry> GetKeywordEntries() const override { return keywords_; }
  bool GetMatchCase() const override { return matchCase.current; }

  const std::vector<KeywordEntry>& GetKeywords() const { return keywords_; }
  // The caller checks each keyword with vkeywords::IsStorableKeyword.
  void SetKeywords(std::vector<KeywordEntry> keywords) { keywords_ = std::move(keywords); }
  void SetMatchCase(bool on) { matchCase = on; }

  // Stored entries that could not be read, in stored order. They take no part in highlighting
  // and are written back as they were, after the readable ones, so that nothing is lost.
  const std::vector<VUnicodeString>& GetUnreadableEntries() const { return unreadable_; }
  // The last load found the older single-string list and converted it; the next save writes
  // the current form and blanks the older one.
  bool ConvertedOlderList() const { return convertedOlder_; }
  // What the last load passed over or kept unread, one catalogue text per warning.
  std::vector<VUnicodeString> GetLoadWarnings() const;

  // Writes the entries back into "Keyword List V2" when they changed, saves the values, then
  // blanks the older list once the current form is in the key.
  bool Save(VProfileKey& key, bool force) override;
  bool IsModified() const override;
  void CopyValue(const VProfileData& other) override;
  void DoCommit() override;
  void DoRevert() override;

  // ---- the stored values, in member order ----
  QL_MEMBERS(HIGHLIGHT_CONFIG_MEMBERS)

 protected:
  void OnAfterLoad(const VProfileKey* key) override;

 private:
  // The entries in stored form: the readable ones as kept in memory, then the unreadable.
  VStringArray StoredEntries() const;

  std::vector<KeywordEntry> keywords_;
  std::vector<KeywordEntry> loaded_;  // as last loaded or saved
  std::vector<VUnicodeString> unreadable_;
  bool otherKind_ = false;  // "Keyword List V2" is stored as another kind of value
  bool olderOtherKind_ = false;  // only the older "Keyword List" is there, and it is not text
  bool convertedOlder_ = false;
};
