// The host's report router and the destinations that receive routed messages.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "report/report_message_params.h"

// Receives every routed message and keeps those whose topic is in its table.
class VReportMessageDestination {
 public:
  explicit VReportMessageDestination(const VUnicodeString& name = VUnicodeString());
  virtual ~VReportMessageDestination() = default;

  const VUnicodeString& GetName() const { return name_; }
  // Topic names are cut to 31 characters.
  void AddTopic(uint32_t id, const char16_t* name);
  bool IsTopicEnabled(uint32_t id) const;
  // The topic's name, or null when the topic is not in the table.
  const char16_t* GetTopicName(uint32_t id) const;

  virtual void HandleMessage(IReportMessageParams& message) = 0;

 private:
  struct Topic {
    uint32_t id;
    VUnicodeString name;
  };
  VUnicodeString name_;
  std::vector<Topic> topics_;
};

class VReportMessageRouter {
 public:
  virtual ~VReportMessageRouter() = default;
  virtual bool AddDestination(VReportMessageDestination* destination) = 0;
  virtual bool RemoveDestination(VReportMessageDestination* destination) = 0;
  virtual void Route(IReportMessageParams& message) = 0;
};

// A router that hands every message to each destination in the order they were added.
class VSimpleReportRouter : public VReportMessageRouter {
 public:
  bool AddDestination(VReportMessageDestination* destination) override;
  bool RemoveDestination(VReportMessageDestination* destination) override;
  void Route(IReportMessageParams& message) override;

 private:
  std::mutex mutex_;
  std::vector<VReportMessageDestination*> destinations_;
};

using VReportRouterGetter = VReportMessageRouter* (*)();
void VSetReportRouterGetter(VReportRouterGetter getter);
// The host's router, asked for anew at each use; null when the host gave none.
VReportMessageRouter* VGetReportRouter();
// Routes through the host's router; false when there is none.
bool VRouteMessage(IReportMessageParams& message);
