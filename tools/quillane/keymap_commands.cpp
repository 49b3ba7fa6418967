// quillane keymap show|check|set|unset|names: key map files and the key maps of sessions.
#include <iostream>

#include "config/keymap/key_codes.h"
#include "config/keymap/keymap.h"
#include "config/keymap/keymap_file.h"
#include "config/keymap/keymap_functions.h"
#include "config/keymap/keymap_messages.h"
#include "config/session/session_config.h"
#include "config/session/session_messages.h"
#include "config/session/session_store.h"
#include "quillane/cli.h"
#include "quillane/passphrase_settle.h"
#include "quillane/text_escape.h"

namespace cli {
namespace {

constexpr char kUsage[] =
    "  quillane keymap show (FILE | --session PATH)\n"
    "  quillane keymap check FILE\n"
    "  quillane keymap set (FILE | --session PATH) KEY ACTION [ARGUMENT ...]\n"
    "  quillane keymap unset (FILE | --session PATH) KEY\n"
    "  quillane keymap names keys|functions\n"
    "show lists the mappings in stored order: KEY, ACTION and its arguments, tab-separated.\n"
    "check parses a key map file and prints each complaint as LINE<TAB>TEXT; it fails when the\n"
    "load stops at the third error. A FILE that is not found by its name is looked for in the\n"
    "\"keymaps\" folder of the configuration folder.\n"
    "KEY is written as Alt-Ctrl-VK_M or in the file's form \"AC VK_M\" (N for no modifier); a key\n"
    "without a name is a number (0x40000074). ACTION is a function name (see names functions),\n"
    "SEND STRING, RUN FILE [ARGUMENTS], LAUNCH COMMAND, SET_BUTTONBAR NAME or DISABLED. set binds\n"
    "the key (replacing its binding) and saves; a FILE that does not exist is created.\n";

// A key map file or the key map of a session, loaded, changed and saved the same way.
class Target {
 public:
  Target(Context& context, std::vector<std::string>& rest) : context_(context) {
    if (rest.empty()) throw UsageError("expected FILE or --session PATH");
    if (rest[0] == "--session") {
      if (rest.size() < 2) throw UsageError("--session needs a session path");
      session_ = true;
      for (const VUnicodeString& level : SplitSessionPath(Wide(rest[1]))) {
        if (!path_.empty()) path_ += u"\\";
        path_ += level;
      }
      if (path_.empty()) throw UsageError("expected a session path");
      rest.erase(rest.begin(), rest.begin() + 2);
    } else {
      if (rest[0].empty()) throw UsageError("expected FILE");
      path_ = Wide(rest[0]);
      rest.erase(rest.begin());
    }
  }

  // Loads; 0 when the key map is there to be read or changed, else the exit status. With
  // `createMissing` a key map file that does not exist starts empty.
  int Load(bool createMissing) {
    VReportMessageParams report;
    if (session_) {
      if (int status = SettlePassphrase(context_, PassphraseUse::Optional)) return status;
      session_object_ = VRef<SessionConfig>(OpenSessionByPath(path_, report));
      if (!session_object_) {
        uint32_t id = report.GetMessageId();
        bool absent = id == kMsgSessionMissing || id == kMsgSessionIsFolder;
        return context_.Fail(absent ? kExitNotFound : kExitFailed, report);
      }
      if (session_object_->terminal.keymap.GetLoadReport(report)) Warn(report);
      return kExitOk;
    }
    if (createMissing && !vkeymap::KeymapFileExists(path_)) return kExitOk;
    if (!file_.Load(path_, report)) {
      bool absent = report.GetMessageId() == kMsgKeymapUnreadable && !vkeymap::KeymapFileExists(path_);
      return context_.Fail(absent ? kExitNotFound : kExitFailed, report);
    }
    if (report.IsError()) Warn(report);
    return kExitOk;
  }

  IKeymap& Map() { return session_ ? static_cast<IKeymap&>(session_object_->terminal.keymap) : file_; }

  int Save() {
    VReportMessageParams error;
    if (session_) {
      if (!SaveSessionAtPath(*session_object_.Get(), path_, false, error))
        return context_.Fail(kExitFailed, error);
      return kExitOk;
    }
    if (!file_.Save(path_, error)) return context_.Fail(kExitFailed, error);
    return kExitOk;
  }

 private:
  void Warn(VReportMessageParams& report) {
    std::cerr << "quillane: " << Utf8(report.GetTextTrimmed()) << std::endl;
  }

