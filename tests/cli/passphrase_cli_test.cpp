// quillane passphrase and the passphrase shared between real processes: starts that meet, a
// scheduled run, holders that die, objects another user made, a person at a terminal, and a
// change that re-encrypts what is on disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "crypto/passphrase_cache.h"
#include "crypto/v2_codec.h"
#include "environment/library_init.h"
#include "platform/file_system.h"
#include "support/peer_process.h"
#include "support/test_support.h"

namespace {

using qtest::RunResult;

// In a child just forked: becomes the host with `args`, `env` set over the inherited environment
// (an empty value removes a variable).
[[noreturn]] void ExecHost(const std::vector<std::string>& args,
                           const std::map<std::string, std::string>& env) {
  for (const auto& [name, value] : env) {
    if (value.empty()) unsetenv(name.c_str());
    else setenv(name.c_str(), value.c_str(), 1);
  }
  std::vector<char*> argv{const_cast<char*>(QUILLANE_CLI_PATH)};
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execv(QUILLANE_CLI_PATH, argv.data());
  _exit(127);
}

// A quillane process left running: its standard output is read line by line.
class Background {
 public:
  Background(const std::vector<std::string>& args, const std::map<std::string, std::string>& env) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      int null = open("/dev/null", O_RDWR);
      dup2(null, 0);
      dup2(null, 2);
      close(out[0]);
      close(out[1]);
      ExecHost(args, env);
    }
    close(out[1]);
    out_ = out[0];
  }
  ~Background() {
    if (pid_ > 0) Stop(SIGKILL);
    close(out_);
  }
  // The next line of output ("" when the process ended or said nothing for a long time).
  std::string Line() {
    while (buffered_.find('\n') == std::string::npos) {
      struct pollfd ready {out_, POLLIN, 0};
      if (poll(&ready, 1, 30000) <= 0) return "";
      char chunk[256];
      ssize_t got = read(out_, chunk, sizeof chunk);
      if (got <= 0) return "";
      buffered_.append(chunk, static_cast<size_t>(got));
    }
    size_t end = buffered_.find('\n');
    std::string line = buffered_.substr(0, end);
    buffered_.erase(0, end + 1);
    return line;
  }
  bool Running() { return waitpid(pid_, nullptr, WNOHANG) == 0; }
  int Stop(int signal) {
    kill(pid_, signal);
    return Wait();
  }
  int Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string buffered_;
};

class PassphraseCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    auto full = vfs::FullPath(dir / "cfg");
    ASSERT_TRUE(full.ok());
    cfg_ = *full;
    // The names the command line uses for this folder: Karvell, not integrated, this user.
    names_ = BuildPassphraseCacheNames(3, false, geteuid(),
                                       ConfigPassphraseCacheScope(VUnicodeString::FromUtf8(cfg_)));
    qtest::MakeDirs(dir / "tmp");
  }
  void TearDown() override {
    EXPECT_FALSE(qtest::SharedObjectExists(names_.mapping)) << "left in /dev/shm";
    qtest::RemoveSharedObjects(names_);
  }
  std::map<std::string, std::string> Env(std::map<std::string, std::string> extra = {}) {
    std::map<std::string, std::string> env = qtest::HostEnv(dir);
    env["TMPDIR"] = dir / "tmp";
    for (auto& [name, value] : extra) env[name] = value;
    return env;
  }
  std::vector<std::string> Args(std::vector<std::string> args) {
    args.insert(args.begin(), {"--config", cfg_});
    return args;
  }
  RunResult Q(std::vector<std::string> args, std::map<std::string, std::string> extra = {}) {
    return qtest::Quillane(Args(std::move(args)), Env(std::move(extra)));
  }
  // The configuration gets the passphrase `passphrase` and a session "s" with a secret.
  void MakeConfiguration(const std::string& passphrase) {
    ASSERT_EQ(Q({"--passphrase-env", "P", "passphrase", "init"}, {{"P", passphrase}}).status, 0);
    ASSERT_EQ(Q({"session", "create", "s"}).status, 0);
    RunResult set = Q({"--passphrase-env", "P", "session", "set", "s", "Monitor Password V2", "mon"},
                      {{"P", passphrase}});
    ASSERT_EQ(set.status, 0) << set.err;
  }
  std::string Secrets(std::vector<std::string> options = {}) {
    options.insert(options.end(), {"--json", "session", "show", "s", "Monitor Password V2", "--secrets"});
    return Q(options).out;
  }

  // The cache's objects, made first as another user's (or readable by others): never to be used.
  void MakeForeignSharedObjects() {
    for (const std::string& name : {names_.mapping, names_.lock}) {
      int fd = shm_open(("/" + name).c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
      ASSERT_GE(fd, 0);
      // Root can give it away; anybody can leave it readable to others.
      if (geteuid() == 0) ASSERT_EQ(fchown(fd, 4242, static_cast<gid_t>(-1)), 0);
      else ASSERT_EQ(fchmod(fd, 0644), 0);
      close(fd);
    }
  }

  qtest::TempDir dir;
  std::string cfg_;
  VSharedMemoryNames names_;
};

