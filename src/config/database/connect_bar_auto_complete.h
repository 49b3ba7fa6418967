// Suggestions for the host's connect bar: the saved sessions whose names contain the typed text,
// found on the host's dispatcher thread. Requests that arrive while a search runs are merged, so
// that each sink only ever waits for the newest text it asked about.
#pragma once

#include <map>
#include <mutex>

#include "config/database/auto_complete_interfaces.h"
#include "config/database/session_database.h"

class ConnectBarAutoCompleteDataSource
    : public VUnknown<Interface::ConnectBarAutoCompleteDataSource> {
 public:
  // `sessions` is where sessions are found; null means the host's item database.
  explicit ConnectBarAutoCompleteDataSource(IDeferredProcedureDispatcher* dispatcher,
                                            ISessionListing* sessions = nullptr)
      : dispatcher_(dispatcher), sessions_(sessions) {}

  // Records `text` as the sink's newest request. A sink without an open request is held and a
  // search is dispatched for it; one with an open request only has its text replaced.
  bool AutoComplete(const VUnicodeString& text, IAutoCompleteDataSink* sink) override;
  // Searches for the newest text of the sink `argument` and delivers the result; when the text
  // changed meanwhile, dispatches another search, else lets the sink go.
  void Execute(void* argument) override;

  // The sessions of `sessions` whose names contain `text` without regard to case, as paths
  // ("Lab\router1"), sorted by code unit; the template "Default" at the root is not offered. An
  // empty text finds nothing and reads nothing. `skipped` gets the folders that could not be
  // read.
  static VStringArray Search(ISessionListing* sessions, const VUnicodeString& text,
                             std::vector<SkippedFolder>* skipped = nullptr);

 protected:
  ~ConnectBarAutoCompleteDataSource() override;

 private:
  // Asks the dispatcher to run a search for `sink`, holding this object until it has run; when
  // refused, the request is dropped and the sink let go. False when refused.
  bool DispatchSearch(IAutoCompleteDataSink* sink);

  IDeferredProcedureDispatcher* dispatcher_;
  ISessionListing* sessions_;
  std::mutex mutex_;  // guards pending_; never held while searching or calling a sink
  std::map<IAutoCompleteDataSink*, VUnicodeString> pending_;
};
