// What the Session Options dialog asks of some of its pages after a protocol change. A page that
// has nothing to redo does not implement it.
#pragma once

class ISessionPageRefresh {
 public:
  virtual ~ISessionPageRefresh() = default;
  // The session's protocols changed: the page lays itself out again and re-reads what depends
  // on them (the Logon Actions page's protocol panel, the FTP/SFTP page's choices).
  virtual void RefreshForProtocols() = 0;
};
