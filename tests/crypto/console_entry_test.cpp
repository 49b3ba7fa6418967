// Console prompts: what each key does to the entry and to the screen, and a real terminal on which
// a passphrase is typed and only asterisks appear.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "crypto/console_entry.h"
#include "support/test_support.h"

namespace {

using State = VConsoleEntryState;

VConsoleEntryRun Type(std::string_view keys, VConsoleEntryOptions options = {}) {
  return RunConsoleEntry(keys, u"P: ", options);
}

TEST(ConsoleEntry, TypedCharactersAreMaskedAndBackspaceErasesOne) {
  VConsoleEntryRun run = Type("ab\x7f" "c\r");
  EXPECT_EQ(run.state, State::Entered);
  EXPECT_EQ(run.entry, u"ac");
  EXPECT_TRUE(run.entry.IsSensitive());
  EXPECT_EQ(run.echo, "P: **\b \b*\r\n");
  EXPECT_EQ(Type("a\b\b\bz\n").entry, u"z") << "Ctrl+H, LF, and backspace on nothing";
  EXPECT_EQ(Type("ab\rcd").entry, u"ab") << "keys after Enter are left for later";

  VConsoleEntryOptions plain;
  plain.masked = false;
  EXPECT_EQ(Type("h\xc3\xa9\r", plain).echo, "P: h\xc3\xa9\r\n");
  VConsoleEntryOptions shortEntry;
  shortEntry.maxUnits = 3;
  VConsoleEntryRun capped = Type("abcd\r", shortEntry);
  EXPECT_EQ(capped.entry, u"abc");
  EXPECT_EQ(capped.echo, "P: ***\a\r\n");
}

TEST(ConsoleEntry, CtrlCAndEscCancelAfterANewLine) {
  for (std::string_view keys : {"ab\x03", "ab\x1b", "ab\x1b\x1b", "ab\x1b\x7f", "ab"}) {
    VConsoleEntryRun run = Type(keys);
    EXPECT_EQ(run.state, State::Cancelled) << keys;
    EXPECT_EQ(run.entry, u"");
    EXPECT_EQ(run.echo, "P: **\r\n");
  }
}

TEST(ConsoleEntry, KeysWithoutCharactersAreIgnored) {
  // Arrows, Delete, F1 (CSI and SS3 forms), Alt+x, Tab and Ctrl+U.
  VConsoleEntryRun run = Type("a\x1b[A\x1b[3~\x1bOP\x1bx\t\x15" "b\r");
  EXPECT_EQ(run.entry, u"ab");
  EXPECT_EQ(run.echo, "P: **\r\n");
  // The Windows console's 224 prefix with its key (Up, F11) where the bytes cannot be UTF-8.
  EXPECT_EQ(Type("a\xe0H\xe0\x85" "b\r").entry, u"ab");
  EXPECT_EQ(Type("\x80\xff" "c\r").entry, u"c") << "bytes that start nothing";
}

TEST(ConsoleEntry, AMultiByteCharacterIsOneCharacter) {
  // é (2 bytes), the Devanagari ह whose first byte is 224 (3 bytes), and 🔑 (4 bytes, 2 units).
  VConsoleEntryRun run = Type("\xc3\xa9\xe0\xa4\xb9\xf0\x9f\x94\x91\r");
  EXPECT_EQ(run.entry, u"é\u0939\U0001F511");
  EXPECT_EQ(run.echo, "P: ***\r\n");
  EXPECT_EQ(Type("\xc3\xa9\xf0\x9f\x94\x91\x7f\r").entry, u"é") << "backspace takes both units";
  EXPECT_EQ(Type("\xc3" "a\r").entry, u"a") << "a broken sequence is dropped";
}

TEST(ConsoleEntry, AnEmptyEntryIsAskedAgainUnlessAllowed) {
  VConsoleEntryRun again = Type("\rx\r");
  EXPECT_EQ(again.entry, u"x");
  EXPECT_EQ(again.echo, "P: \r\nP: *\r\n");
  VConsoleEntryOptions allow;
  allow.allowEmpty = true;
  VConsoleEntryRun empty = Type("\r", allow);
  EXPECT_EQ(empty.state, State::Entered);
  EXPECT_EQ(empty.entry, u"");
  EXPECT_EQ(RunConsoleEntry("", u"Line one\nTwo: ", allow).echo, "Line one\r\nTwo: \r\n");
}

// The peer program prompting on a pseudo-terminal, as a user at a terminal would see it.
class TerminalPrompt : public ::testing::Test {
 protected:
  void Start(const std::vector<std::string>& extra = {}) {
    result_ = dir_ / "result";
    std::vector<std::string> args = {QUILLANE_PASSCACHE_PEER, "--console", "Passphrase: ", result_};
    args.insert(args.end(), extra.begin(), extra.end());
    pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
    ASSERT_GE(pid_, 0);
    if (pid_ == 0) {
      std::vector<char*> argv;
      for (auto& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave_, 0);
    ASSERT_TRUE(ReadUntil("Passphrase: "));
  }

  void TearDown() override {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
  }

  // Reads what the program writes until `text` has appeared (false if it never does).
  bool ReadUntil(const std::string& text) {
    while (screen_.find(text) == std::string::npos) {
      struct pollfd ready {master_, POLLIN, 0};
      if (poll(&ready, 1, 20000) <= 0) return false;
      char chunk[256];
      ssize_t got = read(master_, chunk, sizeof chunk);
      if (got <= 0) return false;
      screen_.append(chunk, static_cast<size_t>(got));
    }
    return true;
  }

  int Wait() {
    int status = -1;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }

  bool Echoing() {
    struct termios mode {};
    return tcgetattr(slave_, &mode) == 0 && (mode.c_lflag & ECHO) && (mode.c_lflag & ICANON);
  }

  qtest::TempDir dir_;
  std::string result_;
  std::string screen_;
  int master_ = -1;
  int slave_ = -1;
  pid_t pid_ = -1;
};

TEST_F(TerminalPrompt, OnlyAsterisksAppearAndTheModeIsRestored) {
  Start();
  EXPECT_FALSE(Echoing()) << "raw mode while reading";
  ASSERT_EQ(write(master_, "ab\x7f" "c\r", 5), 5);
  ASSERT_TRUE(ReadUntil("\r\n"));
  EXPECT_EQ(Wait(), 0);
  EXPECT_EQ(screen_, "Passphrase: **\b \b*\r\n");
  EXPECT_EQ(qtest::ReadFile(result_), "entered\nac\nrestored\n");
  EXPECT_TRUE(Echoing());
}

TEST_F(TerminalPrompt, EscAloneCancels) {
  Start();
  ASSERT_EQ(write(master_, "x\x1b", 2), 2);
  ASSERT_TRUE(ReadUntil("*\r\n"));
  EXPECT_EQ(Wait(), 0);
  EXPECT_EQ(qtest::ReadFile(result_), "cancelled\n\nrestored\n");
}

TEST_F(TerminalPrompt, ASignalThatEndsTheProgramRestoresTheTerminal) {
  Start();
  ASSERT_EQ(write(master_, "se", 2), 2);
  ASSERT_TRUE(ReadUntil("**"));
  EXPECT_FALSE(Echoing());
  kill(pid_, SIGTERM);
  int status = Wait();
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_TRUE(Echoing());
}

}  // namespace
