// The files of a user's OpenSSH client configuration on disk: where an Include argument leads
// and how a file of it is read.
#pragma once

#include <string>
#include <vector>

#include "environment/ssh_client_config.h"
#include "platform/env.h"

namespace sshcfg {

// "~" is `home`; a relative Include is taken below `base` (the user's ~/.ssh, as the client
// does for the user's own configuration). Wildcards "*" and "?" in any level are expanded and
// the names sorted. A file that another user could change (written by group or others, or owned
// by someone else than the user or root) is refused, as the client refuses it: its hosts would
// be someone else's choice.
class DiskFileSource : public FileSource {
 public:
  DiskFileSource(std::string home, std::string base, vfs::Env* env = vfs::Env::Default())
      : home_(std::move(home)), base_(std::move(base)), env_(env) {}
  std::vector<std::string> Expand(const std::string& argument) override;
  bool Read(const std::string& path, std::string& text, std::string& identity,
            std::string& problem) override;
  // "~" and "~/..." resolved against the home folder; anything else unchanged.
  std::string WithHome(const std::string& path) const;

 private:
  std::string home_;
  std::string base_;
  vfs::Env* env_;
};

}  // namespace sshcfg
