// The filters of the configuration, found and kept by name through the item database: keys
// directly below "Filters" that carry "Is Session".
#pragma once

#include "config/highlight/filter_config.h"
#include "platform/unknown.h"
#include "report/report_message_params.h"

class SessionDatabase;

class FilterStore {
 public:
  explicit FilterStore(SessionDatabase& database) : database_(database) {}

  // The filter named `name`; empty when its key is missing or does not carry "Is Session", and
  // for a name that is empty or holds a backslash (which would name "Filters" itself or a key
  // further down).
  VRef<FilterConfig> Open(const VUnicodeString& name);
  bool Exists(const VUnicodeString& name);
  // The names of the filters in name order.
  VStringArray List();
  // Removes the filter's key with everything below it. False with the reason when there is no
  // such filter or it may not be removed.
  bool Delete(const VUnicodeString& name, VReportMessageParams& error);
  // Saves `filter` under its name: with `force`, or whole when its key was not a filter before.
  bool Save(FilterConfig& filter, bool force, VReportMessageParams& error);

 private:
  SessionDatabase& database_;
};
