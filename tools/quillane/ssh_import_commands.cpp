// quillane session import-ssh-config: one SSH2 session per host of an OpenSSH client
// configuration, made or brought up to date, and nothing written for a host already up to date.
#include <iostream>

#include "config/session/connect_protocol_table.h"
#include "environment/ssh_config_files.h"
#include "environment/ssh_import.h"
#include "environment/ssh_import_store.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "quillane/protocol_loading.h"
#include "quillane/cli.h"
#include "quillane/passphrase_settle.h"
#include "quillane/text_escape.h"
#include "storage/model/key_path.h"

namespace cli {
namespace {

constexpr char kUsage[] =
    "  quillane session import-ssh-config [FILE] [--folder FOLDER] [--dry-run]\n"
    "import-ssh-config makes one SSH2 session per host named by a Host line of an OpenSSH client\n"
    "configuration (FILE, by default ~/.ssh/config; Include lines are followed, relative names\n"
    "below ~/.ssh), below the session folder FOLDER (the top by default), or changes the session\n"
    "of that name to the configuration's HostName, Port, User and IdentityFile. ProxyJump becomes\n"
    "the firewall \"Session:\" and the jump host's session when that host is imported too.\n"
    "Wildcard and negated patterns and Match blocks are skipped and listed with the reason; a\n"
    "session that already holds the settings is not written. --dry-run says what would be done\n"
    "and writes nothing.\n";

constexpr uint32_t kMsgSshConfigUnreadable = 0xE13F00C0;  // %1 file, %2 reason
constexpr uint32_t kMsgSsh2ModuleMissing = 0xE13F00C1;    // %1 protocol, %2 folder
constexpr uint32_t kMsgSomeNotImported = 0xE13F00C4;      // %1 how many

Json PathList(const std::vector<VUnicodeString>& paths) {
  Json list = Json::Array();
  for (const VUnicodeString& path : paths) list.Push(Utf8(path));
  return list;
}

int Import(Context& context) {
  ParsedArgs args = ParseArgs(context.args, {"--folder"}, {"--dry-run"});
  if (args.positionals.size() > 1) throw UsageError("expected at most one FILE");
  bool dryRun = args.switches.count("--dry-run") > 0;
  std::string home = vapp::HomeFolder();
  std::string sshFolder = vfs::JoinPath(home, ".ssh");
  sshcfg::DiskFileSource source(home, sshFolder);
  std::string file = args.positionals.empty() ? vfs::JoinPath(sshFolder, "config")
                                              : source.WithHome(args.positionals[0]);
  VUnicodeString folder;
  if (auto it = args.values.find("--folder"); it != args.values.end())
    folder = VKeyPath::Parse(Wide(it->second)).Text();

  sshcfg::Config config;
  std::string problem;
  if (!sshcfg::ParseFile(file, source, config, problem)) {
    bool missing = problem == "the file cannot be found";
    return context.Fail(missing ? kExitNotFound : kExitFailed, kMsgSshConfigUnreadable,
                        {Wide(file), Wide(problem)});
  }
  for (const sshcfg::Problem& line : config.problems) {
    std::cerr << "quillane: warning: " << line.file << " line " << line.line << ": " << line.reason
              << "\n";
  }
  // Without the SSH2 protocol a session can hold none of the settings: say so before anything
  // is made.
  LoadHostProtocolModules();
  if (GetConnectProtocolTable().Find(sshimport::kSsh2Protocol, 0) < 0) {
    return context.Fail(kExitFailed, kMsgSsh2ModuleMissing,
                        {VUnicodeString(sshimport::kSsh2Protocol), Wide(vapp::ExecutableFolder())});
  }
  if (int failed = context.CheckStore()) return failed;
  if (int status = SettlePassphrase(context, PassphraseUse::Optional)) return status;

  sshimport::LocalContext local{home, vapp::UserName(), vapp::HostName()};
  sshimport::Plan plan = sshimport::MakePlan(config, folder, local);
  sshimport::StoreTarget target;
  sshimport::Result result = sshimport::Apply(plan, target, dryRun);

  if (context.Json()) {
    Json out = Json::Object();
    out.Set("created", PathList(result.created));
    out.Set("updated", PathList(result.updated));
    Json skipped = Json::Array();
    for (const sshimport::Skipped& entry : result.skipped) {
      Json item = Json::Object();
      item.Set("host", entry.host);
      item.Set("reason", entry.reason);
      skipped.Push(std::move(item));
    }
    out.Set("skipped", std::move(skipped));
    context.SetResult(std::move(out));
  } else {
    for (const VUnicodeString& path : result.created) std::cout << "created\t" << EscapeText(path) << "\n";
    for (const VUnicodeString& path : result.updated) std::cout << "updated\t" << EscapeText(path) << "\n";
    for (const sshimport::Skipped& entry : result.skipped) {
      std::cout << "skipped\t" << EscapeText(entry.host) << "\t" << EscapeText(entry.reason)
                << "\n";
    }
  }
  // A session that could not be written is a failure of the command, even though the others
  // were imported.
  size_t failed = result.skipped.size() - plan.skipped.size();
  if (failed > 0) {
    return context.Fail(kExitFailed, kMsgSomeNotImported, {Wide(std::to_string(failed))});
  }
  return kExitOk;
}

SubCommandRegistration registration("session", "import-ssh-config",
                                    {"session import-ssh-config",
                                     "make SSH2 sessions from an OpenSSH client configuration",
                                     kUsage, &Import});

}  // namespace
}  // namespace cli
