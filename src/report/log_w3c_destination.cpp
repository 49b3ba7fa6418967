#include "report/log_w3c_destination.h"

#include <chrono>
#include <thread>

#include "platform/win32_errors.h"

namespace {

VUnicodeString SystemErrorText(uint32_t code) {
  VReportMessageParams text(code);
  return text.GetTextOneLineTrimmed();
}

bool AllDigits(std::u16string_view text) {
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return !text.empty();
}

int ToNumber(std::u16string_view digits) {
  int value = 0;
  for (char16_t c : digits) value = value * 10 + (c - u'0');
  return value;
}

}  // namespace

VW3CFileDestination::VW3CFileDestination(const VUnicodeString& name, VReportMessageRouter* router,
                                         const VUnicodeString& folder,
                                         const VUnicodeString& prefix, int daysToKeep, bool daily,
                                         VLogClock clock)
    : VReportMessageDestination(name),
      router_(router),
      folder_(folder),
      prefix_(prefix),
      daysToKeep_(daysToKeep),
      daily_(daily),
      clock_(clock ? std::move(clock) : VLogClock(&VLocalTimeNow)),
      cache_(kCachedLines) {
  if (!IsTopicEnabled(0)) AddTopic(0, u"Severe");
  if (!IsTopicEnabled(2)) AddTopic(2, u"Informational");
}

bool VW3CFileDestination::IsOpen() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return file_.IsOpen();
}

VUnicodeString VW3CFileDestination::GetPath() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return path_;
}

uint32_t VW3CFileDestination::GetLastSystemError() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return lastSystemError_;
}

size_t VW3CFileDestination::GetCachedLineCount() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return cache_.Count();
}

void VW3CFileDestination::Report(uint32_t id, const std::vector<VUnicodeString>& inserts,
                                 int32_t topic) {
  VReportMessageParams message(id);
  for (const auto& insert : inserts) message.AddInsert(insert);
  message.SetTopic(topic);
  if (router_) {
    router_->Route(message);
  } else {
    VRouteMessage(message);
  }
}

// ---- opening ----

vfs::File VW3CFileDestination::CreateNewFile(const std::string& path, uint32_t& error) {
  auto file = vfs::File::CreateNew(path);
  if (!file) {
    error = file.Code();
    return vfs::File();
  }
  return std::move(*file);
}

vfs::File VW3CFileDestination::OpenFileForAppend(const std::string& path, uint32_t& error) {
  auto file = vfs::File::OpenAppend(path);
  if (!file) {
    error = file.Code();
    return vfs::File();
  }
  return std::move(*file);
}

void VW3CFileDestination::Pause(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool VW3CFileDestination::OpenFile(const VUnicodeString& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return OpenPath(path);
}

void VW3CFileDestination::CloseFile() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  file_.Close();
}

bool VW3CFileDestination::OpenPath(const VUnicodeString& path) {
  file_.Close();
  path_ = path;
  const std::string native = path.ToUtf8();
  uint32_t error = 0;
  vfs::File file = CreateNewFile(native, error);
  const bool created = file.IsOpen();
  if (!created) {
    if (error != win32::kAlreadyExists && error != win32::kFileExists) {
      lastSystemError_ = error;
      Report(kMsgLogCreateFailed, {path, SystemErrorText(error)}, 0);
      return false;
    }
    for (int retry = 0;; ++retry) {
      file = OpenFileForAppend(native, error);
      if (file.IsOpen()) break;
      // Another program holding the file is given a minute to let it go.
      if (error == win32::kSharingViolation && retry < kSharingRetries) {
        Pause(kSharingRetryMilliseconds);
        continue;
      }
      lastSystemError_ = error;
      Report(kMsgLogOpenFailed, {path, SystemErrorText(error)}, 0);
      return false;
    }
  }
  file_ = std::move(file);
  lastSystemError_ = 0;
  if (created && WritesHeader()) Append(VFormatW3CHeader(Now()));
  FlushCache();
  return true;
}

bool VW3CFileDestination::ReopenDailyFile() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  VLogTime now = Now();
  fileDate_ = VLogDateNumber(now);
  DeleteExpiredFiles(now);
  return OpenToday(now);
}

