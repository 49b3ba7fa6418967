// A named synchronize profile: an item below "SynchronizeDB" whose key holds the profile's
// values. The item database recognises one by its "Task[0].Type", so a profile is saved only
// while it has a task.
#pragma once

#include "config/items/named_item_config.h"
#include "config/sync/synchronize_profile.h"

class SynchronizeConfig : public VNamedItemObject<IUnknown> {
 public:
  explicit SynchronizeConfig(const VUnicodeString& name = VUnicodeString());

  SynchronizeProfile profile;

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();

  // Refuses (kMsgSyncProfileWithoutTask) a profile without tasks, which would be stored where no
  // listing or load finds it again.
  bool SaveItem(VProfileKey& collectionKey, bool force, VReportMessageParams& error) override;
};
