// Running a program to its end: the one place the library starts another process.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "platform/env.h"

extern char** environ;

namespace vfs {
namespace {

struct Pipe {
  int read = -1;
  int write = -1;
  ~Pipe() {
    if (read >= 0) close(read);
    if (write >= 0) close(write);
  }
};

}  // namespace

VExpected<ProcessResult> Env::RunProcess(const std::vector<std::string>& argv,
                                         std::chrono::milliseconds timeout, size_t outputLimit) {
  if (argv.empty() || argv[0].empty()) return VStatus::Error(win32::kFileNotFound);
  Pipe output;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return VStatus::FromErrno(errno);
  output.read = fds[0];
  output.write = fds[1];

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, output.write, 1);
  posix_spawn_file_actions_adddup2(&actions, output.write, 2);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return VStatus::FromErrno(spawned);
  close(output.write);
  output.write = -1;

  ProcessResult result;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  bool open = true;
  while (open) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      result.timedOut = true;
      kill(pid, SIGKILL);
      break;
    }
    pollfd wait{output.read, POLLIN, 0};
    int ready = poll(&wait, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    char buffer[4096];
    ssize_t got = read(output.read, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      open = false;
    } else if (result.output.size() < outputLimit) {
      result.output.append(buffer, std::min(static_cast<size_t>(got),
                                            outputLimit - result.output.size()));
    }
  }
  int status = 0;
  while (true) {
    pid_t done = waitpid(pid, &status, 0);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) return VStatus::FromErrno(errno);
  }
  if (WIFEXITED(status)) {
    result.exited = true;
    result.exitStatus = WEXITSTATUS(status);
  }
  return result;
}

}  // namespace vfs
