// A plain log file: one line "time,topic,text" per routed message whose topic is in the table.
#pragma once

#include "report/log_w3c_destination.h"

class VFileDestination : public VW3CFileDestination {
 public:
  explicit VFileDestination(VReportMessageRouter* router = nullptr, VLogClock clock = VLogClock())
      : VW3CFileDestination(VUnicodeString(), router, VUnicodeString(), VUnicodeString(), 0, false,
                            std::move(clock)) {}

  void HandleMessage(IReportMessageParams& message) override;

 protected:
  bool WritesHeader() const override { return false; }
};
