// quillane sync: the named synchronize profiles below "SynchronizeDB".
#include <iostream>
#include <iterator>
#include <limits>

#include "config/sync/sync_messages.h"
#include "config/transfer/synchronize_config.h"
#include "platform/app_info.h"
#include "platform/win32_errors.h"
#include "quillane/item_database.h"
#include "quillane/key_values.h"
#include "quillane/text_escape.h"
#include "storage/values/setting_text.h"

namespace cli {
namespace {

constexpr char kUsage[] =
    "  quillane sync list\n"
    "  quillane sync show NAME\n"
    "  quillane sync set NAME VALUE-NAME VALUE [VALUE-NAME VALUE ...]\n"
    "  quillane sync set NAME --json\n"
    "  quillane sync delete NAME\n"
    "list gives the named synchronize profiles. show prints every value a save writes, in the\n"
    "order it writes them (KIND, NAME, VALUE), or with --json the profile as one document. set\n"
    "changes values by their stored names (\"Filter\", \"Task[0].Source[1].Path\", ...; the next\n"
    "index of a list adds to it) or, with --json, replaces the profile by the document read from\n"
    "standard input (the form show --json prints), and saves; a profile is kept only with at\n"
    "least one task. delete removes a profile.\n";

int Missing(Context& context, const std::string& name) {
  return context.Fail(kExitNotFound, kMsgSyncProfileMissing, {Wide(name)});
}

Json Document(const std::string& name, const SynchronizeSettings& s) {
  Json doc = Json::Object();
  doc.Set("name", name);
  VUnicodeString time;
  doc.Set("last_sync", s.lastSyncTime.Ticks() != 0 && VFormatTimeText(s.lastSyncTime, time)
                           ? Json(Utf8(time))
                           : Json());
  Json tasks = Json::Array();
  for (const SynchronizeTask& task : s.tasks) {
    Json entry = Json::Object();
    entry.Set("name", Utf8(task.name));
    entry.Set("type", static_cast<int64_t>(task.type));
    entry.Set("master_overwrites", task.masterOverwrites);
    Json sources = Json::Array();
    for (const SynchronizeSource& source : task.sources) {
      Json item = Json::Object();
      item.Set("session", Utf8(source.session));
      item.Set("path", Utf8(source.path));
      item.Set("recurse", source.recurse);
      sources.Push(std::move(item));
    }
    entry.Set("sources", std::move(sources));
    Json targets = Json::Array();
    for (const SynchronizeTarget& target : task.targets) {
      Json item = Json::Object();
      item.Set("session", Utf8(target.session));
      item.Set("path", Utf8(target.path));
      targets.Push(std::move(item));
    }
    entry.Set("targets", std::move(targets));
    tasks.Push(std::move(entry));
  }
  doc.Set("tasks", std::move(tasks));
  doc.Set("filter", Utf8(s.filter));
  doc.Set("auto_transfer", s.autoTransfer);
  doc.Set("temporary_file", s.temporaryFile);
  return doc;
}

// Reads the members of one object of the document; a member it does not know, or one of the
// wrong kind, is refused by its path in the document.
class Reader {
 public:
  explicit Reader(std::string& problem) : problem_(problem) {}

