// Import: a settings file read into this configuration, section by section; every secret carried
// from the exporter's passphrase to this configuration's, each session written only once it is
// whole.
#include <optional>
#include <unordered_set>

#include "config/database/session_database.h"
#include "config/global/global_config_instance.h"
#include "config/items/firewall_config.h"
#include "config/session/session_config.h"
#include "crypto/config_passphrase.h"
#include "crypto/passphrase_check.h"
#include "environment/import_export_settings.h"
#include "environment/moving_messages.h"
#include "environment/settings_carried_files.h"
#include "environment/settings_key_copy.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "storage/ini/ini_file_store.h"
#include "storage/model/key_path.h"
#include "storage/xml/xml_file_store.h"

namespace mm = moving_messages;

namespace {

constexpr const char16_t* kFolderDataName = u"__FolderData__";

VUnicodeString ReasonText(uint32_t id) {
  VReportMessageParams message(id);
  return message.GetTextOneLineTrimmed();
}

// The names below one local folder, without regard to ASCII case, from one listing: a session
// of the file that is not among them does not exist here, and is not looked for on disk under
// every case of its name. Only a name that is all ASCII is answered; a failed listing answers
// nothing.
class LocalNames {
 public:
  explicit LocalNames(VProfileKey& folder) {
    folder.GetLastError().Reset(0);
    VProfileKeyIterator names(folder, false);
    if (folder.GetLastError().IsError()) return;
    VUnicodeString name;
    while (names.Next(name)) {
      std::u16string folded;
      if (Fold(name, folded)) names_.insert(std::move(folded));
    }
    listed_ = true;
  }
  // False only when the name is surely not there.
  bool MayExist(std::u16string_view name) const {
    std::u16string folded;
    return !listed_ || !Fold(name, folded) || names_.count(folded) != 0;
  }

 private:
  static bool Fold(std::u16string_view name, std::u16string& folded) {
    folded.resize(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
      char16_t c = name[i];
      if (c >= 0x80) return false;
      folded[i] = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    }
    return true;
  }
  std::unordered_set<std::u16string> names_;
  bool listed_ = false;
};

// A key of the file that holds values is a session (its "Is Session" flag is one of them); one
// that holds only keys is a folder.
bool IsImportedSession(const VProfileKey& key) { return key.HoldsValues(); }

class Importer {
 public:
  Importer(VSettingsFileLog& log, VImportExportSummary& summary, IImportExportSink* sink,
           VProfileStoreFactory* configFactory, const VPathFolders& folders,
           const std::string& scratchPath)
      : log_(log), summary_(summary), sink_(sink), configFactory_(configFactory),
        folders_(folders), scratchFactory_(U8(scratchPath)),
        local_(false, configFactory), database_(configFactory) {
    folderStore_ = dynamic_cast<VIniFileStoreFactory*>(configFactory) != nullptr;
    localPassphrase_ = GetConfigPassphrase();
    localPassphrase_.SetSensitive(true);
  }

  // The check value of the file's secrets: "Security", else the exported global options'.
  VEncryptedString FileCheckValue(VProfileKey& root, bool global) {
    VUnicodeString check;
    if (root.SubKeyExists(u"Security")) {
      VProfileKey security(root, u"Security");
      if (security.ReadString(u"Passphrase", check)) return VEncryptedString(check);
    }
    if (global && root.SubKeyExists(u"Global")) {
      VProfileKey key(root, u"Global");
      if (key.ReadString(u"Config Passphrase", check)) return VEncryptedString(check);
    }
    return VEncryptedString();
  }

