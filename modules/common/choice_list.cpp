#include "common/choice_list.h"

#include <set>

namespace qmodule {

namespace {

constexpr uint32_t kMsgNotAChoice = 0xE137000E;  // %1 setting, %2 choices, %3 the name refused

constexpr const char16_t* kAuthenticationMethods[] = {u"publickey", u"keyboard-interactive",
                                                      u"password", u"gssapi-with-mic"};
constexpr const char16_t* kHostKeyAlgorithms[] = {
    u"ssh-ed25519",         u"ecdsa-sha2-nistp256", u"ecdsa-sha2-nistp384",
    u"ecdsa-sha2-nistp521", u"rsa-sha2-512",        u"rsa-sha2-256",
    u"ssh-rsa",             u"ssh-dss"};

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return text;
}

bool Refuse(const ChoiceSet& set, std::u16string_view name, VReportMessageParams& error) {
  VUnicodeString choices;
  for (const char16_t* choice : set.choices) {
    if (!choices.empty()) choices += u", ";
    choices += choice;
  }
  error.Reset(kMsgNotAChoice);
  error.AddInsert(set.setting);
  error.AddInsert(choices);
  error.AddInsert(VUnicodeString(name));
  return false;
}

}  // namespace

const ChoiceSet kSsh2AuthenticationMethods{u"[SSH2] Authentication Methods", kAuthenticationMethods};
const ChoiceSet kSftpAuthenticationMethods{u"[SFTP] Authentication Methods", kAuthenticationMethods};
const ChoiceSet kSsh2HostKeyAlgorithms{u"[SSH2] Host Key Algorithms", kHostKeyAlgorithms};

bool CheckChoiceList(const ChoiceSet& set, const VUnicodeString& text, VReportMessageParams& error) {
  std::u16string_view rest(text);
  std::set<std::u16string_view> seen;
  if (Trim(rest).empty()) return Refuse(set, u"", error);
  for (;;) {
    size_t comma = rest.find(u',');
    std::u16string_view name = Trim(rest.substr(0, comma));
    bool known = false;
    for (const char16_t* choice : set.choices) known = known || name == choice;
    if (!known || !seen.insert(name).second) return Refuse(set, name, error);
    if (comma == std::u16string_view::npos) return true;
    rest.remove_prefix(comma + 1);
  }
}

}  // namespace qmodule
