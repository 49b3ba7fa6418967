#include "config/session/connect_config_ptr.h"

#include "config/session/connect_protocol_table.h"
#include "config/session/none_config.h"
#include "config/session/session_messages.h"
#include "report/message_router.h"

namespace {

constexpr const char16_t* kTerminalProtocolValue = u"Protocol Name";
constexpr const char16_t* kTransferProtocolValue = u"Transfer Protocol Name";

bool IsNone(std::u16string_view name) { return vtext::EqualsNoCase(name, kNoneProtocolName); }

}  // namespace

ConnectConfigPtr::ConnectConfigPtr(const ConnectConfigPtr& other)
    : VProfileComposite(other),
      protocolName(other.protocolName),
      partIndex_(other.partIndex_),
      position_(other.position_),
      hasProtocol_(other.hasProtocol_),
      fallback_(other.fallback_),
      isDefault_(other.isDefault_),
      common_(nullptr) {
  for (const VRef<ConnectConfig>& config : other.configs_)
    configs_.emplace_back(config ? config->Clone() : nullptr);
  if (other.none_) none_ = VRef<ConnectConfig>(other.none_->Clone());
}

QL_MEMBER_TABLE(ConnectConfigPtr, CONNECT_CONFIG_PTR_MEMBERS)

VUnicodeString ConnectConfigPtr::StoredName(const VMemberRow& row) const {
  return VUnicodeString(partIndex_ == 0 ? kTerminalProtocolValue : kTransferProtocolValue);
}

void ConnectConfigPtr::OnAfterLoad(const VProfileKey* key) {
  ConnectProtocolTable& table = GetConnectProtocolTable();
  warning_.Reset(0);
  fallback_ = false;
  const VUnicodeString stored = protocolName.Current();
  if (!stored.empty() && IsNone(stored)) {
    protocolName = VUnicodeString(kNoneProtocolName);
    Select(-1, key, true);
    return;
  }
  int position = -1;
  if (!stored.empty()) {
    position = table.Find(stored, partIndex_);
    if (position < 0) {
      // The module of the user's protocol is not loaded in this process: the run uses the
      // default, and the stored choice is kept for the runs that have the module.
      fallback_ = true;
      warning_.Reset(kMsgUnknownProtocol);
      warning_.AddInsert(stored.c_str());
      VRouteMessage(warning_);
      position = table.FirstFor(partIndex_);
    }
  } else {
    // No choice stored: the first protocol of the part's kind becomes the choice.
    position = table.FirstFor(partIndex_);
    if (position >= 0) protocolName = table.At(static_cast<size_t>(position)).protocolName;
  }
  if (position >= 0) {
    Select(position, key, true);
    return;
  }
  if (isDefault_ && !fallback_) {
    // The template may stay without a protocol of this kind.
    position_ = -1;
    hasProtocol_ = false;
    return;
  }
  if (!fallback_) protocolName = VUnicodeString(kNoneProtocolName);
  Select(-1, key, true);
}

ConnectConfig* ConnectConfigPtr::ConfigFor(int position, const VProfileKey* key, bool loadFromKey) {
  VRef<ConnectConfig>* slot = &none_;
  const ConnectProtocolEntry* entry = &NoneProtocolEntry();
  if (position >= 0) {
    if (configs_.size() <= static_cast<size_t>(position)) configs_.resize(position + 1);
    slot = &configs_[static_cast<size_t>(position)];
    entry = &GetConnectProtocolTable().At(static_cast<size_t>(position));
  }
  if (!*slot || loadFromKey) {
    if (!*slot) *slot = VRef<ConnectConfig>(entry->CreateConfig());
    if (*slot) {
      (*slot)->LoadConfig(loadFromKey ? key : nullptr, common_, GetProductId());
      entry->callbacks.sessionLoaded(*slot->Get());
    }
  }
  return slot->Get();
}

void ConnectConfigPtr::Select(int position, const VProfileKey* key, bool loadFromKey) {
  position_ = position;
  hasProtocol_ = true;
  ConfigFor(position, key, loadFromKey);
}

VUnicodeString ConnectConfigPtr::GetProtocolName() const {
  if (!hasProtocol_) return VUnicodeString();
  if (position_ < 0) return VUnicodeString(kNoneProtocolName);
  return GetConnectProtocolTable().At(static_cast<size_t>(position_)).protocolName;
}