  // Decides what the file's secrets are under. False when the run must stop: the sink gave a
  // passphrase that is not the file's.
  bool DecidePassphrase(const VEncryptedString& check, bool skipSecrets) {
    if (skipSecrets) {
      log_.Warn(mm::kSecretsSkipped);
      skipSecrets_ = true;
      return true;
    }
    if (IsConfigPassphraseDisabled()) {
      log_.Warn(mm::kImportPassphraseDisabled);
      skipSecrets_ = true;
      return true;
    }
    // Without a check value nothing tells what the secrets are under: they are taken as this
    // configuration's, and a session whose secrets do not decrypt is left as it was.
    if (check.empty() || IsConfigPassphraseCorrect(check, localPassphrase_)) {
      filePassphrase_ = localPassphrase_;
      return true;
    }
    if (IsConfigPassphraseCorrect(check, u"")) {
      filePassphrase_ = VUnicodeString();
      return true;
    }
    VUnicodeString answer;
    answer.SetSensitive(true);
    auto verify = [&](std::u16string_view candidate) {
      return IsConfigPassphraseCorrect(check, candidate);
    };
    using Answer = IImportExportSink::FilePassphraseAnswer;
    Answer given = sink_ ? sink_->AskFilePassphrase(verify, answer) : Answer::Cancel;
    if (given == Answer::Cancel) {
      log_.Error(mm::kFilePassphraseNotGiven);
      return false;
    }
    if (given == Answer::SkipSecrets) {
      log_.Warn(mm::kSecretsSkipped);
      skipSecrets_ = true;
      return true;
    }
    if (!verify(answer)) {
      log_.Error(mm::kFilePassphraseWrong);
      return false;
    }
    filePassphrase_ = answer;
    return true;
  }

  void Global(VProfileKey& root) {
    if (!root.SubKeyExists(u"Global")) {
      log_.Warn(mm::kSectionMissing, {u"Global"});
      return;
    }
    VProfileKey key(root, u"Global");
    GetGlobalConfig(nullptr, -1);
    MergeGlobalConfig(key);
    VReportMessageParams error;
    if (!SaveGlobalConfig(false, error)) {
      log_.Error(mm::kGlobalNotSaved, {error.GetTextOneLineTrimmed()});
      return;
    }
    log_.Info(mm::kGlobalImported);
  }

  void Sessions(VProfileKey& root) {
    if (!root.SubKeyExists(u"Sessions")) {
      log_.Warn(mm::kSectionMissing, {u"Sessions"});
      return;
    }
    VProfileKey section(root, u"Sessions");
    total_ = Count(section);
    VProfileKey localSessions(*local_.GetRootKey(), u"Sessions", kProfileKeyCreate);
    Folder(section, localSessions, VUnicodeString());
  }

  void Firewalls(VProfileKey& root) {
    if (!root.SubKeyExists(u"Firewalls")) {
      log_.Warn(mm::kSectionMissing, {u"Firewalls"});
      return;
    }
    VProfileKey section(root, u"Firewalls");
    VProfileKeyIterator names(section, false);
    VUnicodeString name;
    while (names.Next(name)) {
      if (!vfs::IsSafeComponent(name)) {
        log_.Error(mm::kFirewallNotImported, {name, ReasonText(mm::kRefusedOutside)});
        continue;
      }
      VProfileKey key(section, name.c_str());
      VRef<FirewallConfig> firewall(new FirewallConfig(name));
      firewall->LoadItem(key, VGetDerivedProductId());
      VReportMessageParams reason;
      if (!CarrySecrets(*firewall.Get(), reason))
        log_.Warn(mm::kSecretsLeftAsTheyWere, {name, reason.GetTextOneLineTrimmed()});
      if (!database_.SaveItem(*firewall.Get(), reason, true)) {
        log_.Error(mm::kFirewallNotImported, {name, reason.GetTextOneLineTrimmed()});
        continue;
      }
      log_.Info(mm::kFirewallImported, {name});
    }
  }

  void WholeKey(VProfileKey& root, const VSettingsSection& section) {
    if (!root.SubKeyExists(section.name)) {
      log_.Warn(mm::kSectionMissing, {section.name});
      return;
    }
    VProfileKey source(root, section.name);
    VProfileKey target(*local_.GetRootKey(), section.name, kProfileKeyCreate);
    VProfileCopyFailure failure;
    if (!CopyProfileKey(target, source, &failure) || !target.Flush()) {
      if (!failure.error.IsError()) failure.error = target.GetLastError();
      log_.Error(mm::kSectionNotCopied,
                 {section.name, failure.path, failure.error.GetTextOneLineTrimmed()});
      return;
    }
    log_.Info(mm::kSectionImported, {section.name});
  }

