// Scheduled transfers as user timers in a test home: unit names for any task name, the files
// byte for byte, read back, changed, edited by hand and removed, with the real control program
// of the service manager (which links timers offline, and reports when no manager answers).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "environment/task_units.h"
#include "platform/app_info.h"
#include "report/log_time.h"
#include "support/test_support.h"

namespace {

bool Installed(const char* program) {
  return qtest::Run("/usr/bin/env", {program, "--version"}).status == 0;
}

class TaskUnitsTest : public ::testing::Test {
 protected:
  std::string UnitFolder() const { return home_ / "config/systemd/user"; }
  std::string Unit(const std::string& name) const { return UnitFolder() + "/" + name; }

  // systemd-analyze verify with a runtime folder of its own; true where it is not installed.
  void Verify(const std::string& path) {
    if (!Installed("systemd-analyze")) return;
    qtest::MakeDirs(home_ / "run");
    qtest::RunResult result = qtest::Run(
        "/usr/bin/env", {"systemd-analyze", "--user", "verify", path},
        {{"XDG_RUNTIME_DIR", home_ / "run"}, {"XDG_CONFIG_HOME", home_ / "config"}});
    EXPECT_EQ(result.status, 0) << path << "\n" << result.out << result.err;
  }

  qtest::TempDir home_;
  qtest::ScopedEnv config_{"XDG_CONFIG_HOME", home_ / "config"};
  qtest::ScopedEnv runtime_{"XDG_RUNTIME_DIR", home_ / "no-runtime"};
  TaskUnits units_;
};

TEST(TaskUnitNames, AreEscapedForTheServiceManagerAndAlwaysValid) {
  EXPECT_EQ(EscapeUnitNamePart("Nightly backup"), "Nightly\\x20backup");
  EXPECT_EQ(EscapeUnitNamePart("a/b"), "a-b");
  EXPECT_EQ(EscapeUnitNamePart("a-b"), "a\\x2db");
  EXPECT_EQ(EscapeUnitNamePart(".hidden.x"), "\\x2ehidden.x");
  EXPECT_EQ(EscapeUnitNamePart("\xC3\xA9t\xC3\xA9"), "\\xc3\\xa9t\\xc3\\xa9");
  EXPECT_EQ(EscapeUnitNamePart("%n\\@"), "\\x25n\\x5c\\x40");
  // The service manager's own escaping agrees, where it is installed.
  if (Installed("systemd-escape")) {
    const std::vector<std::string> names{"Nightly backup", "a/b", "a-b", ".hidden.x", "\xC3\xA9t\xC3\xA9",
                                         "%n\\@", "/", " blank ", "a//b", "x:y_z.1"};
    std::vector<std::string> args{"systemd-escape", "--"};
    args.insert(args.end(), names.begin(), names.end());
    qtest::RunResult result = qtest::Run("/usr/bin/env", args);
    std::string ours;
    for (const std::string& name : names) ours += (ours.empty() ? "" : " ") + EscapeUnitNamePart(name);
    EXPECT_EQ(result.out, ours + "\n");
  }
  EXPECT_EQ(TaskUnitStem("Docs", 1), "tolvane-lumbrel-Docs");
  EXPECT_EQ(TaskUnitStem("Docs", 2), "tolvane-lumbrel-Docs\\x20\\x282\\x29");
  // A long name is cut before the number, never inside an escape.
  std::string longName(120, 'x');
  longName += std::string(60, '\xC3');
  for (unsigned number : {1u, 2u, 12345u}) {
    std::string stem = TaskUnitStem(longName, number);
    EXPECT_LE(stem.size() + 8, 255u);
    EXPECT_EQ(stem.find('\\', stem.size() - 3), std::string::npos) << stem;
  }
  EXPECT_NE(TaskUnitStem(longName, 1), TaskUnitStem(longName + "y", 2));
}

TEST_F(TaskUnitsTest, ATaskIsRegisteredReadBackChangedAndRemoved) {
  const std::string task = "Nightly backup";
  const TaskSchedule daily{VLogTime{2026, 12, 20, 9, 30, 0}, TaskRepetition::Daily};
  TaskUnitReport report = units_.Register(task, daily, "/bin/true");
  ASSERT_TRUE(report.ok) << report.error.GetText().ToUtf8();
  EXPECT_EQ(report.unit, "tolvane-lumbrel-Nightly\\x20backup.timer");
  const std::string stem = "tolvane-lumbrel-Nightly\\x20backup";
  EXPECT_EQ(qtest::ReadFile(Unit(stem + ".service")),
            "# Written by the scheduled transfers of the file-transfer client; registering the task\n"
            "# again replaces this file.\n"
            "[Unit]\n"
            "Description=Scheduled transfer Nightly backup\n"
            "X-Tolvane-Task=Nightly backup\n"
            "\n"
            "[Service]\n"
            "Type=oneshot\n"
            "ExecStart=\"/bin/true\" \"Nightly backup\"\n");
  EXPECT_EQ(qtest::ReadFile(Unit(stem + ".timer")),
            "# Written by the scheduled transfers of the file-transfer client; registering the task\n"
            "# again replaces this file.\n"
            "[Unit]\n"
            "Description=Scheduled transfer Nightly backup\n"
            "X-Tolvane-Task=Nightly backup\n"
            "X-Tolvane-Start=2026-12-20T09:30:00\n"
            "X-Tolvane-Every=daily\n"
            "\n"
            "[Timer]\n"
            "OnCalendar=2026-12-20..31 09:30:00\n"
            "OnCalendar=2027/1-*-* 09:30:00\n"
            "AccuracySec=1s\n"
            "Unit=tolvane-lumbrel-Nightly\\x20backup.service\n"
            "\n"
            "[Install]\n"
            "WantedBy=timers.target\n");
  Verify(Unit(stem + ".timer"));
  Verify(Unit(stem + ".service"));
  if (Installed("systemctl")) {  // enabling links the timer whether a manager runs or not
    EXPECT_TRUE(qtest::Exists(Unit("timers.target.wants/" + stem + ".timer")));
  }

  TaskUnitStatus status = units_.Status("nightly BACKUP");
  EXPECT_TRUE(status.registered);
  EXPECT_FALSE(status.edited);
  EXPECT_EQ(status.unit, report.unit);
  ASSERT_TRUE(status.schedule);
  EXPECT_TRUE(SameSchedule(*status.schedule, daily));
  EXPECT_EQ(status.program, "/bin/true");

  // Registered again with another schedule: the same units, no complaint.
  const TaskSchedule hourly{VLogTime{2027, 1, 2, 3, 4, 5}, TaskRepetition::Hourly};
  report = units_.Register(task, hourly, "/bin/true");
  ASSERT_TRUE(report.ok);
  for (const auto& warning : report.warnings)
    EXPECT_NE(warning.GetMessageId(), kMsgTaskUnitEditedReplaced);
  status = units_.Status(task);
  ASSERT_TRUE(status.schedule);
  EXPECT_TRUE(SameSchedule(*status.schedule, hourly));
  Verify(Unit(stem + ".timer"));

  ASSERT_TRUE(units_.Unregister(task).ok);
  EXPECT_FALSE(qtest::Exists(Unit(stem + ".timer")));
  EXPECT_FALSE(qtest::Exists(Unit(stem + ".service")));
  EXPECT_FALSE(qtest::Exists(Unit("timers.target.wants/" + stem + ".timer")));
  EXPECT_FALSE(units_.Status(task).registered);
  TaskUnitReport again = units_.Unregister(task);
  EXPECT_FALSE(again.ok);
  EXPECT_EQ(again.error.GetMessageId(), kMsgTaskNotRegistered);
}

bool Has(const std::vector<VReportMessageParams>& warnings, uint32_t id) {
  for (const auto& warning : warnings)
    if (warning.GetMessageId() == id) return true;
  return false;
}

TEST_F(TaskUnitsTest, HandEditsAndHandRemovalsAreReportedNotPassedOver) {
  const TaskSchedule once{VLogTime{2027, 5, 6, 7, 8, 9}, TaskRepetition::Once};
  ASSERT_TRUE(units_.Register("Docs", once, "/bin/true").ok);
  const std::string timer = Unit("tolvane-lumbrel-Docs.timer");
  qtest::WriteFile(timer, qtest::ReadFile(timer) + "Persistent=true\n");
  TaskUnitStatus status = units_.Status("Docs");
  EXPECT_TRUE(status.edited);
  EXPECT_TRUE(Has(status.warnings, kMsgTaskUnitEdited));
  TaskUnitReport report = units_.Register("Docs", once, "/bin/true");
  ASSERT_TRUE(report.ok);
  EXPECT_TRUE(Has(report.warnings, kMsgTaskUnitEditedReplaced));
  EXPECT_FALSE(units_.Status("Docs").edited);

  std::remove(timer.c_str());  // the service still names the task
  report = units_.Unregister("Docs");
  ASSERT_TRUE(report.ok);
  EXPECT_TRUE(Has(report.warnings, kMsgTaskUnitAlreadyGone));
  EXPECT_FALSE(qtest::Exists(Unit("tolvane-lumbrel-Docs.service")));

  // Both files removed by hand: the link that enabled the timer is found by the task's unit name.
  ASSERT_TRUE(units_.Register("Docs", once, "/bin/true").ok);
  const std::string link = Unit("timers.target.wants/tolvane-lumbrel-Docs.timer");
  if (qtest::Exists(link)) {  // enabling needs the control program
    std::remove(timer.c_str());
    std::remove(Unit("tolvane-lumbrel-Docs.service").c_str());
    report = units_.Unregister("Docs");
    ASSERT_TRUE(report.ok) << report.error.GetText().ToUtf8();
    EXPECT_EQ(report.unit, "tolvane-lumbrel-Docs.timer");
    EXPECT_TRUE(Has(report.warnings, kMsgTaskUnitAlreadyGone));
    struct stat st;
    EXPECT_NE(lstat(link.c_str(), &st), 0);
  }
  EXPECT_EQ(units_.Unregister("Docs").error.GetMessageId(), kMsgTaskNotRegistered);
}

TEST_F(TaskUnitsTest, AUnitThatCannotBeReadStopsTheRegistrationWithNeitherFileChanged) {
  const TaskSchedule once{VLogTime{2027, 5, 6, 7, 8, 9}, TaskRepetition::Once};
  ASSERT_TRUE(units_.Register("Docs", once, "/bin/true").ok);
  const std::string service = Unit("tolvane-lumbrel-Docs.service");
  const std::string timer = Unit("tolvane-lumbrel-Docs.timer");
  const std::string serviceBefore = qtest::ReadFile(service);
  // The timer's name taken by a folder: the service still names the task, the timer is unreadable.
  std::remove(timer.c_str());
  qtest::MakeDirs(timer);
  TaskUnitReport report = units_.Register("Docs", once, "/bin/false");
  EXPECT_FALSE(report.ok);
  EXPECT_EQ(report.error.GetMessageId(), kMsgTaskUnitNotRead);
  EXPECT_EQ(qtest::ReadFile(service), serviceBefore);
  EXPECT_NE(serviceBefore.find("/bin/true"), std::string::npos);
}

TEST_F(TaskUnitsTest, AnyNameGetsUnitsOfItsOwn) {
  const TaskSchedule once{VLogTime{2027, 5, 6, 7, 8, 9}, TaskRepetition::Once};
  const std::string longName = std::string(200, 'x');
  const std::string names[] = {"a/b", "a-b", "/", "\xC3\xA9t\xC3\xA9 \"quoted\" %h $HOME \\ ",
                               " blank ", longName + "1", longName + "2"};
  // A file of another program under the first choice of a name is left alone.
  qtest::WriteFile(Unit("tolvane-lumbrel-a-b.timer"), "[Timer]\nOnCalendar=daily\n");
  for (const std::string& name : names) {
    TaskUnitReport report = units_.Register(name, once, "/bin/echo");
    ASSERT_TRUE(report.ok) << name << ": " << report.error.GetText().ToUtf8();
    Verify(Unit(report.unit));
  }
  EXPECT_EQ(qtest::ReadFile(Unit("tolvane-lumbrel-a-b.timer")), "[Timer]\nOnCalendar=daily\n");
  EXPECT_EQ(units_.FindStem("a/b"), "tolvane-lumbrel-a-b\\x20\\x282\\x29");
  EXPECT_EQ(units_.FindStem("a-b"), "tolvane-lumbrel-a\\x2db");
  EXPECT_NE(units_.FindStem(longName + "1"), units_.FindStem(longName + "2"));
  for (const std::string& name : names) {
    TaskUnitStatus status = units_.Status(name);
    EXPECT_TRUE(status.registered) << name;
    EXPECT_FALSE(status.edited) << name;
    std::string service = qtest::ReadFile(Unit(status.unit.substr(0, status.unit.size() - 6) + ".service"));
    EXPECT_EQ(ReadTaskUnitFields(service).task, name);
  }
  // The command line reaches the program with the name as it is.
  std::optional<std::string> stem = units_.FindStem(names[3]);
  ASSERT_TRUE(stem);
  EXPECT_NE(qtest::ReadFile(Unit(*stem + ".service"))
                .find("ExecStart=\"/bin/echo\" \"\xC3\xA9t\xC3\xA9 \\\"quoted\\\" %%h $$HOME \\\\ \"\n"),
            std::string::npos);
  for (const std::string& name : names) EXPECT_TRUE(units_.Unregister(name).ok) << name;
}

TEST_F(TaskUnitsTest, WithoutAServiceManagerTheFilesAreTheRegistrationAndTheReportSaysSo) {
  units_.SetControlProgram(home_ / "no-such-program");
  const TaskSchedule once{VLogTime{2027, 5, 6, 7, 8, 9}, TaskRepetition::Once};
  TaskUnitReport report = units_.Register("Docs", once, "/bin/true");
  ASSERT_TRUE(report.ok);
  EXPECT_TRUE(Has(report.warnings, kMsgServiceManagerNoAnswer));
  EXPECT_TRUE(units_.Status("Docs").registered);
  EXPECT_TRUE(units_.Unregister("Docs").ok);
}

// Where this user's service manager answers, a timer set a few seconds ahead runs its service
// once: the service runs a program that leaves a file named by its argument.
TEST(TaskUnitsLive, ATimerSetAheadRunsItsServiceOnce) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (!runtime || qtest::Run("/usr/bin/env", {"systemctl", "--user", "show-environment"}).status != 0)
    GTEST_SKIP() << "no user service manager answers";
  qtest::TempDir dir;
  // Runtime units are read by the running manager and gone when it stops; the timer's link among
  // the user's units goes when it is unregistered.
  TaskUnits units(std::string(runtime) + "/systemd/user");
  const std::string mark = dir / "fired";
  VLogTime now = VLocalTimeNow();
  if (now.second > 50) {  // keeps the time ahead within this minute
    std::this_thread::sleep_for(std::chrono::seconds(12));
    now = VLocalTimeNow();
  }
  VLogTime soon = now;
  soon.second += 5;
  TaskUnitReport report = units.Register(mark, {soon, TaskRepetition::Once}, "/usr/bin/touch");
  ASSERT_TRUE(report.ok) << report.error.GetText().ToUtf8();
  for (int i = 0; i < 40 && !qtest::Exists(mark); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_TRUE(qtest::Exists(mark));
  EXPECT_TRUE(units.Unregister(mark).ok);
}

}  // namespace
