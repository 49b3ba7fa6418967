#include "config/keymap/keymap.h"

#include <algorithm>

#include "config/keymap/key_codes.h"
#include "config/keymap/keymap_functions.h"
#include "config/keymap/keymap_messages.h"
#include "storage/text/text_file.h"

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view SkipBlanks(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return text.substr(i);
}

// The next field up to a blank or tab; `text` is left after it.
std::u16string_view TakeField(std::u16string_view& text) {
  text = SkipBlanks(text);
  size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  std::u16string_view field = text.substr(0, end);
  text.remove_prefix(end);
  return field;
}

VUnicodeString Upper(std::u16string_view text) {
  VUnicodeString out(text);
  for (char16_t& c : out)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  return out;
}

VUnicodeString Number(size_t value) { return VUnicodeString(vtext::FromUtf8(std::to_string(value))); }

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// A line holds one mapping: control characters in a string would break it (a line feed would
// start a new line of garbage on the next load), so they are written as the backslash octal
// escapes that send strings use for them anyway.
void AppendEscaped(VUnicodeString& out, std::u16string_view text) {
  for (char16_t c : text) {
    if (c < 0x20 || c == 0x7F) {
      out += u'\\';
      out += static_cast<char16_t>(u'0' + ((c >> 6) & 7));
      out += static_cast<char16_t>(u'0' + ((c >> 3) & 7));
      out += static_cast<char16_t>(u'0' + (c & 7));
    } else {
      out += c;
    }
  }
}

// Reads ("text") from the start of `text`: the argument runs to the first closing `")` or, when
// `last` is set, to the last one of the line (a command line may itself hold quotes).
bool TakeArgument(std::u16string_view& text, bool last, VUnicodeString& argument) {
  text = SkipBlanks(text);
  if (!StartsWith(text, u"(\"")) return false;
  text.remove_prefix(2);
  size_t close = last ? text.rfind(u"\")") : text.find(u"\")");
  if (close == std::u16string_view::npos) return false;
  argument = VUnicodeString(text.substr(0, close));
  text.remove_prefix(close + 2);
  return true;
}

// Reads the script file of RUN("file")("arguments"): it ends at the first `")` that the second
// argument's `("` follows, so that a `")` inside the file name does not cut it short.
bool TakeScriptFile(std::u16string_view& text, VUnicodeString& file) {
  text = SkipBlanks(text);
  if (!StartsWith(text, u"(\"")) return false;
  for (size_t close = text.find(u"\")", 2); close != std::u16string_view::npos;
       close = text.find(u"\")", close + 1)) {
    std::u16string_view after = SkipBlanks(text.substr(close + 2));
    if (StartsWith(after, u"(\"")) {
      file = VUnicodeString(text.substr(2, close - 2));
      text = after;
      return true;
    }
  }
  return false;
}

}  // namespace

const KeyMapping& Keymap::GetAt(size_t index) const {
  if (index >= mappings_.size()) throw VOutOfRange("Keymap::GetAt");
  return mappings_[index];
}

void Keymap::Add(const KeyMapping& mapping) { mappings_.push_back(mapping); }

void Keymap::SetAt(size_t index, const KeyMapping& mapping) {
  if (index >= mappings_.size()) throw VOutOfRange("Keymap::SetAt");
  mappings_[index] = mapping;
}

void Keymap::RemoveAt(size_t index) {
  if (index >= mappings_.size()) throw VOutOfRange("Keymap::RemoveAt");
  mappings_.erase(mappings_.begin() + static_cast<std::ptrdiff_t>(index));
  for (KeptLine& kept : kept_)
    if (kept.before > index) --kept.before;
}

void Keymap::RemoveAll() {
  mappings_.clear();
  kept_.clear();
}

std::optional<size_t> Keymap::Find(uint32_t keyCode) const {
  for (size_t i = 0; i < mappings_.size(); ++i)
    if (mappings_[i].keyCode == keyCode) return i;
  return std::nullopt;
}

VUnicodeString Keymap::ModifierField(uint32_t keyCode) {
  VUnicodeString field;
  if (keyCode & kKeyAlt) field += u'A';
  if (keyCode & kKeyCtrl) field += u'C';
  if (keyCode & kKeyShift) field += u'S';
  if (keyCode & kKeyExtended) field += u'E';
  if (field.empty()) field = u"N";
  return field;
}

VUnicodeString Keymap::DoubleLineBreaks(std::u16string_view text) {
  VUnicodeString out;
  size_t at = 0;
  for (size_t found; (found = text.find(u"\\r\\n", at)) != std::u16string_view::npos;
       at = found + 4) {
    out.append(text.substr(at, found - at));
    out += u"\\\\r\\\\n";
  }
  out.append(text.substr(at));
  return out;
}

