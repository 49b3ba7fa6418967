// Editing the Default session, the template of new sessions, and then, when the user asks,
// pushing the changes into every saved session.
#pragma once

#include "marrowby/dialog.h"

class GlobalConfig;
class QLabel;
class QPushButton;

// "Apply the changes to ALL of your sessions?": OK (kIdOk) for all sessions, Cancel (kIdCancel,
// the default) for the Default session only.
class ApplyDefaultSessionChangesDialog : public VDialog {
  Q_OBJECT

 public:
  explicit ApplyDefaultSessionChangesDialog(QWidget* parent = nullptr);
  QPushButton* AllButton() const { return all_; }
  QPushButton* DefaultOnlyButton() const { return only_; }

 private:
  QPushButton* all_;
  QPushButton* only_;
};

// Opens "Default" through the item database, runs the Session Options dialog over it in the
// Default-session mode, and on OK offers to apply the changes to all sessions, then saves it.
// `allSessionsChanged` becomes true only when every session took the changes. Returns the
// dialog's result (kIdOk or kIdCancel), or 0 when the Default session could not be opened or
// saved (the reason was shown).
int EditDefaultSessionWithResult(GlobalConfig* global, unsigned appearanceFlags, QWidget* parent,
                                 bool& allSessionsChanged);
void EditDefaultSession(GlobalConfig* global, unsigned appearanceFlags, QWidget* parent,
                        bool& allSessionsChanged);
