#include "environment/os_names.h"

#include "report/report_message_params.h"

bool VGetOsIdDisplayName(int index, VUnicodeString& name) {
  static constexpr const char16_t* kNames[kOsIdCount] = {
      nullptr, u"UNIX", u"VMS", u"Windows NT", u"MSDOS", u"MacOS", u"pSOS", u"MVS",
      u"NetWare", u"VOS", u"VM", u"OS/400", u"SOS", u"Cisco IOS/Juniper",
      u"NetScreen/Juniper ScreenOS", u"Cisco ASA"};
  if (index < 0 || index >= kOsIdCount) return false;
  if (index == 0) {
    VReportMessageParams message(kMsgOsAutomaticDetect);
    name = message.GetTextOneLineTrimmed();
  } else {
    name = kNames[index];
  }
  return true;
}