VUnicodeString Keymap::FormatLine(const KeyMapping& mapping) {
  if (mapping.action == kActionNone) return VUnicodeString();
  VUnicodeString line = ModifierField(mapping.keyCode);
  line += u'\t';
  // The Windows bit has no letter: it stays part of the key value, which then has no name and is
  // written as a number.
  VUnicodeString key =
      vkeys::KeyNameOfCode(mapping.keyCode & ~(kKeyAlt | kKeyCtrl | kKeyShift | kKeyExtended));
  line += key;
  if (key.size() < 20) line.append(20 - key.size(), u' ');
  line += u'\t';
  switch (mapping.action) {
    case kActionSend:
      line += u'"';
      AppendEscaped(line, mapping.first);
      line += u'"';
      break;
    case kActionRun:
      line += u"RUN(\"";
      AppendEscaped(line, mapping.first);
      line += u"\")(\"";
      AppendEscaped(line, mapping.second);
      line += u"\")";
      break;
    case kActionLaunch:
    case kActionSetButtonBar:
      line += mapping.action == kActionLaunch ? u"LAUNCH(\"" : u"SET_BUTTONBAR(\"";
      AppendEscaped(line, mapping.first);
      line += u"\")";
      break;
    default: {
      VUnicodeString name = vkeymap::FunctionNameOfCode(mapping.action);
      // A code outside the table is kept as its number so that it is not lost.
      line += name.empty() ? VUnicodeString(Number(mapping.action)) : name;
    }
  }
  return line;
}

void Keymap::ResetForLoad() {
  mappings_.clear();
  kept_.clear();
  errors_.clear();
  failedLines_ = 0;
  sawComment_ = false;
  lineNumber_ = 0;
  errorCount_ = 0;
}

void Keymap::Complain(uint32_t id, std::vector<VUnicodeString> inserts) {
  VStringArray list;
  for (auto& insert : inserts) list.Add(std::move(insert));
  VUnicodeString text = VFormatCatalogueMessage(id, list, true);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\n' || text.back() == u'\r'))
    text.pop_back();
  errors_.push_back({lineNumber_, std::move(text)});
  ++errorCount_;
  lineFailed_ = true;
}

bool Keymap::ParseLine(std::u16string_view line, bool doubleLineBreaks) {
  if (errorCount_ >= kMaxErrors) return false;
  ++lineNumber_;
  lineFailed_ = false;
  if (SkipBlanks(line).empty()) return true;
  if (line[0] == u';') {
    sawComment_ = true;
    kept_.push_back({mappings_.size(), VUnicodeString(line)});
    return true;
  }
  const auto lineText = [this] { return Number(lineNumber_); };
  bool added = false;
  // Whatever fails, the line itself is kept to be written back as it was.
  struct KeepOnFailure {
    Keymap& map;
    std::u16string_view line;
    bool& added;
    ~KeepOnFailure() {
      if (!map.lineFailed_) return;
      ++map.failedLines_;
      if (!added) map.kept_.push_back({map.mappings_.size(), VUnicodeString(line)});
    }
  } keep{*this, line, added};

  std::u16string_view rest = line;
  std::u16string_view modifiers = TakeField(rest);
  std::u16string_view keyField = TakeField(rest);
  if (modifiers.empty() || keyField.empty()) {
    Complain(kMsgKeymapFieldMissing, {lineText()});
    return true;
  }
  VUnicodeString keyName = Upper(keyField);
  std::optional<uint32_t> key = vkeys::KeyCodeOfName(keyName);
  if (!key) {
    // A few key names hold a blank ("VK_LAUNCH 0"): such a name is its field and the next.
    std::u16string_view after = rest;
    std::u16string_view more = TakeField(after);
    VUnicodeString joined = keyName + u" " + Upper(more);
    if (!more.empty() && vkeys::IsKeyName(joined)) {
      key = vkeys::KeyCodeOfName(joined);
      rest = after;
    }
  }
  if (!key) {
    Complain(kMsgKeymapUnknownKey, {keyName, lineText()});
    return true;
  }
  uint32_t keyCode = *key;
  VUnicodeString letters = Upper(modifiers);
  auto takeFirst = [&letters](char16_t letter) {
    size_t at = letters.find(letter);
    if (at == VUnicodeString::npos) return false;
    letters[at] = u' ';
    return true;
  };
  takeFirst(u'N');
  if (takeFirst(u'E')) keyCode |= kKeyExtended;
  if (takeFirst(u'C')) keyCode |= kKeyCtrl;
  if (takeFirst(u'S')) keyCode |= kKeyShift;
  if (takeFirst(u'A')) keyCode |= kKeyAlt;
  // A stray letter is complained of, but the line is still taken: the letter never meant
  // anything, so the next save drops only it.
  for (char16_t c : letters) {
    if (c != u' ') Complain(kMsgKeymapBadModifier, {VUnicodeString(std::u16string(1, c)), lineText()});
  }

  KeyMapping mapping;
  mapping.keyCode = keyCode;
  std::u16string_view action = SkipBlanks(rest);
  if (action.empty()) {
    Complain(kMsgKeymapFieldMissing, {lineText()});
    return true;
  }
  if (action[0] == u'"') {
    mapping.action = kActionSend;
    size_t close = action.rfind(u'"');
    if (close == 0) {
      Complain(kMsgKeymapUnclosedString, {lineText()});
    } else {
      std::u16string_view text = action.substr(1, close - 1);
      mapping.first = doubleLineBreaks ? DoubleLineBreaks(text) : VUnicodeString(text);
    }
  } else if (StartsWith(action, u"RUN")) {
    mapping.action = kActionRun;
    action.remove_prefix(3);
    if (!TakeScriptFile(action, mapping.first) || !TakeArgument(action, true, mapping.second)) {
      Complain(kMsgKeymapBadArgument, {VUnicodeString(u"RUN"), lineText()});
      return true;
    }
  } else if (StartsWith(action, u"LAUNCH") || StartsWith(action, u"SET_BUTTONBAR")) {
    bool launch = StartsWith(action, u"LAUNCH");
    mapping.action = launch ? kActionLaunch : kActionSetButtonBar;
    action.remove_prefix(launch ? 6 : 13);
    if (!TakeArgument(action, true, mapping.first)) {
      Complain(kMsgKeymapBadArgument,
               {VUnicodeString(launch ? u"LAUNCH" : u"SET_BUTTONBAR"), lineText()});
      return true;
    }
  } else {
    std::u16string_view name = TakeField(action);
    std::optional<uint32_t> code = vkeymap::FunctionCodeOfName(name);
    if (!code || *code == kActionNone || *code == kActionSend) {
      Complain(kMsgKeymapUnknownFunction, {VUnicodeString(name), lineText()});
      return true;
    }
    mapping.action = *code;
  }
  mappings_.push_back(std::move(mapping));
  added = true;
  return true;
}

