#include "environment/local_names.h"

#include "platform/app_info.h"
#include "platform/file_system.h"
#include "platform/win32_errors.h"

namespace {

bool Fail(IUserQuestions& owner, uint32_t id) {
  VReportMessageParams message(id);
  owner.Notify(message, VNoticeKind::Error);
  return false;
}

// The full path a typed folder stands for: a leading "~" is the home folder, as in a shell.
bool FullPathOf(const std::string& typed, std::string& full) {
  std::string path = typed;
  if (path == "~" || path.rfind("~/", 0) == 0) path = vapp::HomeFolder() + path.substr(1);
  auto whole = vfs::FullPath(path);
  if (!whole) return false;
  full = std::move(*whole);
  return true;
}

}  // namespace

bool CheckLocalFilename(const VUnicodeString& name, VReportMessageParams& error) {
  static constexpr char16_t kIllegal[] = u"\\/:*?\"<>|";
  for (char16_t c : std::u16string_view(kIllegal)) {
    if (name.find(c) == VUnicodeString::npos) continue;
    error.Reset(kMsgIllegalFileNameCharacter);
    error.AddInsertFormatted(u"%1!c!", c);
    return false;
  }
  return true;
}

bool ValidateLocalFilename(const VUnicodeString& name, IUserQuestions& owner) {
  VReportMessageParams error;
  if (CheckLocalFilename(name, error)) return true;
  owner.Notify(error, VNoticeKind::Warning);
  return false;
}

bool ValidateLocalFolder(IUserQuestions& owner, VUnicodeString& inOutPath) {
  // Any byte but NUL may be part of a name here; control characters are refused all the same,
  // as nobody means to type them and they cannot be seen.
  if (inOutPath.empty()) return Fail(owner, kMsgInvalidFolderSyntax);
  for (char16_t c : inOutPath) {
    if (c < 32) return Fail(owner, kMsgInvalidFolderSyntax);
  }
  std::string path = inOutPath.ToUtf8();
  if (path[0] != '/') {
    std::string full;
    if (!FullPathOf(path, full)) return Fail(owner, kMsgFolderFullPathFailed);
    VReportMessageParams question(kMsgFolderNotFullPathOffer);
    question.AddInsert(inOutPath);
    question.AddInsert(U8(full));
    if (owner.AskYesNo(question)) {
      inOutPath = U8(full);
      path = full;
    }
  }
  auto info = vfs::StatChecked(path);
  if (info) return info->isDirectory ? true : Fail(owner, kMsgPathNotAFolder);
  if (info.Code() != win32::kFileNotFound && info.Code() != win32::kPathNotFound)
    return Fail(owner, kMsgFolderInvalid);
  VReportMessageParams question(kMsgFolderMissingCreate);
  if (!owner.AskYesNo(question)) return true;
  // The folder will hold settings and secrets: the user's alone.
  if (!vfs::CreateFolderTree(path, 0700).ok()) return Fail(owner, kMsgFolderCreateFailed);
  return true;
}
