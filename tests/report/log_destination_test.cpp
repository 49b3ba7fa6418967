// Log destinations: W3C records and their escaping, daily files and their expiry, the ring of
// lines kept while no file can be opened, and the plain comma-separated log.
#include <gtest/gtest.h>

#include <thread>

#include "platform/win32_errors.h"
#include "report/log_file_destination.h"
#include "report/log_w3c_destination.h"
#include "support/test_support.h"

namespace {

// Records every message routed to it, whatever its topic.
class Capture : public VReportMessageDestination {
 public:
  struct Entry {
    uint32_t id;
    int32_t topic;
    std::vector<std::u16string> inserts;
  };
  void HandleMessage(IReportMessageParams& message) override {
    Entry entry{message.GetMessageId(), message.GetTopic(), {}};
    for (const auto& insert : message.GetInserts()) entry.inserts.push_back(insert);
    entries.push_back(entry);
  }
  std::vector<Entry> entries;
};

// A clock the test moves by hand.
struct TestClock {
  VLogTime now{2024, 3, 5, 10, 20, 30};
  VLogClock Get() {
    return [this] { return now; };
  }
};

std::string Header(const std::string& date) {
  return "#Version: 1.0\r\n#Date: " + date +
         "\r\n#Fields: date time x-source x-topic x-session c-ip c-port cs-username cs-method "
         "uri-stem sc-status cs-bytes sc-bytes bytes s-ip s-port x-message\r\n";
}

TEST(W3CRecord, FieldsAreEscapedSoThatTheyNeverHoldASeparator) {
  EXPECT_EQ(VW3CEscapeField(u""), u"-");
  EXPECT_EQ(VW3CEscapeField(u"GET"), u"GET");
  EXPECT_EQ(VW3CEscapeField(u"a b"), u"a%20b");
  EXPECT_EQ(VW3CEscapeField(u"100%"), u"100%25");
  EXPECT_EQ(VW3CEscapeField(u"say \"hi\""), u"say%20%22hi%22");
  EXPECT_EQ(VW3CEscapeField(u"\x01\t\r\n"), u"%01%09%0D%0A");
  EXPECT_EQ(VW3CEscapeField(u"\x7f\u00e9\u0100\u4e2d"), u"%7F%E9%100%4E2D");
  // The message keeps spaces and letters readable but can never end its quotes or its line.
  EXPECT_EQ(VW3CEscapeMessage(u"said \"no\" 100% caf\u00e9\r\n"),
            u"said %22no%22 100%25 caf\u00e9%0D%0A");
}

TEST(W3CRecord, RecordHasTheFieldsOfTheHeaderInOrder) {
  VW3CLogEvent event;
  event.source = u"sftp server";
  event.topic = 2;
  event.session = 17;
  event.clientAddress = u"10.0.0.5";
  event.clientPort = 50022;
  event.userName = u"ada";
  event.method = u"PUT";
  event.uriStem = u"/home/ada/a b.txt";
  event.status = 226;
  event.bytesReceived = 1024;
  event.bytesSent = 0;
  event.totalBytes = 5000000000ull;
  event.serverAddress = u"10.0.0.1";
  event.serverPort = 22;
  event.message = u"Upload \"done\"";
  VLogTime time{2024, 3, 5, 9, 8, 7};
  EXPECT_EQ(VFormatW3CRecord(event, time, u"Informational"),
            u"2024-03-05 09:08:07 sftp%20server Informational 17 10.0.0.5 50022 ada PUT "
            u"/home/ada/a%20b.txt 226 1024 0 5000000000 10.0.0.1 22 \"Upload %22done%22\"");
  VW3CLogEvent empty;
  EXPECT_EQ(VFormatW3CRecord(empty, time, u"Severe"),
            u"2024-03-05 09:08:07 - Severe - - 0 - - - 0 - - - - 0 \"\"");
}

// A folder, a clock, a router, and a capture of what the destinations report (once watched).
class LogFiles : public ::testing::Test {
 protected:
  ~LogFiles() override { router.RemoveDestination(&capture); }
  void Watch() {
    capture.AddTopic(0, u"Severe");
    router.AddDestination(&capture);
  }
  qtest::TempDir dir;
  TestClock clock;
  Capture capture;
  VSimpleReportRouter router;
};
using W3CDestination = LogFiles;
using FileDestination = LogFiles;

TEST_F(W3CDestination, DailyFileStartsWithTheHeaderAndHoldsOneRecordPerEvent) {
  qtest::MakeDirs(dir / "logs");
  VW3CFileDestination destination(u"Server", &router, VUnicodeString::FromUtf8(dir / "logs"),
                                  u"srv", 30, true, clock.Get());
  router.AddDestination(&destination);
  VReportMessageParams message(0x61380007);
  message.SetTopic(2);
  router.Route(message);
  VReportMessageParams other(0x61380007);
  other.SetTopic(5);  // not in the table
  router.Route(other);
  VW3CLogEvent event;
  event.topic = 0;
  event.message = u"x";
  destination.Log(event);

  std::string expected =
      Header("2024-03-05 10:20:30") +
      "2024-03-05 10:20:30 Server Informational - - 0 - - - 1631059975 - - - - 0 \"The Sessions "
      "Options that you are opening are being used by a locked session.  You will not be able to "
      "save changes to the session.\"\r\n"
      "2024-03-05 10:20:30 - Severe - - 0 - - - 0 - - - - 0 \"x\"\r\n";
  EXPECT_EQ(qtest::ReadFile(dir / "logs/srv20240305.log"), expected);

  // The next day goes to a new file; the old one is left as it was.
  clock.now = {2024, 3, 6, 0, 0, 1};
  destination.Log(event);
  EXPECT_EQ(qtest::ReadFile(dir / "logs/srv20240305.log"), expected);
  EXPECT_EQ(qtest::ReadFile(dir / "logs/srv20240306.log"),
            Header("2024-03-06 00:00:01") + "2024-03-06 00:00:01 - Severe - - 0 - - - 0 - - - - 0 \"x\"\r\n");
  // The same day of a later month is another day too.
  clock.now = {2024, 4, 6, 8, 0, 0};
  destination.Log(event);
  EXPECT_TRUE(qtest::Exists(dir / "logs/srv20240406.log"));
  router.RemoveDestination(&destination);
}

TEST_F(W3CDestination, ExpiryDeletesOldDailyFilesButSparesZeroMonthsAndDays) {
  const char* names[] = {"srv20240101.log",   // older than 30 days: deleted
                         "srv20240204.log",   // the oldest day kept
                         "srv20240203.log",   // one day older: deleted
                         "srv20240001.log",   // month 00: never deleted
                         "srv20240100.log",   // day 00: never deleted
                         "srv2024010.log",    // not the daily form
                         "srvabcd0101.log",   // not a date
                         "other20240101.log", "srv20240101.txt"};
  for (const char* name : names) qtest::WriteFile(dir / name, "old\r\n");
  VW3CFileDestination destination(u"", &router, VUnicodeString::FromUtf8(dir.Path()), u"srv", 30,
                                  true, clock.Get());
  ASSERT_TRUE(destination.ReopenDailyFile());
  EXPECT_FALSE(qtest::Exists(dir / "srv20240101.log"));
  EXPECT_FALSE(qtest::Exists(dir / "srv20240203.log"));
  for (const char* kept : {"srv20240204.log", "srv20240001.log", "srv20240100.log",
                           "srv2024010.log", "srvabcd0101.log", "other20240101.log",
                           "srv20240101.txt", "srv20240305.log"})
    EXPECT_TRUE(qtest::Exists(dir / kept)) << kept;

  // Without a number of days to keep, nothing is deleted.
  qtest::WriteFile(dir / "srv20200101.log", "old\r\n");
  VW3CFileDestination keepAll(u"", &router, VUnicodeString::FromUtf8(dir.Path()), u"srv", 0, true,
                              clock.Get());
  ASSERT_TRUE(keepAll.ReopenDailyFile());
  EXPECT_TRUE(qtest::Exists(dir / "srv20200101.log"));
}

TEST_F(W3CDestination, DailyPathOf260CharactersIsRefused) {
  Watch();
  // folder + "/" + prefix + "20240305.log": the prefix makes the whole 259, then 260.
  std::u16string folder = VUnicodeString::FromUtf8(dir.Path());
  std::u16string prefix(259 - folder.size() - 1 - 12, u'p');
  VW3CFileDestination fits(u"", &router, folder, prefix, 0, true, clock.Get());
  ASSERT_TRUE(fits.ReopenDailyFile());
  EXPECT_EQ(fits.GetPath().size(), 259u);
  EXPECT_TRUE(capture.entries.empty());

  VW3CFileDestination tooLong(u"", &router, folder, prefix + u"p", 0, true, clock.Get());
  EXPECT_FALSE(tooLong.ReopenDailyFile());
  EXPECT_FALSE(tooLong.IsOpen());
  ASSERT_EQ(capture.entries.size(), 1u);
  EXPECT_EQ(capture.entries[0].id, kMsgLogPathTooLong);
  EXPECT_EQ(capture.entries[0].topic, 0);
  std::u16string wouldBe = folder + u"/" + prefix + u"p20240305.log";
  EXPECT_EQ(capture.entries[0].inserts, std::vector<std::u16string>{wouldBe});
  EXPECT_FALSE(qtest::Exists(vtext::ToUtf8(wouldBe)));
}

TEST_F(FileDestination, LinesWaitInARingOf100AndTheLossIsReportedOnReopening) {
  Watch();
  capture.AddTopic(2, u"Informational");
  VFileDestination log(&router, clock.Get());
  log.AddTopic(200, u"info");
  router.AddDestination(&log);

  // The folder does not exist yet: the file cannot be created.
  std::string path = dir / "later/import.log";
  EXPECT_FALSE(log.OpenFile(VUnicodeString::FromUtf8(path)));
  ASSERT_EQ(capture.entries.size(), 1u);
  EXPECT_EQ(capture.entries[0].id, kMsgLogCreateFailed);
  EXPECT_EQ(capture.entries[0].topic, 0);
  EXPECT_EQ(capture.entries[0].inserts[0], vtext::FromUtf8(path));
  EXPECT_EQ(capture.entries[0].inserts[1], u"The system cannot find the path specified.");
  EXPECT_EQ(log.GetLastSystemError(), win32::kPathNotFound);
  // The report of the failure came back to the log itself (topic 0) and waits in the ring.
  EXPECT_EQ(log.GetCachedLineCount(), 1u);

  for (int i = 1; i <= 100; ++i) {
    VReportMessageParams message(0x61380007);
    message.SetTopic(200);
    message.SetUserValue(static_cast<uint64_t>(i));
    clock.now.second = i % 60;
    clock.now.minute = i / 60;
    router.Route(message);
  }
  // 101 lines: the first one (the failure report) was pushed out.
  EXPECT_EQ(log.GetCachedLineCount(), 100u);
  capture.entries.clear();
  qtest::MakeDirs(dir / "later");
  ASSERT_TRUE(log.OpenFile(VUnicodeString::FromUtf8(path)));
  ASSERT_EQ(capture.entries.size(), 1u);
  EXPECT_EQ(capture.entries[0].id, kMsgLogLinesLost);
  EXPECT_EQ(capture.entries[0].topic, 2);
  EXPECT_EQ(capture.entries[0].inserts, std::vector<std::u16string>{u"1"});

  std::string text = qtest::ReadFile(path);
  // No header and no byte-order mark in a plain log; the note of the loss comes first, then
  // the waiting lines in order.
  const std::string first = "2024-03-05 10:01:40,Informational,1 log entries were discarded while "
                            "the log file could not be opened.\r\n";
  ASSERT_EQ(text.substr(0, first.size()), first);
  const std::string line =
      ",info,The Sessions Options that you are opening are being used by a locked session.  You "
      "will not be able to save changes to the session.\r\n";
  EXPECT_EQ(text.substr(first.size(), 19 + line.size()), "2024-03-05 10:00:01" + line);
  size_t lines = 0;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(lines, 101u);
  EXPECT_EQ(text.substr(text.size() - 19 - line.size()), "2024-03-05 10:01:40" + line);
  EXPECT_EQ(log.GetCachedLineCount(), 0u);
  router.RemoveDestination(&log);
}

TEST_F(FileDestination, LinesAppendToAnExistingFileAndDailyModeWritesTheTimeOnly) {
  qtest::WriteFile(dir / "import.log", "earlier\r\n");
  VFileDestination log(&router, clock.Get());
  log.AddTopic(202, u"err");
  ASSERT_TRUE(log.OpenFile(VUnicodeString::FromUtf8(dir / "import.log")));
  VReportMessageParams message(0xE138002F);
  message.SetTopic(202);
  log.HandleMessage(message);
  EXPECT_EQ(qtest::ReadFile(dir / "import.log"),
            "earlier\r\n2024-03-05 10:20:30,err,The passphrases do not match.\r\n");
}

// Plays another program that holds the log file open for a while.
class HeldFile : public VW3CFileDestination {
 public:
  HeldFile(VReportMessageRouter* router, int heldFor)
      : VW3CFileDestination(u"", router, u"", u"", 0, false), heldFor_(heldFor) {}
  int pauses = 0;
  int pausedMilliseconds = 0;

