#include "platform/process_identity.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace vproc {
namespace {

struct StatFields {
  char state = 0;
  uint64_t startTime = 0;
};

enum class StatRead { Read, Gone, Unreadable };

// Reads /proc/<pid>/stat. The command name (field 2) is in parentheses and may hold spaces and
// parentheses itself, so the fields are counted from the last ')'.
StatRead ReadStat(pid_t pid, StatFields& fields) {
  std::string path = "/proc/" + std::to_string(pid) + "/stat";
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ESRCH ? StatRead::Gone : StatRead::Unreadable;
  char buffer[1024];
  ssize_t got;
  do {
    got = read(fd, buffer, sizeof buffer - 1);
  } while (got < 0 && errno == EINTR);
  close(fd);
  if (got < 0 && errno == ESRCH) return StatRead::Gone;
  if (got <= 0) return StatRead::Unreadable;
  buffer[got] = '\0';
  std::string_view text(buffer, static_cast<size_t>(got));
  size_t paren = text.rfind(')');
  if (paren == std::string_view::npos || paren + 2 >= text.size()) return StatRead::Unreadable;
  // Field 3 is the state; field 22 the start time, 19 fields after it.
  const char* p = buffer + paren + 2;
  fields.state = *p;
  for (int field = 3; field < 22; ++field) {
    while (*p && *p != ' ') ++p;
    if (!*p) return StatRead::Unreadable;
    ++p;
  }
  char* end = nullptr;
  fields.startTime = strtoull(p, &end, 10);
  return end != p ? StatRead::Read : StatRead::Unreadable;
}

}  // namespace

uint64_t ProcessStartTime(pid_t pid) {
  StatFields fields;
  return pid > 0 && ReadStat(pid, fields) == StatRead::Read ? fields.startTime : 0;
}

bool IsProcessRunning(pid_t pid, uint64_t startTime) {
  if (pid <= 0) return false;
  if (kill(pid, 0) != 0 && errno != EPERM) return false;
  StatFields fields;
  switch (ReadStat(pid, fields)) {
    case StatRead::Gone:
      return false;
    case StatRead::Unreadable:  // without /proc the signal probe is all there is to go by
      return true;
    case StatRead::Read:
      break;
  }
  if (fields.state == 'Z' || fields.state == 'X') return false;
  return startTime == 0 || fields.startTime == startTime;
}

}  // namespace vproc
