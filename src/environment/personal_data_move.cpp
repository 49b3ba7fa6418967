#include "environment/personal_data_move.h"

#include <cstdio>
#include <optional>

#include "config/database/session_database.h"
#include "crypto/random_source.h"
#include "crypto/hex_text.h"
#include "environment/app_paths.h"
#include "environment/local_names.h"
#include "environment/settings_file_paths.h"
#include "environment/moving_messages.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "storage/ini/ini_file_key.h"
#include "storage/ini/ini_file_store.h"
#include "storage/model/key_path.h"

namespace mm = moving_messages;

namespace {

constexpr const char16_t* kFolderDataName = u"__FolderData__";
// Both halves of the record: the same random token in the configuration folder and in the
// personal data folder made for it. Neither name ends in ".ini", so neither is taken for a key.
constexpr char kOwnerRecord[] = ".personal-data-owner";

// The folder's half of the record: empty when there is none, nothing when there is one that
// cannot be read (which must not pass for a folder without a record).
std::optional<std::string> ReadToken(const std::string& folder) {
  auto file = vfs::File::OpenForReading(vfs::JoinPath(folder, kOwnerRecord));
  if (!file) {
    uint32_t code = file.Code();
    if (code == win32::kFileNotFound || code == win32::kPathNotFound) return std::string();
    return std::nullopt;
  }
  std::string bytes;
  if (!file->ReadAll(bytes, 4096).ok()) return std::nullopt;
  while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) bytes.pop_back();
  return bytes;
}

std::string NewToken() {
  uint8_t block[16] = {};
  IRandomSource* random = VGetProcessRandomSource();
  if (!random || !random->GenerateBlock(block, sizeof block)) return std::string();
  std::string token;
  char digits[3];
  for (uint8_t byte : block) {
    std::snprintf(digits, sizeof digits, "%02x", byte);
    token += digits;
  }
  return token;
}

// Walks the session tree below `folder` depth first; `session` gets each session's key and
// path; folders are opened with `folderFlags`.
struct TreeWalk {
  std::function<void(VProfileKey& key, const VUnicodeString& path, const VUnicodeString& name)>
      session;
  std::function<void(const VUnicodeString& path)> folder;
  int folderFlags = 0;

  void Walk(VProfileKey& parent, const VUnicodeString& path) {
    VProfileKeyIterator names(parent, false);
    VUnicodeString name;
    int type = 0;
    while (names.Next(name, type)) {
      if (name == kFolderDataName) continue;
      VUnicodeString childPath = VKeyPath::Join(path, name);
      VProfileKey sub(parent, name.c_str(), 0);
      if (SessionDatabase::IsSession(sub)) {
        session(sub, childPath, name);
        continue;
      }
      VProfileKey child(parent, name.c_str(), folderFlags);
      if (folder) folder(childPath);
      Walk(child, childPath);
    }
  }
};

size_t CountSessions(VProfileStoreFactory* factory) {
  SessionDatabase database(factory);
  return database
      .WalkSessionNames([](const VUnicodeString&, const VUnicodeString&) { return true; },
                        SessionDatabase::WalkOptions())
      .sessions;
}

bool Ask(IUserQuestions& questions, uint32_t id) {
  VReportMessageParams question(id);
  return questions.AskYesNo(question);
}

}  // namespace

bool PersonalDataFolderBelongsTo(const VUnicodeString& personalFolder,
                                 const VUnicodeString& configFolder) {
  std::optional<std::string> personalToken = ReadToken(personalFolder.ToUtf8());
  if (!personalToken) return false;
  if (personalToken->empty()) return true;
  return personalToken == ReadToken(configFolder.ToUtf8());
}

bool RecordPersonalDataFolderOwner(const VUnicodeString& personalFolder,
                                   const VUnicodeString& configFolder,
                                   VReportMessageParams& error) {
  std::string config = configFolder.ToUtf8();
  std::optional<std::string> read = ReadToken(config);
  if (!read) {
    error.SetError(win32::kInvalidData);
    return false;
  }
  std::string token = *read;
  if (token.empty()) {
    token = NewToken();
    if (token.empty()) {
      error.SetError(win32::kInvalidData);
      return false;
    }
    if (VStatus written = vfs::ReplaceFileContents(vfs::JoinPath(config, kOwnerRecord), token + "\n");
        !written.ok()) {
      error.SetStatus(written);
      return false;
    }
  }
  std::string personal = personalFolder.ToUtf8();
  VStatus made = vfs::CreateFolderTree(personal, 0700);
  if (made.ok()) made = vfs::ReplaceFileContents(vfs::JoinPath(personal, kOwnerRecord), token + "\n");
  if (!made.ok()) {
    error.SetStatus(made);
    return false;
  }
  return true;
}

