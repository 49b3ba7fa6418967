// The TLS page: the client certificate the file-transfer client presents, and the button that
// would make one. A certificate is optional, but one that is named must be a file that can be
// read, or every connection that offers it would fail far from this page. Making a certificate
// and its key needs a tool this build does not run yet, so the button is shown disabled with the
// reason, rather than offering something that fails.
#pragma once

#include "ui/global_options/global_settings_page.h"

class QPushButton;

class GlobalTlsPage : public GlobalSettingsPage {
  Q_OBJECT
 public:
  explicit GlobalTlsPage(GlobalConfig& config);
  QPushButton* CreateButton() const { return create_; }

 protected:
  bool CheckPage() override;

 private:
  QPushButton* create_;
};
