#include "report/message_router.h"

#include <algorithm>
#include <atomic>

namespace {
std::atomic<VReportRouterGetter> gRouterGetter{nullptr};
}

VReportMessageDestination::VReportMessageDestination(const VUnicodeString& name) : name_(name) {}

void VReportMessageDestination::AddTopic(uint32_t id, const char16_t* name) {
  VUnicodeString text(name);
  if (text.size() > 31) text.resize(31);
  for (auto& topic : topics_) {
    if (topic.id == id) {
      topic.name = text;
      return;
    }
  }
  topics_.push_back({id, text});
}

bool VReportMessageDestination::IsTopicEnabled(uint32_t id) const {
  return GetTopicName(id) != nullptr;
}

const char16_t* VReportMessageDestination::GetTopicName(uint32_t id) const {
  for (const auto& topic : topics_) {
    if (topic.id == id) return topic.name.c_str();
  }
  return nullptr;
}

bool VSimpleReportRouter::AddDestination(VReportMessageDestination* destination) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!destination || std::find(destinations_.begin(), destinations_.end(), destination) !=
                          destinations_.end())
    return false;
  destinations_.push_back(destination);
  return true;
}

bool VSimpleReportRouter::RemoveDestination(VReportMessageDestination* destination) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = std::find(destinations_.begin(), destinations_.end(), destination);
  if (it == destinations_.end()) return false;
  destinations_.erase(it);
  return true;
}

void VSimpleReportRouter::Route(IReportMessageParams& message) {
  std::vector<VReportMessageDestination*> targets;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    targets = destinations_;
  }
  for (auto* destination : targets) destination->HandleMessage(message);
}

void VSetReportRouterGetter(VReportRouterGetter getter) { gRouterGetter = getter; }

VReportMessageRouter* VGetReportRouter() {
  VReportRouterGetter getter = gRouterGetter.load();
  return getter ? getter() : nullptr;
}

bool VRouteMessage(IReportMessageParams& message) {
  VReportMessageRouter* router = VGetReportRouter();
  if (!router) return false;
  router->Route(message);
  return true;
}
