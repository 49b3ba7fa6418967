#include "environment/ssh_import.h"
#include "environment/text_lists.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

#include "storage/model/key_path.h"

namespace sshimport {
namespace {

std::string ShortHostName(const std::string& name) { return name.substr(0, name.find('.')); }

// A port as the client takes it: decimal digits only, 1 to 65535.
std::optional<int> ParsePort(const std::string& text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > 65535) return std::nullopt;
  return value;
}

// What is known of a host before its jump is worked out.
struct Candidate {
  std::string alias;
  VUnicodeString path;
  std::string hostName;
  std::string port;
  std::optional<std::string> user;
  std::optional<std::string> identity;
  sshcfg::HostSettings settings;
  std::vector<std::string> notes;
};

bool Resolve(const sshcfg::Config& config, const std::string& alias, const LocalContext& local,
             Candidate& out, std::string& reason) {
  out.alias = alias;
  out.settings = sshcfg::Resolve(config, alias);
  const sshcfg::HostSettings& s = out.settings;
  std::string problem;
  out.hostName = alias;
  if (s.hostName) {
    auto tokens = [&](char letter, std::string& text) {
      if (letter != 'h') return false;
      text = alias;
      return true;
    };
    if (!sshcfg::ExpandTokens(*s.hostName, tokens, out.hostName, problem)) {
      reason = "HostName " + *s.hostName + ": " + problem;
      return false;
    }
  }
  if (out.hostName.empty()) {
    reason = "HostName is empty";
    return false;
  }
  out.port = "22";
  if (s.port) {
    std::optional<int> port = ParsePort(*s.port);
    if (!port) {
      reason = "Port " + *s.port + " is not a port number from 1 to 65535";
      return false;
    }
    out.port = std::to_string(*port);
  }
  if (s.user) {
    std::string user;
    auto tokens = [&](char letter, std::string& text) {
      switch (letter) {
        case 'u': text = local.userName; return true;
        case 'l': text = ShortHostName(local.hostName); return true;
        case 'L': text = local.hostName; return true;
        case 'h': text = out.hostName; return true;
        case 'n': text = alias; return true;
        default: return false;
      }
    };
    if (!sshcfg::ExpandTokens(*s.user, tokens, user, problem)) {
      reason = "User " + *s.user + ": " + problem;
      return false;
    }
    out.user = user;
  }
  if (s.identityFile && AsciiLower(*s.identityFile) != "none") {
    const std::string& given = *s.identityFile;
    std::string path = given;
    if (path == "~") path = local.home;
    else if (path.rfind("~/", 0) == 0) path = local.home + path.substr(1);
    std::string expanded;
    auto tokens = [&](char letter, std::string& text) {
      switch (letter) {
        case 'd': text = local.home; return true;
        case 'u': text = local.userName; return true;
        case 'l': text = ShortHostName(local.hostName); return true;
        case 'L': text = local.hostName; return true;
        case 'h': text = out.hostName; return true;
        case 'n': text = alias; return true;
        case 'p': text = out.port; return true;
        case 'r': text = out.user.value_or(local.userName); return true;
        default: return false;
      }
    };
    if (!sshcfg::ExpandTokens(path, tokens, expanded, problem)) {
      out.notes.push_back("IdentityFile " + given + " left out: " + problem);
    } else if (expanded.empty() || expanded[0] != '/') {
      // The client takes such a name from wherever it is started: no one place to store.
      out.notes.push_back("IdentityFile " + given + " left out: not a full path");
    } else {
      out.identity = expanded;
    }
  }
  if (s.proxyCommand) {
    out.notes.push_back("ProxyCommand left out (not supported): the session connects directly");
  }
  return true;
}

// The session a ProxyJump leads through, or the reason there is none.
std::optional<VUnicodeString> JumpSession(const Candidate& host, const std::string& jump,
                                          const std::map<std::string, const Candidate*>& imported,
                                          std::string& reason) {
  std::string hop = jump;
  if (hop.find(',') != std::string::npos) {
    reason = "ProxyJump " + jump + " left out: a session goes through one jump host only";
    return std::nullopt;
  }
  if (hop.rfind("ssh://", 0) == 0) hop = hop.substr(6);
  std::optional<std::string> user, port;
  if (size_t at = hop.rfind('@'); at != std::string::npos) {
    user = hop.substr(0, at);
    hop = hop.substr(at + 1);
  }
  if (size_t colon = hop.rfind(':'); colon != std::string::npos && hop.find(']') == std::string::npos) {
    port = hop.substr(colon + 1);
    hop = hop.substr(0, colon);
  }
  auto it = imported.find(AsciiLower(hop));
  if (it == imported.end()) {
    reason = "ProxyJump " + jump + " left out: the jump host is not imported as a session";
    return std::nullopt;
  }
  const Candidate& target = *it->second;
  if (&target == &host) {
    reason = "ProxyJump " + jump + " left out: the host would go through itself";
    return std::nullopt;
  }
  std::optional<int> portNumber = port ? ParsePort(*port) : std::nullopt;
  if ((user && *user != target.user.value_or(std::string())) ||
      (port && (!portNumber || std::to_string(*portNumber) != target.port))) {
    reason = "ProxyJump " + jump + " left out: its user or port differs from the session " +
             target.path.ToUtf8();
    return std::nullopt;
  }
  return target.path;
}

}  // namespace

