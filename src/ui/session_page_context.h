// What every page of the Session Options dialog is given: the session it edits in place, the
// global configuration, and the dialog's arguments that pages act on.
#pragma once

class GlobalConfig;
class SessionConfig;

struct SessionPageContext {
  SessionConfig* session = nullptr;
  GlobalConfig* global = nullptr;
  int mode = 0;                  // 2 read-only, 3 Default session, 4 several sessions
  bool readOnly = false;         // pages open read-only
  bool newSession = false;       // Connection page
  bool connectPageFlag = false;  // Connection page
  int maxColumns = 0;            // Emulation page: upper limit of "Cols"
  bool liveSession = false;      // Modes page: the current-modes group is editable
  unsigned appearanceFlags = 0;  // Appearance page
  bool* appearanceChanged = nullptr;  // Appearance page's out-flag
  bool printingAvailable = false;     // Printing page
};
