// Turning the hosts of an OpenSSH client configuration into SSH2 sessions: first a plan (which
// session gets which settings, which hosts are left out and why), made from the configuration
// alone, then its application to a store of sessions through a small interface.
#pragma once

#include <string>
#include <vector>

#include "environment/ssh_client_config.h"
#include "platform/unicode_string.h"

namespace sshimport {

// Stored names of the settings an imported session gets.
inline constexpr char16_t kProtocolName[] = u"Protocol Name";
inline constexpr char16_t kHostname[] = u"Hostname";
inline constexpr char16_t kFirewallName[] = u"Firewall Name";
inline constexpr char16_t kUsername[] = u"Username";
inline constexpr char16_t kPort[] = u"[SSH2] Port";
inline constexpr char16_t kIdentityFile[] = u"Identity Filename V2";
inline constexpr char16_t kSsh2Protocol[] = u"SSH2";
inline constexpr char16_t kSessionFirewallPrefix[] = u"Session:";

// One setting as text, in the form a setting takes from the command line.
struct Setting {
  VUnicodeString name;
  std::string value;
};

struct PlannedSession {
  std::string host;      // the Host alias
  VUnicodeString path;   // the session's path below Sessions, levels joined by "\"
  std::vector<Setting> settings;  // "Protocol Name" first, then the connection's settings
};

struct Skipped {
  std::string host;    // the alias, or the Match line for a Match block
  std::string reason;  // also used for a part of a host left out while the host is imported
};

struct Plan {
  std::vector<PlannedSession> sessions;
  std::vector<Skipped> skipped;
};

// What the tokens of the configuration stand for on this machine.
struct LocalContext {
  std::string home;
  std::string userName;
  std::string hostName;
};

// One session per concrete Host pattern (first appearance wins; an alias seen again, without
// regard to case, is skipped), below `folder` ("" for the top of Sessions). Wildcard and negated
// patterns, hosts under Match blocks and Match blocks themselves are skipped with a reason.
// ProxyJump becomes the firewall "Session:<path of the jump host's session>" only when its one
// hop is a host imported here with the same user and port (where it names them).
Plan MakePlan(const sshcfg::Config& config, const VUnicodeString& folder, const LocalContext& local);

enum class Outcome { kCreated, kUpdated, kUnchanged, kFailed };

// Where the planned sessions go. Apply makes the session or brings it to the planned settings;
// a session already holding them is left untouched (kUnchanged). With `dryRun` nothing is
// written, but the outcome is the one a real run would have. kFailed with the reason.
class SessionTarget {
 public:
  virtual ~SessionTarget() = default;
  virtual Outcome Apply(const PlannedSession& session, bool dryRun, std::string& reason) = 0;
};

struct Result {
  std::vector<VUnicodeString> created;
  std::vector<VUnicodeString> updated;
  std::vector<Skipped> skipped;  // the plan's, then the sessions that failed
};

// Applies the plan in order. Unchanged sessions are neither created nor updated and are not
// listed.
Result Apply(const Plan& plan, SessionTarget& target, bool dryRun);

}  // namespace sshimport
