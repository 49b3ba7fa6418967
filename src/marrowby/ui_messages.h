// The texts of the user interface (facility 0x139): control labels, button texts and the
// dialogs' own messages, in English and French. Message texts the model raises stay in the
// library's catalogue.
#pragma once

#include <cstdint>

#include "report/message_catalogue.h"

const VMessageModule* VGetUiMessageModule();

namespace ui_messages {

// Buttons common to every dialog.
constexpr uint32_t kOk = 0x61390001;
constexpr uint32_t kCancel = 0x61390002;
constexpr uint32_t kYes = 0x61390003;
constexpr uint32_t kNo = 0x61390004;
constexpr uint32_t kBrowse = 0x61390005;
constexpr uint32_t kAllFiles = 0x61390006;  // %1: the patterns
constexpr uint32_t kNotAConfigFolder = 0xE1390007;  // %1: the folder
constexpr uint32_t kPortRange = 0xE1390008;         // %1: the text entered
constexpr uint32_t kTextTooLong = 0xE1390009;       // %1: the most characters allowed

// The passphrase dialogs.
constexpr uint32_t kWithPassphrase = 0x61390020;
constexpr uint32_t kWithoutPassphrase = 0x61390021;
constexpr uint32_t kPassphraseLabel = 0x61390022;
constexpr uint32_t kConfirmPassphraseLabel = 0x61390023;
constexpr uint32_t kEnterPassphraseTitle = 0x61390024;  // %1: application
constexpr uint32_t kEnterPassphraseChoice = 0x61390025;
constexpr uint32_t kContinueWithoutChoice = 0x61390026;
constexpr uint32_t kChangePassphraseButton = 0x61390027;
constexpr uint32_t kChangePassphraseTitle = 0x61390028;
constexpr uint32_t kChangeMode = 0x61390029;
constexpr uint32_t kRemoveMode = 0x6139002A;
constexpr uint32_t kResetMode = 0x6139002B;
constexpr uint32_t kCurrentPassphraseLabel = 0x6139002C;
constexpr uint32_t kNewPassphraseLabel = 0x6139002D;
constexpr uint32_t kConfirmNewPassphraseLabel = 0x6139002E;
constexpr uint32_t kResetWarning = 0x6139002F;
constexpr uint32_t kExistingConfigurationTitle = 0x61390030;
constexpr uint32_t kEnterPassphrasePrompt = 0x61390031;  // %1: application
constexpr uint32_t kStrongChoice = 0x61390032;
constexpr uint32_t kWeakChoice = 0x61390033;

// The firewall dialogs.
constexpr uint32_t kFirewallUsernameTitle = 0x61390040;
constexpr uint32_t kFirewallPasswordTitle = 0x61390041;
constexpr uint32_t kFirewallUsernameLabel = 0x61390042;
constexpr uint32_t kFirewallPasswordLabel = 0x61390043;
constexpr uint32_t kSaveEntry = 0x61390044;
constexpr uint32_t kNewFirewallTitle = 0x61390045;
constexpr uint32_t kFirewallPropertiesTitle = 0x61390046;  // %1: the firewall's name
constexpr uint32_t kFirewallNameLabel = 0x61390047;
constexpr uint32_t kFirewallTypeLabel = 0x61390048;
constexpr uint32_t kFirewallAddressLabel = 0x61390049;
constexpr uint32_t kFirewallPortLabel = 0x6139004A;
constexpr uint32_t kFirewallUserLabel = 0x6139004B;
constexpr uint32_t kFirewallPasswordFieldLabel = 0x6139004C;
constexpr uint32_t kProxyPromptLabel = 0x6139004D;
constexpr uint32_t kProxyCommandLabel = 0x6139004E;
constexpr uint32_t kFirewallNameEmpty = 0xE139004F;
constexpr uint32_t kFirewallNameReserved = 0xE1390050;  // %1: the name
constexpr uint32_t kFirewallNameTaken = 0xE1390051;     // %1: the name
constexpr uint32_t kFirewallAddressEmpty = 0xE1390052;
constexpr uint32_t kFirewallNameCharacter = 0xE1390053;  // %1: the character
constexpr uint32_t kPasswordNotSavedDisabled = 0xE1390054;
constexpr uint32_t kSelectSessionEntry = 0x61390055;
constexpr uint32_t kNewFirewallEntry = 0x61390056;

// The certificate file check.
constexpr uint32_t kCertificatePathEmpty = 0xE1390060;
constexpr uint32_t kCertificateMissing = 0xE1390061;     // %1: the path
constexpr uint32_t kCertificateIsFolder = 0xE1390062;    // %1: the path
constexpr uint32_t kCertificateNotAFile = 0xE1390063;    // %1: the path
constexpr uint32_t kCertificateUnreadable = 0xE1390064;  // %1: the path

}  // namespace ui_messages
