#include "ui/protocol_field_values.h"

#include <string>

#include "config/session/session_config.h"
#include "crypto/profile_secrets.h"
#include "marrowby/ui_messages.h"
#include "storage/values/profile_path.h"
#include "storage/values/profile_values.h"
#include "storage/values/setting_text.h"

namespace {

// Calls `use` with the setting as the number type it is; false when it is not a number.
template <class Use>
bool WithNumber(VProfileData& setting, Use use) {
  if (auto* v = dynamic_cast<VProfile<int>*>(&setting)) return use(*v), true;
  if (auto* v = dynamic_cast<VProfile<unsigned int>*>(&setting)) return use(*v), true;
  if (auto* v = dynamic_cast<VProfile<short>*>(&setting)) return use(*v), true;
  if (auto* v = dynamic_cast<VProfile<unsigned short>*>(&setting)) return use(*v), true;
  if (auto* v = dynamic_cast<VProfile<unsigned char>*>(&setting)) return use(*v), true;
  if (auto* v = dynamic_cast<VProfile<unsigned long>*>(&setting)) return use(*v), true;
  return false;
}

VUnicodeString Trimmed(const VUnicodeString& text) {
  std::u16string_view view(text);
  while (!view.empty() && (view.front() == u' ' || view.front() == u'\t')) view.remove_prefix(1);
  while (!view.empty() && (view.back() == u' ' || view.back() == u'\t')) view.remove_suffix(1);
  return VUnicodeString(view);
}

VUnicodeString NumberText(int64_t value) { return VUnicodeString::FromUtf8(std::to_string(value)); }

// The kind name a setting lists under, found through the object's rows.
bool FitsField(ConnectConfig& config, const ProtocolField& field) {
  VProfileComposite::SettingRow row;
  return config.FindSettingRow(field.setting, row) && ProtocolFieldFitsKind(field.kind, row.Kind());
}

}  // namespace

VUnicodeString PlainFieldLabel(const VUnicodeString& label) {
  std::u16string out;
  std::u16string_view text(label);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&') {
      // "&&" is a literal ampersand; a single one only marks the mnemonic.
      if (i + 1 < text.size() && text[i + 1] == u'&') {
        out += u'&';
        ++i;
      }
      continue;
    }
    out += text[i];
  }
  while (!out.empty() && (out.back() == u':' || out.back() == u' ' || out.back() == u'\u00A0'))
    out.pop_back();
  return VUnicodeString(out);
}

ConnectConfig* FindProtocolConfig(ISessionConfig& session, const VUnicodeString& protocolName) {
  auto* concrete = dynamic_cast<SessionConfig*>(&session);
  if (!concrete) return nullptr;
  for (ConnectConfigPtr* part : {&concrete->terminalPart, &concrete->transferPart}) {
    ConnectConfig* current = part->GetConfig();
    if (current && vtext::EqualsNoCase(current->GetProtocolName(), protocolName)) return current;
  }
  for (ConnectConfigPtr* part : {&concrete->terminalPart, &concrete->transferPart}) {
    for (ConnectConfig* config : part->GetConfigs()) {
      if (vtext::EqualsNoCase(config->GetProtocolName(), protocolName)) return config;
    }
  }
  return nullptr;
}

std::vector<VProfileData*> SessionSettings(ISessionConfig& session, const char16_t* setting) {
  std::vector<VProfileData*> found;
  auto* concrete = dynamic_cast<SessionConfig*>(&session);
  if (!concrete) return found;
  for (ConnectConfigPtr* part : {&concrete->terminalPart, &concrete->transferPart}) {
    for (ConnectConfig* config : part->GetConfigs()) {
      if (VProfileData* member = config->FindMember(setting)) found.push_back(member);
    }
  }
  return found;
}

VProfileData* FindFieldSetting(ConnectConfig& config, const ProtocolField& field) {
  if (!field.setting || !FitsField(config, field)) return nullptr;
  return config.FindMember(field.setting);
}