  bool Object(const Json& value, const std::string& where, std::initializer_list<const char*> known) {
    if (value.GetType() != Json::Type::Object) return Fail(where + " is not an object");
    for (const auto& [key, member] : value.Members()) {
      bool listed = false;
      for (const char* name : known) listed = listed || key == name;
      if (!listed) return Fail(where + "." + key + " is not a member of a synchronize profile");
    }
    return true;
  }
  bool String(const Json& object, const char* key, const std::string& where, VUnicodeString& out) {
    const Json* member = object.Find(key);
    if (!member) return true;
    if (member->GetType() != Json::Type::String) return Fail(where + "." + key + " is not a string");
    out = Wide(member->AsString());
    return true;
  }
  bool Bool(const Json& object, const char* key, const std::string& where, bool& out) {
    const Json* member = object.Find(key);
    if (!member) return true;
    if (member->GetType() != Json::Type::Bool) return Fail(where + "." + key + " is not true or false");
    out = member->AsBool();
    return true;
  }
  bool Int(const Json& object, const char* key, const std::string& where, int32_t& out) {
    const Json* member = object.Find(key);
    if (!member) return true;
    if (member->GetType() != Json::Type::Number ||
        member->AsNumber() < std::numeric_limits<int32_t>::min() ||
        member->AsNumber() > std::numeric_limits<int32_t>::max())
      return Fail(where + "." + key + " is not a 32-bit whole number");
    out = static_cast<int32_t>(member->AsNumber());
    return true;
  }
  const Json* Array(const Json& object, const char* key, const std::string& where) {
    const Json* member = object.Find(key);
    if (!member) return &empty_;
    if (member->GetType() != Json::Type::Array) {
      Fail(where + "." + key + " is not an array");
      return nullptr;
    }
    return member;
  }
  bool Fail(const std::string& text) {
    problem_ = text;
    return false;
  }