 protected:
  vfs::File OpenFileForAppend(const std::string& path, uint32_t& error) override {
    if (heldFor_ < 0 || attempts_++ < heldFor_) {
      error = win32::kSharingViolation;
      return vfs::File();
    }
    return VW3CFileDestination::OpenFileForAppend(path, error);
  }
  void Pause(int milliseconds) override {
    ++pauses;
    pausedMilliseconds += milliseconds;
  }

 private:
  int heldFor_;
  int attempts_ = 0;
};

TEST_F(W3CDestination, FileHeldByAnotherProgramIsRetriedForAMinute) {
  qtest::WriteFile(dir / "held.log", "");
  Watch();

  HeldFile briefly(&router, 3);
  EXPECT_TRUE(briefly.OpenFile(VUnicodeString::FromUtf8(dir / "held.log")));
  EXPECT_EQ(briefly.pauses, 3);
  EXPECT_EQ(briefly.pausedMilliseconds, 150);
  EXPECT_TRUE(capture.entries.empty());

  HeldFile forever(&router, -1);
  EXPECT_FALSE(forever.OpenFile(VUnicodeString::FromUtf8(dir / "held.log")));
  EXPECT_EQ(forever.pauses, 1200);
  EXPECT_EQ(forever.pausedMilliseconds, 60000);
  ASSERT_EQ(capture.entries.size(), 1u);
  EXPECT_EQ(capture.entries[0].id, kMsgLogOpenFailed);
  EXPECT_EQ(capture.entries[0].inserts[1],
            u"The process cannot access the file because it is being used by another process.");
  EXPECT_EQ(forever.GetLastSystemError(), win32::kSharingViolation);
}

TEST_F(W3CDestination, FailureReportedBackToTheDestinationDoesNotLoop) {
  qtest::WriteFile(dir / "file", "a file where the folder should be");
  VW3CFileDestination destination(u"", &router, VUnicodeString::FromUtf8(dir / "file"), u"srv", 0,
                                  true, clock.Get());
  router.AddDestination(&destination);
  VW3CLogEvent event;
  event.message = u"one";
  destination.Log(event);
  // The event and the report of the failed open both wait for a file.
  EXPECT_FALSE(destination.IsOpen());
  EXPECT_EQ(destination.GetCachedLineCount(), 2u);
  destination.Log(event);  // same day: no second attempt, no second report
  EXPECT_EQ(destination.GetCachedLineCount(), 3u);
  router.RemoveDestination(&destination);
}

TEST_F(W3CDestination, LinesFromManyThreadsArriveWhole) {
  VW3CFileDestination destination(u"", &router, u"", u"", 0, false);
  ASSERT_TRUE(destination.OpenFile(VUnicodeString::FromUtf8(dir / "threads.log")));
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&destination, t] {
      VW3CLogEvent event;
      event.message = std::u16string(200, static_cast<char16_t>(u'a' + t));
      for (int i = 0; i < 250; ++i) destination.Log(event);
    });
  }
  for (auto& thread : threads) thread.join();
  std::string text = qtest::ReadFile(dir / "threads.log");
  size_t start = text.find("\r\n", text.find("#Fields")) + 2;
  size_t records = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    std::string line = text.substr(start, end - start);
    char letter = line[line.size() - 2];
    EXPECT_EQ(line.substr(line.size() - 202), "\"" + std::string(200, letter) + "\"");
    ++records;
    start = end + 2;
  }
  EXPECT_EQ(records, 1000u);
}

TEST(LogTime, DatesAndFormats) {
  VLogTime time{2024, 3, 1, 7, 5, 9};
  EXPECT_EQ(VLogDateNumber(time), 20240301);
  EXPECT_EQ(VLogDateNumberDaysBefore(time, 1), 20240229);
  EXPECT_EQ(VLogDateNumberDaysBefore(time, 366), 20230301);
  EXPECT_EQ(VFormatLogTime(time, u"%Y%m%d %H:%M:%S %%"), u"20240301 07:05:09 %");
}

}  // namespace