TEST_F(PassphraseCommands, TheSecondOfTwoStartsWaitsAndFindsThePassphraseSettled) {
  MakeConfiguration("pw");
  qtest::PeerProcess first(names_);
  ASSERT_EQ(first.Ask("open"), "shared");
  ASSERT_EQ(first.Ask("take-busy"), "taken");
  // A script that could go without the passphrase is told why it cannot wait any longer.
  RunResult script = Q({"--json", "passphrase", "init", "--disable-if-needed"});
  EXPECT_EQ(script.status, 3);
  EXPECT_NE(script.out.find("\"id\": \"0xE1380046\""), std::string::npos) << script.out;
  Background second(Args({"--no-prompt", "passphrase", "init"}), Env());
  EXPECT_TRUE(second.Running());  // waiting for the first
  ASSERT_EQ(first.Ask("store pw"), "ok");
  ASSERT_EQ(first.Ask("release-busy"), "ok");
  EXPECT_EQ(second.Line(), "known");
  EXPECT_EQ(second.Wait(), 0);
  first.Finish();
}

TEST_F(PassphraseCommands, AScheduledRunNeedsAnotherProcessToHoldThePassphrase) {
  MakeConfiguration("pw");
  RunResult refused = Q({"--no-prompt", "--json", "passphrase", "init"});
  EXPECT_EQ(refused.status, 3);
  EXPECT_NE(refused.out.find("\"id\": \"0xE1380035\""), std::string::npos);
  EXPECT_NE(Secrets({"--no-prompt"}).find("\"plaintext\": \"\""), std::string::npos);

  Background hold(Args({"--passphrase-env", "P", "passphrase", "hold"}), Env({{"P", "pw"}}));
  ASSERT_EQ(hold.Line(), "ready");
  EXPECT_EQ(Q({"--no-prompt", "passphrase", "init"}).out, "known\n");
  EXPECT_NE(Secrets({"--no-prompt"}).find("\"plaintext\": \"mon\""), std::string::npos);
  EXPECT_NE(Q({"--json", "passphrase", "status"}).out.find("\"state\": \"known\", \"check_value\": true"),
            std::string::npos);
  // Nothing may change it while another process uses it.
  RunResult change = Q({"--json", "--passphrase-env", "P", "passphrase", "change", "--new-env", "N"},
                       {{"P", "pw"}, {"N", "new"}});
  EXPECT_EQ(change.status, 3);
  EXPECT_NE(change.out.find("0xE13F0082"), std::string::npos);
  EXPECT_EQ(hold.Stop(SIGTERM), 0);  // lets the cache go, and with it the shared object
  EXPECT_FALSE(qtest::SharedObjectExists(names_.mapping));
  EXPECT_EQ(Q({"--no-prompt", "passphrase", "init"}).status, 3);
}