 private:
  std::string& problem_;
  const Json empty_ = Json::Array();
};

bool FromDocument(const Json& doc, SynchronizeSettings& s, std::string& problem) {
  Reader read(problem);
  if (!read.Object(doc, "the document", {"name", "last_sync", "tasks", "filter", "auto_transfer",
                                         "temporary_file"}))
    return false;
  if (const Json* time = doc.Find("last_sync"); time && !time->IsNull()) {
    if (time->GetType() != Json::Type::String || !VParseTimeText(Wide(time->AsString()), s.lastSyncTime))
      return read.Fail("last_sync is not null nor a time written year:month:day:hour:minute:second:millisecond");
  }
  if (!read.String(doc, "filter", "the document", s.filter) ||
      !read.Bool(doc, "auto_transfer", "the document", s.autoTransfer) ||
      !read.Bool(doc, "temporary_file", "the document", s.temporaryFile))
    return false;
  const Json* tasks = read.Array(doc, "tasks", "the document");
  if (!tasks) return false;
  for (size_t i = 0; i < tasks->Items().size(); ++i) {
    const Json& item = tasks->Items()[i];
    const std::string where = "tasks[" + std::to_string(i) + "]";
    SynchronizeTask task;
    if (!read.Object(item, where, {"name", "type", "master_overwrites", "sources", "targets"}) ||
        !read.String(item, "name", where, task.name) || !read.Int(item, "type", where, task.type) ||
        !read.Bool(item, "master_overwrites", where, task.masterOverwrites))
      return false;
    const Json* sources = read.Array(item, "sources", where);
    const Json* targets = sources ? read.Array(item, "targets", where) : nullptr;
    if (!sources || !targets) return false;
    for (size_t j = 0; j < sources->Items().size(); ++j) {
      const std::string at = where + ".sources[" + std::to_string(j) + "]";
      SynchronizeSource source;
      const Json& entry = sources->Items()[j];
      if (!read.Object(entry, at, {"session", "path", "recurse"}) ||
          !read.String(entry, "session", at, source.session) ||
          !read.String(entry, "path", at, source.path) || !read.Bool(entry, "recurse", at, source.recurse))
        return false;
      task.sources.push_back(std::move(source));
    }
    for (size_t j = 0; j < targets->Items().size(); ++j) {
      const std::string at = where + ".targets[" + std::to_string(j) + "]";
      SynchronizeTarget target;
      const Json& entry = targets->Items()[j];
      if (!read.Object(entry, at, {"session", "path"}) ||
          !read.String(entry, "session", at, target.session) || !read.String(entry, "path", at, target.path))
        return false;
      task.targets.push_back(std::move(target));
    }
    s.tasks.push_back(std::move(task));
  }
  return true;
}

int List(Context& context) { return ListNames(context, ItemDatabase().ListSynchronizeProfiles()); }

int Show(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("expected NAME");
  if (int failed = context.CheckStore()) return failed;
  const std::string& name = args.positionals[0];
  VRef<SynchronizeConfig> config = ItemDatabase().OpenSynchronizeConfig(Wide(name));
  if (!config) return Missing(context, name);
  if (context.Json()) {
    context.SetResult(Document(Utf8(config->GetItemName()), config->profile.settings));
    return kExitOk;
  }
  for (const auto& [valueName, value] : config->profile.StoredValues())
    std::cout << KindName(value.type) << '\t' << EscapeText(valueName) << '\t'
              << ValueText(value, true) << "\n";
  return kExitOk;
}

int Save(Context& context, SynchronizeConfig& config, const std::string& name) {
  VReportMessageParams error;
  if (ItemDatabase().SaveItem(config, error)) return kExitOk;
  if (error.GetMessageId() == kMsgSyncProfileWithoutTask) return context.Fail(kExitFailed, error);
  return context.Fail(kExitFailed, kMsgSyncProfileNotSaved, {Wide(name), error.GetTextOneLineTrimmed()});
}

int Set(Context& context, const ParsedArgs& args) {
  const bool fromJson = args.Has("--json");
  if (fromJson ? args.positionals.size() != 1
               : args.positionals.size() < 3 || (args.positionals.size() - 1) % 2 != 0)
    throw UsageError("expected NAME --json, or NAME VALUE-NAME VALUE [VALUE-NAME VALUE ...]");
  if (int failed = context.CheckStore()) return failed;
  const std::string& name = args.positionals[0];
  VRef<SynchronizeConfig> config = ItemDatabase().OpenSynchronizeConfig(Wide(name));
  if (!config) {
    config = VRef<SynchronizeConfig>(new SynchronizeConfig(Wide(name)));
    config->Load(nullptr, VGetDerivedProductId());
  }
  if (fromJson) {
    std::string text(std::istreambuf_iterator<char>(std::cin), {});
    Json doc;
    std::string problem;
    SynchronizeSettings settings;
    if (!Json::Parse(text, doc, problem) || !FromDocument(doc, settings, problem))
      return context.Fail(kExitFailed, kMsgSyncDocumentUnreadable, {Wide(problem)});
    config->profile.settings = std::move(settings);
  } else {
    for (size_t i = 1; i + 1 < args.positionals.size(); i += 2) {
      VReportMessageParams error;
      if (!config->profile.SetValue(Wide(args.positionals[i]), Wide(args.positionals[i + 1]), error))
        return context.Fail(error.GetMessageId() == kMsgSettingUnknown ? kExitNotFound : kExitFailed,
                            error);
    }
  }
  return Save(context, *config.Get(), name);
}

int Delete(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("expected NAME");
  const std::string& name = args.positionals[0];
  return DeleteNamedItem(context, ItemCollection::SynchronizeEntries, Wide(name),
                         kMsgSyncProfileMissing, kMsgSyncProfileNotDeleted);
}

int RunSync(Context& context) {
  if (context.args.empty()) throw UsageError("sync needs a sub-command");
  std::string sub = context.args[0];
  std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  if (sub == "list") {
    if (!ParseArgs(rest, {}, {}).positionals.empty()) throw UsageError("list takes no arguments");
    return List(context);
  }
  if (sub == "show") return Show(context, ParseArgs(rest, {}, {}));
  if (sub == "set") return Set(context, ParseArgs(rest, {}, {"--json"}));
  if (sub == "delete") return Delete(context, ParseArgs(rest, {}, {}));
  throw UsageError("unknown sync sub-command " + sub);
}

CommandRegistration registration({"sync", "list, show, change and delete synchronize profiles",
                                  kUsage, &RunSync});

}  // namespace
}  // namespace cli