  void FileTypes(VProfileKey& root) {
    if (!root.SubKeyExists(u"FileTypes")) return;
    VProfileKey key(root, u"FileTypes");
    if (sink_ && sink_->ImportFileTypes(key)) {
      log_.Info(mm::kSectionImported, {u"FileTypes"});
    } else {
      log_.Warn(mm::kFileTypesNotKept);
    }
  }

  void Files(VProfileKey& root) { ImportCarriedFiles(root, folders_, log_, summary_); }

 private:
  size_t Count(VProfileKey& folder) {
    size_t count = 0;
    VProfileKeyIterator names(folder, false);
    VUnicodeString name;
    while (names.Next(name)) {
      if (name == kFolderDataName || !vfs::IsSafeComponent(name)) continue;
      VProfileKey sub(folder, name.c_str());
      count += IsImportedSession(sub) ? 1 : Count(sub);
    }
    return count;
  }

  void Folder(VProfileKey& fileFolder, VProfileKey& localFolder, const VUnicodeString& path) {
    const LocalNames local(localFolder);
    VProfileKeyIterator names(fileFolder, false);
    VUnicodeString name;
    while (names.Next(name)) {
      if (name == kFolderDataName) continue;
      VUnicodeString childPath = VKeyPath::Join(path, name);
      if (!vfs::IsSafeComponent(name)) {
        log_.Error(mm::kSessionNotImported, {childPath, ReasonText(mm::kRefusedOutside)});
        continue;
      }
      VProfileKey fileKey(fileFolder, name.c_str());
      if (IsImportedSession(fileKey)) {
        Session(fileKey, localFolder, local, name, childPath);
        Advance(childPath);
        continue;
      }
      if (local.MayExist(name) && localFolder.SubKeyExists(name.c_str())) {
        VProfileKey existing(localFolder, name.c_str());
        if (SessionDatabase::IsSession(existing)) {
          log_.Error(mm::kSessionNotImported,
                     {childPath, ReasonText(mm::kRefusedNotFile)});
          continue;
        }
      }
      VProfileKey localChild(localFolder, name.c_str(),
                             kProfileKeyCreate | (local.MayExist(name) ? 0 : kProfileKeyKnownNew));
      log_.Info(mm::kFolderImported, {childPath});
      Folder(fileKey, localChild, childPath);
    }
  }

  void Advance(const VUnicodeString& path) {
    if (sink_) sink_->Advance(++done_, total_, path);
  }

  // Carries the object's secrets from the file's passphrase to this configuration's (empties
  // them when they are not imported). False, with the reason, when one does not decrypt.
  bool CarrySecrets(SessionConfig& session, VReportMessageParams& reason);
  bool CarrySecrets(FirewallConfig& firewall, VReportMessageParams& reason);

  void Session(VProfileKey& fileKey, VProfileKey& localFolder, const LocalNames& local,
               const VUnicodeString& name, const VUnicodeString& path) {
    auto fail = [&](const VUnicodeString& why) {
      log_.Error(mm::kSessionNotImported, {path, why});
    };
    // The file's session with its secrets under this configuration's passphrase.
    VRef<SessionConfig> imported(new SessionConfig(name));
    imported->SetSessionPath(path);
    imported->LoadFromKey(&fileKey);
    // A secret that does not decrypt under the file's passphrase was unreadable where it was
    // exported already: it is left as it was, as a change of passphrase leaves it, and named.
    VReportMessageParams reason;
    if (!CarrySecrets(*imported.Get(), reason))
      log_.Warn(mm::kSecretsLeftAsTheyWere, {path, reason.GetTextOneLineTrimmed()});

    // A session made meanwhile by another process is still merged with, not overwritten: the
    // write goes through the file as it is on disk then.
    const bool mayExist = local.MayExist(name);
    bool exists = mayExist && localFolder.SubKeyExists(name.c_str());
    // A folder store makes a new session's file when it is written; other stores make the key.
    int flags = exists || folderStore_ ? 0 : kProfileKeyCreate;
    if (!mayExist) flags |= kProfileKeyKnownNew;
    VProfileKey localKey(localFolder, name.c_str(), flags);
    if (exists && !SessionDatabase::IsSession(localKey))
      return fail(ReasonText(mm::kRefusedNotFile));
    if (exists && !localKey.CanWrite()) {
      VReportMessageParams readOnly;
      readOnly.SetError(win32::kAccessDenied);
      return fail(readOnly.GetTextOneLineTrimmed());
    }

    // What the file does not say is taken from the local session, or from "Default" for a new
    // one. A file that says everything they hold (as an export does) gives the session whole.
    VProfileKey* base = exists ? &localKey : DefaultKey();
    VReportMessageParams error;
    bool built = Covers(fileKey, base) ? SaveWhole(*imported.Get(), localKey, error)
                                       : BuildAndSave(fileKey, base, *imported.Get(), localKey,
                                                      error);
    if (!built) return fail(error.GetTextOneLineTrimmed());
    ++summary_.sessions;
    if (!exists) log_.Info(mm::kSessionCreated, {path});
    log_.Info(mm::kSessionImported, {path});
  }

