// A log destination that writes W3C extended log records, to one fixed file or to one file a day
// in a folder (prefix + yyyymmdd + ".log"), deleting daily files older than a number of days.
// Lines written while no file can be opened wait in a ring of 100 and are written, after a note
// of how many were lost, once a file opens. The destination's own failures are routed as
// messages, never thrown.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "report/log_circular_cache.h"
#include "report/log_time.h"
#include "report/log_w3c_record.h"
#include "report/message_router.h"

// Message ids of the destination (texts in the host's catalogue).
constexpr uint32_t kMsgLogLinesLost = 0x61040099;      // %1 lines were dropped
constexpr uint32_t kMsgLogPathTooLong = 0xE1040048;    // %1 the would-be path
constexpr uint32_t kMsgLogOpenFailed = 0xE1040049;     // %1 path, %2 system error text
constexpr uint32_t kMsgLogCreateFailed = 0xE1040098;   // %1 path, %2 system error text

class VW3CFileDestination : public VReportMessageDestination {
 public:
  static constexpr size_t kCachedLines = 100;
  // Daily file paths of this many characters or more are refused.
  static constexpr size_t kMaxDailyPath = 260;
  static constexpr int kSharingRetries = 1200;
  static constexpr int kSharingRetryMilliseconds = 50;

  // `router` receives the destination's own error reports (the host's router when null).
  // With `daily`, files are made in `folder` as `prefix` + date + ".log", and files of that form
  // older than `daysToKeep` days are deleted (none when `daysToKeep` is 0 or less). `clock`
  // gives the local time (the system's when empty).
  VW3CFileDestination(const VUnicodeString& name, VReportMessageRouter* router,
                      const VUnicodeString& folder, const VUnicodeString& prefix, int daysToKeep,
                      bool daily, VLogClock clock = VLogClock());
  ~VW3CFileDestination() override = default;

  // Opens `path` as the file written from now on; false (reported through the router) when it
  // cannot be opened.
  bool OpenFile(const VUnicodeString& path);
  // Deletes expired daily files and opens today's.
  bool ReopenDailyFile();
  void CloseFile();

  // Writes a record of the message when its topic is in the table: source is the destination's
  // name, status the message id, the message its text on one line.
  void HandleMessage(IReportMessageParams& message) override;
  // Writes a record of the event when its topic is in the table.
  void Log(const VW3CLogEvent& event);

  bool IsOpen() const;
  VUnicodeString GetPath() const;
  // The Win32 code of the last failure to open or write the file (0 when none).
  uint32_t GetLastSystemError() const;
  size_t GetCachedLineCount() const;

 protected:
  // Appends a line (a line end is added), or keeps it in the ring while no file is open.
  void WriteLine(const std::u16string& line);
  VLogTime Now() const { return clock_(); }
  bool IsDaily() const { return daily_; }
  // New files of a W3C destination start with the header; plain files do not.
  virtual bool WritesHeader() const { return true; }

  // The two ways a file is opened, and the pause between tries while another program holds the
  // file; tests replace them to play that other program.
  virtual vfs::File CreateNewFile(const std::string& path, uint32_t& error);
  virtual vfs::File OpenFileForAppend(const std::string& path, uint32_t& error);
  virtual void Pause(int milliseconds);

 private:
  bool OpenPath(const VUnicodeString& path);
  void RotateIfNewDay();
  bool OpenToday(const VLogTime& now);
  void DeleteExpiredFiles(const VLogTime& now);
  bool Append(const std::u16string& text);
  void FlushCache();
  void Report(uint32_t id, const std::vector<VUnicodeString>& inserts, int32_t topic);

  mutable std::recursive_mutex mutex_;  // re-entered when a report comes back to this destination
  VReportMessageRouter* router_;
  VUnicodeString folder_;
  VUnicodeString prefix_;
  int daysToKeep_;
  bool daily_;
  VLogClock clock_;
  vfs::File file_;
  VUnicodeString path_;
  int fileDate_ = 0;  // yyyymmdd of the daily file in use (or tried last)
  uint32_t lastSystemError_ = 0;
  VCircularStringCache cache_;
};
