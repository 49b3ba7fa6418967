// The Session Options dialog over a saved session named by its path, as a host opens it: a
// session whose file may not be written opens read-only; OK saves the session where it lives
// (under its new name when it was renamed); Cancel leaves the file as it was.
#pragma once

#include <QString>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"

class QWidget;
class SessionOptionsDialogBase;

// Returns kIdOk when the session was saved, kIdCancel when the dialog was cancelled (or closed
// read-only), 0 when the session could not be opened or saved (the reason in `error`).
int EditSessionAtPath(const VUnicodeString& path, QWidget* parent, VReportMessageParams& error);

// The path a renamed session is saved at: its folder and the new name.
VUnicodeString RenamedSessionPath(const VUnicodeString& path, const VUnicodeString& newName);

// Draws every visible page of the dialog over the session at `path` (the Default session when
// `defaultSession`) into `folder` as session-options-<page>.png, without showing it on a screen;
// for the Default session also the question that follows its edit
// (session-options-apply-to-all.png). False with the reason in `error`.
bool GrabSessionOptions(const VUnicodeString& path, bool defaultSession, const QString& folder,
                        QString& error);
