// A scheduled file transfer: what to copy between a local folder and a remote session (or which
// synchronize session to run), kept as a key below "ScheduledTasks" named after the task. The
// task's timer (environment/task_units.h) runs the file-transfer client with the task's name; the
// schedule last read back from the timer is kept in "Task Data".
#pragma once

#include "config/items/named_item_config.h"
#include "storage/values/profile_values.h"

// The settings of ScheduledTaskConfig, in load order (see QL_MEMBERS). "Direction" and "Task
// Data" belong to the client's scheduling dialog and are kept as they are.
#define SCHEDULED_TASK_CONFIG_MEMBERS(SETTING, OBJECT)                                             \
  SETTING(VProfile<bool>, useSynchronizeSession, u"Use Synchronize Session", false)                \
  SETTING(VProfileString, synchronizeSession, u"Synchronize Session", u"")                         \
  SETTING(VProfileString, localPath, u"Local Path", u"")                                           \
  SETTING(VProfileString, remoteSession, u"Remote Session", u"")                                   \
  SETTING(VProfileString, remotePath, u"Remote Path", u"")                                         \
  SETTING(VProfileStringArray, filenames, u"Filenames")                                            \
  SETTING(VProfile<int>, direction, u"Direction", 0)                                               \
  SETTING(VProfileString, logFilename, u"Log Filename", u"")                                       \
  SETTING(VProfileBlob, taskData, u"Task Data")

class ScheduledTaskConfig : public VNamedItemObject<IUnknown> {
 public:
  // A task of defaults named `name`, not yet loaded.
  explicit ScheduledTaskConfig(const VUnicodeString& name = VUnicodeString());

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();

  QL_MEMBERS(SCHEDULED_TASK_CONFIG_MEMBERS)
};