TEST_F(PassphraseCommands, AHolderKilledWithTheLockOrTheBusyFlagBlocksNobody) {
  MakeConfiguration("pw");
  for (const char* command : {"hold-lock", "take-busy"}) {
    qtest::PeerProcess peer(names_);
    ASSERT_EQ(peer.Ask("open"), "shared");
    ASSERT_EQ(peer.Ask(command), std::string(command) == "hold-lock" ? "locked" : "taken");
    peer.Kill(SIGKILL);
    RunResult init = Q({"--no-prompt", "--passphrase-env", "P", "passphrase", "init"}, {{"P", "pw"}});
    EXPECT_EQ(init.status, 0) << command << ": " << init.err;
  }
  Background hold(Args({"--passphrase-env", "P", "passphrase", "hold"}), Env({{"P", "pw"}}));
  ASSERT_EQ(hold.Line(), "ready");
  hold.Stop(SIGKILL);
  EXPECT_EQ(Q({"--no-prompt", "--passphrase-env", "P", "passphrase", "init"}, {{"P", "pw"}}).status, 0);
}

TEST_F(PassphraseCommands, ObjectsMadeFirstByAnotherUserAreNeverUsed) {
  ASSERT_NO_FATAL_FAILURE(MakeForeignSharedObjects());
  RunResult init = Q({"--passphrase-env", "P", "passphrase", "init"}, {{"P", "pw"}});
  EXPECT_EQ(init.status, 0) << init.err;
  EXPECT_NE(Q({"--json", "passphrase", "status"}).out.find("\"shared\": false"), std::string::npos);
  struct stat info {};
  ASSERT_EQ(stat(("/dev/shm/" + names_.mapping).c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 0) << "nothing was written into the foreign object";
  qtest::RemoveSharedObjects(names_);
}

TEST_F(PassphraseCommands, AHoldThatCannotShareThePassphraseSaysWhyAndFails) {
  ASSERT_EQ(Q({"--passphrase-env", "P", "passphrase", "init"}, {{"P", "pw"}}).status, 0);
  ASSERT_NO_FATAL_FAILURE(MakeForeignSharedObjects());
  RunResult hold =
      Q({"--passphrase-env", "P", "passphrase", "hold", "--seconds", "30"}, {{"P", "pw"}});
  EXPECT_EQ(hold.status, 3);
  EXPECT_EQ(hold.out.find("ready"), std::string::npos) << hold.out;
  EXPECT_NE(hold.err.find("is not shared with this user's later commands"), std::string::npos)
      << hold.err;
  // The refused object is named: its product, user and configuration part is common to both.
  std::string ours = names_.mapping.substr(names_.mapping.find('}') + 1);
  EXPECT_NE(hold.err.find(ours), std::string::npos) << hold.err;

  RunResult json = Q({"--json", "--passphrase-env", "P", "passphrase", "hold", "--seconds", "30"},
                     {{"P", "pw"}});
  EXPECT_EQ(json.status, 3);
  EXPECT_NE(json.out.find("\"id\": \"0xE13F0083\""), std::string::npos) << json.out;
  qtest::RemoveSharedObjects(names_);

  // Shared as it should be, the same command holds it.
  Background held(Args({"--passphrase-env", "P", "passphrase", "hold", "--seconds", "30"}),
                  Env({{"P", "pw"}}));
  EXPECT_EQ(held.Line(), "ready");
  EXPECT_NE(Q({"--json", "passphrase", "status"}).out.find("\"shared\": true"), std::string::npos);
  EXPECT_EQ(held.Stop(SIGTERM), 0);
}

// quillane on a pseudo-terminal, as a person at a terminal would use it.
struct Terminal {
  Terminal(const std::vector<std::string>& args, const std::map<std::string, std::string>& env) {
    pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
      ExecHost(args, env);
    }
  }
  ~Terminal() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    close(master);
  }
  bool ReadUntil(const std::string& text) {
    while (screen.find(text, seen) == std::string::npos) {
      struct pollfd ready {master, POLLIN, 0};
      if (poll(&ready, 1, 20000) <= 0) return false;
      char chunk[256];
      ssize_t got = read(master, chunk, sizeof chunk);
      if (got <= 0) return false;
      screen.append(chunk, static_cast<size_t>(got));
    }
    seen = screen.find(text, seen) + text.size();
    return true;
  }
  void Type(const std::string& keys) { ASSERT_EQ(write(master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size())); }
  int Wait() {
    ReadUntil("\x01never");  // drains what is left
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  pid_t pid = -1;
  int master = -1;
  std::string screen;
  size_t seen = 0;
};

