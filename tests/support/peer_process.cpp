#include "peer_process.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace qtest {

namespace {
constexpr int kAnswerWaitMs = 30000;
}

PeerProcess::PeerProcess(const VSharedMemoryNames& names) {
  int toPeer[2], fromPeer[2];
  if (pipe2(toPeer, O_CLOEXEC) != 0 || pipe2(fromPeer, O_CLOEXEC) != 0) abort();
  pid_ = fork();
  if (pid_ == 0) {
    dup2(toPeer[0], STDIN_FILENO);
    dup2(fromPeer[1], STDOUT_FILENO);
    execl(QUILLANE_PASSCACHE_PEER, QUILLANE_PASSCACHE_PEER, names.mapping.c_str(),
          names.lock.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(toPeer[0]);
  close(fromPeer[1]);
  input_ = toPeer[1];
  output_ = fromPeer[0];
}

PeerProcess::~PeerProcess() {
  if (pid_ > 0) Kill(SIGKILL);
  if (output_ >= 0) close(output_);
}

std::string PeerProcess::Ask(const std::string& command) {
  std::string line = command + "\n";
  if (input_ < 0 || write(input_, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
    return std::string();
  for (;;) {
    size_t end = buffered_.find('\n');
    if (end != std::string::npos) {
      std::string answer = buffered_.substr(0, end);
      buffered_.erase(0, end + 1);
      return answer;
    }
    struct pollfd ready {output_, POLLIN, 0};
    if (poll(&ready, 1, kAnswerWaitMs) <= 0) return std::string();
    char chunk[256];
    ssize_t got = read(output_, chunk, sizeof chunk);
    if (got <= 0) return std::string();
    buffered_.append(chunk, static_cast<size_t>(got));
  }
}

void PeerProcess::Kill(int signal) {
  if (pid_ <= 0) return;
  kill(pid_, signal);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  if (input_ >= 0) close(input_);
  input_ = -1;
}

int PeerProcess::Finish() {
  if (input_ >= 0) close(input_);
  input_ = -1;
  int status = -1;
  if (pid_ > 0) waitpid(pid_, &status, 0);
  pid_ = -1;
  return status;
}

VSharedMemoryNames UniqueSharedNames() {
  static std::atomic<int> counter{0};
  std::string base = "qtest-shared-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
  return {base + "-block", base + "-gate"};
}

bool SharedObjectExists(const std::string& name) {
  return access(("/dev/shm/" + name).c_str(), F_OK) == 0;
}

void RemoveSharedObjects(const VSharedMemoryNames& names) {
  shm_unlink(("/" + names.mapping).c_str());
  shm_unlink(("/" + names.lock).c_str());
}

}  // namespace qtest
