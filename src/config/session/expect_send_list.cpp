#include "config/session/expect_send_list.h"

#include "config/session/session_messages.h"

VUnicodeString ProfileExpectSendList::ToText(const std::vector<ExpectSendEntry>& entries) {
  VUnicodeString text;
  text.SetSensitive(true);
  for (const ExpectSendEntry& entry : entries) {
    text += entry.hide ? u'1' : u'0';
    text += kSeparator;
    text += entry.expect;
    text += kSeparator;
    text += entry.send;
    text += kSeparator;
  }
  return text;
}

bool ProfileExpectSendList::FromText(std::u16string_view text,
                                     std::vector<ExpectSendEntry>& entries) {
  entries.clear();
  std::vector<std::u16string_view> fields;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(kSeparator, start);
    if (end == std::u16string_view::npos) return false;  // a field that is never closed
    fields.push_back(text.substr(start, end - start));
    start = end + 1;
    if (fields.size() == 3) {
      ExpectSendEntry entry;
      entry.hide = fields[0] == u"1";
      entry.expect = VUnicodeString(fields[1]);
      entry.send = VUnicodeString(fields[2]);
      entry.send.SetSensitive(entry.hide);
      entries.push_back(std::move(entry));
      fields.clear();
    }
  }
  return fields.empty();
}

std::vector<ExpectSendEntry> ProfileExpectSendList::GetEntries() const {
  std::vector<ExpectSendEntry> entries;
  VUnicodeString text = GetPlaintext();
  FromText(text, entries);
  return entries;
}

bool ProfileExpectSendList::SetEntries(const std::vector<ExpectSendEntry>& entries) {
  return SetPlaintext(ToText(entries));
}

bool ProfileExpectSendList::SetFromText(const VUnicodeString& text, VReportMessageParams& error) {
  std::vector<ExpectSendEntry> entries;
  if (!FromText(text, entries)) {
    error.Reset(kMsgExpectSendMalformed);
    error.AddInsert(GetName().c_str());
    return false;
  }
  return VProfileEncryptedString::SetFromText(text, error);
}
