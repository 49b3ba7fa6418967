#include "config/highlight/filter_config.h"

#include <string>

FilterConfig::FilterConfig(const VUnicodeString& name)
    : VNamedItemObject(ItemCollection::Filters, name) {}

QL_MEMBER_TABLE(FilterConfig, FILTER_CONFIG_MEMBERS)

VUnicodeString FilterConfig::GetTypeText() const {
  switch (filterType.current) {
    case static_cast<int>(FilterType::Include):
      return u"Include";
    case static_cast<int>(FilterType::Exclude):
      return u"Exclude";
  }
  return vtext::FromUtf8(std::to_string(filterType.current));
}

VUnicodeString FilterConfig::GetCriteriaText() const {
  VUnicodeString text;
  for (const VUnicodeString& pattern : filterCriteria.Current()) {
    if (!text.empty()) text += u"; ";
    text += pattern;
  }
  return text;
}

VStringArray FilterConfig::SplitCriteria(std::u16string_view text) {
  VStringArray patterns;
  while (true) {
    size_t at = text.find(u';');
    std::u16string_view pattern = text.substr(0, at);
    while (!pattern.empty() && (pattern.front() == u' ' || pattern.front() == u'\t'))
      pattern.remove_prefix(1);
    while (!pattern.empty() && (pattern.back() == u' ' || pattern.back() == u'\t'))
      pattern.remove_suffix(1);
    if (!pattern.empty()) patterns.Add(VUnicodeString(pattern));
    if (at == std::u16string_view::npos) return patterns;
    text.remove_prefix(at + 1);
  }
}

bool FilterConfig::Save(VProfileKey& key, bool force) {
  bool marked = false;
  key.ForEachValueName([&](const VUnicodeString& valueName, int) {
    marked = marked || valueName == kFilterMarkerName;
  });
  if (!marked && !key.WriteDword(kFilterMarkerName, 1)) return false;
  return VNamedItemObject::Save(key, force || !marked);
}
