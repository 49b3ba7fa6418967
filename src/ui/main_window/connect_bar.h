// The connect bar of the main window: a line into which the user types part of a session's name,
// with suggestions from the library's data source. The searches run later on the Qt event loop,
// through a dispatcher of deferred work, so a user typing quickly is answered once for the newest
// text rather than once per key.
#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "config/database/auto_complete_interfaces.h"

class QCompleter;
class QLabel;
class QLineEdit;
class QStringListModel;
class VConnectBar;

// Runs deferred work on the event loop of the thread that owns `context`.
class VQtDeferredDispatcher : public IDeferredProcedureDispatcher {
 public:
  explicit VQtDeferredDispatcher(QObject* context) : context_(context) {}
  bool Dispatch(IDeferredProcedure* procedure, void* argument) override;
  // How many runs were asked for: requests merged by the source never reach the dispatcher.
  size_t Dispatched() const { return dispatched_; }

 private:
  QPointer<QObject> context_;
  size_t dispatched_ = 0;
};

// Receives the suggestions for the bar while the bar lives; the source holds it between a
// request and its answer, so it may outlive the bar.
class VConnectBarSink : public VUnknown<IAutoCompleteDataSink> {
 public:
  explicit VConnectBarSink(VConnectBar* bar) : bar_(bar) {}
  void OnAutoCompleteResult(const VUnicodeString& text, const VStringArray& matches,
                            IAutoCompleteDataSource* source) override;
  void Detach() { bar_ = nullptr; }

 private:
  QPointer<VConnectBar> bar_;
};

class VConnectBar : public QWidget {
  Q_OBJECT

 public:
  // `source` null: the library's source over the host's item database.
  explicit VConnectBar(QWidget* parent = nullptr, IAutoCompleteDataSource* source = nullptr);
  ~VConnectBar() override;

  QLineEdit* Edit() const { return edit_; }
  QCompleter* Completer() const { return completer_; }
  QLabel* Label() const { return label_; }
  // The suggestions shown now, and the text they are for.
  const QStringList& Suggestions() const { return suggestions_; }
  const QString& SuggestionsText() const { return suggestionsText_; }
  const VQtDeferredDispatcher& Dispatcher() const { return dispatcher_; }
  size_t ResultsReceived() const { return results_; }

  // Called by the sink with the answer for `text`.
  void TakeResult(const QString& text, const QStringList& matches);

 signals:
  // The user chose the session `path` (Enter, or a suggestion picked).
  void sessionChosen(const QString& path);
  // The suggestions for the text now in the bar were put in the list.
  void suggestionsUpdated(const QString& text, int count);

 private:
  void OnTextEdited(const QString& text);
  void OnReturn();

  QLabel* label_;
  QLineEdit* edit_;
  QCompleter* completer_;
  QStringListModel* model_;
  VQtDeferredDispatcher dispatcher_;
  IAutoCompleteDataSource* source_;
  VConnectBarSink* sink_;
  QStringList suggestions_;
  QString suggestionsText_;
  size_t results_ = 0;
};
