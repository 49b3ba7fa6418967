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
  VUnicodeString path;
  for (const auto& level : SplitKeyPath(argument)) {
    if (!path.empty()) path.push_back(SessionDatabase::kPathSeparator);
    path += level;
  }
  return path;
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
    SessionDatabase::WalkResult walk = database.WalkSessions(
        [&](const VUnicodeString& path, const VUnicodeString& name, VProfileKey&) {
          VUnicodeString full = path;
          if (!full.empty()) full.push_back(SessionDatabase::kPathSeparator);
          paths.Add(full + name);
          return true;
        },
        SessionDatabase::WalkOptions{folder, false, {}});
    if (!walk.started && missing()) return kExitNotFound;
    if (context.Json()) {
      Json result = Json::Object();
      result.Set("sessions", Strings(paths));
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

// Runs each deferred search before returning: the command waits for its answer anyway.
class ImmediateDispatcher : public IDeferredProcedureDispatcher {
 public:
  bool Dispatch(IDeferredProcedure* procedure, void* argument) override {
    procedure->Execute(argument);
    return true;
  }
};

class CollectingSink : public VUnknown<IAutoCompleteDataSink> {
 public:
  void OnAutoCompleteResult(const VUnicodeString&, const VStringArray& matches,
                            IAutoCompleteDataSource*) override {
    matches_ = matches;
  }
  const VStringArray& Matches() const { return matches_; }

 private:
  VStringArray matches_;
};

int RunFind(Context& context) {
  ParsedArgs args = ParseArgs(context.args, {}, {});
  if (args.positionals.size() != 1) throw UsageError("find takes one TEXT");
  if (int failed = CheckStore(context)) return failed;
  ImmediateDispatcher dispatcher;
  VRef<ConnectBarAutoCompleteDataSource> source(new ConnectBarAutoCompleteDataSource(&dispatcher));
  VRef<CollectingSink> sink(new CollectingSink);
  source->AutoComplete(Wide(args.positionals[0]), sink.Get());
  if (context.Json()) {
    context.SetResult(Strings(sink->Matches()));
  } else {
    for (const auto& path : sink->Matches()) std::cout << EscapeText(path) << '\n';
  }
  return kExitOk;
}

CommandRegistration sessionsRegistration({"sessions", "list the folders and sessions of a folder",
                                          kSessionsUsage, &RunSessions});
CommandRegistration findRegistration({"find", "the connect bar's suggestions for a text",
                                      kFindUsage, &RunFind});

}  // namespace
}  // namespace cli