  Context& context_;
  bool session_ = false;
  VUnicodeString path_;
  Keymap file_;
  VRef<SessionConfig> session_object_;
};

std::string Message(uint32_t id, std::vector<VUnicodeString> inserts) {
  VStringArray list;
  for (auto& insert : inserts) list.Add(std::move(insert));
  std::string text = Utf8(VFormatCatalogueMessage(id, list, true));
  while (!text.empty() && (text.back() == ' ' || text.back() == '\n')) text.pop_back();
  return text;
}

VUnicodeString DisplayKey(uint32_t code) {
  return KeyModifiersToString(code) + vkeys::KeyNameOfCode(GetUnmodifiedKey(code));
}

std::vector<VUnicodeString> Arguments(const KeyMapping& m) {
  switch (m.action) {
    case kActionSend:
    case kActionLaunch:
    case kActionSetButtonBar:
      return {m.first};
    case kActionRun:
      return {m.first, m.second};
    default:
      return {};
  }
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && vtext::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// "Alt-Ctrl-VK_M", "AC VK_M", "N VK_LAUNCH 0", "0x40000074": the key code, or nothing.
std::optional<uint32_t> ParseKey(const std::string& given) {
  VUnicodeString text = Wide(given);
  size_t blank = text.find_first_of(u" \t");
  uint32_t bits = 0;
  std::u16string_view name = text;
  if (blank != VUnicodeString::npos) {
    // The file's form: modifier letters, then the key name (which may itself hold a blank).
    std::u16string_view letters = std::u16string_view(text).substr(0, blank);
    name = std::u16string_view(text).substr(blank);
    while (!name.empty() && (name[0] == u' ' || name[0] == u'\t')) name.remove_prefix(1);
    bool none = false;
    for (char16_t c : letters) {
      uint32_t bit = 0;
      switch (c) {
        case u'N': case u'n': none = true; continue;
        case u'A': case u'a': bit = kKeyAlt; break;
        case u'C': case u'c': bit = kKeyCtrl; break;
        case u'S': case u's': bit = kKeyShift; break;
        case u'E': case u'e': bit = kKeyExtended; break;
        default: return std::nullopt;
      }
      if (bits & bit) return std::nullopt;
      bits |= bit;
    }
    if (none && bits) return std::nullopt;
  } else {
    static const std::pair<const char16_t*, uint32_t> kPrefixes[] = {
        {u"Alt-", kKeyAlt}, {u"Ctrl-", kKeyCtrl}, {u"Shift-", kKeyShift},
        {u"Extended-", kKeyExtended}, {u"Windows-", kKeyWindows}};
    for (bool found = true; found;) {
      found = false;
      for (const auto& [prefix, bit] : kPrefixes) {
        if (StartsWithNoCase(name, prefix) && name.size() > std::u16string_view(prefix).size()) {
          bits |= bit;
          name.remove_prefix(std::u16string_view(prefix).size());
          found = true;
        }
      }
    }
  }
  VUnicodeString upper(name);
  for (char16_t& c : upper)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  std::optional<uint32_t> key = vkeys::KeyCodeOfName(upper);
  if (!key) return std::nullopt;
  return *key | bits;
}

int Show(Context& context, std::vector<std::string> rest) {
  Target target(context, rest);
  if (!rest.empty()) throw UsageError("show takes FILE or --session PATH only");
  if (int status = target.Load(false)) return status;
  IKeymap& map = target.Map();
  Json mappings = Json::Array();
  for (size_t i = 0; i < map.GetCount(); ++i) {
    const KeyMapping& m = map.GetAt(i);
    VUnicodeString action = vkeymap::FunctionNameOfCode(m.action);
    if (action.empty()) action = Wide(std::to_string(m.action));
    if (context.Json()) {
      Json entry = Json::Object();
      entry.Set("key", Utf8(DisplayKey(m.keyCode)));
      entry.Set("code", m.keyCode);
      entry.Set("action", Utf8(action));
      Json arguments = Json::Array();
      for (const auto& a : Arguments(m)) arguments.Push(Utf8(a));
      entry.Set("arguments", std::move(arguments));
      mappings.Push(std::move(entry));
    } else {
      std::cout << EscapeText(DisplayKey(m.keyCode)) << '\t' << EscapeText(action);
      for (const auto& a : Arguments(m)) std::cout << '\t' << EscapeText(a);
      std::cout << '\n';
    }
  }
  Json result = Json::Object();
  result.Set("header", Utf8(map.GetHeader()));
  result.Set("mappings", std::move(mappings));
  context.SetResult(std::move(result));
  return kExitOk;
}

int Check(Context& context, const std::vector<std::string>& rest) {
  if (rest.size() != 1 || rest[0].empty()) throw UsageError("expected FILE");
  Keymap map;
  VReportMessageParams report;
  bool loaded = map.Load(Wide(rest[0]), report);
  if (!loaded && report.GetMessageId() == kMsgKeymapUnreadable) {
    return context.Fail(vkeymap::KeymapFileExists(Wide(rest[0])) ? kExitFailed : kExitNotFound, report);
  }
  Json errors = Json::Array();
  for (const KeymapLineError& error : map.GetLoadErrors()) {
    if (context.Json()) {
      Json entry = Json::Object();
      entry.Set("line", static_cast<uint64_t>(error.line));
      entry.Set("text", Utf8(error.text));
      errors.Push(std::move(entry));
    } else {
      std::cout << error.line << '\t' << EscapeText(error.text) << '\n';
    }
  }
  Json result = Json::Object();
  result.Set("errors", std::move(errors));
  result.Set("loaded", loaded);
  context.SetResult(std::move(result));
  if (!loaded) {
    // The complaints are the answer; the failure itself goes to standard error.
    std::cerr << "quillane: " << Utf8(report.GetTextOneLineTrimmed()) << std::endl;
    return kExitFailed;
  }
  return kExitOk;
}

int Set(Context& context, std::vector<std::string> rest) {
  Target target(context, rest);
  if (rest.size() < 2) throw UsageError("expected KEY ACTION [ARGUMENT ...]");
  std::optional<uint32_t> key = ParseKey(rest[0]);
  if (!key) throw UsageError(Message(kMsgKeymapBadKey, {Wide(rest[0])}));
  std::optional<uint32_t> action = vkeymap::FunctionCodeOfName(Wide(rest[1]));
  if (!action || *action == kActionNone)
    throw UsageError(Message(kMsgKeymapBadAction, {Wide(rest[1])}));
  std::vector<std::string> arguments(rest.begin() + 2, rest.end());
  size_t least = 0, most = 0;
  if (*action == kActionSend || *action == kActionLaunch || *action == kActionSetButtonBar)
    least = most = 1;
  if (*action == kActionRun) least = 1, most = 2;
  if (arguments.size() < least || arguments.size() > most) {
    VUnicodeString count = Wide(least == most ? std::to_string(least)
                                              : std::to_string(least) + "-" + std::to_string(most));
    throw UsageError(Message(kMsgKeymapArgumentCount, {vkeymap::FunctionNameOfCode(*action), count}));
  }
  KeyMapping mapping{*key, *action, {}, {}};
  if (arguments.size() > 0) mapping.first = Wide(arguments[0]);
  if (arguments.size() > 1) mapping.second = Wide(arguments[1]);
  if (int status = target.Load(true)) return status;
  IKeymap& map = target.Map();
  if (std::optional<size_t> index = map.Find(*key)) map.SetAt(*index, mapping);
  else map.Add(mapping);
  return target.Save();
}

int Unset(Context& context, std::vector<std::string> rest) {
  Target target(context, rest);
  if (rest.size() != 1) throw UsageError("expected KEY");
  std::optional<uint32_t> key = ParseKey(rest[0]);
  if (!key) throw UsageError(Message(kMsgKeymapBadKey, {Wide(rest[0])}));
  if (int status = target.Load(false)) return status;
  IKeymap& map = target.Map();
  std::optional<size_t> index = map.Find(*key);
  if (!index) return context.Fail(kExitNotFound, kMsgKeymapNoBinding, {DisplayKey(*key)});
  map.RemoveAt(*index);
  return target.Save();
}

int Names(Context& context, const std::vector<std::string>& rest) {
  if (rest.size() != 1 || (rest[0] != "keys" && rest[0] != "functions"))
    throw UsageError("names takes keys or functions");
  Json result = Json::Array();
  auto emit = [&](const VUnicodeString& name, uint32_t code) {
    if (context.Json()) {
      Json entry = Json::Object();
      entry.Set("name", Utf8(name));
      entry.Set("code", code);
      result.Push(std::move(entry));
    } else {
      std::cout << EscapeText(name) << '\t' << code << '\n';
    }
  };
  if (rest[0] == "keys") {
    for (auto table : {vkeys::VirtualKeys(), vkeys::ExtendedKeys()})
      for (const KeyName& key : table) emit(VUnicodeString(key.name), key.code);
  } else {
    for (uint32_t code = 0; code < vkeymap::kFunctionCount; ++code)
      emit(vkeymap::FunctionNameOfCode(code), code);
  }
  context.SetResult(std::move(result));
  return kExitOk;
}

int RunKeymap(Context& context) {
  if (context.args.empty()) throw UsageError("keymap needs a sub-command");
  std::string sub = context.args[0];
  std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  if (sub == "show") return Show(context, rest);
  if (sub == "check") return Check(context, rest);
  if (sub == "set") return Set(context, rest);
  if (sub == "unset") return Unset(context, rest);
  if (sub == "names") return Names(context, rest);
  throw UsageError("unknown keymap sub-command " + sub);
}

CommandRegistration registration({"keymap", "show, check and change key maps", kUsage, &RunKeymap});

}  // namespace
}  // namespace cli
