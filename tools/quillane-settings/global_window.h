// quillane-settings --global-options: the Global Options dialog over the configuration the
// options name; OK saves Global.ini as the library does and exits 0, Cancel exits 1. With
// --grab DIR every page is drawn into DIR/global-options-<page>.png instead.
#pragma once

#include <cstdint>
#include <string>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"
#include "settings_options.h"

class GlobalConfig;
class QWidget;

namespace settings {

int RunGlobalOptionsWindow(const Options& options);

// The Global Options dialog over `config`; OK saves Global.ini. Returns the dialog's result, or
// 0 when OK's changes could not be saved (the reason in `saveError`).
int64_t ShowGlobalOptionsAndSave(GlobalConfig& config, const VUnicodeString& configFolder,
                                 QWidget* parent, VReportMessageParams& saveError);
// The main window's Global Options entry: the shared configuration, a failed save shown.
void EditGlobalOptions(QWidget* parent);

// The host's session chooser: the sessions of the configuration in a list to pick from.
int ChooseSessions(const VUnicodeString& title, VStringArray& sessions, void* owner);

}  // namespace settings
