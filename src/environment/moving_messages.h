// Messages of moving settings: import and export runs, and personal data migration and merge.
#pragma once

#include <cstdint>

namespace moving_messages {

// Texts of the host's windows and questions.
constexpr uint32_t kPassphraseMismatchQuestion = 0x61380047;
constexpr uint32_t kImportTitle = 0x61380067;
constexpr uint32_t kExportTitle = 0x61380068;
constexpr uint32_t kImportingFrom = 0x61380071;  // %1 file
constexpr uint32_t kExportingTo = 0x61380072;    // %1 file
constexpr uint32_t kMigrationProgress = 0x61380081;  // %1 application
constexpr uint32_t kMergeProgress = 0x61380082;      // %1 application
constexpr uint32_t kPersonalFolderChangeLater = 0x61380023;  // %1 application
constexpr uint32_t kCannotMergeIntoConfig = 0x6138012C;      // %1 application
constexpr uint32_t kPersonalFolderMismatch = 0xE1380025;
constexpr uint32_t kMigrationQuestion = 0x61381130;
constexpr uint32_t kMergeQuestion = 0x61381131;

// Lines of a run's log.
constexpr uint32_t kExportStarted = 0x61381100;    // %1 application, %2 file
constexpr uint32_t kImportStarted = 0x61381101;    // %1 application, %2 file
constexpr uint32_t kGlobalExported = 0x61381102;
constexpr uint32_t kSessionExported = 0x61381103;  // %1 session path
constexpr uint32_t kSectionExported = 0x61381104;  // %1 section
constexpr uint32_t kFileExported = 0x61381105;     // %1 file
constexpr uint32_t kGlobalImported = 0x61381106;
constexpr uint32_t kSessionImported = 0x61381107;  // %1 session path
constexpr uint32_t kFolderImported = 0x61381108;   // %1 folder path
constexpr uint32_t kSectionImported = 0x61381109;  // %1 section
constexpr uint32_t kFileImported = 0x6138110A;     // %1 file
constexpr uint32_t kExportFinished = 0x6138110B;   // %1 sessions, %2 warnings, %3 errors
constexpr uint32_t kImportFinished = 0x6138110C;   // %1 sessions, %2 warnings, %3 errors
constexpr uint32_t kBackupKept = 0x6138110D;       // %1 backup file
constexpr uint32_t kSessionCreated = 0x6138110E;   // %1 session path
constexpr uint32_t kFirewallImported = 0x6138110F; // %1 firewall

constexpr uint32_t kExportPassphraseDisabled = 0xA1381120;
constexpr uint32_t kImportPassphraseDisabled = 0xA1381121;
constexpr uint32_t kSectionMissing = 0xA1381122;   // %1 section
constexpr uint32_t kFileNotRead = 0xA1381123;      // %1 file, %2 reason
constexpr uint32_t kFileRefused = 0xA1381124;      // %1 file, %2 reason
constexpr uint32_t kSecretsSkipped = 0xA1381125;
constexpr uint32_t kSessionPassedOver = 0xA1381126;  // %1 session path
constexpr uint32_t kFileTypesNotKept = 0xA1381127;
constexpr uint32_t kSecretsLeftAsTheyWere = 0xA1381128;  // %1 item, %2 reason
constexpr uint32_t kSecretsNotUnderFilePassphrase = 0xA1381129;

constexpr uint32_t kSettingsFileNotCreated = 0xE1381100;  // %1 file, %2 reason
constexpr uint32_t kSettingsFileNotOpened = 0xE1381101;   // %1 file, %2 reason
constexpr uint32_t kSettingsFileNotWritten = 0xE1381102;  // %1 file, %2 reason
constexpr uint32_t kSessionNotImported = 0xE1381103;      // %1 session path, %2 reason
constexpr uint32_t kSectionNotCopied = 0xE1381104;        // %1 section, %2 key, %3 reason
constexpr uint32_t kFilePassphraseWrong = 0xE1381105;
constexpr uint32_t kGlobalNotSaved = 0xE1381106;          // %1 reason
constexpr uint32_t kSessionNotExported = 0xE1381107;      // %1 session path, %2 reason
constexpr uint32_t kFirewallNotImported = 0xE1381108;     // %1 firewall, %2 reason
constexpr uint32_t kBackupNotMade = 0xE1381109;           // %1 file, %2 backup, %3 reason
constexpr uint32_t kFileNotWritten = 0xE138110A;          // %1 file, %2 reason
constexpr uint32_t kNotASettingsFile = 0xE138110B;        // %1 file
constexpr uint32_t kFilePassphraseNotGiven = 0xE138110C;
constexpr uint32_t kMigrateWhileNotSeparate = 0xE138110D;  // %1 application
constexpr uint32_t kMergeWhileSeparate = 0xE138110E;       // %1 application

// Why a carried file is not written (the %2 of kFileRefused).
constexpr uint32_t kRefusedNotFullPath = 0xE1381110;
constexpr uint32_t kRefusedOutside = 0xE1381111;
constexpr uint32_t kRefusedThroughLink = 0xE1381112;
constexpr uint32_t kRefusedNotFile = 0xE1381113;

}  // namespace moving_messages
