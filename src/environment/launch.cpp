#include "environment/launch.h"

#include "environment/installed_products.h"
#include "platform/app_info.h"
#include "platform/file_system.h"

namespace {

constexpr char kMakerName[] = "Tolvane";

bool Launch(IUserQuestions* owner, const VUnicodeString& product, const VUnicodeString& installed,
            const std::vector<VUnicodeString>& args, vfs::Env* env) {
  // A product that is not installed is looked for where it would be, so that the message names
  // a place the person can check.
  std::string path = installed.empty() ? vfs::JoinPath(vapp::ExecutableFolder(), product.ToUtf8())
                                       : installed.ToUtf8();
  std::vector<std::string> argv{path};
  for (const VUnicodeString& arg : args) argv.push_back(arg.ToUtf8());
  // An argument cannot carry a NUL byte to the program: it would arrive cut short.
  bool usable = !installed.empty();
  for (const std::string& arg : argv) usable = usable && arg.find('\0') == std::string::npos;
  if (usable && env->StartProcess(path, argv).ok()) return true;
  if (owner) {
    VReportMessageParams message(kMsgLaunchFailed);
    message.AddInsert(product);
    message.AddInsert(U8(path));
    owner->Notify(message, VNoticeKind::Warning);
  }
  return false;
}

}  // namespace

bool LaunchTerminalApp(IUserQuestions* owner, const std::vector<VUnicodeString>& args,
                       vfs::Env* env) {
  if (IsKarvellInstalled() || !IsOstrelInstalled())
    return Launch(owner, u"Karvell", GetKarvellPath(), args, env);
  return Launch(owner, u"Ostrel", GetOstrelPath(), args, env);
}

bool LaunchFileTransferApp(IUserQuestions* owner, const std::vector<VUnicodeString>& args,
                           vfs::Env* env) {
  return Launch(owner, u"Lumbrel", GetLumbrelPath(), args, env);
}

std::string TrayAgentPath(const std::string& folder) {
  return vfs::JoinPath(folder.empty() ? vapp::ExecutableFolder() : folder, "Pyrrel");
}

bool CheckTrayAgentForOption(bool switchingOn, IUserQuestions* owner, const std::string& folder,
                             vfs::Env* env) {
  if (!switchingOn) return true;
  auto st = env->Stat(TrayAgentPath(folder));
  if (st.ok() && st->kind == vfs::EntryKind::kFile) return true;
  if (owner) {
    VReportMessageParams message(kMsgTrayAgentNotInstalled);
    message.AddInsertNarrow(kMakerName);
    owner->Notify(message, VNoticeKind::Warning);
  }
  return false;
}
