#include "config/highlight/session_appearance.h"

#include "config/database/session_database.h"
#include "config/highlight/highlight_messages.h"
#include "config/session/session_config.h"

SessionAppearance FindSessionAppearance(const SessionConfig& session, SessionDatabase& database,
                                        const ProfileColorSchemeListV2& schemes) {
  SessionAppearance found;
  for (const ProfileItemName* name : {&session.keywordSet, &session.terminal.colorScheme})
    if (name->StoredAsOtherKind())
      found.warnings.push_back(HighlightWarning(kMsgSessionNameOtherKind, {name->GetName()}));
  const VUnicodeString& listName = session.keywordSet.Current();
  if (!listName.empty() && !SessionDatabase::IsNoKeywordListName(listName)) {
    found.keywordList = database.OpenKeywordList(listName);
    if (!found.keywordList) found.warnings.push_back(HighlightWarning(kMsgSessionKeywordListMissing, {listName}));
  }
  const VUnicodeString& schemeName = session.terminal.colorScheme.Current();
  if (!schemeName.empty()) {
    size_t index = schemes.Find(schemeName);
    if (index == ProfileColorsBase::kNotFound) {
      found.warnings.push_back(HighlightWarning(kMsgSessionColorSchemeMissing, {schemeName}));
    } else {
      VUnicodeString kept(vcolors::EntryName(schemes.GetEntry(index)));
      if (kept != schemeName)
        found.warnings.push_back(HighlightWarning(kMsgSessionColorSchemeOtherName, {schemeName, kept}));
      found.colorScheme = vcolors::ParseScheme(schemes.GetEntry(index));
      // An entry the list cannot read is reported by the list itself.
    }
  }
  return found;
}
