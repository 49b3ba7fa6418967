// A dialog that a loadable module shows: its title and labels come from the module's own message
// catalogue, in the user's language, while its buttons stay the library's, so every dialog of
// the family looks and answers alike.
#pragma once

#include <initializer_list>
#include <string_view>

#include <QString>

#include "marrowby/dialog.h"

class QLabel;
class QVBoxLayout;
class VMessageModule;

class VPluginDialog : public VDialog {
  Q_OBJECT

 public:
  // `module` must outlive the dialog; a null module is refused, as the dialog would have no
  // texts to show.
  VPluginDialog(const VMessageModule* module, uint32_t titleId, QWidget* parent = nullptr);

  const VMessageModule* Module() const { return module_; }
  // The text of `id` in the module's catalogue with `inserts` filled in.
  QString Text(uint32_t id, std::initializer_list<std::u16string_view> inserts = {}) const;
  // A label of the module's text (with its mnemonic, when it has one) added to the layout.
  QLabel* AddLabel(uint32_t id, std::initializer_list<std::u16string_view> inserts = {});
  // The layout the module fills, above the buttons.
  QVBoxLayout* Body() const { return body_; }

 private:
  const VMessageModule* module_;
  QVBoxLayout* body_;
};
