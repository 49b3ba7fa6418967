// Export: the chosen sections of the configuration written into a new settings file, the older
// one kept as the backup.
#include <set>

#include "config/database/session_database.h"
#include "config/global/global_config.h"
#include "config/global/global_config_instance.h"
#include "config/session/session_config.h"
#include "crypto/config_passphrase.h"
#include "crypto/passphrase_check.h"
#include "environment/import_export_settings.h"
#include "environment/moving_messages.h"
#include "environment/settings_carried_files.h"
#include "environment/settings_key_copy.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "storage/model/key_path.h"
#include "storage/xml/xml_file_store.h"

namespace mm = moving_messages;

namespace {

// The global settings that name a file the configuration needs on another machine.
constexpr const char16_t* kGlobalFileSettings[] = {
    u"Menu Toolbar File", u"Audio Bell Sound File",        u"Connect Sound File",
    u"Disconnect Sound File", u"Transfer Complete Sound File", u"Error Sound File",
    u"Certificate Path",
};

class Exporter {
 public:
  Exporter(VSettingsFileLog& log, VImportExportSummary& summary, IImportExportSink* sink,
           VProfileStoreFactory* configFactory, const VPathFolders& folders)
      : log_(log), summary_(summary), sink_(sink), configFactory_(configFactory),
        folders_(folders) {}

  // Keeps an older settings file as the backup, or proves that the folder takes a new file.
  bool PrepareFile(const VSettingsFilePaths& paths) {
    vfs::Env* env = vfs::Env::Default();
    auto st = env->LinkStat(paths.settings);
    if (st) {
      if (st->kind != vfs::EntryKind::kFile) {
        log_.Error(mm::kSettingsFileNotCreated,
                   {U8(paths.settings), VStatusText(VStatus::Error(win32::kAccessDenied))});
        return false;
      }
      VStatus removed = vfs::RemoveFile(paths.backup);
      VStatus renamed = removed.ok() ? vfs::RenameFile(paths.settings, paths.backup) : removed;
      if (!renamed.ok()) {
        log_.Error(mm::kBackupNotMade, {U8(paths.settings), U8(paths.backup), VStatusText(renamed)});
        return false;
      }
      // The backup holds what the settings file held: the exporter's secrets.
      (void)vfs::SetMode(paths.backup, 0600);
      summary_.backup = paths.backup;
      log_.Info(mm::kBackupKept, {U8(paths.backup)});
      return true;
    }
    auto created = vfs::File::CreateNew(paths.settings, 0600);
    if (!created) {
      log_.Error(mm::kSettingsFileNotCreated, {U8(paths.settings), VStatusText(created.Status())});
      return false;
    }
    created->Close();
    (void)vfs::RemoveFile(paths.settings);
    return true;
  }

  void Security(VProfileKey& section) {
    if (IsConfigPassphraseDisabled()) {
      log_.Warn(mm::kExportPassphraseDisabled);
      return;
    }
    VEncryptedString check = Global()->configPassphrase.Current();
    VUnicodeString passphrase = GetConfigPassphrase();
    // A configuration that never stored a check value (secrets under the empty passphrase, or
    // a passphrase settled by another process) gets one for the passphrase in use, so that the
    // importer can tell what the secrets are under.
    if (check.empty() || !IsConfigPassphraseCorrect(check, passphrase)) {
      VReportMessageParams error;
      if (!MakeConfigPassphraseCheckValue(passphrase, check, error)) {
        log_.Error(mm::kSettingsFileNotWritten, {u"Security", error.GetTextOneLineTrimmed()});
        return;
      }
    }
    section.WriteString(u"Passphrase", check.c_str());
  }

  void Global(VProfileKey& section) {
    VRef<GlobalConfig> global = Global();
    if (!global->Save(section, true)) {
      log_.Error(mm::kSettingsFileNotWritten,
                 {u"Global", section.GetLastError().GetTextOneLineTrimmed()});
      return;
    }
    for (const char16_t* name : kGlobalFileSettings) {
      auto* path = dynamic_cast<ProfilePath*>(global->FindSetting(name));
      if (path && !path->Current().empty()) files_.insert(path->GetStoredText());
    }
    log_.Info(mm::kGlobalExported);
  }

  void Sessions(VProfileKey& section) {
    SessionDatabase database(configFactory_);
    size_t total = database
                       .WalkSessionNames([](const VUnicodeString&, const VUnicodeString&) {
                         return true;
                       }, SessionDatabase::WalkOptions())
                       .sessions;
    size_t done = 0;
    SessionDatabase::WalkOptions options;
    options.onFolder = [&](const VUnicodeString& path) {
      OpenPath(section, path);
    };
    database.WalkSessions(
        [&](const VUnicodeString& folder, const VUnicodeString& name, VProfileKey& key) {
          VUnicodeString path = VKeyPath::Join(folder, name);
          VRef<SessionConfig> session(new SessionConfig(name));
          session->SetSessionPath(path);
          session->LoadFromKey(&key);
          auto target = OpenPath(section, path);
          if (!session->Save(*target.back(), true)) {
            log_.Error(mm::kSessionNotExported,
                       {path, target.back()->GetLastError().GetTextOneLineTrimmed()});
          } else {
            ++summary_.sessions;
            log_.Info(mm::kSessionExported, {path});
          }
          if (sink_) sink_->Advance(++done, total, path);
          return true;
        },
        options);
  }

