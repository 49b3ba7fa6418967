// What a run of import or export needs from whoever started it: somewhere to show each line of
// the run's log, the passphrase of a settings file whose secrets were written under another
// passphrase, and the host's file-type settings. The dialog answers on its window's thread; the
// console answers on the terminal.
#pragma once

#include <cstddef>
#include <functional>

#include "crypto/encrypted_string.h"
#include "report/report_message_params.h"
#include "storage/model/profile_store.h"

// The log topics of a run, as they are named in its log file.
enum class VImportExportLevel : int { Info = 200, Warn = 201, Err = 202, Valid = 800 };

// True when `candidate` decrypts the settings file's check value.
using VFilePassphraseVerifier = std::function<bool(std::u16string_view candidate)>;

class IImportExportSink {
 public:
  virtual ~IImportExportSink() = default;
  // Every line of the log, as it is written to the log file.
  virtual void LogLine(VImportExportLevel level, VReportMessageParams& message) = 0;
  // `done` of `total` items of the run are through (sessions for now); `item` names the last.
  virtual void Advance(size_t done, size_t total, const VUnicodeString& item) {}
  enum class FilePassphraseAnswer {
    Passphrase,   // `passphrase` holds one that `verify` accepts: the secrets are imported
    SkipSecrets,  // "Do not import sensitive data": imported items get their secrets empty
    Cancel,       // nobody could answer: the run stops before it changes anything
  };
  // The settings file's secrets were written under a passphrase that is neither this
  // configuration's nor empty.
  virtual FilePassphraseAnswer AskFilePassphrase(const VFilePassphraseVerifier& verify,
                                                 VUnicodeString& passphrase) = 0;
  // The host's file-type settings, written into `key` on export; false when the host has none.
  virtual bool ExportFileTypes(VProfileKey& key) { return false; }
  // Takes the file-type settings of `key` on import; false when the host keeps none.
  virtual bool ImportFileTypes(const VProfileKey& key) { return false; }
};
