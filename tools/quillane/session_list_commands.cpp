// quillane sessions and quillane find: the session tree as a host shows it, and the connect bar's
// suggestions.
#include <iostream>

#include "config/database/connect_bar_auto_complete.h"
#include "config/database/session_database_instance.h"
#include "quillane/cli.h"
#include "quillane/text_escape.h"

namespace cli {
namespace {

constexpr uint32_t kMsgSessionFolderMissing = 0xE13F0070;

constexpr char kSessionsUsage[] =
    "  quillane sessions [FOLDER] [--recursive]\n"
    "Lists the folders and then the sessions of FOLDER (levels separated by / or \\; the top of\n"
    "the session tree when none is given) in the order the host shows them, one NAME<TAB>KIND a\n"
    "line. Listing a folder records that order in its folder data when it was not recorded yet.\n"
    "With --recursive, prints the path of every session below FOLDER instead, depth first.\n";

constexpr char kFindUsage[] =
    "  quillane find TEXT\n"
    "Prints the connect bar's suggestions for TEXT: the paths of the sessions whose names contain\n"
    "TEXT without regard to case, sorted, one a line. The Default session at the top is not\n"
    "offered.\n";

VUnicodeString FolderPath(const std::string& argument) {
  return VKeyPath::Parse(Wide(argument)).Text();
}

Json Strings(const VStringArray& names) {
  Json list = Json::Array();
  for (const auto& name : names) list.Push(Utf8(name));
  return list;
}

SessionDatabase& Database() {
  // The command line exports the instance, so it is always there.
  SessionDatabase* database = GetSessionDatabase();
  if (!database) throw std::logic_error("the host exports no item database");
  return *database;
}

// Folders that are there but could not be read are named on standard error, so that a tree
// shown without them is not taken for the whole tree; JSON carries them as a field too.
Json ReportSkipped(const std::vector<SkippedFolder>& skipped) {
  Json list = Json::Array();
  for (const SkippedFolder& folder : skipped) {
    VReportMessageParams reason(folder.error);
    std::string text = Utf8(reason.GetTextOneLineTrimmed());
    std::cerr << "quillane: skipped the folder " << Utf8(folder.path) << ": " << text << '\n';
    Json entry = Json::Object();
    entry.Set("folder", Utf8(folder.path));
    entry.Set("error", text);
    list.Push(std::move(entry));
  }
  return list;
}

// A settings file that cannot be read is reported rather than shown as holding no sessions.
int CheckStore(Context& context) {
  VProfileStore store(true, nullptr);
  return context.CheckStore(store);
}

int RunSessions(Context& context) {
  ParsedArgs args = ParseArgs(context.args, {}, {"--recursive"});
  if (args.positionals.size() > 1) throw UsageError("sessions takes at most one folder");
  VUnicodeString folder = FolderPath(args.positionals.empty() ? "" : args.positionals[0]);
  if (int failed = CheckStore(context)) return failed;
  SessionDatabase& database = Database();
  // A configuration without any session has an empty tree rather than a missing one.
  auto missing = [&]() {
    if (folder.empty()) return false;
    context.Fail(kExitNotFound, kMsgSessionFolderMissing, {folder});
    return true;
  };

  if (args.switches.count("--recursive")) {
    VStringArray paths;
    // Names only: a folder store tells sessions from folders by its listings alone.
    SessionDatabase::WalkResult walk = database.WalkSessionNames(
        [&](const VUnicodeString& path, const VUnicodeString& name) {
          VUnicodeString full = path;
          if (!full.empty()) full.push_back(SessionDatabase::kPathSeparator);
          paths.Add(full + name);
          return true;
        },
        SessionDatabase::WalkOptions{folder, false, {}});
    if (!walk.started && missing()) return kExitNotFound;
    Json skipped = ReportSkipped(walk.skipped);
    if (context.Json()) {
      Json result = Json::Object();
      result.Set("sessions", Strings(paths));
      if (!walk.skipped.empty()) result.Set("skipped", std::move(skipped));
      context.SetResult(std::move(result));
    } else {
      for (const auto& path : paths) std::cout << EscapeText(path) << '\n';
    }
    return kExitOk;
  }

  VStringArray folders;
  VStringArray sessions;
  bool found = database.ListFolders(folder, folders) && database.ListSessions(folder, sessions);
  if (!found && missing()) return kExitNotFound;
  if (context.Json()) {
    Json result = Json::Object();
    result.Set("folders", Strings(folders));
    result.Set("sessions", Strings(sessions));
    context.SetResult(std::move(result));
  } else {
    for (const auto& name : folders) std::cout << EscapeText(name) << "\tfolder\n";
    for (const auto& name : sessions) std::cout << EscapeText(name) << "\tsession\n";
  }
  return kExitOk;
}

// The command searches once: one walk of the tree rather than the host's folder cache, which
// would be filled folder by folder and then thrown away.
class WalkedListing : public ISessionListing {
 public:
  explicit WalkedListing(SessionDatabase& database) : database_(database) {}
  bool ListSessions(const VUnicodeString& folder, VStringArray& names) override {
    return database_.ListSessions(folder, names);
  }
  bool ListFolders(const VUnicodeString& folder, VStringArray& names) override {
    return database_.ListFolders(folder, names);
  }
  std::vector<SkippedFolder> VisitAllSessions(
      const std::function<void(const VUnicodeString& folder, const VUnicodeString& name)>& visit)
      override {
    return database_.WalkAllSessionNames(visit);
  }

 private:
  SessionDatabase& database_;
};

int RunFind(Context& context) {
  ParsedArgs args = ParseArgs(context.args, {}, {});
  if (args.positionals.size() != 1) throw UsageError("find takes one TEXT");
  if (int failed = CheckStore(context)) return failed;
  // The search the connect bar runs, called here directly to learn what it could not read.
  std::vector<SkippedFolder> skipped;
  WalkedListing listing(Database());
  VStringArray matches =
      ConnectBarAutoCompleteDataSource::Search(&listing, Wide(args.positionals[0]), &skipped);
  ReportSkipped(skipped);
  if (context.Json()) {
    context.SetResult(Strings(matches));
  } else {
    for (const auto& path : matches) std::cout << EscapeText(path) << '\n';
  }
  return kExitOk;
}

CommandRegistration sessionsRegistration({"sessions", "list the folders and sessions of a folder",
                                          kSessionsUsage, &RunSessions});
CommandRegistration findRegistration({"find", "the connect bar's suggestions for a text",
                                      kFindUsage, &RunFind});

}  // namespace
}  // namespace cli
