#include "config/highlight/highlight_messages.h"

#include "report/report_message_params.h"

VUnicodeString HighlightWarning(uint32_t id, std::initializer_list<VUnicodeString> inserts) {
  VStringArray list;
  for (const VUnicodeString& insert : inserts) list.Add(insert);
  VUnicodeString text = VFormatCatalogueMessage(id, list);
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r')) text.pop_back();
  return text;
}
