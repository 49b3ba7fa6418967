// Checks of the local file and folder names a person types into the options pages (download,
// log and transfer folders, capture file names).
#pragma once

#include "environment/user_questions.h"

constexpr uint32_t kMsgIllegalFileNameCharacter = 0x61380084;
constexpr uint32_t kMsgInvalidFolderSyntax = 0x613800DA;
constexpr uint32_t kMsgFolderNotFullPathOffer = 0x613800DC;
constexpr uint32_t kMsgFolderFullPathFailed = 0x613800DD;
constexpr uint32_t kMsgFolderMissingCreate = 0x613800DE;
constexpr uint32_t kMsgFolderCreateFailed = 0x613800DF;
constexpr uint32_t kMsgFolderInvalid = 0x613800E0;
constexpr uint32_t kMsgPathNotAFolder = 0xE1380014;

// True when `name` holds none of \ / : * ? " < > | (names also travel to systems that refuse
// them); otherwise false with 0x61380084 naming the first of those, in that order, that occurs.
bool CheckLocalFilename(const VUnicodeString& name, VReportMessageParams& error);
// The same, showing the message to the person as a warning.
bool ValidateLocalFilename(const VUnicodeString& name, IUserQuestions& owner);

// Whether the folder typed into `inOutPath` can be used, asking `owner` where a choice is the
// person's: a relative folder (or one starting with "~") may be replaced by its full path; a
// missing folder may be created with its missing parents. Failures are shown to the person and
// give false.
bool ValidateLocalFolder(IUserQuestions& owner, VUnicodeString& inOutPath);
