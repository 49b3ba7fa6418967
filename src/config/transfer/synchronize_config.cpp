#include "config/transfer/synchronize_config.h"

#include "config/sync/sync_messages.h"

SynchronizeConfig::SynchronizeConfig(const VUnicodeString& name)
    : VNamedItemObject(ItemCollection::SynchronizeEntries, name) {}

const VMemberTable& SynchronizeConfig::MemberTable() {
  static const VMemberRow kRows[] = {QL_NESTED(SynchronizeConfig, profile)};
  static const VMemberTable table(kRows);
  return table;
}

bool SynchronizeConfig::SaveItem(VProfileKey& collectionKey, bool force,
                                 VReportMessageParams& error) {
  if (profile.settings.tasks.empty()) {
    error.Reset(kMsgSyncProfileWithoutTask);
    error.AddInsert(GetItemName().c_str());
    return false;
  }
  return NamedItemConfig::SaveItem(collectionKey, force, error);
}
