#include "ui/main_window/connect_bar.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>

#include "config/database/connect_bar_auto_complete.h"
#include "config/database/session_database_instance.h"
#include "marrowby/qt_text.h"
#include "ui/main_window/main_window_messages.h"

using namespace main_window_messages;

bool VQtDeferredDispatcher::Dispatch(IDeferredProcedure* procedure, void* argument) {
  if (!context_) return false;
  ++dispatched_;
  // Queued: the work runs once the events already waiting (the keys typed meanwhile) are handled.
  QMetaObject::invokeMethod(
      context_.data(), [procedure, argument] { procedure->Execute(argument); },
      Qt::QueuedConnection);
  return true;
}

void VConnectBarSink::OnAutoCompleteResult(const VUnicodeString& text, const VStringArray& matches,
                                           IAutoCompleteDataSource*) {
  if (!bar_) return;
  QStringList list;
  list.reserve(static_cast<int>(matches.GetSize()));
  for (const auto& match : matches) list.append(ToQString(match));
  bar_->TakeResult(ToQString(text), list);
}

VConnectBar::VConnectBar(QWidget* parent, IAutoCompleteDataSource* source)
    : QWidget(parent), dispatcher_(this), source_(source) {
  label_ = new QLabel(CatalogueText(kConnectBarLabel), this);
  edit_ = new QLineEdit(this);
  edit_->setPlaceholderText(CatalogueText(kConnectBarHint));
  edit_->setClearButtonEnabled(true);
  label_->setBuddy(edit_);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->addWidget(label_);
  layout->addWidget(edit_, 1);

  model_ = new QStringListModel(this);
  completer_ = new QCompleter(model_, this);
  // The list holds what the source found (names containing the text anywhere): shown as it is,
  // not filtered again by its beginning.
  completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  completer_->setCaseSensitivity(Qt::CaseInsensitive);
  completer_->setWidget(edit_);
  // Every row is one line of text: the list is laid out without measuring ten thousand of them.
  if (auto* list = qobject_cast<QListView*>(completer_->popup())) list->setUniformItemSizes(true);
  connect(completer_, qOverload<const QString&>(&QCompleter::activated), this,
          [this](const QString& path) {
            edit_->setText(path);
            emit sessionChosen(path);
          });
  connect(edit_, &QLineEdit::textEdited, this, &VConnectBar::OnTextEdited);
  connect(edit_, &QLineEdit::returnPressed, this, &VConnectBar::OnReturn);

  if (!source_) source_ = new ConnectBarAutoCompleteDataSource(&dispatcher_);
  else source_->AddRef();
  sink_ = new VConnectBarSink(this);
}

VConnectBar::~VConnectBar() {
  // A search still queued answers nobody; the source lets the sink go when it has run.
  sink_->Detach();
  sink_->Release();
  source_->Release();
}

void VConnectBar::OnTextEdited(const QString& text) {
  if (!source_->AutoComplete(FromQString(text), sink_)) TakeResult(text, {});
}

void VConnectBar::TakeResult(const QString& text, const QStringList& matches) {
  ++results_;
  // An answer for an older text is left: the one for the newest is on its way.
  if (text != edit_->text()) return;
  suggestions_ = matches;
  suggestionsText_ = text;
  model_->setStringList(matches);
  if (matches.isEmpty()) {
    completer_->popup()->hide();
  } else if (edit_->isVisible()) {
    completer_->complete();
  }
  emit suggestionsUpdated(text, static_cast<int>(matches.size()));
}

void VConnectBar::OnReturn() {
  QString text = edit_->text().trimmed();
  if (text.isEmpty()) return;
  completer_->popup()->hide();
  // The text itself when it names a session, else the first suggestion for it.
  QStringList matches = suggestionsText_ == edit_->text() ? suggestions_ : QStringList();
  if (matches.isEmpty()) {
    SessionDatabase* database = GetSessionDatabase();
    if (database) {
      for (const auto& match : ConnectBarAutoCompleteDataSource::Search(database, FromQString(text)))
        matches.append(ToQString(match));
    }
  }
  for (const QString& match : matches) {
    if (match.compare(text, Qt::CaseInsensitive) == 0) {
      emit sessionChosen(match);
      return;
    }
  }
  if (!matches.isEmpty()) emit sessionChosen(matches.first());
}
