#include "quillane/secret_exposure.h"

#include <iostream>

#include "platform/file_system.h"
#include "quillane/cli.h"
#include "report/report_message_params.h"
#include "storage/model/profile_store.h"

namespace cli {
namespace {

constexpr uint32_t kMsgSecretsReadableByOthers = 0xA13F00B0;  // %1: folder or file

bool PassphraseChosen() {
  VProfileStore store(true, nullptr);
  VProfileKey global(*store.GetRootKey(), u"Global");
  VUnicodeString check;
  return global.ReadString(u"Config Passphrase", check) && !check.empty();
}

}  // namespace

bool SecretsReadableByOthers(const Context& context, const std::string& location) {
  // The registry store lives in the user's own configuration folder, outside this question.
  if (context.storeKind == StoreKind::Registry) return false;
  vfs::FileInfo info = vfs::Stat(location);
  if (!info.exists) return false;
  // A folder others may list or enter, or a settings file others may read.
  const mode_t open = info.isDirectory ? 0055 : 0044;
  if ((info.mode & open) == 0) return false;
  return !PassphraseChosen();
}

bool WarnIfSecretsReadableByOthers(const Context& context, const std::string& location) {
  if (!SecretsReadableByOthers(context, location)) return false;
  VStringArray inserts;
  inserts.Add(VUnicodeString::FromUtf8(location));
  std::cerr << "quillane: warning: "
            << VFormatCatalogueMessage(kMsgSecretsReadableByOthers, inserts, true).ToUtf8()
            << std::endl;
  return true;
}

}  // namespace cli