bool VW3CFileDestination::OpenToday(const VLogTime& now) {
  std::u16string name = prefix_ + VFormatLogTime(now, u"%Y%m%d.log");
  VUnicodeString path =
      VUnicodeString::FromUtf8(vfs::JoinPath(folder_.ToUtf8(), vtext::ToUtf8(name)));
  if (path.size() >= kMaxDailyPath) {
    file_.Close();
    Report(kMsgLogPathTooLong, {path}, 0);
    return false;
  }
  return OpenPath(path);
}

void VW3CFileDestination::RotateIfNewDay() {
  VLogTime now = Now();
  int today = VLogDateNumber(now);
  // The whole date is compared, not only the day of the month: a destination idle for a month
  // must not write into last month's file.
  if (today == fileDate_) return;
  // Set first: a failure reported while opening comes back here and must not try again.
  fileDate_ = today;
  DeleteExpiredFiles(now);
  OpenToday(now);
}

void VW3CFileDestination::DeleteExpiredFiles(const VLogTime& now) {
  if (daysToKeep_ <= 0) return;  // no limit: nothing is ever deleted
  const int oldestKept = VLogDateNumberDaysBefore(now, daysToKeep_);
  std::vector<vfs::FolderEntry> entries;
  if (!vfs::ListFolder(folder_.ToUtf8(), entries).ok()) return;
  for (const auto& entry : entries) {
    if (entry.isDirectory) continue;
    std::u16string name = vtext::FromUtf8(entry.name);
    if (name.size() != prefix_.size() + 12 || name.compare(0, prefix_.size(), prefix_) != 0 ||
        name.compare(name.size() - 4, 4, u".log") != 0)
      continue;
    std::u16string_view date = std::u16string_view(name).substr(prefix_.size(), 8);
    if (!AllDigits(date)) continue;
    int year = ToNumber(date.substr(0, 4));
    int month = ToNumber(date.substr(4, 2));
    int day = ToNumber(date.substr(6, 2));
    // A zero anywhere is not a date this destination wrote: such files are left alone.
    if (year == 0 || month == 0 || day == 0) continue;
    if (year * 10000 + month * 100 + day < oldestKept) {
      // An expired file that cannot be removed is tried again on the next day's opening.
      vfs::RemoveFile(vfs::JoinPath(folder_.ToUtf8(), entry.name)).IgnoreError();
    }
  }
}

// ---- writing ----

bool VW3CFileDestination::Append(const std::u16string& text) {
  VStatus written = file_.WriteAll(vtext::ToUtf8(text));
  if (written.ok()) return true;
  lastSystemError_ = written.Code();
  return false;
}

void VW3CFileDestination::FlushCache() {
  size_t dropped = cache_.DroppedCount();
  if (dropped) {
    cache_.ResetDroppedCount();
    VReportMessageParams message(kMsgLogLinesLost);
    message.AddInsertFormatted(u"%1!u!", static_cast<uint32_t>(dropped));
    message.SetTopic(2);
    if (router_) {
      router_->Route(message);
    } else {
      VRouteMessage(message);
    }
  }
  for (auto& line : cache_.TakeAll()) WriteLine(line);
}

void VW3CFileDestination::WriteLine(const std::u16string& line) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (daily_) RotateIfNewDay();
  if (file_.IsOpen() && Append(line + u"\r\n")) return;
  // A file that cannot take the line is given up until it is opened again; the line waits with
  // the others rather than being lost.
  file_.Close();
  cache_.Add(VUnicodeString(line));
}

void VW3CFileDestination::Log(const VW3CLogEvent& event) {
  const char16_t* topic = GetTopicName(event.topic);
  if (!topic) return;
  WriteLine(VFormatW3CRecord(event, Now(), topic));
}

void VW3CFileDestination::HandleMessage(IReportMessageParams& message) {
  uint32_t topic = static_cast<uint32_t>(message.GetTopic());
  if (!IsTopicEnabled(topic)) return;
  VW3CLogEvent event;
  event.source = GetName();
  event.topic = topic;
  event.status = message.GetMessageId();
  event.message = message.GetTextOneLineTrimmed();
  Log(event);
}
