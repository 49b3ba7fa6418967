// quillane key ...: reading and writing keys and values of the store.
#include <iostream>

#include "platform/file_system.h"
#include "platform/win32_errors.h"
#include "quillane/cli.h"
#include "quillane/key_values.h"
#include "quillane/text_escape.h"
#include "storage/model/key_cleanup.h"
#include "storage/model/key_name.h"

namespace cli {
namespace {

constexpr char kKeyUsage[] =
    "  quillane key list PATH\n"
    "  quillane key values PATH\n"
    "  quillane key get PATH NAME [--kind dword|string|binary|multi]\n"
    "  quillane key set PATH NAME --dword N | --string TEXT | --binary HEX | --multi [TEXT ...]\n"
    "  quillane key unset PATH NAME\n"
    "  quillane key delete PATH\n"
    "  quillane key exists PATH\n"
    "  quillane key copy SOURCE DESTINATION\n"
    "  quillane key rewrite PATH\n"
    "  quillane key merge-personal PATH DIR\n"
    "  quillane key name-check KIND-WORD NEW [--existing NAME] [--new] [--taken]\n"
    "PATH levels are separated by / or \\; an empty PATH or / is the root.\n";

void Expect(const ParsedArgs& args, size_t count, const char* what) {
  if (args.positionals.size() != count) throw UsageError(std::string("expected ") + what);
}

int KeyMissing(Context& context, const std::string& path) {
  return context.Fail(kExitNotFound, kMsgKeyMissing, {Wide(path.empty() ? "\\" : path)});
}

int NotSaved(Context& context, const std::string& path, VReportMessageParams& reason) {
  return context.Fail(kExitFailed, kMsgKeyNotSaved,
                      {Wide(path.empty() ? "\\" : path), reason.GetTextOneLineTrimmed()});
}

// Whether the key's last read failed for another reason than the value's absence: a value (or
// the key's file) that is there but cannot be read must not be shown as missing or left out.
bool ReadFailed(const VProfileKey& key) {
  uint32_t id = key.GetLastError().GetMessageId();
  return id != 0 && id != win32::kFileNotFound && id != win32::kPathNotFound &&
         id != win32::kDatatypeMismatch;
}

int ValueUnreadable(Context& context, const VProfileKey& key, const VUnicodeString& name,
                    const std::string& path) {
  return context.Fail(kExitFailed, kMsgValueUnreadable,
                      {name, Wide(path.empty() ? "\\" : path),
                       key.GetLastError().GetTextOneLineTrimmed()});
}

// A path with a level that can be no key's name ("..", ".") is refused before any level is
// opened: stores that make keys as they open them would otherwise create the levels before it.
int RefuseUnsafeLevels(Context& context, const std::vector<VUnicodeString>& levels) {
  for (const auto& level : levels) {
    if (vfs::IsSafeComponent(level)) continue;
    VReportMessageParams reason;
    reason.SetError(win32::kInvalidName);
    return NotSaved(context, JoinKeyPath(levels), reason);
  }
  return kExitOk;
}

// Finds a value of any kind (the first in the key's order) or of one kind.
bool FindValue(const VProfileKey& key, const VUnicodeString& name, int wantedType,
               VStoredValue& value) {
  if (wantedType >= 0) return ReadStoredValue(key, name, wantedType, value);
  VProfileKeyIterator values(key, true);
  VUnicodeString entry;
  int type = -1;
  while (values.Next(entry, type)) {
    // Stores that match value names without regard to case (the registry) find the value under
    // any spelling; the others only under its own.
    if (vtext::EqualsNoCase(entry, name) && ReadStoredValue(key, name, type, value)) return true;
  }
  return false;
}

int List(Context& context, const ParsedArgs& args) {
  Expect(args, 1, "PATH");
  auto levels = SplitKeyPath(args.positionals[0]);
  VProfileStore store(true, nullptr);
  if (int failed = context.CheckStore(store)) return failed;
  if (!KeyExists(store, levels)) return KeyMissing(context, JoinKeyPath(levels));
  KeyPath path(store, levels, 0);
  VProfileKeyIterator keys(path.Key(), false);
  Json result = Json::Array();
  VUnicodeString name;
  int type = -1;
  while (keys.Next(name, type)) {
    if (context.Json()) {
      Json entry = Json::Object();
      entry.Set("name", Utf8(name));
      entry.Set("type", type);
      result.Push(std::move(entry));
    } else {
      std::cout << EscapeText(name) << '\t' << type << '\n';
    }
  }
  context.SetResult(std::move(result));
  return kExitOk;
}

int Values(Context& context, const ParsedArgs& args) {
  Expect(args, 1, "PATH");
  auto levels = SplitKeyPath(args.positionals[0]);
  VProfileStore store(true, nullptr);
  if (int failed = context.CheckStore(store)) return failed;
  if (!KeyExists(store, levels)) return KeyMissing(context, JoinKeyPath(levels));
  KeyPath path(store, levels, 0);
  path.Key().GetLastError().Reset(0);
  VProfileKeyIterator values(path.Key(), true);
  if (ReadFailed(path.Key())) {
    std::string shown = JoinKeyPath(levels);
    return context.Fail(kExitFailed, kMsgValuesUnreadable,
                        {Wide(shown.empty() ? "\\" : shown),
                         path.Key().GetLastError().GetTextOneLineTrimmed()});
  }
  Json result = Json::Array();
  VUnicodeString name;
  int type = -1;
  while (values.Next(name, type)) {
    VStoredValue value;
    if (!ReadStoredValue(path.Key(), name, type, value)) {
      if (ReadFailed(path.Key())) return ValueUnreadable(context, path.Key(), name, JoinKeyPath(levels));
      continue;
    }
    if (context.Json()) {
      Json entry = Json::Object();
      entry.Set("name", Utf8(name));
      entry.Set("kind", KindName(type));
      entry.Set("value", ValueJson(value));
      result.Push(std::move(entry));
    } else {
      std::cout << KindName(type) << '\t' << EscapeText(name) << '\t' << ValueText(value, true)
                << '\n';
    }
  }
  context.SetResult(std::move(result));
  return kExitOk;
}

int Get(Context& context, const ParsedArgs& args) {
  Expect(args, 2, "PATH NAME");
  int wanted = -1;
  if (args.values.count("--kind")) {
    wanted = KindFromName(args.values.at("--kind"));
    if (wanted < 0) throw UsageError("--kind takes dword, string, binary or multi");
  }
  auto levels = SplitKeyPath(args.positionals[0]);
  VUnicodeString name = Wide(args.positionals[1]);
  VProfileStore store(true, nullptr);
  if (int failed = context.CheckStore(store)) return failed;
  if (!KeyExists(store, levels)) return KeyMissing(context, JoinKeyPath(levels));
  KeyPath path(store, levels, 0);
  VStoredValue value;
  path.Key().GetLastError().Reset(0);
  if (!FindValue(path.Key(), name, wanted, value)) {
    if (wanted >= 0 && FindValue(path.Key(), name, -1, value))
      return context.Fail(kExitNotFound, kMsgValueOtherKind,
                          {name, Wide(JoinKeyPath(levels)), Wide(KindName(wanted))});
    if (ReadFailed(path.Key())) return ValueUnreadable(context, path.Key(), name, JoinKeyPath(levels));
    return context.Fail(kExitNotFound, kMsgValueMissing, {name, Wide(JoinKeyPath(levels))});
  }
  if (context.Json()) {
    Json result = Json::Object();
    result.Set("name", Utf8(name));
    result.Set("kind", KindName(value.type));
    result.Set("value", ValueJson(value));
    context.SetResult(std::move(result));
  } else {
    std::cout << ValueText(value, false) << '\n';
  }
  return kExitOk;
}

int Set(Context& context, const ParsedArgs& args) {
  Expect(args, 2, "PATH NAME and one of --dword, --string, --binary, --multi");
  VStoredValue value;
  int given = 0;
  if (args.values.count("--dword")) {
    value.type = kProfileTypeDword;
    value.dword = ParseDword(args.values.at("--dword"), "32-bit number");
    ++given;
  }
  if (args.values.count("--string")) {
    value.type = kProfileTypeString;
    value.text = Wide(args.values.at("--string"));
    ++given;
  }
  if (args.values.count("--binary")) {
    value.type = kProfileTypeBinary;
    if (!ParseHexBytes(args.values.at("--binary"), value.bytes))
      throw UsageError("--binary takes pairs of hexadecimal digits");
    ++given;
  }
  if (args.switches.count("--multi")) {
    value.type = kProfileTypeMultiSz;
    for (const auto& item : args.rest) value.list.Add(Wide(item));
    ++given;
  }
  if (given != 1) throw UsageError("give exactly one of --dword, --string, --binary, --multi");
  auto levels = SplitKeyPath(args.positionals[0]);
  VUnicodeString name = Wide(args.positionals[1]);
  if (int refused = RefuseUnsafeLevels(context, levels)) return refused;
  VProfileStore store(nullptr);
  if (int failed = context.CheckStore(store)) return failed;
  const size_t firstMissing = FirstMissingLevel(store, levels);
  int status = [&] {
    // Opened without asking for creation, so that stores which can make a key with its first
    // value do so; stores that make keys as they open them are cleaned up after below.
    KeyPath path(store, levels, 0);
    if (!WriteStoredValue(path.Key(), name, value))
      return NotSaved(context, JoinKeyPath(levels), path.Key().GetLastError());
    VReportMessageParams error;
    if (!path.Flush(error)) return NotSaved(context, JoinKeyPath(levels), error);
    return static_cast<int>(kExitOk);
  }();
  // A refused or failed write leaves no key it made on the way.
  if (status != kExitOk) RemoveMadeKeys(store, levels, firstMissing);
  return status;
}

int Unset(Context& context, const ParsedArgs& args) {
  Expect(args, 2, "PATH NAME");
  auto levels = SplitKeyPath(args.positionals[0]);
  VUnicodeString name = Wide(args.positionals[1]);
  VProfileStore store(nullptr);
  if (int failed = context.CheckStore(store)) return failed;
  if (!KeyExists(store, levels)) return KeyMissing(context, JoinKeyPath(levels));
  KeyPath path(store, levels, 0);
  VStoredValue value;
  if (!FindValue(path.Key(), name, -1, value))
    return context.Fail(kExitNotFound, kMsgValueMissing, {name, Wide(JoinKeyPath(levels))});
  if (!path.Key().DeleteValue(name.c_str()))
    return NotSaved(context, JoinKeyPath(levels), path.Key().GetLastError());
  VReportMessageParams error;
  if (!path.Flush(error)) return NotSaved(context, JoinKeyPath(levels), error);
  return kExitOk;
}

int Delete(Context& context, const ParsedArgs& args) {
  Expect(args, 1, "PATH");
  auto levels = SplitKeyPath(args.positionals[0]);
  if (levels.empty()) throw UsageError("the root of the store cannot be deleted");
  VProfileStore store(nullptr);
  if (int failed = context.CheckStore(store)) return failed;
  if (!KeyExists(store, levels)) return KeyMissing(context, JoinKeyPath(levels));
  VUnicodeString last = levels.back();
  levels.pop_back();
  KeyPath parent(store, levels, 0);
  VReportMessageParams error;
  // A store that keeps everything in one file writes the deletion when the key is flushed.
  if (!parent.Key().DeleteSubKey(last.c_str()) || !parent.Flush(error)) {
    if (!error.IsError()) error = parent.Key().GetLastError();
    levels.push_back(last);
    return context.Fail(kExitFailed, kMsgKeyNotDeleted,
                        {Wide(JoinKeyPath(levels)), error.GetTextOneLineTrimmed()});
  }
  return kExitOk;
}

int Exists(Context& context, const ParsedArgs& args) {
  Expect(args, 1, "PATH");
  VProfileStore store(true, nullptr);
  if (int failed = context.CheckStore(store)) return failed;
  bool exists = KeyExists(store, SplitKeyPath(args.positionals[0]));
  Json result = Json::Object();
  result.Set("exists", exists);
  context.SetResult(std::move(result));
  return exists ? kExitOk : kExitNotFound;
}

bool IsWithin(const std::vector<VUnicodeString>& inner, const std::vector<VUnicodeString>& outer) {
  if (inner.size() < outer.size()) return false;
  for (size_t i = 0; i < outer.size(); ++i) {
    if (!vtext::EqualsNoCase(inner[i], outer[i])) return false;
  }
  return true;
}

int CopyTree(Context& context, VProfileStore& store, const std::vector<VUnicodeString>& from,
             const std::vector<VUnicodeString>& to) {
  KeyPath source(store, from, 0);
  KeyPath destination(store, to, context.CreateFlags());
  VProfileCopyFailure failure;
  if (!CopyProfileKey(destination.Key(), source.Key(), &failure)) {
    // The key that failed is named, so that the user knows how far the copy came.
    std::vector<VUnicodeString> failed = to;
    if (!failure.path.empty()) failed.push_back(failure.path);
    return context.Fail(kExitFailed, kMsgKeyNotCopied,
                        {Wide(JoinKeyPath(from)), Wide(JoinKeyPath(to)),
                         Wide(JoinKeyPath(failed)) + u": " +
                             failure.error.GetTextOneLineTrimmed()});
  }
  VReportMessageParams error;
  if (!destination.Flush(error)) return NotSaved(context, JoinKeyPath(to), error);
  return kExitOk;
}

int Copy(Context& context, const ParsedArgs& args) {
  Expect(args, 2, "SOURCE DESTINATION");
  auto from = SplitKeyPath(args.positionals[0]);
  auto to = SplitKeyPath(args.positionals[1]);
  // Copying a key into itself would copy the copy again, level after level.
  if (IsWithin(to, from) || IsWithin(from, to))
    return context.Fail(kExitFailed, kMsgCopyIntoItself,
                        {Wide(JoinKeyPath(from)), Wide(JoinKeyPath(to))});
  if (int refused = RefuseUnsafeLevels(context, to)) return refused;
  VProfileStore store(nullptr);
  if (int failed = context.CheckStore(store)) return failed;
  if (!KeyExists(store, from)) return KeyMissing(context, JoinKeyPath(from));
  const size_t firstMissing = FirstMissingLevel(store, to);
  int status = CopyTree(context, store, from, to);
  if (status != kExitOk) RemoveMadeKeys(store, to, firstMissing);
  return status;
}

int Rewrite(Context& context, const ParsedArgs& args) {
  Expect(args, 1, "PATH");
  auto levels = SplitKeyPath(args.positionals[0]);
  VProfileStore store(nullptr);
  if (int failed = context.CheckStore(store)) return failed;
  if (!KeyExists(store, levels)) return KeyMissing(context, JoinKeyPath(levels));
  KeyPath path(store, levels, 0);
  if (!path.Key().Rewrite()) return NotSaved(context, JoinKeyPath(levels), path.Key().GetLastError());
  return kExitOk;
}

int MergePersonal(Context& context, const ParsedArgs& args) {
  Expect(args, 2, "PATH DIR");
  RequireUtf8Path(args.positionals[1], "DIR");
  auto levels = SplitKeyPath(args.positionals[0]);
  // The key's own folder in the personal data tree.
  std::string folder = args.positionals[1];
  for (const auto& level : levels) folder = vfs::JoinPath(folder, Utf8(level));
  VProfileStore store(nullptr);
  if (int failed = context.CheckStore(store)) return failed;
  if (!KeyExists(store, levels)) return KeyMissing(context, JoinKeyPath(levels));
  KeyPath path(store, levels, 0);
  path.Key().GetLastError().Reset(0);
  path.Key().MergePersonalData(Wide(folder).c_str());
  if (path.Key().GetLastError().IsError())
    return NotSaved(context, JoinKeyPath(levels), path.Key().GetLastError());
  return kExitOk;
}

int NameCheck(Context& context, const ParsedArgs& args) {
  Expect(args, 2, "KIND-WORD NEW");
  VUnicodeString existing;
  if (args.values.count("--existing")) existing = Wide(args.values.at("--existing"));
  VReportMessageParams error;
  VUnicodeString proposed = Wide(args.positionals[1]);
  bool valid = ValidateKeyName(args.values.count("--existing") ? existing.c_str() : nullptr,
                               proposed.c_str(), args.switches.count("--new") > 0,
                               Wide(args.positionals[0]).c_str(), args.switches.count("--taken") > 0,
                               error);
  if (valid) {
    // A name the store in use cannot hold (too long for a file name) is refused as well, so that
    // every name that passes can be saved.
    VProfileStore store(true, nullptr);
    valid = StoreAcceptsKeyName(*store.GetRootKey(), proposed.c_str(), error);
  }
  Json result = Json::Object();
  result.Set("valid", valid);
  context.SetResult(std::move(result));
  return valid ? kExitOk : context.Fail(kExitFailed, error);
}

int RunKey(Context& context) {
  if (context.args.empty()) throw UsageError("key needs a sub-command");
  std::string sub = context.args[0];
  std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  if (sub == "list") return List(context, ParseArgs(rest, {}, {}));
  if (sub == "values") return Values(context, ParseArgs(rest, {}, {}));
  if (sub == "get") return Get(context, ParseArgs(rest, {"--kind"}, {}));
  if (sub == "set") return Set(context, ParseArgs(rest, {"--dword", "--string", "--binary"}, {}, "--multi"));
  if (sub == "unset") return Unset(context, ParseArgs(rest, {}, {}));
  if (sub == "delete") return Delete(context, ParseArgs(rest, {}, {}));
  if (sub == "exists") return Exists(context, ParseArgs(rest, {}, {}));
  if (sub == "copy") return Copy(context, ParseArgs(rest, {}, {}));
  if (sub == "rewrite") return Rewrite(context, ParseArgs(rest, {}, {}));
  if (sub == "merge-personal") return MergePersonal(context, ParseArgs(rest, {}, {}));
  if (sub == "name-check") return NameCheck(context, ParseArgs(rest, {"--existing"}, {"--new", "--taken"}));
  throw UsageError("unknown key sub-command " + sub);
}

CommandRegistration registration({"key", "read and write keys and values of the store", kKeyUsage, &RunKey});

}  // namespace
}  // namespace cli
