// Message ids raised by the stored forms of secrets. The 0xE104 codes belong to the shared
// catalogue range that hosts supply; the 0xE138 ones are the library's own.
#pragma once

#include <cstdint>

namespace crypto_messages {

constexpr uint32_t kProtectedDataNotDecrypted = 0xE1040046;  // %1: why
constexpr uint32_t kProtectedDataOddDigits = 0xE1040047;

constexpr uint32_t kUnknownAlgorithm = 0xE1380300;       // %1: the name
constexpr uint32_t kUnpairedSurrogate = 0xE1380301;
constexpr uint32_t kEncryptedTextForm = 0xE1380302;
constexpr uint32_t kEncryptedTextLength = 0xE1380303;
constexpr uint32_t kEncryptedTextNotDecrypted = 0xE1380304;
constexpr uint32_t kRandomFailed = 0xE1380305;           // %1: system text
constexpr uint32_t kKeyFileOwner = 0xE1380306;           // %1: path
constexpr uint32_t kKeyFileMode = 0xE1380307;            // %1: path, %2: octal mode
constexpr uint32_t kKeyFileDamaged = 0xE1380308;         // %1: path
constexpr uint32_t kKeyFileUnusable = 0xE1380309;        // %1: path, %2: system text
constexpr uint32_t kBlowfishForm = 0xE138030A;
constexpr uint32_t kEncodedForm = 0xE138030B;
constexpr uint32_t kBlowfishMode = 0xE138030C;           // %1: the mode
constexpr uint32_t kDecryptedNotUtf8 = 0xE138030D;
constexpr uint32_t kProtectedByOther = 0xE138030E;
constexpr uint32_t kSecretNotSavedDisabled = 0xE138030F;  // %1: the setting
constexpr uint32_t kNoTerminal = 0xE1380310;                // %1: system text
constexpr uint32_t kSharedObjectNotPrivate = 0xE1380311;    // %1: name, %2: owner, %3: mode
constexpr uint32_t kSharedObjectIncompatible = 0xE1380312;  // %1: name
constexpr uint32_t kSharedObjectUnusable = 0xE1380313;      // %1: name, %2: system text
constexpr uint32_t kPassphraseTooLongToCache = 0xE1380314;  // %1: length, %2: the most that fits
constexpr uint32_t kPassphraseEmpty = 0xE1380315;
constexpr uint32_t kSecretsLeftUnderOldPassphrase = 0xE1380316;  // %1: count, %2: the items
constexpr uint32_t kSecretsLeftInOlderForm = 0xE1380317;         // %1: count, %2: the items
constexpr uint32_t kGlobalConfigNotWritable = 0xE1380318;        // %1: why
constexpr uint32_t kPassphraseChangeRecordDamaged = 0xE1380320;
constexpr uint32_t kOtherPassphraseChangeUnfinished = 0xE1380321;
constexpr uint32_t kPassphraseChangeUnfinished = 0xE1380322;

// The passphrase start-up step.
constexpr uint32_t kPassphrasesDoNotMatch = 0xE138002F;
constexpr uint32_t kPassphraseNotCorrect = 0xE1380030;
constexpr uint32_t kPassphraseNeedsPrompting = 0xE1380035;
constexpr uint32_t kPassphraseChangeNeedsGui = 0xE138003C;
constexpr uint32_t kPassphraseBusyElsewhere = 0xE1380046;
constexpr uint32_t kCreatePassphraseTitle = 0x61380031;           // %1: application
constexpr uint32_t kCreatePassphraseExplanation = 0x61380032;
constexpr uint32_t kCreatePassphraseExplanationPair = 0x61380033;
constexpr uint32_t kFirstEncryptionProgress = 0x61380036;         // %1: application
constexpr uint32_t kWithoutPassphraseWarning = 0x61380037;
constexpr uint32_t kWithoutPassphraseWarningTransfer = 0x61380038;
constexpr uint32_t kWithoutPassphraseWarningPair = 0x61380039;
constexpr uint32_t kWithoutPassphraseWarningSkellan = 0x6138003A;
constexpr uint32_t kReEncryptionProgress = 0x6138003B;            // %1: application
constexpr uint32_t kChangeAtNextStartQuestion = 0x6138003D;       // %1: application
constexpr uint32_t kChangeAtNextStartQuestionPair = 0x6138003E;   // %1: application
constexpr uint32_t kContinueWithoutPassphrase = 0x6138003F;
constexpr uint32_t kPassphraseNeededAtStart = 0x61380048;         // %1: application
constexpr uint32_t kPassphraseNeededAtStartPair = 0x61380049;
constexpr uint32_t kExistingConfigurationWarning = 0x61380059;

}  // namespace crypto_messages
