#include "config/session/session_config.h"

#include <mutex>
#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "config/session/connect_protocol_table.h"
#include "config/global/global_config_instance.h"
#include "config/session/none_config.h"
#include "storage/values/stored_values_key.h"
#include "config/database/session_database_instance.h"
#include "crypto/legacy_secret.h"
#include "platform/app_info.h"
#include "platform/desktop_settings.h"

namespace {

constexpr const char16_t* kOlderHighlightingStyle = u"Highlighting Style";
// The older style is a set of flags, one per way of showing a highlighted keyword.
constexpr VDword kHighlightReverseVideoFlag = 1;
constexpr VDword kHighlightBoldFlag = 2;
constexpr VDword kHighlightColorFlag = 4;
// Without a global configuration the send delays start as a new global configuration has them.
constexpr int kStandardLineSendDelay = 5;
constexpr int kStandardCharacterSendDelay = 0;

// Secrets saved by older releases and the current setting each one is carried into.
struct OlderSecret {
  const char16_t* olderName;
  VLegacySecretDecoder decoder;
  const char16_t* currentName;
};
constexpr OlderSecret kOlderSecrets[] = {
    {u"Login Script V2", VLegacySecretDecoder::Encoded, u"Login Script V3"},
    {u"Login Script", VLegacySecretDecoder::Plain, u"Login Script V3"},
    {u"Monitor Password", VLegacySecretDecoder::Blowfish, u"Monitor Password V2"},
    {u"SCP Shell Password", VLegacySecretDecoder::Blowfish, u"SCP Shell Password V2"},
    {u"PGP Upload Command", VLegacySecretDecoder::Blowfish, u"PGP Upload Command V2"},
    {u"PGP Download Command", VLegacySecretDecoder::Blowfish, u"PGP Download Command V2"},
};
// Older values that the session reads only to convert them; they are not carried along.
constexpr const char16_t* kConvertedOlderNames[] = {kOlderHighlightingStyle,
                                                    u"Enable 80/132 Column Switching"};

}  // namespace

namespace {
const SessionConfig::ClaimedNames& ClaimedMemberNames(SessionConfig& loaded);
const VValueNameSet& SpeltNames(const SessionConfig::ClaimedNames& claimed);
}  // namespace

QL_MEMBER_TABLE(SessionConfig, SESSION_CONFIG_MEMBERS)

SessionConfig::SessionConfig(const VUnicodeString& name)
    : name_(name), product_(VGetDerivedProductId()) {
  terminalPart.SetOwner(false, &common_);
  transferPart.SetOwner(false, &common_);
}

void SessionConfig::RebindParts() {
  terminalPart.SetOwner(IsDefaultSession(), &common_);
  transferPart.SetOwner(IsDefaultSession(), &common_);
  for (ConnectConfig* config : terminalPart.GetConfigs()) config->SetCommonConfig(&common_);
  for (ConnectConfig* config : transferPart.GetConfigs()) config->SetCommonConfig(&common_);
}

ISessionConfig* SessionConfig::Clone() const {
  // Every member is copied (the protocol parts deep); what points into the object is set again.
  auto* copy = new SessionConfig(*this);
  copy->RebindParts();
  return copy;
}

void SessionConfig::LoadFromKey(const VProfileKey* key) {
  Load(key, product_);
  // The protocol parts have what the session shares now (a parent window set meanwhile).
  RebindParts();
}

void SessionConfig::OnBeforeLoad(const VProfileKey* key) {
  bool isDefault = vtext::EqualsNoCase(name_, kDefaultSessionName);
  terminalPart.SetOwner(isDefault, &common_);
  transferPart.SetOwner(isDefault, &common_);
  carriedOlderNames_.clear();

  // The send delays of a session that has none are the global configuration's.
  globalLineSendDelay_ = kStandardLineSendDelay;
  globalCharacterSendDelay_ = kStandardCharacterSendDelay;
  GlobalConfig* global = nullptr;
  if (GetGlobalConfig(&global, -1) && global) {
    globalLineSendDelay_ = global->lineSendDelay.current;
    globalCharacterSendDelay_ = global->characterSendDelay.current;
    global->Release();
  }
  highlightingStyle_ = 0;
  if (key) key->ReadDword(kOlderHighlightingStyle, highlightingStyle_);
}

