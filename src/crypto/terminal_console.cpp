// The terminal side of console prompts. Only one prompt reads at a time; while it does, handlers
// for the signals that end or stop the process put the terminal back as it was first.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

#include <iterator>
#include <mutex>

#include "crypto/crypto_messages.h"
#include "crypto/passphrase_console.h"
#include "platform/env.h"
#include "platform/win32_errors.h"

namespace {

// An ESC that is the start of a key's sequence is followed by the rest at once.
constexpr int kEscapeWaitMs = 50;
// How often a reader that waits for a key looks whether a signal interrupted it.
constexpr int kSignalCheckMs = 250;

constexpr int kHandledSignals[] = {SIGINT, SIGTERM, SIGHUP,  SIGQUIT, SIGTSTP,
                                   SIGABRT, SIGSEGV, SIGBUS, SIGFPE,  SIGILL};
constexpr size_t kSignalCount = std::size(kHandledSignals);

std::mutex gReaderMutex;
// Shared with the signal handlers.
volatile sig_atomic_t gRawActive = 0;
volatile sig_atomic_t gInterrupted = 0;
int gTerminalFd = -1;
struct termios gSavedMode;
struct termios gRawMode;
struct sigaction gPreviousActions[kSignalCount];
bool gInstalled[kSignalCount];

void OnSignal(int signal);

void Install(size_t index) {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no restart: a waiting read must see the interruption
  sigaction(kHandledSignals[index], &action, nullptr);
}

void OnSignal(int signal) {
  int savedErrno = errno;
  if (gRawActive) tcsetattr(gTerminalFd, TCSANOW, &gSavedMode);
  size_t index = 0;
  while (index < kSignalCount && kHandledSignals[index] != signal) ++index;
  if (signal == SIGTSTP) {
    // Stop with the terminal as the user knows it; take raw mode back when continued.
    struct sigaction stop {};
    stop.sa_handler = SIG_DFL;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGTSTP, &stop, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTSTP);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(SIGTSTP);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    Install(index);
    if (gRawActive) tcsetattr(gTerminalFd, TCSANOW, &gRawMode);
  } else if (index < kSignalCount) {
    // The previous disposition acts once this handler returns: ending the process, or running
    // the host's handler, after which the prompt is abandoned.
    gRawActive = 0;
    gInterrupted = signal;
    sigaction(signal, &gPreviousActions[index], nullptr);
    gInstalled[index] = false;
    raise(signal);
  }
  errno = savedErrno;
}

// Raw mode for the life of the object, with the handlers that undo it.
class RawModeScope {
 public:
  bool Enter(int fd) {
    if (tcgetattr(fd, &gSavedMode) != 0) return false;
    gRawMode = gSavedMode;
    gRawMode.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    gRawMode.c_iflag &= ~(ICRNL | INLCR | IGNCR | IXON | ISTRIP | BRKINT | PARMRK);
    gRawMode.c_cc[VMIN] = 1;
    gRawMode.c_cc[VTIME] = 0;
    gTerminalFd = fd;
    gInterrupted = 0;
    for (size_t i = 0; i < kSignalCount; ++i) {
      gInstalled[i] = false;
      if (sigaction(kHandledSignals[i], nullptr, &gPreviousActions[i]) != 0) continue;
      if (gPreviousActions[i].sa_handler == SIG_IGN) continue;
      gInstalled[i] = true;
      Install(i);
    }
    gRawActive = 1;
    if (tcsetattr(fd, TCSANOW, &gRawMode) != 0) {
      int error = errno;
      Leave();
      errno = error;
      return false;
    }
    active_ = true;
    return true;
  }

  void Leave() {
    if (gRawActive) tcsetattr(gTerminalFd, TCSADRAIN, &gSavedMode);
    gRawActive = 0;
    for (size_t i = 0; i < kSignalCount; ++i) {
      if (gInstalled[i]) sigaction(kHandledSignals[i], &gPreviousActions[i], nullptr);
      gInstalled[i] = false;
    }
    active_ = false;
  }

  ~RawModeScope() {
    if (active_) Leave();
  }

 private:
  bool active_ = false;
};

// The terminal to talk to: the controlling terminal, else standard input when it is one.
struct Terminal {
  int input = -1;
  int output = -1;
  bool owned = false;

