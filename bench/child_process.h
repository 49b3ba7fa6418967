// Programs started as a user starts them, for the measures of whole commands: a new process each
// time, its output to a file, its processor time taken from the kernel's account of the child so
// that a figure does not depend on what else the machine's cores were doing.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace bench {

struct ChildRun {
  bool started = false;
  int status = -1;          // the exit code, or -1 when it did not exit normally
  double cpuSeconds = 0;    // user and system time of the child
};

// The current environment with `changes` applied (an empty value removes a variable).
inline std::vector<std::string> EnvironmentWith(const std::map<std::string, std::string>& changes) {
  std::vector<std::string> out;
  for (char** entry = environ; *entry; ++entry) {
    std::string text = *entry;
    if (!changes.count(text.substr(0, text.find('=')))) out.push_back(text);
  }
  for (const auto& [name, value] : changes) {
    if (!value.empty()) out.push_back(name + "=" + value);
  }
  return out;
}

// Runs `argv` (the program looked up on PATH) with standard output to `output` and standard
// error to `output`.err, and waits for it.
inline ChildRun RunChild(const std::vector<std::string>& argv, const std::string& output,
                         const std::vector<std::string>* environment = nullptr) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<char*> env;
  if (environment) {
    for (const auto& e : *environment) env.push_back(const_cast<char*>(e.c_str()));
    env.push_back(nullptr);
  }
  std::string errors = output + ".err";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ChildRun run;
  pid_t pid = 0;
  run.started = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(),
                             environment ? env.data() : environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (!run.started) return run;
  int status = 0;
  struct rusage usage {};
  if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) run.status = WEXITSTATUS(status);
  run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  return run;
}

}  // namespace bench