bool Keymap::LoadText(std::u16string_view text, const VUnicodeString& fileName,
                      VReportMessageParams& report) {
  ResetForLoad();
  header_ = VUnicodeString();
  VTextFile::LineReader reader(text);
  std::u16string_view line;
  bool first = true;
  bool older = true;  // a file without the current header has send strings of the older form
  while (reader.Next(line)) {
    if (first) {
      first = false;
      if (line.find(u"Version = ") != std::u16string_view::npos) {
        header_ = VUnicodeString(line);
        ++lineNumber_;
        // Trailing blanks do not make a current file look like an older one.
        std::u16string_view trimmed = line;
        while (!trimmed.empty() && IsBlank(trimmed.back())) trimmed.remove_suffix(1);
        older = trimmed != kCurrentHeader;
        continue;
      }
      older = true;
    }
    if (!ParseLine(line, older)) break;
  }
  if (errors_.empty()) return true;
  VUnicodeString list;
  for (const KeymapLineError& error : errors_) {
    if (!list.empty()) list += u"\n";
    list += error.text;
  }
  bool stopped = errorCount_ >= kMaxErrors;
  report.Reset(stopped ? kMsgKeymapStopped : kMsgKeymapLoadedWithErrors);
  report.AddInsert(fileName);
  report.AddInsert(list);
  return !stopped;
}

bool Keymap::LoadStrings(const VStringArray& lines, bool doubleLineBreaks) {
  ResetForLoad();
  for (const VUnicodeString& line : lines) {
    // A stored string is one line; any line break inside it is taken as separating lines.
    VTextFile::LineReader reader(line);
    std::u16string_view part;
    bool any = false;
    while (reader.Next(part)) {
      any = true;
      if (!ParseLine(part, doubleLineBreaks)) return false;
    }
    if (!any && !ParseLine(u"", doubleLineBreaks)) return false;
  }
  return errorCount_ < kMaxErrors;
}

template <class Emit>
void Keymap::EachLine(Emit&& emit) const {
  size_t k = 0;
  for (size_t i = 0; i <= mappings_.size(); ++i) {
    while (k < kept_.size() && kept_[k].before <= i) emit(kept_[k++].text);
    if (i == mappings_.size()) break;
    VUnicodeString line = FormatLine(mappings_[i]);
    if (!line.empty()) emit(line);
  }
  while (k < kept_.size()) emit(kept_[k++].text);
}

VStringArray Keymap::ToStrings() const {
  VStringArray lines;
  EachLine([&lines](const VUnicodeString& line) { lines.Add(line); });
  return lines;
}

std::string Keymap::FileBytes() const {
  VTextFile file;
  // What is written is in the current form; a file that had no header gets the current one, so
  // that its send strings are not taken for the older form when it is read back.
  file.WriteLine(header_.empty() ? VUnicodeString(kCurrentHeader) : header_);
  EachLine([&file](const VUnicodeString& line) { file.WriteLine(line); });
  return file.Bytes();
}
