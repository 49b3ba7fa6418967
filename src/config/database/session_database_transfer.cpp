// The scheduled transfers and named synchronize profiles of the item database.
#include "config/database/session_database.h"
#include "config/transfer/scheduled_task_config.h"
#include "config/transfer/synchronize_config.h"

namespace {

// The item as its kind's object, holding its own reference.
template <class Kind>
VRef<Kind> As(VRef<NamedItemConfig> item) {
  auto* kind = dynamic_cast<Kind*>(item.Get());
  if (!kind) return VRef<Kind>();
  kind->AddRef();
  return VRef<Kind>(kind);
}

}  // namespace

VRef<ScheduledTaskConfig> SessionDatabase::OpenScheduledTask(const VUnicodeString& name) {
  return As<ScheduledTaskConfig>(LoadItem(ItemCollection::ScheduledTasks, name));
}

VRef<SynchronizeConfig> SessionDatabase::OpenSynchronizeConfig(const VUnicodeString& name) {
  return As<SynchronizeConfig>(LoadItem(ItemCollection::SynchronizeEntries, name));
}