  ~Terminal() {
    if (owned) close(input);
  }

  bool Open(VReportMessageParams& error) {
    int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
      input = output = fd;
      owned = true;
      return true;
    }
    int openError = errno;
    vfs::Env* env = vfs::Env::Default();
    if (env->IsTerminal(STDIN_FILENO)) {
      input = STDIN_FILENO;
      int mode = fcntl(STDIN_FILENO, F_GETFL);
      if (mode >= 0 && (mode & O_ACCMODE) == O_RDWR) output = STDIN_FILENO;
      else if (env->IsTerminal(STDOUT_FILENO)) output = STDOUT_FILENO;
      else if (env->IsTerminal(STDERR_FILENO)) output = STDERR_FILENO;
      if (output >= 0) return true;
    }
    error.Reset(crypto_messages::kNoTerminal);
    error.AddInsert(VFormatCatalogueMessage(win32::FromErrno(openError), {}, true));
    return false;
  }
};

// The editor spells out CR LF for a raw terminal; one that still maps NL to CR NL on output needs
// only the NL.
std::string ForOutputMode(const std::string& echo) {
  if (!(gSavedMode.c_oflag & OPOST) || !(gSavedMode.c_oflag & ONLCR)) return echo;
  std::string out;
  for (size_t i = 0; i < echo.size(); ++i) {
    if (echo[i] == '\r' && i + 1 < echo.size() && echo[i + 1] == '\n') continue;
    out += echo[i];
  }
  return out;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t done = write(fd, bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(done));
  }
  return true;
}

void ReportSystem(int errnoValue, VReportMessageParams& error) {
  error.Reset(crypto_messages::kNoTerminal);
  error.AddInsert(VFormatCatalogueMessage(win32::FromErrno(errnoValue), {}, true));
}

}  // namespace

IPassphraseConsole::Result VTerminalConsole::ReadEntry(std::u16string_view prompt,
                                                       const VConsoleEntryOptions& options,
                                                       VUnicodeString& entry,
                                                       VReportMessageParams& error) {
  std::lock_guard<std::mutex> reader(gReaderMutex);
  Terminal terminal;
  if (!terminal.Open(error)) return Result::Failed;
  RawModeScope raw;
  if (!raw.Enter(terminal.input)) {
    ReportSystem(errno, error);
    return Result::Failed;
  }
  VConsoleEntryEditor editor(prompt, options);
  std::string echo;
  editor.Start(echo);
  int failure = 0;
  while (editor.State() == VConsoleEntryState::Reading) {
    if (!echo.empty()) {
      if (!WriteAll(terminal.output, ForOutputMode(echo))) {
        failure = errno ? errno : EIO;
        break;
      }
      echo.clear();
    }
    if (gInterrupted) {
      editor.EndOfInput(echo);
      break;
    }
    struct pollfd ready {terminal.input, POLLIN, 0};
    int waiting = poll(&ready, 1, editor.AwaitsEscapeSequence() ? kEscapeWaitMs : kSignalCheckMs);
    if (waiting < 0) {
      if (errno == EINTR) continue;
      failure = errno;
      break;
    }
    if (waiting == 0) {
      if (editor.AwaitsEscapeSequence()) editor.EndEscape(echo);
      continue;
    }
    uint8_t byte = 0;
    ssize_t got = read(terminal.input, &byte, 1);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got < 0) {
      failure = errno;
      break;
    }
    if (got == 0) editor.EndOfInput(echo);
    else editor.Feed(byte, echo);
    byte = 0;
  }
  if (!echo.empty()) WriteAll(terminal.output, ForOutputMode(echo));
  raw.Leave();
  if (failure) {
    ReportSystem(failure, error);
    return Result::Failed;
  }
  if (editor.State() != VConsoleEntryState::Entered) return Result::Cancelled;
  entry.SetSensitive(true);
  entry = editor.Entry();
  return Result::Entered;
}

bool VTerminalConsole::WriteLine(std::u16string_view text, VReportMessageParams& error) {
  Terminal terminal;
  if (!terminal.Open(error)) return false;
  if (!WriteAll(terminal.output, vtext::ToUtf8(text) + "\n")) {
    ReportSystem(errno, error);
    return false;
  }
  return true;
}
