// The Session Options dialog over several saved sessions at once. The dialog shows the options of
// the first session; on OK only the settings the user changed go into every one of the sessions,
// each of which keeps its own values of everything else. The pages are built for that: each
// writes only what it changed (the Mapped Keys page a key map only when a mapping changed, and
// then the whole key map, as its note says).
#pragma once

#include <vector>

#include "config/session/session_store.h"
#include "platform/unicode_string.h"
#include "report/report_message_params.h"

class QWidget;

// Runs the dialog in the several-sessions mode over `paths` (none: std::invalid_argument). On OK the changed settings are applied to each session and it is
// saved where it lives; a read-only session (or one that cannot be saved) is left as it was and
// counted in `counts` and named in a warning, and the others are still updated. Returns kIdOk,
// kIdCancel, or 0 when the first session could not be opened (the reason in `error`).
int EditSeveralSessions(const std::vector<VUnicodeString>& paths, QWidget* parent,
                        ApplyDefaultCounts& counts, VReportMessageParams& error);
