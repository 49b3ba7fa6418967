// Which applications of the family are installed beside the running one, and whether two of them
// form an integrated pair.
#pragma once

#include <string>

#include "platform/unicode_string.h"

// Looks for "Ostrel", "Karvell" and "Lumbrel" in `folder` (the host executable's folder when
// empty) and records which are installed: the file exists and carries version information of an
// application of at least the product's minimum major version from the family's maker.
void DetectInstalledProducts(const std::string& folder = std::string());

bool IsKarvellInstalled();
bool IsLumbrelInstalled();
bool IsOstrelInstalled();
bool CanLaunchTerminalApp();
bool CanLaunchFileTransferApp();
void SetKarvellInstalled(bool installed);
void SetLumbrelInstalled(bool installed);
VUnicodeString GetKarvellPath();
VUnicodeString GetLumbrelPath();
VUnicodeString GetOstrelPath();

bool HasTerminalProtocols();  // Karvell or Ostrel installed
bool IsKarvellOrOstrelInstalled();
bool HasTransferProtocols();  // Lumbrel installed
bool HasIntegratedProtocols();

// The running product is Karvell or Lumbrel and both are installed.
bool IsIntegrated();
// The same, also naming the other application of the pair.
bool IsIntegrated(VUnicodeString& otherAppName);

// The company the version information must name.
constexpr char kFamilyCompanyName[] = "Tolvane Software, Inc.";