TEST_F(PassphraseCommands, APersonAtATerminalSeesOnlyAsterisks) {
  {
    Terminal tty(Args({"passphrase", "init"}), Env());
    ASSERT_TRUE(tty.ReadUntil("Create configuration passphrase: "));
    tty.Type("abx\x7f" "c\r");
    ASSERT_TRUE(tty.ReadUntil("Re-enter configuration passphrase: "));
    tty.Type("abc\r");
    EXPECT_EQ(tty.Wait(), 0);
    EXPECT_NE(tty.screen.find("Create configuration passphrase: ***\b \b*\r\n"), std::string::npos);
    EXPECT_EQ(tty.screen.find("ab"), std::string::npos) << tty.screen;
    EXPECT_NE(tty.screen.find("known"), std::string::npos);
  }
  EXPECT_EQ(Q({"--passphrase-env", "P", "passphrase", "check"}, {{"P", "abc"}}).status, 0);
  {
    Terminal tty(Args({"passphrase", "init"}), Env());
    ASSERT_TRUE(tty.ReadUntil("Configuration passphrase: "));
    tty.Type("abd\r");
    ASSERT_TRUE(tty.ReadUntil("The passphrase that was entered is not correct."));
    ASSERT_TRUE(tty.ReadUntil("Configuration passphrase: "));
    tty.Type("\x1b");  // Esc gives up
    EXPECT_EQ(tty.Wait(), 3);
  }
  // A change asked for earlier cannot be carried out on the command line.
  ASSERT_EQ(Q({"passphrase", "request-change", "on"}).status, 0);
  Terminal tty(Args({"passphrase", "init"}), Env());
  EXPECT_EQ(tty.Wait(), 3);
  EXPECT_NE(tty.screen.find("cannot be changed on the command line"), std::string::npos);
}

TEST_F(PassphraseCommands, ASecretTypedForValueStdinShowsOnlyAsterisks) {
  MakeConfiguration("pw");
  Terminal tty(Args({"--passphrase-env", "P", "session", "set", "s", "Monitor Password V2",
                     "--value-stdin"}),
               Env({{"P", "pw"}}));
  ASSERT_TRUE(tty.ReadUntil("Value: "));
  tty.Type("t0p\r");
  EXPECT_EQ(tty.Wait(), 0) << tty.screen;
  EXPECT_NE(tty.screen.find("Value: ***"), std::string::npos) << tty.screen;
  EXPECT_EQ(tty.screen.find("t0p"), std::string::npos) << tty.screen;
  RunResult shown = Q({"--passphrase-env", "P", "--json", "session", "show", "s",
                       "Monitor Password V2", "--secrets"},
                      {{"P", "pw"}});
  EXPECT_NE(shown.out.find("\"plaintext\": \"t0p\""), std::string::npos) << shown.out;
}

// Every "02:" text of the configuration folder's files, by file.
std::vector<std::pair<std::string, std::string>> EncryptedTexts(const std::string& folder) {
  std::vector<std::pair<std::string, std::string>> texts;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::string bytes = qtest::ReadFile(entry.path());
    for (size_t at = bytes.find("=02:"); at != std::string::npos; at = bytes.find("=02:", at + 1))
      texts.emplace_back(entry.path().filename(), bytes.substr(at + 1, bytes.find('\r', at) - at - 1));
  }
  return texts;
}

bool Decrypts(const std::string& text, const char16_t* passphrase) {
  VUnicodeString plaintext;
  VReportMessageParams error;
  return CryptUtils::DecryptV2String(VUnicodeString::FromUtf8(text), passphrase, plaintext, error);
}