  // Whether `fileKey` holds every value `base` holds (none: true).
  bool Covers(const VProfileKey& fileKey, const VProfileKey* base) {
    if (!base) return true;
    bool covers = true;
    base->ForEachValueName([&](const VUnicodeString& name, int) {
      if (covers && !KeyHasValue(fileKey, name.c_str())) covers = false;
    });
    return covers;
  }

  // Saves the session, all of it, and writes its file before returning.
  bool SaveWhole(SessionConfig& session, VProfileKey& localKey, VReportMessageParams& error) {
    if (!localKey.WriteDword(u"Is Session", 1) || !session.Save(localKey, true) ||
        !localKey.Flush()) {
      error = localKey.GetLastError();
      return false;
    }
    return true;
  }

  // The session made in memory from the file's values, its secrets as `imported` carried them,
  // and the values of `base` the file does not hold; then saved whole. The scratch copy is never
  // written out.
  bool BuildAndSave(VProfileKey& fileKey, VProfileKey* base, SessionConfig& imported,
                    VProfileKey& localKey, VReportMessageParams& error) {
    VProfileStore scratchStore(false, &scratchFactory_);
    VProfileKey& scratchRoot = *scratchStore.GetRootKey();
    bool built = false;
    {
      VProfileKey scratch(scratchRoot, u"session", kProfileKeyCreate);
      built = CopyKeyValues(scratch, fileKey, false, error);
      for (VProfileEncryptedString* secret : imported.GetSecretSettings()) {
        if (!built) break;
        if (secret->Current().empty() && !KeyHasValue(fileKey, secret->GetName().c_str()))
          continue;
        built = scratch.WriteString(secret->GetName().c_str(), secret->Current().c_str());
      }
      // The texts kept for protocols whose module is not loaded came from the file too; those
      // that are secrets were carried (or emptied) since it was read.
      const VRetainedValues& retained = imported.GetRetainedValues();
      for (size_t index = 0; built && index < retained.Size(); ++index) {
        if (retained.ValueAt(index).type != kProfileTypeString) continue;
        built = scratch.WriteString(retained.NameAt(index).c_str(),
                                    retained.ValueAt(index).text.c_str());
      }
      if (built && base) built = CopyKeyValues(scratch, *base, true, error);
      if (!built && !error.IsError()) error = scratch.GetLastError();
      if (built) {
        VRef<SessionConfig> session(new SessionConfig(imported.GetSessionName()));
        session->SetSessionPath(imported.GetSessionPath());
        session->LoadFromKey(&scratch);
        built = SaveWhole(*session.Get(), localKey, error);
      }
    }
    scratchRoot.DeleteSubKey(u"session");
    return built;
  }

  // The local "Default" session's key, or null when there is none.
  VProfileKey* DefaultKey() {
    if (!defaultLooked_) {
      defaultLooked_ = true;
      VProfileKey& root = *local_.GetRootKey();
      if (root.SubKeyExists(u"Sessions")) {
        sessionsKey_ = std::make_unique<VProfileKey>(root, u"Sessions");
        if (sessionsKey_->SubKeyExists(kDefaultSessionName)) {
          defaultKey_ = std::make_unique<VProfileKey>(*sessionsKey_, kDefaultSessionName);
          if (!SessionDatabase::IsSession(*defaultKey_)) defaultKey_.reset();
        }
      }
    }
    return defaultKey_.get();
  }