void SessionConfig::OnAfterLoad(const VProfileKey* key) {
  isSession = true;  // whatever the key said, the object is a session now
  CarryOlderSecrets(key);
  // The claimed names are fetched once for the hundred and fifty values of a session, rather
  // than under the lock for each of them.
  const ClaimedNames& claimed = ClaimedMemberNames(*this);
  // The older key map value converted at this load belongs to the key map, which blanks it.
  const char16_t* convertedKeymap = terminal.keymap.ConvertedFrom();
  retained_.Load(key, SpeltNames(claimed), [&](std::u16string_view name) {
    return IsClaimedBy(claimed, name) ||
           (convertedKeymap && vtext::EqualsNoCase(name, convertedKeymap));
  });
}

void SessionConfig::CarryOlderSecrets(const VProfileKey* key) {
  if (!key) return;
  // Carrying writes the current form into the key it was read from; the key object is the
  // caller's and is not const, only this loading interface is.
  VProfileKey& writable = const_cast<VProfileKey&>(*key);
  // The oldest login script counts only where the next form never replaced it.
  VUnicodeString newerScript;
  bool hasNewerScript = key->ReadString(u"Login Script V2", newerScript) && !newerScript.empty();
  VUnicodeString olderValue;
  olderValue.SetSensitive(true);
  for (const OlderSecret& older : kOlderSecrets) {
    // Nearly every session has none of the older forms; carrying begins by reading the older
    // value, so without one there is nothing to do, and the member need not be looked for.
    if (!key->ReadString(older.olderName, olderValue)) continue;
    olderValue.Wipe();
    auto* member = dynamic_cast<VProfileEncryptedString*>(FindMember(older.currentName));
    if (!member) continue;
    if (older.decoder == VLegacySecretDecoder::Plain && hasNewerScript) continue;
    VEncryptedString value = member->Current();
    VReportMessageParams error;
    if (CarryLegacySecret(writable, older.olderName, older.decoder, older.currentName, value,
                          error) != VLegacySecretResult::Carried)
      continue;
    if (!(value == member->Current())) *member = value;
    // The carried value is saved under its current name wherever the session is saved next,
    // and the older copy blanked there after it.
    member->SetWritePending(true);
    carriedOlderNames_.push_back(older.olderName);
  }
}

namespace {

// Names compared without regard to case, by hash: a view can be looked up without a copy.
struct FoldedHash {
  using is_transparent = void;
  size_t operator()(std::u16string_view name) const {
    size_t h = 1469598103934665603ull;
    for (char16_t c : name) {
      char16_t folded = c < 0x80 ? (c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c)
                                 : vtext::FoldCase(c);
      h = (h ^ folded) * 1099511628211ull;
    }
    return h;
  }
};
struct FoldedEqual {
  using is_transparent = void;
  bool operator()(std::u16string_view a, std::u16string_view b) const {
    return vtext::EqualsNoCase(a, b);
  }
};
using NameSet = std::unordered_set<std::u16string, FoldedHash, FoldedEqual>;

// Names hashed by their length and their first and last four characters, read whole: the names
// of a session's members differ there, and hashing every character of every stored name cost
// more than the lookup itself.
struct EndsHash {
  size_t operator()(std::u16string_view name) const {
    uint64_t head = 0;
    uint64_t tail = 0;
    size_t n = name.size();
    if (n >= 4) {
      memcpy(&head, name.data(), 8);
      memcpy(&tail, name.data() + n - 4, 8);
    } else {
      for (char16_t c : name) head = head << 16 | c;
    }
    uint64_t h = (head ^ (tail * 0x9E3779B97F4A7C15ull) ^ n) * 0xFF51AFD7ED558CCDull;
    return static_cast<size_t>(h ^ (h >> 31));
  }
};
// Compared as memory: the standard comparison of UTF-16 text goes character by character.
struct SameUnits {
  bool operator()(std::u16string_view a, std::u16string_view b) const {
    return a.size() == b.size() && memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
  }
};

}  // namespace

// The names as the members spell them, looked up first: stored names nearly always have that
// spelling, and an exact lookup costs a plain hash and a memory compare instead of folding case
// character by character. The folded set answers for the other spellings.
struct SessionConfig::ClaimedNames {
  NameSet folded;
  std::unordered_set<std::u16string_view, EndsHash, SameUnits> exact;  // views into `folded`
  // The same names for the key to leave out of its listing before making their UTF-16 forms.
  VValueNameSet spelt;
};