TEST_F(PassphraseCommands, AChangeReEncryptsEverySecretOnDiskAndNamesWhatItCouldNot) {
  MakeConfiguration("old");
  std::map<std::string, std::string> old = {{"P", "old"}, {"N", "new"}};
  ASSERT_EQ(Q({"--passphrase-env", "P", "session", "create", "Lab/r"}, old).status, 0);
  ASSERT_EQ(Q({"--passphrase-env", "P", "session", "set", "Lab/r", "Monitor Password V2", "x"}, old).status, 0);
  ASSERT_EQ(Q({"--passphrase-env", "P", "firewall", "set", "fw", "Firewall Type", "HTTP"}, old).status, 0);
  ASSERT_EQ(Q({"--passphrase-env", "P", "firewall", "set", "fw", "Firewall Password V2", "fwpw"}, old).status, 0);
  ASSERT_EQ(Q({"session", "create", "ro"}).status, 0);
  ASSERT_EQ(Q({"--passphrase-env", "P", "session", "set", "ro", "Monitor Password V2", "y"}, old).status, 0);
  chmod((cfg_ + "/Sessions/ro.ini").c_str(), 0444);

  RunResult wrong = Q({"--passphrase-env", "N", "passphrase", "change", "--new-env", "N"}, old);
  EXPECT_EQ(wrong.status, 3);
  RunResult change = Q({"--json", "--passphrase-env", "P", "passphrase", "change", "--new-env", "N"}, old);
  EXPECT_EQ(change.status, 3);
  EXPECT_NE(change.out.find("{\"sessions\": 4, \"firewalls\": 1, \"failed\": [{\"kind\": \"session\", "
                            "\"name\": \"ro\""),
            std::string::npos) << change.out;
  EXPECT_NE(change.err.find("could not be re-encrypted"), std::string::npos);

  auto texts = EncryptedTexts(cfg_);
  ASSERT_EQ(texts.size(), 5u);  // the check value, three sessions' secrets, the firewall's
  for (const auto& [file, text] : texts) {
    bool leftBehind = file == "ro.ini";
    EXPECT_EQ(Decrypts(text, u"new"), !leftBehind) << file;
    EXPECT_EQ(Decrypts(text, u"old"), leftBehind) << file;
  }
  EXPECT_EQ(Q({"--passphrase-env", "N", "passphrase", "check"}, old).status, 0);
  chmod((cfg_ + "/Sessions/ro.ini").c_str(), 0644);
}

