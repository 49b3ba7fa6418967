// A setting that holds a comma-separated list of names taken from a fixed set, in the order
// they are tried ("publickey,password"). A person's text naming anything else, a name twice or
// nothing at all is refused with the names the setting takes; a stored value is read as it is.
#pragma once

#include <span>

#include "storage/values/profile_values.h"

namespace qmodule {

struct ChoiceSet {
  const char16_t* setting;                    // the stored name, for messages
  std::span<const char16_t* const> choices;  // every name the list may hold
};

// True when `text` is a list of names of `set`, each once; else false with the reason in `error`.
bool CheckChoiceList(const ChoiceSet& set, const VUnicodeString& text, VReportMessageParams& error);

template <const ChoiceSet& Set>
class ChoiceList : public VProfileString {
 public:
  using VProfileString::operator=;
  bool SetFromText(const VUnicodeString& text, VReportMessageParams& error) override {
    return CheckChoiceList(Set, text, error) && VProfileString::SetFromText(text, error);
  }
};

// The SSH user authentication methods and host key algorithms a client of today offers.
extern const ChoiceSet kSsh2AuthenticationMethods;
extern const ChoiceSet kSftpAuthenticationMethods;
extern const ChoiceSet kSsh2HostKeyAlgorithms;

}  // namespace qmodule