VUnicodeString FieldText(const ProtocolField& field, const VProfileData& setting) {
  auto& data = const_cast<VProfileData&>(setting);
  switch (field.kind) {
    case ProtocolFieldKind::Password:
      if (auto* secret = dynamic_cast<const VProfileEncryptedString*>(&setting)) {
        VUnicodeString plain = secret->GetPlaintext();
        plain.SetSensitive(true);
        return plain;
      }
      return VUnicodeString();
    case ProtocolFieldKind::Number:
    case ProtocolFieldKind::Choice:
      return NumberText(FieldNumber(setting));
    case ProtocolFieldKind::Check:
      return FieldCheck(setting) ? u"1" : u"0";
    case ProtocolFieldKind::Text:
    case ProtocolFieldKind::File:
      if (auto* text = dynamic_cast<VProfileString*>(&data)) return text->Current();
      return VUnicodeString();
  }
  return VUnicodeString();
}

int64_t FieldNumber(const VProfileData& setting) {
  int64_t value = 0;
  WithNumber(const_cast<VProfileData&>(setting), [&](auto& number) { value = number.GetNumber(); });
  return value;
}

bool FieldCheck(const VProfileData& setting) {
  auto* check = dynamic_cast<const VProfile<bool>*>(&setting);
  return check && check->current;
}

bool CheckFieldText(const ProtocolField& field, VProfileData& setting, const VUnicodeString& label,
                    const VUnicodeString& text, bool enforceRequired, VReportMessageParams& error) {
  VUnicodeString entry = field.kind == ProtocolFieldKind::Number ? Trimmed(text) : text;
  if (entry.empty()) {
    // An empty number is never a value; an empty text only where the field needs one.
    if (field.kind == ProtocolFieldKind::Number || (field.required && enforceRequired)) {
      error = VReportMessageParams(kMsgFieldEmpty, VGetUiMessageModule());
      error.AddInsert(label);
      return false;
    }
    return true;
  }
  if (field.kind == ProtocolFieldKind::Number) {
    int64_t value = 0;
    // Decimal only: a person types a port or a speed as a plain number.
    bool digits = true;
    std::u16string_view view(entry);
    for (size_t i = 0; i < view.size(); ++i) {
      if (!((view[i] >= u'0' && view[i] <= u'9') || (i == 0 && view[i] == u'-'))) digits = false;
    }
    if (!digits || !VParseSettingNumber(entry, field.minimum, field.maximum, 32, value)) {
      error = VReportMessageParams(kMsgFieldNumber, VGetUiMessageModule());
      error.AddInsert(entry);
      error.AddInsert(label);
      error.AddInsert(NumberText(field.minimum));
      error.AddInsert(NumberText(field.maximum));
      return false;
    }
    return true;
  }
  if (field.kind == ProtocolFieldKind::Text || field.kind == ProtocolFieldKind::File) {
    // The setting's own rules (a list of known names, say) decide; the trial is undone at once,
    // so that a refused page leaves the session as it was.
    auto* string = dynamic_cast<VProfileString*>(&setting);
    if (!string) return true;
    VUnicodeString before = string->Current();
    bool ok = string->SetFromText(text, error);
    string->Current() = before;
    return ok;
  }
  return true;
}

void WriteFieldText(const ProtocolField& field, VProfileData& setting, const VUnicodeString& text) {
  switch (field.kind) {
    case ProtocolFieldKind::Password:
      if (auto* secret = dynamic_cast<VProfileEncryptedString*>(&setting))
        secret->SetPlaintext(text);
      return;
    case ProtocolFieldKind::Number: {
      int64_t value = 0;
      if (VParseSettingNumber(Trimmed(text), field.minimum, field.maximum, 32, value))
        WriteFieldNumber(setting, value);
      return;
    }
    case ProtocolFieldKind::Text:
    case ProtocolFieldKind::File:
      if (auto* string = dynamic_cast<VProfileString*>(&setting)) {
        // Through the setting's own conversion (checked before), so a path keeps its path
        // variables and a list setting its rules.
        VReportMessageParams ignored;
        string->SetFromText(text, ignored);
      }
      return;
    case ProtocolFieldKind::Check:
    case ProtocolFieldKind::Choice:
      return;
  }
}

void WriteFieldNumber(VProfileData& setting, int64_t value) {
  WithNumber(setting, [&](auto& number) { number.SetNumber(value); });
}

void WriteFieldCheck(VProfileData& setting, bool value) {
  if (auto* check = dynamic_cast<VProfile<bool>*>(&setting)) check->current = value;
}