  void WholeKey(VProfileKey& root, const VSettingsSection& section, VProfileKey& local) {
    if (!local.SubKeyExists(section.name)) return;
    VProfileKey source(local, section.name);
    VProfileKey target(root, section.name, kProfileKeyCreate);
    // Into the settings file's document, which is written once at the end: a copy that flushed
    // each key would write the whole file again for every item.
    VReportMessageParams error;
    if (!CopyKeyValues(target, source, false, error)) {
      log_.Error(mm::kSectionNotCopied, {section.name, section.name, error.GetTextOneLineTrimmed()});
      return;
    }
    log_.Info(mm::kSectionExported, {section.name});
  }

  void FileTypes(VProfileKey& root) {
    if (!sink_) return;
    VProfileKey target(root, u"FileTypes", kProfileKeyCreate);
    if (sink_->ExportFileTypes(target)) {
      log_.Info(mm::kSectionExported, {u"FileTypes"});
    } else {
      root.DeleteSubKey(u"FileTypes");
    }
  }

  void Files(VProfileKey& root) { ExportCarriedFiles(root, files_, folders_, log_); }

 private:
  VRef<GlobalConfig> Global() {
    if (!global_) {
      GlobalConfig* shared = nullptr;
      GetGlobalConfig(&shared, -1);
      global_ = VRef<GlobalConfig>(shared);
    }
    return global_;
  }

  // The chain of keys of `path` below `section`, created.
  std::vector<std::unique_ptr<VProfileKey>> OpenPath(VProfileKey& section,
                                                     const VUnicodeString& path) {
    std::vector<std::unique_ptr<VProfileKey>> keys;
    for (const VUnicodeString& level : SessionDatabase::SplitPath(path)) {
      VProfileKey& parent = keys.empty() ? section : *keys.back();
      keys.push_back(std::make_unique<VProfileKey>(parent, level.c_str(), kProfileKeyCreate));
    }
    if (keys.empty()) keys.push_back(std::make_unique<VProfileKey>(section, u"", 0));
    return keys;
  }

  VSettingsFileLog& log_;
  VImportExportSummary& summary_;
  IImportExportSink* sink_;
  VProfileStoreFactory* configFactory_;
  const VPathFolders& folders_;
  VRef<GlobalConfig> global_;
  std::set<VUnicodeString> files_;
};

}  // namespace

bool ImportExportClientSettings::Export() {
  OpenLog();
  log_.Info(mm::kExportStarted, {appName_, U8(paths_.settings)});
  Exporter exporter(log_, summary_, sink_, ConfigFactory(), folders_);
  if (!exporter.PrepareFile(paths_)) return Finish(mm::kExportFinished);
  {
    VXmlFileStoreFactory fileFactory(U8(paths_.settings));
    VProfileStore file(false, &fileFactory);
    VProfileKey& root = *file.GetRootKey();
    VProfileStore config(true, ConfigFactory());
    VProfileKey& local = *config.GetRootKey();
    for (const VSettingsSection& section : SettingsSections()) {
      if (!Chosen(section)) continue;
      switch (section.kind) {
        case VSettingsSectionKind::Security: {
          if (IsConfigPassphraseDisabled()) {
            exporter.Security(root);
            break;
          }
          VProfileKey key(root, section.name, kProfileKeyCreate);
          exporter.Security(key);
          break;
        }
        case VSettingsSectionKind::Global: {
          VProfileKey key(root, section.name, kProfileKeyCreate);
          exporter.Global(key);
          break;
        }
        case VSettingsSectionKind::Sessions: {
          VProfileKey key(root, section.name, kProfileKeyCreate);
          exporter.Sessions(key);
          break;
        }
        case VSettingsSectionKind::Firewalls:
        case VSettingsSectionKind::WholeKey:
          exporter.WholeKey(root, section, local);
          break;
        case VSettingsSectionKind::FileTypes:
          exporter.FileTypes(root);
          break;
        case VSettingsSectionKind::Files:
          exporter.Files(root);
          break;
      }
    }
    if (!root.Flush()) {
      log_.Error(mm::kSettingsFileNotWritten,
                 {U8(paths_.settings), root.GetLastError().GetTextOneLineTrimmed()});
    }
  }
  (void)vfs::SetMode(paths_.settings, 0600);
  return Finish(mm::kExportFinished);
}
