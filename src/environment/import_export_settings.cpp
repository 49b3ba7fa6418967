#include "environment/import_export_settings.h"

#include "environment/moving_messages.h"
#include "platform/app_info.h"

VImportExportSettings::VImportExportSettings(const std::string& settingsFile, uint32_t options,
                                             IImportExportSink* sink,
                                             VProfileStoreFactory* configFactory)
    : paths_(VSettingsFilePaths::For(settingsFile)),
      options_(options),
      sink_(sink),
      configFactory_(configFactory),
      appName_(VGetAppName()),
      log_(sink),
      folders_(VPathFolders::Current()) {
  summary_.settingsFile = paths_.settings;
  summary_.log = paths_.log;
}

VImportExportSettings::~VImportExportSettings() = default;

VProfileStoreFactory* VImportExportSettings::ConfigFactory() const {
  if (configFactory_) return configFactory_;
  VProfileStoreFactoryGetter getter = VGetProfileFactoryGetter();
  return getter ? getter() : nullptr;
}

void VImportExportSettings::OpenLog() {
  VReportMessageParams error;
  if (!log_.Open(paths_.log, error)) {
    VReportMessageParams line(moving_messages::kFileNotWritten);
    line.AddInsert(U8(paths_.log));
    line.AddInsert(error.GetTextOneLineTrimmed());
    log_.Write(VImportExportLevel::Warn, line);
  }
}

bool VImportExportSettings::Finish(uint32_t finishedId) {
  summary_.warnings = log_.Warnings();
  summary_.errors = log_.Errors();
  VReportMessageParams line(finishedId);
  line.AddInsertFormatted(u"%1!u!", static_cast<uint32_t>(summary_.sessions));
  line.AddInsertFormatted(u"%1!u!", static_cast<uint32_t>(summary_.warnings));
  line.AddInsertFormatted(u"%1!u!", static_cast<uint32_t>(summary_.errors));
  // The closing line counts nothing itself: "valid" when the run holds, else plain information.
  log_.Write(summary_.errors ? VImportExportLevel::Info : VImportExportLevel::Valid, line);
  log_.Flush();
  return summary_.errors == 0;
}

int RunImportExportSettings(bool import, const std::string& settingsFile, uint32_t options,
                            const VUnicodeString& appName, uint32_t flags,
                            IImportExportSink* sink, VImportExportSummary* summary,
                            VProfileStoreFactory* configFactory) {
  if (!appName.empty()) VSetAppName(appName);
  ImportExportClientSettings run(settingsFile, options, sink, configFactory);
  bool done = import ? run.Import() : run.Export();
  if (summary) *summary = run.Summary();
  if (done) return 0;
  return run.Summary().errors ? static_cast<int>(run.Summary().errors) : 1;
}
