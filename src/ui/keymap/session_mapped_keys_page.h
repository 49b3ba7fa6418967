// The Mapped Keys page of the Session Options dialog: the session's own key map (edited in
// place, as every page edits its session) and the three keyboard switches of the terminal.
#pragma once

#include "marrowby/property_tree.h"
#include "ui/session_page_context.h"

class KeymapEditorPanel;
class QCheckBox;

class SessionMappedKeysPage : public VPropertyTreePage {
  Q_OBJECT

 public:
  explicit SessionMappedKeysPage(const SessionPageContext& context, QWidget* parent = nullptr);

  void OnInitDialog() override;
  void OnApply() override;

  KeymapEditorPanel* Panel() const { return panel_; }
  QCheckBox* MapBackspaceBox() const { return mapBackspace_; }
  QCheckBox* MapDeleteBox() const { return mapDelete_; }
  QCheckBox* CuaBox() const { return cua_; }

 private:
  SessionPageContext context_;
  KeymapEditorPanel* panel_ = nullptr;
  QCheckBox* mapBackspace_ = nullptr;
  QCheckBox* mapDelete_ = nullptr;
  QCheckBox* cua_ = nullptr;
};

// Backspace and Delete are the terminal's own keys in a TN3270 session: their switches are off.
bool KeySwapAllowed(std::u16string_view emulation);
