// The keyword lists of the item database: opening one by the name a session gives.
#include "config/database/session_database.h"
#include "config/highlight/highlight_config.h"
#include "config/highlight/highlight_messages.h"
#include "report/message_catalogue.h"

bool SessionDatabase::IsNoKeywordListName(std::u16string_view name) {
  // A session saved under one language and opened under the other still names no list.
  const VMessageModule* module = VGetHostMessageModule();
  if (!module) return false;
  for (VLanguage language : {VLanguage::English, VLanguage::French}) {
    std::u16string text;
    if (!module->Find(kMsgNoKeywordList, language, text)) continue;
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' '))
      text.pop_back();
    if (!text.empty() && text == name) return true;
  }
  return false;
}

VRef<HighlightConfig> SessionDatabase::OpenKeywordList(const VUnicodeString& name) {
  if (IsNoKeywordListName(name)) return VRef<HighlightConfig>();
  VRef<NamedItemConfig> item = LoadItem(ItemCollection::KeywordLists, name);
  auto* list = dynamic_cast<HighlightConfig*>(item.Get());
  if (!list) return VRef<HighlightConfig>();
  list->AddRef();
  return VRef<HighlightConfig>(list);
}
