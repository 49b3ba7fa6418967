// The option pages a protocol adds to the Session Options dialog, described as data. A protocol
// module never links the user interface (the command-line host loads the same modules), so it
// says which of its settings go on which page, with their labels, controls and limits, and the
// interface side draws and binds them through the settings object's member table.
//
// Texts are message ids of the user interface's catalogue, so that they are translated with the
// rest of the dialog; the module's memory holds the description for as long as it is loaded.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/unicode_string.h"

class VProfileComposite;

enum class ProtocolFieldKind : uint8_t {
  Text,      // a string setting; the setting's own checks apply to what is typed
  Number,    // a whole number within [minimum, maximum]; choices, when given, are suggestions
  Check,     // a bool setting
  Choice,    // a number setting that takes only the values of `choices`
  Password,  // an encrypted setting: masked, never shown as text, written only when edited
  File,      // a path setting, with a browse button
};

struct ProtocolFieldChoice {
  int64_t value;
  uint32_t label = 0;  // 0: the number itself is shown
};

struct ProtocolField {
  const char16_t* setting;  // the stored name, as the settings object's member table has it
  uint32_t label;           // with its mnemonic
  ProtocolFieldKind kind;
  bool required = false;  // an empty entry is refused (not for the Default session or several)
  int64_t minimum = 0;
  int64_t maximum = 0;
  std::span<const ProtocolFieldChoice> choices = {};
};

struct ProtocolPage {
  uint32_t title;  // 0: the protocol's display name
  int parent;      // -1: below the Connection page; else the index of an earlier page of the set
  std::span<const ProtocolField> fields;
};

struct ProtocolPageSet {
  std::span<const ProtocolPage> pages;
};

// What is wrong with `set` for the settings object `config` (of the protocol it describes): a
// field naming a setting the object does not have or of another kind, a choice field without
// choices, a number field with an empty range, a parent that is not an earlier page. Empty when
// the description is sound.
std::vector<VUnicodeString> ProtocolPageSetProblems(const ProtocolPageSet& set,
                                                    VProfileComposite& config);

// Whether a setting of the member kind `kindName` ("int", "bool", "string", "path",
// "encrypted", ...) can be edited as a field of `kind`.
bool ProtocolFieldFitsKind(ProtocolFieldKind kind, std::string_view kindName);