namespace {

// The stored names of a session's members are the same for every session of a product family,
// so they are gathered once: telling whether a stored value belongs to a member is then one
// lookup, where a search of the member table would cost two hundred comparisons for each of a
// session's hundred and fifty values.
const SessionConfig::ClaimedNames& ClaimedMemberNames(SessionConfig& loaded) {
  static std::mutex mutex;
  static SessionConfig::ClaimedNames sets[2];
  static bool built[2] = {false, false};
  int variant = loaded.UsesLmbNames() ? 1 : 0;
  std::lock_guard<std::mutex> lock(mutex);
  if (!built[variant]) {
    std::vector<VUnicodeString> names;
    loaded.CollectMemberNames(names);
    // Older names that the session reads once and converts belong to it too.
    for (const OlderSecret& older : kOlderSecrets) names.emplace_back(older.olderName);
    for (const char16_t* older : kConvertedOlderNames) names.emplace_back(older);
    for (auto& name : names) sets[variant].folded.insert(std::move(name));
    for (const std::u16string& name : sets[variant].folded) sets[variant].exact.insert(name);
    sets[variant].spelt = VValueNameSet(std::vector<VUnicodeString>(
        sets[variant].folded.begin(), sets[variant].folded.end()));
    built[variant] = true;
  }
  return sets[variant];
}

const VValueNameSet& SpeltNames(const SessionConfig::ClaimedNames& claimed) {
  return claimed.spelt;
}

}  // namespace

bool SessionConfig::IsClaimed(std::u16string_view name) const {
  return IsClaimedBy(ClaimedMemberNames(*const_cast<SessionConfig*>(this)), name);
}

bool SessionConfig::IsClaimedBy(const ClaimedNames& members, std::u16string_view name) const {
  if (members.exact.count(name) || members.folded.find(name) != members.folded.end()) return true;
  for (const ConnectConfigPtr* part : {&terminalPart, &transferPart}) {
    for (ConnectConfig* config : part->GetConfigs()) {
      if (config->FindMember(name)) return true;
    }
  }
  return false;
}

bool SessionConfig::Save(VProfileKey& key, bool force) {
  bool ok = VProfileComposite::Save(key, force);
  // Values no part knows are needed in full only where they are not yet (a copy elsewhere).
  ok = retained_.Save(key, force) && ok;
  if (ok) {
    // The older copies of carried secrets go only once the current ones are in the key.
    for (const char16_t* older : carriedOlderNames_) {
      VUnicodeString stored;
      if (key.ReadString(older, stored) && !stored.empty() && !key.WriteString(older, u""))
        ok = false;
    }
    if (ok) carriedOlderNames_.clear();
  }
  return ok;
}

bool SessionConfig::IsModified() const {
  return VProfileComposite::IsModified() || retained_.IsModified();
}

void SessionConfig::Commit() { DoCommit(); }

void SessionConfig::Revert() { DoRevert(); }

void SessionConfig::CopySession(const ISessionConfig& other) {
  if (auto* session = dynamic_cast<const SessionConfig*>(&other)) CopyValue(*session);
}

VProfileData* SessionConfig::FindSetting(std::u16string_view keyName) {
  if (VProfileData* found = FindMember(keyName)) return found;
  for (ConnectConfigPtr* part : {&terminalPart, &transferPart}) {
    if (ConnectConfig* config = part->GetConfig()) {
      if (VProfileData* found = config->FindMember(keyName)) return found;
    }
  }
  return nullptr;
}

const ConnectConfigPtr& SessionConfig::CurrentPart() const {
  return (product_ == 6 || product_ == 9) ? transferPart : terminalPart;
}

ConnectConfigPtr& SessionConfig::CurrentPart() {
  return (product_ == 6 || product_ == 9) ? transferPart : terminalPart;
}

VUnicodeString SessionConfig::GetConnectionDisplayText() const {
  const ConnectConfig* config = terminalPart.GetConfig();
  int position = terminalPart.GetPosition();
  if (!config || position < 0) return VUnicodeString();
  return GetConnectProtocolTable().At(static_cast<size_t>(position)).callbacks.connectionText(*config);
}

bool SessionConfig::IsTerminalPartUsable() const {
  const ConnectConfig* config = terminalPart.GetConfig();
  return config && config->IsUsable();
}

bool SessionConfig::IsTransferPartUsable() const {
  const ConnectConfig* config = transferPart.GetConfig();
  return config && config->IsUsable();
}