  VSettingsFileLog& log_;
  VImportExportSummary& summary_;
  IImportExportSink* sink_;
  VProfileStoreFactory* configFactory_;
  const VPathFolders& folders_;
  VXmlFileStoreFactory scratchFactory_;
  VProfileStore local_;
  SessionDatabase database_;
  bool folderStore_ = false;
  VUnicodeString localPassphrase_;
  VUnicodeString filePassphrase_;
  bool skipSecrets_ = false;
  size_t total_ = 0;
  size_t done_ = 0;
  bool defaultLooked_ = false;
  std::unique_ptr<VProfileKey> sessionsKey_;
  std::unique_ptr<VProfileKey> defaultKey_;
};

bool Importer::CarrySecrets(SessionConfig& session, VReportMessageParams& reason) {
  if (skipSecrets_) {
    // Emptied whatever they are under: a file under this configuration's own passphrase would
    // otherwise keep them, and "not imported" must mean that.
    session.ClearSecrets();
    return true;
  }
  if (filePassphrase_ == localPassphrase_) {
    // Nothing to carry, and the stored texts stay as they are; but secrets that do not decrypt
    // here would be saved as garbage.
    if (session.CanDecryptSecrets(localPassphrase_, localPassphrase_)) return true;
    reason.Reset(mm::kSecretsNotUnderFilePassphrase);
    return false;
  }
  return session.ReEncryptSecrets(std::u16string_view(filePassphrase_), localPassphrase_, reason);
}

bool Importer::CarrySecrets(FirewallConfig& firewall, VReportMessageParams& reason) {
  if (skipSecrets_) return firewall.ReEncryptPassword(std::nullopt, localPassphrase_, reason);
  return firewall.ReEncryptPassword(std::u16string_view(filePassphrase_), localPassphrase_,
                                    reason);
}

}  // namespace

bool ImportExportClientSettings::Import() {
  OpenLog();
  log_.Info(mm::kImportStarted, {appName_, U8(paths_.settings)});
  VXmlFileStoreFactory fileFactory(U8(paths_.settings));
  VProfileStore file(true, &fileFactory);
  VProfileKey& root = *file.GetRootKey();
  root.GetLastError().Reset(0);
  auto st = vfs::Stat(paths_.settings);
  root.CanWrite();  // reads the file
  if (!st.exists || root.GetLastError().IsError()) {
    VUnicodeString why = st.exists ? root.GetLastError().GetTextOneLineTrimmed()
                                   : VStatusText(VStatus::Error(win32::kFileNotFound));
    log_.Error(mm::kSettingsFileNotOpened, {U8(paths_.settings), why});
    return Finish(mm::kImportFinished);
  }
  bool known = false;
  for (const VSettingsSection& section : SettingsSections())
    known = known || root.SubKeyExists(section.name);
  if (!known) {
    log_.Error(mm::kNotASettingsFile, {U8(paths_.settings)});
    return Finish(mm::kImportFinished);
  }

  Importer importer(log_, summary_, sink_, ConfigFactory(), folders_,
                    vfs::TemporaryPathBeside(paths_.settings));
  // Settled before anything is written, so that a run nobody can answer changes nothing.
  if (!importer.DecidePassphrase(importer.FileCheckValue(root, Has(kImportExportGlobal)),
                                 Has(kImportExportSkipSecrets)))
    return Finish(mm::kImportFinished);
  if (Has(kImportExportGlobal)) importer.Global(root);
  for (const VSettingsSection& section : SettingsSections()) {
    if (!Chosen(section)) continue;
    switch (section.kind) {
      case VSettingsSectionKind::Security:
      case VSettingsSectionKind::Global:
        break;
      case VSettingsSectionKind::Sessions:
        importer.Sessions(root);
        break;
      case VSettingsSectionKind::Firewalls:
        importer.Firewalls(root);
        break;
      case VSettingsSectionKind::WholeKey:
        importer.WholeKey(root, section);
        break;
      case VSettingsSectionKind::FileTypes:
        importer.FileTypes(root);
        break;
      case VSettingsSectionKind::Files:
        importer.Files(root);
        break;
    }
  }
  return Finish(mm::kImportFinished);
}
