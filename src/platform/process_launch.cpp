#include "platform/process_launch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace vproc {

VStatus LaunchDetached(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  // The grandchild reports a failed exec through a pipe that closes by itself on success.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return VStatus::FromErrno(errno);
  pid_t child = fork();
  if (child < 0) {
    int error = errno;
    close(report[0]);
    close(report[1]);
    return VStatus::FromErrno(error);
  }
  if (child == 0) {
    // Only async-signal-safe calls from here on.
    close(report[0]);
    setsid();
    pid_t grandchild = fork();
    if (grandchild != 0) _exit(grandchild < 0 ? 1 : 0);
    signal(SIGPIPE, SIG_DFL);
    execvp(argv[0], argv.data());
    int error = errno;
    ssize_t ignored = write(report[1], &error, sizeof error);
    (void)ignored;
    _exit(127);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got;
  do {
    got = read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  if (got == sizeof error) return VStatus::FromErrno(error, error == ENOENT);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return VStatus::FromErrno(EAGAIN);
  return VStatus::Ok();
}

}  // namespace vproc
