#include "environment/settings_file_log.h"

#include "report/log_time.h"

VUnicodeString VStatusText(const VStatus& status) {
  VReportMessageParams message;
  message.SetStatus(status);
  return message.GetTextOneLineTrimmed();
}

bool VSettingsFileLog::Open(const std::string& path, VReportMessageParams& error) {
  Flush();
  file_.Close();
  if (VStatus removed = vfs::RemoveFile(path); !removed.ok()) {
    error.SetStatus(removed);
    return false;
  }
  auto created = vfs::File::CreateNew(path, 0600);
  if (!created) {
    error.SetStatus(created.Status());
    return false;
  }
  file_ = std::move(*created);
  return true;
}

const char16_t* VSettingsFileLog::TopicName(VImportExportLevel level) {
  switch (level) {
    case VImportExportLevel::Info: return u"info";
    case VImportExportLevel::Warn: return u"warn";
    case VImportExportLevel::Err: return u"err";
    case VImportExportLevel::Valid: return u"valid";
  }
  return u"info";
}

void VSettingsFileLog::Write(VImportExportLevel level, VReportMessageParams& message) {
  if (level == VImportExportLevel::Warn) ++warnings_;
  if (level == VImportExportLevel::Err) ++errors_;
  message.SetTopic(static_cast<int32_t>(level));
  if (file_.IsOpen()) {
    std::u16string time = VFormatLogTime(VLocalTimeNow(), u"%Y-%m-%d %H:%M:%S");
    VUnicodeString line = VUnicodeString(time) + u"," + TopicName(level) + u"," +
                          message.GetTextOneLineTrimmed() + u"\n";
    pending_ += line.ToUtf8();
    // Someone following the file still sees it grow every second.
    constexpr size_t kGatheredBytes = 64 * 1024;
    constexpr auto kGatheredTime = std::chrono::seconds(1);
    if (level == VImportExportLevel::Err || level == VImportExportLevel::Valid ||
        pending_.size() >= kGatheredBytes ||
        std::chrono::steady_clock::now() - lastWrite_ >= kGatheredTime)
      Flush();
  }
  if (sink_) sink_->LogLine(level, message);
}

void VSettingsFileLog::Flush() {
  lastWrite_ = std::chrono::steady_clock::now();
  if (pending_.empty()) return;
  // A log that cannot be written does not stop the run: the sink still shows every line.
  if (file_.IsOpen() && !file_.WriteAll(pending_).ok()) file_.Close();
  pending_.clear();
}

void VSettingsFileLog::Add(VImportExportLevel level, uint32_t id,
                           std::initializer_list<VUnicodeString> inserts) {
  VReportMessageParams message(id);
  for (const VUnicodeString& insert : inserts) message.AddInsert(insert);
  Write(level, message);
}

void VSettingsFileLog::Info(uint32_t id, std::initializer_list<VUnicodeString> inserts) {
  Add(VImportExportLevel::Info, id, inserts);
}
void VSettingsFileLog::Warn(uint32_t id, std::initializer_list<VUnicodeString> inserts) {
  Add(VImportExportLevel::Warn, id, inserts);
}
void VSettingsFileLog::Error(uint32_t id, std::initializer_list<VUnicodeString> inserts) {
  Add(VImportExportLevel::Err, id, inserts);
}
