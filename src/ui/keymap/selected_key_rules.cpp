#include "ui/keymap/selected_key_rules.h"

#include "config/keymap/keymap_functions.h"

namespace selectedkey {

namespace {

constexpr CodeRange kRanges[kCategoryCount] = {
    {0, 1}, {18, 163}, {6, 17}, {164, 168}, {176, 219}, {220, 265}, {169, 175},
    {4, 4}, {2, 2},    {3, 3},  {5, 5},
};
constexpr uint32_t kVtHelp = 254;
constexpr uint32_t kVtDo = 255;

void AppendOctal(VUnicodeString& out, unsigned value) {
  out.push_back(u'\\');
  out.push_back(static_cast<char16_t>(u'0' + ((value >> 6) & 7)));
  out.push_back(static_cast<char16_t>(u'0' + ((value >> 3) & 7)));
  out.push_back(static_cast<char16_t>(u'0' + (value & 7)));
}

}  // namespace

CodeRange RangeOf(Category category) { return kRanges[category]; }

Category CategoryOf(uint32_t action) {
  for (int i = 0; i < kCategoryCount; ++i)
    if (action >= kRanges[i].first && action <= kRanges[i].last) return static_cast<Category>(i);
  return kSendString;
}

bool IsFunctionList(Category category) {
  switch (category) {
    case kMenu: case kScrollbar: case kTelnet: case kTn3270: case kVt: case kSsh:
      return true;
    default:
      return false;
  }
}

std::vector<ListEntry> FunctionList(Category category) {
  std::vector<ListEntry> list;
  if (!IsFunctionList(category)) return list;
  for (uint32_t code = kRanges[category].first; code <= kRanges[category].last; ++code) {
    VUnicodeString text = vkeymap::FunctionNameOfCode(code);
    if (code == kVtHelp) text += u" (HELP)";
    if (code == kVtDo) text += u" (DO)";
    list.push_back(ListEntry{code, std::move(text)});
  }
  return list;
}

VUnicodeString SendStringForDisplay(std::u16string_view stored) {
  VUnicodeString shown;
  for (size_t i = 0; i < stored.size();) {
    if (stored.substr(i, 6) == u"\\\\r\\\\n") {
      shown += u"\\r\\n";
      i += 6;
    } else if (stored.substr(i, 4) == u"\\r\\n") {
      shown += u"\n";
      i += 4;
    } else {
      shown.push_back(stored[i++]);
    }
  }
  return shown;
}

VUnicodeString SendStringForStorage(std::u16string_view shown) {
  VUnicodeString stored;
  for (size_t i = 0; i < shown.size();) {
    if (shown.substr(i, 4) == u"\\r\\n") {
      stored += u"\\\\r\\\\n";
      i += 4;
    } else if (shown[i] == u'\r' || shown[i] == u'\n') {
      stored += u"\\r\\n";
      i += (shown.substr(i, 2) == u"\r\n") ? 2 : 1;
    } else {
      stored.push_back(shown[i++]);
    }
  }
  return stored;
}

VUnicodeString DefaultSendString(std::u16string_view produced, unsigned scanCode, bool extended) {
  if (!extended && (scanCode == 72 || scanCode == 75 || scanCode == 77 || scanCode == 80))
    return {};
  if (produced.size() != 1) return {};
  char16_t c = produced[0];
  if (c >= 0xD800 && c <= 0xDFFF) return {};
  VUnicodeString out;
  if (c < 32 || c == 0x7F || c == u'\\' || c == u'"') {
    AppendOctal(out, c);
  } else {
    out.push_back(c);
  }
  return out;
}

void SplitCommand(std::u16string_view command, VUnicodeString& program,
                  VUnicodeString& arguments) {
  size_t start = command.find_first_not_of(u" \t");
  if (start == std::u16string_view::npos) {
    program.clear();
    arguments.clear();
    return;
  }
  command.remove_prefix(start);
  size_t end;
  if (command.front() == u'"') {
    size_t close = command.find(u'"', 1);
    if (close == std::u16string_view::npos) {
      program = VUnicodeString(command.substr(1));
      arguments.clear();
      return;
    }
    program = VUnicodeString(command.substr(1, close - 1));
    end = close + 1;
  } else {
    end = command.find_first_of(u" \t");
    if (end == std::u16string_view::npos) end = command.size();
    program = VUnicodeString(command.substr(0, end));
  }
  std::u16string_view rest = command.substr(end);
  size_t first = rest.find_first_not_of(u" \t");
  arguments = first == std::u16string_view::npos ? VUnicodeString() : VUnicodeString(rest.substr(first));
}

VUnicodeString JoinCommand(std::u16string_view program, std::u16string_view arguments) {
  VUnicodeString command;
  if (program.find_first_of(u" \t") != std::u16string_view::npos) {
    command = u"\"";
    command += program;
    command += u"\"";
  } else {
    command = VUnicodeString(program);
  }
  if (!arguments.empty()) {
    command += u" ";
    command += arguments;
  }
  return command;
}

Choice CurrentChoice(const IKeymap& keymap, uint32_t keyCode) {
  Choice choice;
  if (std::optional<size_t> index = keymap.Find(keyCode)) {
    const KeyMapping& mapping = keymap.GetAt(*index);
    choice.action = mapping.action;
    choice.first = mapping.first;
    choice.second = mapping.second;
  }
  return choice;
}

bool StoreChoice(IKeymap& keymap, uint32_t keyCode, const Choice& choice) {
  Choice before = CurrentChoice(keymap, keyCode);
  bool changed = before.action != choice.action || before.first != choice.first ||
                 before.second != choice.second;
  if (!changed) return false;
  std::optional<size_t> index = keymap.Find(keyCode);
  if (choice.action == kActionNone) {
    if (index) keymap.RemoveAt(*index);
    return true;
  }
  KeyMapping mapping{keyCode, choice.action, choice.first, choice.second};
  if (index) {
    keymap.SetAt(*index, mapping);
  } else {
    keymap.Add(mapping);
  }
  return true;
}

}  // namespace selectedkey