VUnicodeString ConnectConfigPtr::GetProtocolDisplayName() const {
  if (!hasProtocol_) return VUnicodeString();
  if (position_ < 0) return VUnicodeString(kNoneProtocolName);
  return GetConnectProtocolTable().At(static_cast<size_t>(position_)).displayName;
}

ConnectConfig* ConnectConfigPtr::GetConfig() const {
  if (!hasProtocol_) return nullptr;
  if (position_ < 0) return none_.Get();
  size_t index = static_cast<size_t>(position_);
  return index < configs_.size() ? configs_[index].Get() : nullptr;
}

std::vector<ConnectConfig*> ConnectConfigPtr::GetConfigs() const {
  std::vector<ConnectConfig*> out;
  for (const VRef<ConnectConfig>& config : configs_) {
    if (config) out.push_back(config.Get());
  }
  if (none_) out.push_back(none_.Get());
  return out;
}

bool ConnectConfigPtr::SetProtocol(const VUnicodeString& name, VReportMessageParams& error,
                                   const VProfileKey* seed) {
  int position = -1;
  if (!IsNone(name)) {
    position = GetConnectProtocolTable().Find(name, partIndex_);
    if (position < 0) {
      error.Reset(kMsgProtocolNotAvailable);
      error.AddInsert(name.c_str());
      return false;
    }
  }
  protocolName = position < 0 ? VUnicodeString(kNoneProtocolName)
                              : GetConnectProtocolTable().At(static_cast<size_t>(position)).protocolName;
  fallback_ = false;
  // A protocol not used before in this session starts from what the session holds for it; one
  // used before keeps its edited values.
  bool fresh = position >= 0 &&
               (configs_.size() <= static_cast<size_t>(position) || !configs_[static_cast<size_t>(position)]);
  Select(position, fresh ? seed : nullptr, fresh && seed);
  return true;
}

bool ConnectConfigPtr::Save(VProfileKey& key, bool force) {
  bool ok = VProfileComposite::Save(key, force);
  ConnectConfig* config = GetConfig();
  if (!config) return ok;
  // A protocol standing in for one that is not loaded writes nothing of its own unless the user
  // changed it: its defaults are not the user's settings.
  if (fallback_ && !config->IsModified()) return ok;
  const ConnectProtocolEntry& entry = position_ < 0
                                          ? NoneProtocolEntry()
                                          : GetConnectProtocolTable().At(static_cast<size_t>(position_));
  entry.callbacks.sessionSaving(*config);
  return config->Save(key, force) && ok;
}

bool ConnectConfigPtr::IsModified() const {
  if (VProfileComposite::IsModified()) return true;
  ConnectConfig* config = GetConfig();
  return config && config->IsModified();
}

void ConnectConfigPtr::CopyValue(const VProfileData& other) {
  auto* source = dynamic_cast<const ConnectConfigPtr*>(&other);
  if (!source || source == this || source->partIndex_ != partIndex_) return;
  if (source->protocolName.IsModified()) {
    VReportMessageParams ignored;
    if (!SetProtocol(source->protocolName.Current(), ignored)) {
      // A protocol not loaded here is still the other session's choice: take the name.
      protocolName = source->protocolName.Current();
    }
  }
  ConnectConfig* theirs = source->GetConfig();
  ConnectConfig* mine = GetConfig();
  if (theirs && mine && source->position_ == position_ && theirs->IsModified())
    mine->CopyValue(*theirs);
}

void ConnectConfigPtr::DoCommit() {
  VProfileComposite::DoCommit();
  for (ConnectConfig* config : GetConfigs()) config->Commit();
}

void ConnectConfigPtr::DoRevert() {
  bool nameChanged = protocolName.IsModified();
  VProfileComposite::DoRevert();
  for (ConnectConfig* config : GetConfigs()) config->Revert();
  if (!nameChanged) return;
  // The choice made since the last commit is undone: the part uses the saved choice again.
  const VUnicodeString& name = protocolName.Current();
  if (IsNone(name)) {
    Select(-1, nullptr, false);
  } else if (int position = GetConnectProtocolTable().Find(name, partIndex_); position >= 0) {
    Select(position, nullptr, false);
  }
}
