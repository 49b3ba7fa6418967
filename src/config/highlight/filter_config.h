// One filter: name patterns that select files in the file-transfer views, either to show only
// what matches (include) or to hide it (exclude). Kept as a key below "Filters" whose name is
// the filter's; a key counts as a filter only while it carries "Is Session".
#pragma once

#include "config/items/named_item_config.h"
#include "storage/values/profile_values.h"

inline constexpr const char16_t* kFilterMarkerName = u"Is Session";

enum class FilterType { Include = 0, Exclude = 1 };

#define FILTER_CONFIG_MEMBERS(SETTING, OBJECT)                                                     \
  SETTING(VProfile<int>, filterType, u"Filter Type", 0)                                            \
  SETTING(VProfileStringArray, filterCriteria, u"Filter Criteria")                                 \
  SETTING(VProfile<bool>, matchFilterCase, u"Match Filter Case", false)                            \
  SETTING(VProfile<bool>, applyToFolders, u"Apply Filter to Folders", false)

class FilterConfig : public VNamedItemObject<IUnknown> {
 public:
  explicit FilterConfig(const VUnicodeString& name = VUnicodeString());

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();

  // "Include" or "Exclude"; a type this release does not know is shown as its number.
  VUnicodeString GetTypeText() const;
  // The patterns joined with "; ".
  VUnicodeString GetCriteriaText() const;
  // The patterns of a text such as "*.txt; *.log": split at semicolons, blanks around each
  // pattern and empty patterns left out.
  static VStringArray SplitCriteria(std::u16string_view text);

  // A key that does not carry "Is Session" yet (a new filter, or a key that was not one) gets it,
  // and every value is written, so that the filter is found again whole; an existing filter
  // writes only what changed (or everything under `force`).
  bool Save(VProfileKey& key, bool force) override;

  // ---- the stored values, in member order ----
  QL_MEMBERS(FILTER_CONFIG_MEMBERS)
};
