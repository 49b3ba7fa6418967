#include "storage/values/profile_multi_line.h"

void VProfileMultiLineString::SetText(std::u16string_view text) {
  VStringArray lines;
  if (!text.empty()) {
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
      if (i == text.size()) {
        lines.Add(VUnicodeString(text.substr(start)));
        break;
      }
      if (text[i] == u'\n') {
        lines.Add(VUnicodeString(text.substr(start, i - start)));
        start = i + 1;
      } else if (text[i] == u'\r') {
        // CR LF ends the line at the LF; a CR alone ends it here, since no stored line may hold
        // a line break.
        lines.Add(VUnicodeString(text.substr(start, i - start)));
        if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
      }
    }
  }
  Current() = std::move(lines);
}

VUnicodeString VProfileMultiLineString::GetText(bool lineFeedOnly) const {
  VUnicodeString text;
  bool first = true;
  for (const auto& line : Current()) {
    if (!first) text += lineFeedOnly ? u"\n" : u"\r\n";
    text += line;
    first = false;
  }
  return text;
}

bool VProfileMultiLineString::SetFromText(const VUnicodeString& text, VReportMessageParams&) {
  SetText(text);
  return true;
}
