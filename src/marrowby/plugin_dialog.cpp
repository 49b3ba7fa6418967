#include "marrowby/plugin_dialog.h"

#include <stdexcept>

#include <QLabel>
#include <QVBoxLayout>

#include "marrowby/qt_text.h"
#include "report/message_catalogue.h"

VPluginDialog::VPluginDialog(const VMessageModule* module, uint32_t titleId, QWidget* parent)
    : VDialog(parent), module_(module) {
  // Without its module the dialog would fall back to the interface's own catalogue and show
  // another dialog's texts: refuse it where the fault is made.
  if (!module_) throw std::invalid_argument("VPluginDialog needs the module's message catalogue");
  setWindowTitle(Text(titleId));
  auto* outer = new QVBoxLayout(this);
  body_ = new QVBoxLayout;
  outer->addLayout(body_);
  AddOkCancel(outer);
}

QString VPluginDialog::Text(uint32_t id, std::initializer_list<std::u16string_view> inserts) const {
  return CatalogueText(id, module_, inserts);
}

QLabel* VPluginDialog::AddLabel(uint32_t id, std::initializer_list<std::u16string_view> inserts) {
  auto* label = new QLabel(Text(id, inserts), this);
  label->setWordWrap(true);
  body_->addWidget(label);
  return label;
}
