// Changes to the session tree that the main window offers (new session, new folder, rename,
// delete, duplicate, move to another folder), made through the item database and the store it
// works on, without a display. Each step keeps the folder's display order (a renamed item stays
// where it was, a copy comes right after its original, a moved item goes last in its new folder)
// and makes the database forget the listings it changed. A failure leaves the tree as it was and
// fills `error` with the message the user reads: what could not be done, and why.
#pragma once

#include "platform/unicode_string.h"
#include "report/report_message_params.h"

namespace session_tree {

// A session or a folder: the path of the folder that holds it ("" the top) and its name.
struct TreeItem {
  VUnicodeString folder;
  VUnicodeString name;
  bool isFolder = false;
  VUnicodeString Path() const;
};

// The item whose path is `path` ("Lab\router1").
TreeItem ItemAt(const VUnicodeString& path, bool isFolder);

// `base` when no session or folder of `folder` has that name, else "base (2)", "base (3)", ...
VUnicodeString FreeName(const VUnicodeString& folder, const VUnicodeString& base);

// A new session `name` in `folder`, made from the Default session.
bool NewSession(const VUnicodeString& folder, const VUnicodeString& name, VReportMessageParams& error);
// A new, empty folder `name` in `parent`.
bool NewFolder(const VUnicodeString& parent, const VUnicodeString& name, VReportMessageParams& error);
// Gives `item` the name `newName` in the same folder (a change of case alone is a rename too).
bool Rename(const TreeItem& item, const VUnicodeString& newName, VReportMessageParams& error);
// Deletes a session, or a folder with everything in it.
bool Delete(const TreeItem& item, VReportMessageParams& error);
// Copies `item` beside itself under a free name, which `copyName` receives.
bool Duplicate(const TreeItem& item, VUnicodeString& copyName, VReportMessageParams& error);
// Moves `item` into `folder` (which must exist), keeping its name.
bool Move(const TreeItem& item, const VUnicodeString& folder, VReportMessageParams& error);

// Records whether `folder` is shown open, so that the next start shows it so again. Nothing is
// said when it cannot be written (a configuration the user may only read).
void SetExpanded(const VUnicodeString& folder, bool expanded);

// The number of sessions in `folder` and every folder below it: what deleting it would lose.
size_t CountSessions(const VUnicodeString& folder);

// The Default session at the top is the template of every new session.
bool IsTemplate(const TreeItem& item);

}  // namespace session_tree
