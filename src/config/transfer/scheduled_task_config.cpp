#include "config/transfer/scheduled_task_config.h"

ScheduledTaskConfig::ScheduledTaskConfig(const VUnicodeString& name)
    : VNamedItemObject(ItemCollection::ScheduledTasks, name) {}

QL_MEMBER_TABLE(ScheduledTaskConfig, SCHEDULED_TASK_CONFIG_MEMBERS)
