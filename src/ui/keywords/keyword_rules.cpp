#include "ui/keywords/keyword_rules.h"

#include <string>

#include <QRegularExpression>

#include "config/database/session_database.h"
#include "config/highlight/highlight_messages.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "storage/model/key_name.h"

namespace keyword_rules {

namespace {

bool HasBlank(std::u16string_view text) {
  return text.find_first_of(u" \t") != std::u16string_view::npos;
}

void Fill(VReportMessageParams& error, uint32_t id, const VUnicodeString& insert,
          const VMessageModule* module = nullptr) {
  error = VReportMessageParams(id, module);
  error.AddInsert(insert);
}

}  // namespace

int FindKeyword(const std::vector<KeywordEntry>& list, const VUnicodeString& text, bool matchCase) {
  for (size_t i = 0; i < list.size(); ++i) {
    bool same = matchCase ? list[i].text == text : vtext::EqualsNoCase(list[i].text, text);
    if (same) return static_cast<int>(i);
  }
  return -1;
}

bool CheckKeyword(const std::vector<KeywordEntry>& list, const VUnicodeString& text, bool regex,
                  bool matchCase, int editing, VReportMessageParams& error) {
  if (HasBlank(text)) {
    Fill(error, regex ? kMsgRegexBlank : kMsgKeywordBlank, text);
    return false;
  }
  for (size_t i = 0; i < list.size(); ++i) {
    if (static_cast<int>(i) == editing) continue;
    bool same = matchCase ? list[i].text == text : vtext::EqualsNoCase(list[i].text, text);
    if (same) {
      Fill(error, kMsgKeywordDuplicate, text);
      return false;
    }
  }
  if (!regex && text.size() > kMaxKeywordChars) {
    Fill(error, kMsgKeywordTooLong, VUnicodeString::FromUtf8(std::to_string(kMaxKeywordChars)));
    return false;
  }
  // A word that would not read back the same from the stored list (empty, a double quote, a
  // line break) is refused here rather than lost at the next load.
  if (!vkeywords::IsStorableKeyword(text)) {
    Fill(error, kMsgKeywordNotStorable, text);
    return false;
  }
  if (regex) {
    QRegularExpression expression(ToQString(text));
    if (!expression.isValid()) {
      error = VReportMessageParams(kMsgRegexInvalid, VGetUiMessageModule());
      error.AddInsert(text);
      error.AddInsert(FromQString(expression.errorString()));
      return false;
    }
  }
  return true;
}

int FirstRepeatedKeyword(const std::vector<KeywordEntry>& list, bool matchCase) {
  for (size_t i = 1; i < list.size(); ++i) {
    std::vector<KeywordEntry> earlier(list.begin(), list.begin() + i);
    if (FindKeyword(earlier, list[i].text, matchCase) >= 0) return static_cast<int>(i);
  }
  return -1;
}

OpeningWord ApplyOpeningWord(std::vector<KeywordEntry>& list, const VUnicodeString& word,
                             bool matchCase) {
  OpeningWord result;
  if (word.empty()) return result;
  int found = FindKeyword(list, word, matchCase);
  if (found >= 0) {
    result.outcome = OpeningWord::Outcome::Selected;
    result.index = found;
    return result;
  }
  if (word.size() > kMaxKeywordChars) {
    result.outcome = OpeningWord::Outcome::TooLong;
    result.wordField = VUnicodeString(std::u16string_view(word).substr(0, kMaxKeywordChars));
    Fill(result.message, kMsgKeywordTooLong,
         VUnicodeString::FromUtf8(std::to_string(kMaxKeywordChars)));
    return result;
  }
  if (!CheckKeyword(list, word, false, matchCase, -1, result.message)) {
    result.outcome = OpeningWord::Outcome::Refused;
    result.wordField = word;
    return result;
  }
  list.push_back(KeywordEntry{word, kNoColor, 0});
  result.outcome = OpeningWord::Outcome::Appended;
  result.index = static_cast<int>(list.size()) - 1;
  return result;
}

bool CheckListName(const VUnicodeString& name, const VUnicodeString& existing, bool isNew,
                   bool nameTaken, VReportMessageParams& error) {
  if (!ValidateKeyName(existing.c_str(), name.c_str(), isNew, u"keyword list", nameTaken, error))
    return false;
  if (SessionDatabase::IsNoKeywordListName(name)) {
    Fill(error, kMsgListNameReserved, name);
    return false;
  }
  return true;
}

int MoveEntry(std::vector<KeywordEntry>& list, int index, int direction) {
  int target = index + direction;
  if (index < 0 || index >= static_cast<int>(list.size()) || target < 0 ||
      target >= static_cast<int>(list.size()))
    return index;
  std::swap(list[index], list[target]);
  return target;
}

uint32_t ColorValue(uint8_t red, uint8_t green, uint8_t blue) {
  uint32_t value = red | (uint32_t{green} << 8) | (uint32_t{blue} << 16);
  if (value == kNoColor) value |= 0x100;
  return value;
}

}  // namespace keyword_rules