VPersonalDataMoveResult MigrateToPersonalDataLocation(IUserQuestions& questions,
                                                      ISecretPassProgress* progress,
                                                      const VUnicodeString& configFolder,
                                                      const VUnicodeString& personalFolder,
                                                      VProfileStoreFactory* factory) {
  VPersonalDataMoveResult result;
  if (!Ask(questions, mm::kMigrationQuestion)) return result;
  result.done = true;
  VReportMessageParams message(mm::kMigrationProgress);
  message.AddInsert(VGetAppName());
  RunSecretPass(progress, message, [&](ISecretPassProgress* shown) {
    // A folder that already holds another configuration's personal values is not shared: the
    // rewrite would replace that configuration's files of sessions named alike, and the record
    // would then hand them to this one.
    if (!PersonalDataFolderBelongsTo(personalFolder, configFolder)) {
      result.error.Reset(mm::kPersonalFolderMismatch);
      return;
    }
    size_t total = CountSessions(factory);
    VProfileStore store(false, factory);
    VProfileKey& root = *store.GetRootKey();
    if (root.SubKeyExists(u"Sessions")) {
      VProfileKey sessions(root, u"Sessions");
      TreeWalk walk;
      walk.folderFlags = kProfileKeyCreate;  // the matching personal folder is made
      walk.folder = [&](const VUnicodeString&) { ++result.folders; };
      walk.session = [&](VProfileKey& key, const VUnicodeString& path, const VUnicodeString&) {
        if (key.CanWrite() && key.Rewrite()) {
          ++result.sessions;
        } else {
          result.passedOver.push_back(path);
        }
        if (shown) shown->Advance(result.sessions + result.passedOver.size(), total, path);
      };
      walk.Walk(sessions, VUnicodeString());
    }
    VReportMessageParams error;
    if (!RecordPersonalDataFolderOwner(personalFolder, configFolder, error)) result.error = error;
    VReportMessageParams flagError;
    if (!SaveDoPersonalDataMigration(false, true, &flagError) && !result.error.IsError())
      result.error = flagError;
  });
  return result;
}

VPersonalDataMoveResult MergeFromPersonalDataLocation(IUserQuestions& questions,
                                                      ISecretPassProgress* progress,
                                                      const VUnicodeString& configFolder,
                                                      const VUnicodeString& personalFolder) {
  VPersonalDataMoveResult result;
  if (!Ask(questions, mm::kMergeQuestion)) return result;
  result.done = true;
  VReportMessageParams message(mm::kMergeProgress);
  message.AddInsert(VGetAppName());
  RunSecretPass(progress, message, [&](ISecretPassProgress* shown) {
    if (!PersonalDataFolderBelongsTo(personalFolder, configFolder)) {
      result.error.Reset(mm::kPersonalFolderMismatch);
      return;
    }
    // The configuration folder alone: the values merged belong in its files.
    VIniFileStoreFactory factory(configFolder);
    size_t total = CountSessions(&factory);
    VProfileStore store(false, &factory);
    VProfileKey& root = *store.GetRootKey();
    std::string source = vfs::JoinPath(personalFolder.ToUtf8(), "Sessions");
    if (root.SubKeyExists(u"Sessions")) {
      VProfileKey sessions(root, u"Sessions");
      TreeWalk walk;
      walk.folder = [&](const VUnicodeString&) { ++result.folders; };
      walk.session = [&](VProfileKey& key, const VUnicodeString& path, const VUnicodeString&) {
        std::string from = source;
        for (const VUnicodeString& level : SessionDatabase::SplitPath(path))
          from = vfs::JoinPath(from, level.ToUtf8());
        key.GetLastError().Reset(0);
        // The personal values are taken only from below the personal data folder itself: a
        // level that is a link, or a value file that is not a plain file, could bring in values
        // from anywhere.
        std::string resolved;
        VFileTargetRefusal refusal =
            CheckImportedFileTarget(from + ".ini", {personalFolder.ToUtf8()}, resolved);
        if (!key.CanWrite() || (refusal != VFileTargetRefusal::None)) {
          result.passedOver.push_back(path);
        } else {
          key.MergePersonalData(U8(from).c_str());
          if (key.GetLastError().IsError())
            result.passedOver.push_back(path);
          else
            ++result.sessions;
        }
        if (shown) shown->Advance(result.sessions + result.passedOver.size(), total, path);
      };
      walk.Walk(sessions, VUnicodeString());
    }
    VReportMessageParams flagError;
    if (!SaveDoPersonalDataMerge(false, true, &flagError)) result.error = flagError;
  });
  return result;
}

bool PersonalDataOptionSwitch(const VPersonalDataFlags& atOpening, bool now, bool configWritable,
                              VPersonalDataFlags& toWrite, VReportMessageParams& refusal,
                              VReportMessageParams& notice) {
  if (now == atOpening.separate) {
    // Switched and switched back: the work that was pending at opening is pending again.
    toWrite = atOpening;
    return true;
  }
  if (!now && !configWritable) {
    refusal.Reset(mm::kCannotMergeIntoConfig);
    refusal.AddInsert(VGetAppName());
    return false;
  }
  toWrite.separate = now;
  toWrite.migrate = now;
  toWrite.merge = !now;
  notice.Reset(mm::kPersonalFolderChangeLater);
  notice.AddInsert(VGetAppName());
  return true;
}

bool SavePersonalDataFlags(const VPersonalDataFlags& flags, VReportMessageParams* error) {
  return SaveUsePersonalDataPath(flags.separate, true, error) &&
         SaveDoPersonalDataMigration(flags.migrate, true, error) &&
         SaveDoPersonalDataMerge(flags.merge, true, error);
}

bool ValidatePersonalDataFolderChoice(IUserQuestions& owner, const VUnicodeString& configFolder,
                                      VUnicodeString& inOutPersonal) {
  if (inOutPersonal.empty()) inOutPersonal = GetAppPersonalDataPathDefault(configFolder);
  auto folded = [](const VUnicodeString& path) {
    std::u16string out(path);
    while (out.size() > 1 && out.back() == u'/') out.pop_back();
    for (char16_t& c : out) {
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return out;
  };
  if (folded(inOutPersonal) == folded(configFolder)) {
    VReportMessageParams same(kMsgPersonalFolderIsConfigFolder);
    owner.Notify(same, VNoticeKind::Error);
    return false;
  }
  return ValidateLocalFolder(owner, inOutPersonal);
}

bool ConfigFolderTakesPersonalData(const VUnicodeString& configFolder) {
  return vfs::MayWriteFolder(configFolder.ToUtf8());
}
