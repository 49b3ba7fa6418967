#include "config/transfer/scheduled_task_config.h"

ScheduledTaskConfig::ScheduledTaskConfig(const VUnicodeString& name)
    : VNamedItemObject(ItemCollection::ScheduledTasks, name) {}

QL_MEMBER_TABLE(ScheduledTaskConfig, SCHEDULED_TASK_CONFIG_MEMBERS)

int ScheduledTaskConfig::SaveKeyFlags(const VProfileKey& collectionKey) const {
  return collectionKey.SubKeyExists(GetItemName().c_str()) ? 0 : kProfileKeyCreate;
}
