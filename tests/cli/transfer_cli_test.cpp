// quillane task and quillane sync over real configuration folders and a test home's unit folder.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

using qtest::RunResult;
using qtest::TempDir;

class TransferCommands : public ::testing::Test {
 protected:
  RunResult Q(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), {"--config", dir / "cfg"});
    std::map<std::string, std::string> env = qtest::HostEnv(dir);
    env["XDG_RUNTIME_DIR"] = dir / "no-runtime";
    return qtest::Quillane(args, env, input);
  }
  std::string Units() const { return dir / "xdg/systemd/user/"; }
  TempDir dir;
};

TEST_F(TransferCommands, TasksAreSetShownScheduledAndDeleted) {
  RunResult set = Q({"task", "set", "Nightly backup", "Local Path", "/home/me", "Direction", "2",
                     "Filenames", "[\"*.txt\", \"*.log\"]"});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(Q({"task", "list"}).out, "Nightly backup\n");
  RunResult show = Q({"--json", "task", "show", "nightly backup", "Local Path", "Direction"});
  EXPECT_EQ(show.out, "[{\"name\": \"Local Path\", \"kind\": \"string\", \"value\": \"/home/me\", "
                      "\"stored\": true}, {\"name\": \"Direction\", \"kind\": \"dword\", \"value\": 2, "
                      "\"stored\": true}]\n");
  RunResult bad = Q({"task", "set", "Nightly backup", "Direction", "3", "Use Synchronize Session", "maybe"});
  EXPECT_EQ(bad.status, 3);
  EXPECT_NE(Q({"task", "show", "Nightly backup", "Direction"}).out.find("\t2\t"), std::string::npos);
  EXPECT_EQ(Q({"task", "set", "Nightly backup", "No Such", "1"}).status, 1);
  EXPECT_EQ(Q({"task", "set", "Nightly backup", "Direction"}).status, 2);

  RunResult missing = Q({"task", "register", "Other", "--start", "2027-01-02T03:04:05"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "quillane: There is no scheduled transfer named 'Other'.\n");
  RunResult badStart = Q({"task", "register", "Nightly backup", "--start", "2027-02-30T03:04:05"});
  EXPECT_EQ(badStart.status, 3);
  EXPECT_NE(badStart.err.find("'2027-02-30T03:04:05' is not a start time"), std::string::npos);
  EXPECT_EQ(Q({"task", "register", "Nightly backup", "--start", "2027-01-02T03:04:05", "--every",
               "yearly"}).status, 3);

  RunResult reg = Q({"--json", "task", "register", "Nightly backup", "--start",
                     "2099-01-02T03:04:05", "--every", "weekly"});
  ASSERT_EQ(reg.status, 0) << reg.err;
  EXPECT_EQ(reg.out, "{\"unit\": \"tolvane-lumbrel-Nightly\\\\x20backup.timer\", \"registered\": "
                     "true, \"next\": \"2099-01-02T03:04:05\"}\n");
  const std::string timer = Units() + "tolvane-lumbrel-Nightly\\x20backup.timer";
  EXPECT_NE(qtest::ReadFile(timer).find("OnCalendar=Fri 2099-01-02..31 03:04:05\n"), std::string::npos);
  std::string service = qtest::ReadFile(Units() + "tolvane-lumbrel-Nightly\\x20backup.service");
  EXPECT_NE(service.find("ExecStart=\"" QUILLANE_BINARY_DIR "/Lumbrel\" \"Nightly backup\"\n"),
            std::string::npos) << service;
  // The schedule read back is kept with the task.
  RunResult data = Q({"task", "show", "Nightly backup", "Task Data"});
  std::string expected;
  for (unsigned char c : std::string("Start=2099-01-02T03:04:05\nEvery=weekly\n")) {
    static const char kDigits[] = "0123456789abcdef";
    expected += {kDigits[c >> 4], kDigits[c & 15]};
  }
  EXPECT_NE(data.out.find(expected), std::string::npos) << data.out;
  EXPECT_EQ(Q({"task", "status", "Nightly backup"}).out,
            "unit\ttolvane-lumbrel-Nightly\\x20backup.timer\nregistered\ttrue\nnext\t2099-01-02T03:04:05\n");

  // Edited by hand: status says so and tells no next run.
  qtest::WriteFile(timer, qtest::ReadFile(timer) + "Persistent=true\n");
  RunResult edited = Q({"--json", "task", "status", "Nightly backup"});
  EXPECT_EQ(edited.status, 0);
  EXPECT_NE(edited.out.find("\"registered\": true, \"next\": null"), std::string::npos);
  EXPECT_NE(edited.err.find("quillane: warning: The unit file '" + timer + "' has been changed by hand"),
            std::string::npos) << edited.err;

  RunResult unreg = Q({"--json", "task", "unregister", "Nightly backup"});
  ASSERT_EQ(unreg.status, 0) << unreg.err;
  EXPECT_EQ(unreg.out, "{\"unit\": \"tolvane-lumbrel-Nightly\\\\x20backup.timer\", \"registered\": "
                       "false, \"next\": null}\n");
  EXPECT_FALSE(qtest::Exists(timer));
  EXPECT_EQ(Q({"task", "unregister", "Nightly backup"}).status, 1);
  EXPECT_EQ(Q({"--json", "task", "status", "Nightly backup"}).out,
            "{\"unit\": null, \"registered\": false, \"next\": null}\n");

  // Deleting a task takes its timer with it.
  ASSERT_EQ(Q({"task", "register", "Nightly backup", "--start", "2099-01-02T03:04:05"}).status, 0);
  RunResult del = Q({"task", "delete", "Nightly backup"});
  EXPECT_EQ(del.status, 0) << del.err;
  EXPECT_FALSE(qtest::Exists(timer));
  EXPECT_EQ(Q({"task", "list"}).out, "");
  EXPECT_EQ(Q({"task", "delete", "Nightly backup"}).status, 1);
}

TEST_F(TransferCommands, SynchronizeProfilesAreSetByNameOrDocumentAndShown) {
  RunResult none = Q({"sync", "set", "Docs", "Filter", "texts"});
  EXPECT_EQ(none.status, 3);
  EXPECT_EQ(none.err, "quillane: The synchronize profile 'Docs' has no task; a profile is kept only "
                      "with at least one task.\n");
  RunResult set = Q({"sync", "set", "Docs", "Task[0].Name", "Papers", "Task[0].Source[0].Path",
                     "/home/me", "Task[0].Source[0].Recurse", "false", "Filter", "texts"});
  ASSERT_EQ(set.status, 0) << set.err;
  RunResult gap = Q({"sync", "set", "Docs", "Task[0].Target[1].Path", "/x"});
  EXPECT_EQ(gap.status, 3);
  EXPECT_EQ(gap.err, "quillane: The value 'Task[0].Target[1].Path' cannot be set: Task[0].Target[0] "
                     "must exist first.\n");
  EXPECT_EQ(Q({"sync", "list"}).out, "Docs\n");
  EXPECT_EQ(Q({"sync", "show", "Docs"}).out,
            "string\tTask[0].Name\tPapers\n"
            "dword\tTask[0].Type\t0\n"
            "dword\tTask[0].MasterOverwrites\t0\n"
            "string\tTask[0].Source[0].Session\t\n"
            "string\tTask[0].Source[0].Path\t/home/me\n"
            "dword\tTask[0].Source[0].Recurse\t0\n"
            "string\tFilter\ttexts\n"
            "dword\tAutomatically Transfer Files\t0\n"
            "dword\tTransfer To Temporary File\t1\n");
  const std::string doc =
      "{\"name\": \"Docs\", \"last_sync\": null, \"tasks\": [{\"name\": \"Papers\", \"type\": 0, "
      "\"master_overwrites\": false, \"sources\": [{\"session\": \"\", \"path\": \"/home/me\", "
      "\"recurse\": false}], \"targets\": []}], \"filter\": \"texts\", \"auto_transfer\": false, "
      "\"temporary_file\": true}\n";
  EXPECT_EQ(Q({"--json", "sync", "show", "Docs"}).out, doc);

  // The document as shown, changed, read back from standard input.
  std::string changed = doc;
  changed.replace(changed.find("\"targets\": []"), 13,
                  "\"targets\": [{\"session\": \"Lab\\\\files\", \"path\": \"/srv\"}]");
  changed.replace(changed.find("\"last_sync\": null"), 17, "\"last_sync\": \"2026:12:06:10:00:00:000\"");
  RunResult fromDoc = Q({"sync", "set", "Docs", "--json"}, changed);
  ASSERT_EQ(fromDoc.status, 0) << fromDoc.err;
  EXPECT_EQ(Q({"--json", "sync", "show", "Docs"}).out, changed);
  std::string lines = qtest::ReadFile(dir / "cfg/SynchronizeDB/Docs.ini");
  EXPECT_NE(lines.find("S:\"Last Sync Time V2\"=2026:12:06:10:00:00:000\r\n"), std::string::npos);

  RunResult wrong = Q({"sync", "set", "Docs", "--json"}, "{\"tasks\": [{\"name\": 3}]}");
  EXPECT_EQ(wrong.status, 3);
  EXPECT_NE(wrong.err.find("tasks[0].name is not a string"), std::string::npos) << wrong.err;
  RunResult unknown = Q({"sync", "set", "Docs", "--json"}, "{\"tasks\": [], \"colour\": 1}");
  EXPECT_NE(unknown.err.find("colour is not a member"), std::string::npos) << unknown.err;
  EXPECT_EQ(Q({"--json", "sync", "show", "Docs"}).out, changed);  // refused: nothing changed

  EXPECT_EQ(Q({"sync", "delete", "Docs"}).status, 0);
  EXPECT_EQ(Q({"sync", "show", "Docs"}).status, 1);
  EXPECT_EQ(Q({"sync", "delete", "Docs"}).status, 1);
}

}  // namespace