Plan MakePlan(const sshcfg::Config& config, const VUnicodeString& folder, const LocalContext& local) {
  Plan plan;
  VKeyPath base = VKeyPath::Parse(folder);
  std::vector<Candidate> candidates;
  std::map<std::string, const Candidate*> byAlias;  // lower-case alias
  std::map<std::string, std::string> seen;  // lower-case alias -> where it was first named
  for (const sshcfg::HostLine& line : config.hostLines) {
    for (const std::string& pattern : line.patterns) {
      if (!sshcfg::IsConcretePattern(pattern)) {
        std::string why = !pattern.empty() && pattern[0] == '!'
                              ? "a negated pattern names no host"
                              : "a wildcard pattern matches many hosts, not one";
        plan.skipped.push_back({pattern, why});
        continue;
      }
      if (auto first = seen.find(AsciiLower(pattern)); first != seen.end()) {
        plan.skipped.push_back({pattern, "the host was named before (" + first->second + ")"});
        continue;
      }
      seen[AsciiLower(pattern)] = line.file + " line " + std::to_string(line.line);
      if (line.underMatch) {
        plan.skipped.push_back({pattern, "named under a Match block, decided only when connecting"});
        continue;
      }
      bool reachable = true;
      for (const auto& enclosing : line.enclosing)
        reachable = reachable && sshcfg::MatchPatternList(enclosing, pattern);
      if (!reachable) {
        plan.skipped.push_back({pattern, "included under a Host line that does not match it"});
        continue;
      }
      if (pattern.find_first_of("/\\") != std::string::npos) {
        plan.skipped.push_back({pattern, "a session name cannot hold \"/\" or \"\\\""});
        continue;
      }
      // At the top of Sessions that name is the template every new session is made from.
      if (base.Empty() && AsciiLower(pattern) == "default") {
        plan.skipped.push_back({pattern, "Default is the template of new sessions, not a host"});
        continue;
      }
      Candidate candidate;
      std::string reason;
      if (!Resolve(config, pattern, local, candidate, reason)) {
        plan.skipped.push_back({pattern, reason});
        continue;
      }
      candidate.path = base.Child(U8(pattern)).Text();
      candidates.push_back(std::move(candidate));
    }
  }
  for (const Candidate& candidate : candidates) byAlias[AsciiLower(candidate.alias)] = &candidate;
  for (const sshcfg::Problem& match : config.matchBlocks) {
    plan.skipped.push_back({match.reason, "Match blocks are decided when connecting; their settings are not imported (" +
                                              match.file + " line " + std::to_string(match.line) + ")"});
  }
  for (const Candidate& candidate : candidates) {
    PlannedSession session;
    session.host = candidate.alias;
    session.path = candidate.path;
    session.settings.push_back({kProtocolName, "SSH2"});
    session.settings.push_back({kHostname, candidate.hostName});
    session.settings.push_back({kPort, candidate.port});
    if (candidate.user) session.settings.push_back({kUsername, *candidate.user});
    if (candidate.identity) session.settings.push_back({kIdentityFile, *candidate.identity});
    for (const std::string& note : candidate.notes) plan.skipped.push_back({candidate.alias, note});
    const auto& jump = candidate.settings.proxyJump;
    if (jump && AsciiLower(*jump) != "none") {
      std::string reason;
      if (auto through = JumpSession(candidate, *jump, byAlias, reason)) {
        VUnicodeString name(kSessionFirewallPrefix);
        name += *through;
        session.settings.push_back({kFirewallName, name.ToUtf8()});
      } else {
        plan.skipped.push_back({candidate.alias, reason});
      }
    }
    plan.sessions.push_back(std::move(session));
  }
  return plan;
}

Result Apply(const Plan& plan, SessionTarget& target, bool dryRun) {
  Result result;
  result.skipped = plan.skipped;
  for (const PlannedSession& session : plan.sessions) {
    std::string reason;
    switch (target.Apply(session, dryRun, reason)) {
      case Outcome::kCreated: result.created.push_back(session.path); break;
      case Outcome::kUpdated: result.updated.push_back(session.path); break;
      case Outcome::kUnchanged: break;
      case Outcome::kFailed: result.skipped.push_back({session.host, reason}); break;
    }
  }
  return result;
}

}  // namespace sshimport
