// What the host's connect bar and the library's suggestion source say to each other. The host
// types text into the bar and asks a data source for suggestions; the source answers later, on
// whatever thread the host's dispatcher runs deferred work, through the sink it was given.
#pragma once

#include "platform/unicode_string.h"
#include "platform/unknown.h"

class IAutoCompleteDataSource;

// Receives suggestions. Reference counted: a source holds a reference while a request is open.
class IAutoCompleteDataSink : public IUnknown {
 public:
  // The suggestions for `text`, sorted; `source` is the source that searched.
  virtual void OnAutoCompleteResult(const VUnicodeString& text, const VStringArray& matches,
                                    IAutoCompleteDataSource* source) = 0;
};

class IAutoCompleteDataSource : public IUnknown {
 public:
  // Asks for the suggestions for `text`, to be delivered to `sink` later. False when the request
  // could not be queued (nothing will be delivered).
  virtual bool AutoComplete(const VUnicodeString& text, IAutoCompleteDataSink* sink) = 0;
};

// Work that a dispatcher runs later with the argument it was given.
class IDeferredProcedure : public IUnknown {
 public:
  virtual void Execute(void* argument) = 0;
};

// The host's runner of deferred work: calls `procedure->Execute(argument)` once, later (on any
// thread) or before returning. False when it will not run it. The procedure keeps itself alive
// until it has run.
class IDeferredProcedureDispatcher {
 public:
  virtual ~IDeferredProcedureDispatcher() = default;
  virtual bool Dispatch(IDeferredProcedure* procedure, void* argument) = 0;
};

namespace Interface {
// The connect bar's suggestion source is both a data source and the deferred search it runs.
class ConnectBarAutoCompleteDataSource : public IAutoCompleteDataSource,
                                         public IDeferredProcedure {};
}  // namespace Interface
