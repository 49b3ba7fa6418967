#include "support/test_support.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/file_system.h"

extern char** environ;

namespace qtest {

TempDir::TempDir() {
  std::string base = getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp";
  std::string pattern = base + "/quillane-test-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
  path_ = buffer.data();
}

TempDir::~TempDir() {
  // Make everything writable again first: tests lock files and folders read-only.
  std::string command = "chmod -R u+rwx '" + path_ + "' 2>/dev/null; rm -rf '" + path_ + "'";
  if (system(command.c_str()) != 0) { /* left behind in the temporary folder */ }
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* old = getenv(name)) old_ = old;
  if (value) setenv(name, value, 1);
  else unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
  if (old_) setenv(name_.c_str(), old_->c_str(), 1);
  else unsetenv(name_.c_str());
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  MakeDirs(vfs::ParentFolder(path));
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

void MakeDirs(const std::string& path) {
  vfs::CreateFolderTree(path, 0777).IgnoreError();  // the test fails where the folder is used
}

RunResult Run(const std::string& program, const std::vector<std::string>& args,
              const std::map<std::string, std::string>& env, const std::string& input) {
  int inPipe[2], outPipe[2], errPipe[2];
  if (pipe(inPipe) || pipe(outPipe) || pipe(errPipe)) throw std::runtime_error("pipe failed");
  pid_t pid = fork();
  if (pid == 0) {
    dup2(inPipe[0], 0);
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) close(fd);
    for (const auto& [name, value] : env) {
      if (value.empty()) unsetenv(name.c_str());
      else setenv(name.c_str(), value.c_str(), 1);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(inPipe[0]);
  close(outPipe[1]);
  close(errPipe[1]);
  signal(SIGPIPE, SIG_IGN);
  size_t written = 0;
  RunResult result;
  struct pollfd fds[3] = {{inPipe[1], POLLOUT, 0}, {outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  if (input.empty()) {
    close(inPipe[1]);
    fds[0].fd = -1;
  }
  while (fds[1].fd >= 0 || fds[2].fd >= 0) {
    if (poll(fds, 3, -1) < 0 && errno != EINTR) break;
    if (fds[0].fd >= 0 && (fds[0].revents & (POLLOUT | POLLERR | POLLHUP))) {
      ssize_t n = write(inPipe[1], input.data() + written, input.size() - written);
      if (n > 0) written += static_cast<size_t>(n);
      if (n <= 0 || written == input.size()) {
        close(inPipe[1]);
        fds[0].fd = -1;
      }
    }
    for (int i = 1; i <= 2; ++i) {
      if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP | POLLERR))) {
        char buffer[4096];
        ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
        if (n <= 0) {
          close(fds[i].fd);
          fds[i].fd = -1;
        } else {
          (i == 1 ? result.out : result.err).append(buffer, static_cast<size_t>(n));
        }
      }
    }
  }
  if (fds[0].fd >= 0) close(inPipe[1]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

std::map<std::string, std::string> HostEnv(const TempDir& dir) {
  return {{"XDG_CONFIG_HOME", dir / "xdg"}, {"XDG_DATA_HOME", dir / "data"},
          {"QUILLANE_REGISTRY_ROOT", dir / "registry"}, {"HOME", dir / "home"},
          {"QUILLANE_CONFIG", ""}, {"LANG", "C"}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}};
}

RunResult Quillane(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                   const std::string& input) {
  return Run(QUILLANE_CLI_PATH, args, env, input);
}

}  // namespace qtest
