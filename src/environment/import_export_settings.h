// Import and export of settings: chosen parts of the configuration written into one XML
// settings file, and such a file read back into this or another configuration, its secrets
// carried from the exporter's passphrase to this configuration's. A run logs every step to a
// file beside the settings file and to its sink.
#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "environment/import_export_sink.h"
#include "environment/settings_file_log.h"
#include "environment/settings_file_paths.h"
#include "environment/settings_sections.h"
#include "storage/model/profile_store.h"
#include "storage/values/profile_path.h"

struct VImportExportSummary {
  std::string settingsFile;
  std::string backup;  // empty when there was no older settings file
  std::string log;
  size_t sessions = 0;
  size_t warnings = 0;
  size_t errors = 0;
  std::vector<VUnicodeString> filesWritten;  // full paths
  std::vector<VUnicodeString> filesRefused;  // the paths as the settings file gave them
};

class VImportExportSettings {
 public:
  // A run on `settingsFile` for the sections of `options` (kImportExport... bits), logging to
  // `sink` (may be null). The configuration is reached through `configFactory` (null: the
  // registered one).
  VImportExportSettings(const std::string& settingsFile, uint32_t options,
                        IImportExportSink* sink, VProfileStoreFactory* configFactory = nullptr);
  virtual ~VImportExportSettings();
  VImportExportSettings(const VImportExportSettings&) = delete;
  VImportExportSettings& operator=(const VImportExportSettings&) = delete;

  // Each returns true when no error was recorded for the run.
  virtual bool Export() = 0;
  virtual bool Import() = 0;

  // The folders behind the path variables, by default those of the running application.
  void SetPathFolders(const VPathFolders& folders) { folders_ = folders; }
  const VImportExportSummary& Summary() const { return summary_; }
  const VSettingsFilePaths& Paths() const { return paths_; }

 protected:
  bool Chosen(const VSettingsSection& section) const {
    return section.bits == 0 || (section.bits & options_) != 0;
  }
  bool Has(uint32_t bit) const { return (options_ & bit) != 0; }
  VProfileStoreFactory* ConfigFactory() const;
  // Starts the log (a failure is told to the sink and the run goes on).
  void OpenLog();
  // Counts and logs the end of the run; true when no error was recorded.
  bool Finish(uint32_t finishedId);

  VSettingsFilePaths paths_;
  uint32_t options_;
  IImportExportSink* sink_;
  VProfileStoreFactory* configFactory_;
  VUnicodeString appName_;
  VSettingsFileLog log_;
  VPathFolders folders_;
  VImportExportSummary summary_;
};

// The configuration of the client applications: global options, sessions, firewalls and the
// sections kept as keys.
class ImportExportClientSettings : public VImportExportSettings {
 public:
  using VImportExportSettings::VImportExportSettings;
  bool Export() override;
  bool Import() override;
};

// The worker's entry point: makes the run and calls the export or the import. 0 on success,
// else the number of errors recorded (at least 1). `summary` (when given) receives the totals.
// `flags` belongs to the host and changes nothing here.
int RunImportExportSettings(bool import, const std::string& settingsFile, uint32_t options,
                            const VUnicodeString& appName, uint32_t flags,
                            IImportExportSink* sink, VImportExportSummary* summary = nullptr,
                            VProfileStoreFactory* configFactory = nullptr);
