// The pages a protocol module describes (ProtocolPageSet), drawn as property pages and bound to
// the session's settings of that protocol through their stored names. One binder serves every
// module: a module's settings are data, and so are its pages.
#pragma once

#include <memory>
#include <vector>

#include <QPointer>

#include "config/session/protocol_page_set.h"
#include "marrowby/property_tree.h"
#include "platform/unicode_string.h"
#include "ui/protocol_pages.h"

class ConnectConfig;
class QLineEdit;

// One described page. Its controls are filled from the session's settings object of the
// protocol (or, while the session has none for it yet, from the protocol's defaults and the
// values the session shares by name), checked when the page is left, and written at OK into that
// object and into every part of the session that shares a setting of the same name.
class ModuleProtocolPage : public VPropertyTreePage {
  Q_OBJECT

 public:
  ModuleProtocolPage(const QString& title, const ProtocolPage& page,
                     const ConnectProtocolEntry& entry, ISessionConfig& session, int mode);
  ~ModuleProtocolPage() override;

  void OnInitDialog() override;
  bool OnKillActive() override;
  void OnApply() override;
  void OnDestroy() override;

  // The control of the field for `setting` (null when the page has none); for tests.
  QWidget* ControlFor(std::u16string_view setting) const;

 private:
  struct Bound {
    const ProtocolField* field;
    QWidget* control = nullptr;  // the line edit, combo box or check box
    QString label;               // as shown, for messages
    bool available = false;      // the settings object has the setting
    bool edited = false;         // password fields: written only when typed into
    QString shown;               // the state filled in, so that only a change is written
  };

  // The settings object the controls show and write: the session's, else a default one.
  ConnectConfig* Source();
  void AddRow(class QFormLayout* form, Bound& bound);
  void Fill(Bound& bound);
  QString EntryText(const Bound& bound) const;
  // The control's state as one text (check state, chosen value or text), for comparing.
  QString State(const Bound& bound) const;
  bool IsShown() const;
  void WipeSecrets();

  const ProtocolPage& page_;
  const ConnectProtocolEntry& entry_;
  ISessionConfig& session_;
  int mode_;
  std::vector<Bound> fields_;
  ConnectConfig* standIn_ = nullptr;  // owned (one reference) while the session has no object
};

// The pages of one protocol in one dialog: made the first time they are shown, under the
// Connection page (or where the description hangs them), hidden and shown again afterwards.
class ModuleProtocolPages : public IProtocolPages {
 public:
  ModuleProtocolPages(const ConnectProtocolEntry& entry, const ProtocolPageSet& set, int mode,
                      VPropertyTreePage* connectionPage);
  ~ModuleProtocolPages() override;

  void ShowPages(VPropertyTreeDialog& dialog, ISessionConfig& session) override;
  void HidePages(VPropertyTreeDialog& dialog) override;
  void RemovePages(VPropertyTreeDialog& dialog) override;

  // Every page made so far, in the order of the description.
  const std::vector<ModuleProtocolPage*>& Pages() const { return pages_; }

 private:
  const ConnectProtocolEntry& entry_;
  const ProtocolPageSet& set_;
  int mode_;
  QPointer<VPropertyTreePage> connectionPage_;
  std::vector<ModuleProtocolPage*> pages_;
  std::vector<QPointer<VPropertyTreePage>> roots_;
};

// The default maker of protocol pages: the pages the entry's module describes; null when it
// describes none.
std::unique_ptr<IProtocolPages> MakeModuleProtocolPages(const ConnectProtocolEntry& entry,
                                                        VPropertyTreeDialog& dialog, int mode,
                                                        ISessionConfig& session,
                                                        VPropertyTreePage* connectionPage);