// A configuration under "old" with `count` sessions holding a secret each and a firewall with a
// password, and a change to "new" killed once it has carried some of them but not all.
class StoppedChange : public PassphraseCommands {
 protected:
  static constexpr int kSessions = 200;
  void SetUp() override {
    PassphraseCommands::SetUp();
    MakeConfiguration("old");
    std::string session = qtest::ReadFile(cfg_ + "/Sessions/s.ini");
    for (int i = 0; i < kSessions; ++i)
      qtest::WriteFile(cfg_ + "/Sessions/s" + std::to_string(i) + ".ini", session);
    std::vector<std::string> firewall{"--passphrase-env", "P", "firewall", "set", "fw"};
    ASSERT_EQ(Q(Plus(firewall, {"Firewall Type", "HTTP"}), keys_).status, 0);
    ASSERT_EQ(Q(Plus(firewall, {"Firewall Password V2", "fwpw"}), keys_).status, 0);
  }
  static std::vector<std::string> Plus(std::vector<std::string> args,
                                       const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }
  // Secrets of the sessions and the firewall (not the global configuration's values).
  std::vector<std::string> Secrets() {
    std::vector<std::string> texts;
    // A writer killed between writing and renaming leaves its temporary file, which is no item.
    for (const auto& [file, text] : EncryptedTexts(cfg_))
      if (file != "Global.ini" && file[0] != '.') texts.push_back(text);
    return texts;
  }
  size_t CountUnder(const char16_t* passphrase) {
    size_t count = 0;
    for (const std::string& text : Secrets()) count += Decrypts(text, passphrase) ? 1 : 0;
    return count;
  }
  // Starts the change and kills it once a few secrets are under the new passphrase.
  void KillPartWay() {
    const std::string before = qtest::ReadFile(cfg_ + "/Sessions/s.ini");
    Background change(Args({"--passphrase-env", "P", "passphrase", "change", "--new-env", "N"}),
                      Env(keys_));
    int carried = 0;
    for (int round = 0; round < 20000 && carried < 5; ++round) {
      carried = 0;
      for (int i = 0; i < kSessions; ++i)
        if (qtest::ReadFile(cfg_ + "/Sessions/s" + std::to_string(i) + ".ini") != before) ++carried;
    }
    change.Stop(SIGKILL);
    total_ = Secrets().size();
    ASSERT_EQ(total_, static_cast<size_t>(kSessions + 2)) << Listing();  // s, copies, firewall
    size_t underNew = CountUnder(u"new");
    ASSERT_GE(underNew, 5u);
    ASSERT_LT(underNew, total_) << "the change ended before it was stopped";
    EXPECT_EQ(CountUnder(u"old"), total_ - underNew);  // each secret under one or the other
    // The global configuration says which change was under way.
    std::string global = qtest::ReadFile(cfg_ + "/Global.ini");
    EXPECT_NE(global.find("S:\"Config Passphrase Change\"=02:"), std::string::npos) << global;
    EXPECT_EQ(Q({"--passphrase-env", "P", "passphrase", "check"}, keys_).status, 0);
  }
  std::string Listing() {
    std::string names;
    for (const auto& [file, text] : EncryptedTexts(cfg_)) names += file + " ";
    return names;
  }
  void ExpectFinished() {
    EXPECT_EQ(CountUnder(u"new"), total_);
    EXPECT_EQ(Q({"--passphrase-env", "N", "passphrase", "check"}, keys_).status, 0);
    EXPECT_EQ(qtest::ReadFile(cfg_ + "/Global.ini").find("Config Passphrase Change\""),
              std::string::npos);
    RunResult shown = Q({"--passphrase-env", "N", "--json", "session", "show", "s7",
                         "Monitor Password V2", "--secrets"}, keys_);
    EXPECT_NE(shown.out.find("\"plaintext\": \"mon\""), std::string::npos) << shown.out;
  }
  std::map<std::string, std::string> keys_ = {{"P", "old"}, {"N", "new"}, {"C", "third"}};
  size_t total_ = 0;
};

TEST_F(StoppedChange, RunAgainItFindsWhatWasDoneAndReportsNoFailure) {
  KillPartWay();
  RunResult again =
      Q({"--json", "--passphrase-env", "P", "passphrase", "change", "--new-env", "N"}, keys_);
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_NE(again.out.find("\"failed\": []"), std::string::npos) << again.out;
  ExpectFinished();
}

TEST_F(StoppedChange, TheNextStartGivenTheNewPassphraseFinishesIt) {
  KillPartWay();
  RunResult init = Q({"--passphrase-env", "N", "passphrase", "init"}, keys_);
  EXPECT_EQ(init.status, 0) << init.err;
  ExpectFinished();
}

TEST_F(StoppedChange, ThePersonWhoTypesTheNewPassphraseAtTheNextStartFinishesIt) {
  KillPartWay();
  Terminal tty(Args({"passphrase", "init"}), Env());
  ASSERT_TRUE(tty.ReadUntil("Configuration passphrase: "));
  tty.Type("new\r");
  EXPECT_EQ(tty.Wait(), 0) << tty.screen;
  ExpectFinished();
}

TEST_F(StoppedChange, AChangeFromItsNewPassphraseFinishesItFirst) {
  KillPartWay();
  RunResult onwards =
      Q({"--json", "--passphrase-env", "N", "passphrase", "change", "--new-env", "C"}, keys_);
  EXPECT_EQ(onwards.status, 0) << onwards.err;
  EXPECT_EQ(CountUnder(u"third"), total_);
  EXPECT_EQ(Q({"--passphrase-env", "C", "passphrase", "check"}, keys_).status, 0);
  EXPECT_EQ(qtest::ReadFile(cfg_ + "/Global.ini").find("Config Passphrase Change\""),
            std::string::npos);
}

