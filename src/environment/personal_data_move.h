// Moving the personal values of every session out of the configuration folder into the personal
// data folder (migration) and back (merge), as pending work that the host carries out at start
// with the user's consent, and the rules by which the options page switches between the two.
#pragma once

#include <string>
#include <vector>

#include "crypto/secret_pass_progress.h"
#include "environment/user_questions.h"
#include "storage/model/profile_store.h"

struct VPersonalDataMoveResult {
  bool done = false;    // false: the user postponed, nothing changed
  size_t sessions = 0;  // sessions rewritten or merged
  size_t folders = 0;
  std::vector<VUnicodeString> passedOver;  // sessions that could not be written
  VReportMessageParams error;              // a recorded error (none when IsError is false)
};

// Asks Continue/Postpone through `questions` (Yes continues); on Continue rewrites every
// writable session of the store `factory` makes (null: the registered one), which must be a
// store on the configuration folder with the personal data folder set, so that the personal
// values go there; then records in the personal data folder which configuration it belongs to
// and clears "Do Personal Data Migration" (with force). `progress` (may be null) shows the work.
// A personal data folder that records another configuration is refused whole with 0xE1380025
// before anything is written, and the pending flag stays set.
VPersonalDataMoveResult MigrateToPersonalDataLocation(IUserQuestions& questions,
                                                      ISecretPassProgress* progress,
                                                      const VUnicodeString& configFolder,
                                                      const VUnicodeString& personalFolder,
                                                      VProfileStoreFactory* factory = nullptr);

// Asks, then takes the personal values kept under `personalFolder` back into the sessions of
// `configFolder` and clears "Do Personal Data Merge" (with force). A personal data folder that
// records another configuration is refused whole with 0xE1380025: its values belong to other
// sessions. The pending flag then stays set, since the values are still apart. A session whose
// personal file would be reached through a symbolic link below `personalFolder` (which must be
// a full path), or is not a plain file, is passed over.
VPersonalDataMoveResult MergeFromPersonalDataLocation(IUserQuestions& questions,
                                                      ISecretPassProgress* progress,
                                                      const VUnicodeString& configFolder,
                                                      const VUnicodeString& personalFolder);

// Whether `personalFolder` may be merged into `configFolder`: true unless it records that it
// belongs to another configuration, or holds a record that cannot be read. Folders made before
// the record existed are taken as they are.
bool PersonalDataFolderBelongsTo(const VUnicodeString& personalFolder,
                                 const VUnicodeString& configFolder);
// Writes that record (and the configuration's own half of it). False with the reason.
bool RecordPersonalDataFolderOwner(const VUnicodeString& personalFolder,
                                   const VUnicodeString& configFolder, VReportMessageParams& error);

// The three per-user flags at a moment.
struct VPersonalDataFlags {
  bool separate = false;
  bool migrate = false;
  bool merge = false;
  bool operator==(const VPersonalDataFlags&) const = default;
};

// What the options page does when it is saved with the option "store personal data separately"
// at `now`, having read `atOpening` when it was first opened in this process. `configWritable`
// tells whether the configuration folder may be written. Returns the flags to write (all with
// force), or false with 0x6138012C in `refusal` when switching off must be refused (the page
// stays open with the option set again). Either way, a change sets `notice` to 0x61380023.
bool PersonalDataOptionSwitch(const VPersonalDataFlags& atOpening, bool now, bool configWritable,
                              VPersonalDataFlags& toWrite, VReportMessageParams& refusal,
                              VReportMessageParams& notice);
// The personal data folder the page is saved with: an empty field takes the default beside the
// configuration folder; the folder must not be the configuration folder (compared without
// regard to case: on the other platform they would be one folder), reported with 0x61380024;
// then it must pass ValidateLocalFolder, which may make it a full path or create it.
bool ValidatePersonalDataFolderChoice(IUserQuestions& owner, const VUnicodeString& configFolder,
                                      VUnicodeString& inOutPersonal);
// Whether the configuration folder can take the personal values back (switching the option off).
bool ConfigFolderTakesPersonalData(const VUnicodeString& configFolder);

// Writes the flags for the running application (with force). False with the reason.
bool SavePersonalDataFlags(const VPersonalDataFlags& flags, VReportMessageParams* error);