VUnicodeString SessionConfig::GetProtocolSummary() const {
  if (product_ == 3) return VUnicodeString(u"SSH2");
  if (terminalPart.GetConfig()) return VUnicodeString(u"SSH2, SFTP or SCP");
  return VUnicodeString(u"SFTP or SCP");
}

std::unique_ptr<VProfileKey> SessionConfig::KnownValuesKey() const {
  std::vector<VNamedStoredValue> values;
  // The protocols in use first (their values may have been edited), then what the key held that
  // no part claimed (the values of protocols not in use, kept as stored).
  for (const ConnectConfigPtr* part : {&terminalPart, &transferPart}) {
    if (const ConnectConfig* config = part->GetConfig()) {
      for (VSettingInfo& info : config->ListSettings()) {
        if (info.hasValue) values.push_back({std::move(info.name), std::move(info.value)});
      }
    }
  }
  for (size_t i = 0; i < retained_.Size(); ++i) values.push_back({retained_.NameAt(i), retained_.ValueAt(i)});
  return MakeStoredValuesKey(std::move(values));
}

bool SessionConfig::SetTerminalProtocol(const VUnicodeString& name, VReportMessageParams& error) {
  // A protocol chosen now starts from the values the session's key holds for it (its own, kept
  // while it was not in use, and those it shares with the other part, such as "Hostname"), so
  // that its defaults never overwrite them at the next save.
  std::unique_ptr<VProfileKey> known = KnownValuesKey();
  if (!terminalPart.SetProtocol(name, error, known.get())) return false;
  retained_.Forget([this](std::u16string_view value) { return IsClaimed(value); });
  return true;
}

bool SessionConfig::SetTransferProtocol(const VUnicodeString& name, VReportMessageParams& error) {
  std::unique_ptr<VProfileKey> known = KnownValuesKey();
  if (!transferPart.SetProtocol(name, error, known.get())) return false;
  retained_.Forget([this](std::u16string_view value) { return IsClaimed(value); });
  return true;
}

bool SessionConfig::QueryTransferConfig(int question, VVariant& answer) {
  ConnectConfig* config = transferPart.GetConfig();
  return config && config->Query(question, answer);
}

VStringArray SessionConfig::GetFirewallNames() const {
  if (SessionDatabase* database = GetSessionDatabase()) return database->ListFirewalls();
  SessionDatabase local;
  return local.ListFirewalls();
}

bool SessionConfig::IsDefaultSession() const {
  return vtext::EqualsNoCase(name_, kDefaultSessionName) &&
         vtext::EqualsNoCase(path_, kDefaultSessionName);
}

// ---- defaults ----

void SessionConfig::DefaultUploadDirectory(ProfilePath& value, const VProfileKey*) {
  value = VUnicodeString::FromUtf8(vapp::HomeFolder());
}

void SessionConfig::DefaultDownloadDirectory(ProfilePath& value, const VProfileKey* key) {
  // Finding the desktop's download folder reads a file, once for every session opened; a folder
  // stored in the session, which the load takes next, leaves the default unused.
  if (key && value.ReadValue(*key, value.GetName(), nullptr)) return;
  value = vdesktop::DownloadFolder();
}

void SessionConfig::DefaultLineSendDelay(VProfile<int>& value, const VProfileKey*) {
  value = globalLineSendDelay_;
}

void SessionConfig::DefaultCharacterSendDelay(VProfile<int>& value, const VProfileKey*) {
  value = globalCharacterSendDelay_;
}

void SessionConfig::DefaultHighlightReverseVideo(VProfile<bool>& value, const VProfileKey*) {
  value = (highlightingStyle_ & kHighlightReverseVideoFlag) != 0;
}

void SessionConfig::DefaultHighlightBold(VProfile<bool>& value, const VProfileKey*) {
  value = (highlightingStyle_ & kHighlightBoldFlag) != 0;
}

void SessionConfig::DefaultHighlightColor(VProfile<bool>& value, const VProfileKey*) {
  value = (highlightingStyle_ & kHighlightColorFlag) != 0;
}

void SessionConfig::DefaultScpShellPrompts(VProfileStringArray& value, const VProfileKey*) {
  // One prompt: a question mark and a blank, not hidden, answered with a line end.
  value = VStringArray{VUnicodeString(u"\"? \",0,\"\\n\"")};
}
