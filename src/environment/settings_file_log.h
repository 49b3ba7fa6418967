// The log of an import or export run: a plain file beside the settings file, one line
// "time,topic,text" per message, every line also handed to the run's sink. It names the files
// and folders of the configuration, so it is created readable by its owner only.
#pragma once

#include <chrono>
#include <string>

#include "environment/import_export_sink.h"
#include "platform/file_system.h"

// The one-line text of a failure, for the inserts of a log line.
VUnicodeString VStatusText(const VStatus& status);

class VSettingsFileLog {
 public:
  explicit VSettingsFileLog(IImportExportSink* sink) : sink_(sink) {}
  ~VSettingsFileLog() { Flush(); }
  VSettingsFileLog(const VSettingsFileLog&) = delete;
  VSettingsFileLog& operator=(const VSettingsFileLog&) = delete;

  // Starts a new log at `path` (an older one there is replaced). False with the reason when it
  // cannot be made; the run goes on, logging to the sink alone.
  bool Open(const std::string& path, VReportMessageParams& error);

  void Write(VImportExportLevel level, VReportMessageParams& message);
  void Info(uint32_t id, std::initializer_list<VUnicodeString> inserts = {});
  void Warn(uint32_t id, std::initializer_list<VUnicodeString> inserts = {});
  void Error(uint32_t id, std::initializer_list<VUnicodeString> inserts = {});

  size_t Warnings() const { return warnings_; }
  size_t Errors() const { return errors_; }

  // Writes the lines not written yet. Errors and the closing line write at once.
  void Flush();

  // "info", "warn", "err", "valid".
  static const char16_t* TopicName(VImportExportLevel level);

 private:
  void Add(VImportExportLevel level, uint32_t id, std::initializer_list<VUnicodeString> inserts);

  IImportExportSink* sink_;
  vfs::File file_;
  // Information lines gathered for one write: a run logs two for each of thousands of sessions.
  std::string pending_;
  std::chrono::steady_clock::time_point lastWrite_ = std::chrono::steady_clock::now();
  size_t warnings_ = 0;
  size_t errors_ = 0;
};
