// The Mapped Keys page of the Session Options dialog: the key mappings of the session (its own, or
// those of the custom key map file it selects) and the three keyboard switches of the terminal.
// Like every page it works on its own copy while the dialog is open; OK writes what changed
// (the key map file through the key map's own save), Cancel leaves the session and the file alone.
#pragma once

#include <memory>

#include "marrowby/property_tree.h"
#include "ui/keymap/mapped_keys_source.h"
#include "ui/session_page_context.h"

class KeymapEditorPanel;
class QCheckBox;
class QLabel;

class SessionMappedKeysPage : public VPropertyTreePage {
  Q_OBJECT

 public:
  explicit SessionMappedKeysPage(const SessionPageContext& context, QWidget* parent = nullptr);
  ~SessionMappedKeysPage() override;

  void OnInitDialog() override;
  void OnApply() override;

  KeymapEditorPanel* Panel() const { return panel_; }
  QCheckBox* MapBackspaceBox() const { return mapBackspace_; }
  QCheckBox* MapDeleteBox() const { return mapDelete_; }
  QCheckBox* CuaBox() const { return cua_; }
  // Where the mappings shown come from and what the page will write; null before the page opens.
  const MappedKeysSource* Source() const { return source_.get(); }
  // Says where the mappings live and anything that keeps them from being edited; hidden when
  // the page edits the session's own key map of one session.
  QLabel* Note() const { return note_; }

 private:
  QString NoteText() const;

  SessionPageContext context_;
  // Held apart from the widgets: the panel's dialogs edit the copy in it.
  std::unique_ptr<MappedKeysSource> source_;
  KeymapEditorPanel* panel_ = nullptr;
  QLabel* note_ = nullptr;
  QCheckBox* mapBackspace_ = nullptr;
  QCheckBox* mapDelete_ = nullptr;
  QCheckBox* cua_ = nullptr;
};

// Backspace and Delete are the terminal's own keys in a TN3270 session: their switches are off.
bool KeySwapAllowed(std::u16string_view emulation);
