// Pictures of a page-tree dialog: each visible page brought to the front in turn and drawn into
// a PNG named after the dialog and the page's place in the tree ("session-options-terminal-
// emulation.png"), for documentation and for checking a layout without a display.
#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QStringList>

class VPropertyTreeDialog;

// "Terminal", "Emulation" under "session-options": "session-options-terminal-emulation". Letters
// and digits are kept (lower-cased); every other run of characters becomes one '-'.
QString PagePictureName(const QString& prefix, const QStringList& path);

// Writes one picture per visible page into `folder`; the names written go to `written`. The page
// shown before is shown again afterwards. Pages are shown without their checks (a picture writes
// nothing). False with the reason when a picture cannot be written.
bool GrabPages(VPropertyTreeDialog& dialog, const QString& folder, const QString& prefix,
               std::vector<QString>& written, QString& error);