TEST_F(StoppedChange, AChangeToAThirdPassphraseWaitsUntilItIsFinished) {
  KillPartWay();
  const std::vector<std::string> before = Secrets();
  RunResult third = Q({"--passphrase-env", "P", "passphrase", "change", "--new-env", "C"}, keys_);
  EXPECT_EQ(third.status, 3);
  EXPECT_NE(third.err.find("was stopped part way"), std::string::npos) << third.err;
  EXPECT_EQ(Secrets(), before);
  // The old passphrase still opens what it held, with a word on the rest, and the stopped change
  // can still be finished.
  EXPECT_EQ(Q({"--passphrase-env", "P", "passphrase", "check"}, keys_).status, 0);
  RunResult old = Q({"--passphrase-env", "P", "session", "show", "s", "Rows"}, keys_);
  EXPECT_EQ(old.status, 0);
  EXPECT_NE(old.err.find("open only with the new passphrase"), std::string::npos) << old.err;
  EXPECT_EQ(Q({"--passphrase-env", "P", "passphrase", "change", "--new-env", "N"}, keys_).status, 0);
  ExpectFinished();
}

TEST_F(PassphraseCommands, FirewallsAreListedShownChangedAndDeleted) {
  EXPECT_EQ(Q({"firewall", "list"}).out, "None\n");
  // An older password written by a previous release is carried by the first pass.
  RunResult encoded = qtest::Quillane(Args({"secret", "encode", "--form", "encoded"}), Env(), "legacy");
  ASSERT_EQ(encoded.status, 0);
  qtest::WriteFile(cfg_ + "/Firewalls/old.ini",
                   "\xEF\xBB\xBFS:\"Firewall Type\"=http_basicauth\r\nS:\"Firewall Password\"=" +
                       encoded.out.substr(0, encoded.out.size() - 1) + "\r\n");
  ASSERT_EQ(Q({"--passphrase-env", "P", "passphrase", "init"}, {{"P", "pw"}}).status, 0);
  std::string lines = qtest::ReadFile(cfg_ + "/Firewalls/old.ini");
  EXPECT_NE(lines.find("S:\"Firewall Password\"=\r\n"), std::string::npos);
  RunResult shown = Q({"--json", "--passphrase-env", "P", "firewall", "show", "old", "--secrets"}, {{"P", "pw"}});
  EXPECT_EQ(shown.out.find("{\"type_number\": 6, \"settings\": [{\"name\": \"Firewall Type\""), 0u);
  EXPECT_NE(shown.out.find("\"Firewall Port\", \"kind\": \"dword\", \"value\": 1080"), std::string::npos);
  EXPECT_NE(shown.out.find("\"plaintext\": \"legacy\""), std::string::npos);

  EXPECT_EQ(Q({"firewall", "set", "None", "Firewall Address", "x"}).status, 3);
  EXPECT_EQ(Q({"firewall", "set", "new", "Firewall Address", "proxy"}).status, 0);
  // A type name no type has is refused (it would load as no firewall at all); case does not matter.
  RunResult badType = Q({"firewall", "set", "new", "Firewall Type", "socks5"});
  EXPECT_EQ(badType.status, 3);
  EXPECT_NE(badType.err.find("'socks5' is not a firewall type. The types are: None, "), std::string::npos) << badType.err;
  EXPECT_EQ(Q({"firewall", "set", "new", "Firewall Type", "SOCKSV5_USERPASS"}).status, 0);
  EXPECT_EQ(Q({"firewall", "show", "new"}).out.find("type\t4\t"), 0u);
  EXPECT_EQ(Q({"--json", "firewall", "list"}).out, "[\"None\", \"new\", \"old\"]\n");
  EXPECT_EQ(Q({"firewall", "delete", "None"}).status, 3);
  EXPECT_EQ(Q({"firewall", "delete", "new"}).status, 0);
  EXPECT_EQ(Q({"firewall", "delete", "new"}).status, 1);
  EXPECT_EQ(Q({"firewall", "show", "new"}).status, 1);
}

}  // namespace
