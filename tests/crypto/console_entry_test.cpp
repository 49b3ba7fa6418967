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

// What each key does to the entry and the screen; an echo of null is not checked.
TEST(ConsoleEntry, KeysEditTheEntryAndOnlyAsterisksAreShown) {
  const struct {
    std::string_view keys;
    State state;
    std::u16string entry;
    const char* echo;
    const char* why;
  } cases[] = {
      {"ab\x7f" "c\r", State::Entered, u"ac", "P: **\b \b*\r\n", "backspace erases one"},
      {"a\b\b\bz\n", State::Entered, u"z", nullptr, "Ctrl+H, LF, and backspace on nothing"},
      {"ab\rcd", State::Entered, u"ab", nullptr, "keys after Enter are left for later"},
      {"ab\x03", State::Cancelled, u"", "P: **\r\n", "Ctrl+C cancels after a new line"},
      {"ab\x1b", State::Cancelled, u"", "P: **\r\n", "Esc cancels"},
      {"ab\x1b\x1b", State::Cancelled, u"", "P: **\r\n", "Esc twice"},
      {"ab\x1b\x7f", State::Cancelled, u"", "P: **\r\n", "Esc before a key that is no sequence"},
      {"ab", State::Cancelled, u"", "P: **\r\n", "the input ends"},
      // Arrows, Delete, F1 (CSI and SS3 forms), Alt+x, Tab and Ctrl+U.
      {"a\x1b[A\x1b[3~\x1bOP\x1bx\t\x15" "b\r", State::Entered, u"ab", "P: **\r\n",
       "keys without characters are ignored"},
      {"a\xe0H\xe0\x85" "b\r", State::Entered, u"ab", nullptr,
       "the Windows console's 224 prefix with its key (Up, F11) where it cannot be UTF-8"},
      {"\x80\xff" "c\r", State::Entered, u"c", nullptr, "bytes that start nothing"},
      // é (2 bytes), the Devanagari ह whose first byte is 224 (3 bytes), and 🔑 (4 bytes, 2 units).
      {"\xc3\xa9\xe0\xa4\xb9\xf0\x9f\x94\x91\r", State::Entered, u"é\u0939\U0001F511",
       "P: ***\r\n", "a multi-byte character is one character"},
      {"\xc3\xa9\xf0\x9f\x94\x91\x7f\r", State::Entered, u"é", nullptr, "backspace takes both units"},
      {"\xc3" "a\r", State::Entered, u"a", nullptr, "a broken sequence is dropped"},
      {"\rx\r", State::Entered, u"x", "P: \r\nP: *\r\n", "an empty entry is asked again"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    VConsoleEntryRun run = Type(c.keys);
    EXPECT_EQ(run.state, c.state);
    EXPECT_EQ(run.entry, c.entry);
    if (c.echo) {
      EXPECT_EQ(run.echo, c.echo);
    }
  }
  EXPECT_TRUE(Type("ab\r").entry.IsSensitive());
}

TEST(ConsoleEntry, OptionsShowTheEntryCapItOrAllowItEmpty) {
  VConsoleEntryOptions plain;
  plain.masked = false;
  EXPECT_EQ(Type("h\xc3\xa9\r", plain).echo, "P: h\xc3\xa9\r\n");
  VConsoleEntryOptions shortEntry;
  shortEntry.maxUnits = 3;
  VConsoleEntryRun capped = Type("abcd\r", shortEntry);
  EXPECT_EQ(capped.entry, u"abc");
  EXPECT_EQ(capped.echo, "P: ***\a\r\n");
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
