// The values behind the fields of a protocol's pages: found in the settings objects of a session
// by their stored names, shown as the controls show them, checked, and written back. Plain C++,
// so that the rules are tested without a display; the pages only move text in and out.
#pragma once

#include <cstdint>
#include <vector>

#include "config/session/protocol_page_set.h"
#include "platform/unicode_string.h"
#include "report/report_message_params.h"

class ConnectConfig;
class ISessionConfig;
class VProfileData;

// Messages of the protocol pages.
inline constexpr uint32_t kMsgFieldEmpty = 0xE1391240;   // %1 the field
inline constexpr uint32_t kMsgFieldNumber = 0xE1391241;  // %1 text, %2 field, %3..%4 the range
inline constexpr uint32_t kMsgSelectFile = 0x61391242;

// The label without its mnemonic marker and closing colon ("&Port:" gives "Port"), for messages.
VUnicodeString PlainFieldLabel(const VUnicodeString& label);

// The settings object of `protocolName` among those the session's parts have made (the protocol
// in use or one used earlier in this run); null when neither part has one.
ConnectConfig* FindProtocolConfig(ISessionConfig& session, const VUnicodeString& protocolName);
// Every settings object of the session's parts that has a setting named `setting`: values the
// parts share by name (host, user, password) are written into each, so that the part saved last
// cannot put back an older copy.
std::vector<VProfileData*> SessionSettings(ISessionConfig& session, const char16_t* setting);

// The setting of `field` in `config`; null when the object has no such setting or it is of
// another kind than the field edits.
VProfileData* FindFieldSetting(ConnectConfig& config, const ProtocolField& field);

// What a field shows: the text of a Text, File or Number field, the number of a Choice field,
// the state of a Check field, the plaintext of a Password field.
VUnicodeString FieldText(const ProtocolField& field, const VProfileData& setting);
int64_t FieldNumber(const VProfileData& setting);
bool FieldCheck(const VProfileData& setting);

// Checks what was typed into a Text, File or Number field: a required field that is empty (when
// `enforceRequired`), a number that is not one or outside the field's range, a text the setting
// itself refuses. False with the reason in `error`; the setting is left as it was.
bool CheckFieldText(const ProtocolField& field, VProfileData& setting, const VUnicodeString& label,
                    const VUnicodeString& text, bool enforceRequired, VReportMessageParams& error);

// Writes a checked entry into the setting.
void WriteFieldText(const ProtocolField& field, VProfileData& setting, const VUnicodeString& text);
void WriteFieldNumber(VProfileData& setting, int64_t value);
void WriteFieldCheck(VProfileData& setting, bool value);
