// Loading the protocol modules of a product from the install folder into the connect protocol
// table, and letting them go again.
//
// A module is a shared library named after the table's module file ("SSH2.so"), opened only by
// its full path in the install folder, and only when neither it nor a folder above it can be
// written or replaced by another user. It must export GetProtocolGuid with the protocol
// interface identifier and LoadProtocol; UnloadProtocol and (for SSH2) CleanUpAggregator are
// optional. A protocol joins the table only after its LoadProtocol succeeded.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/fips_policy.h"
#include "report/report_message_params.h"

// Messages of module loading (facility 0x137, with the host's texts).
constexpr uint32_t kMsgModuleNotInstalled = 0x61370003;        // silent: the file is not there
constexpr uint32_t kMsgProtocolModuleMissing = 0xE1370003;     // %1 module path, %2 protocol
constexpr uint32_t kMsgModuleUnloadable = 0xE1370004;          // %1 module path, %2 why
constexpr uint32_t kMsgModuleException = 0xE1370005;           // %1 module path, %2 what
constexpr uint32_t kMsgModuleWrongInterface = 0xE1370006;      // %1 product, %2 module path
constexpr uint32_t kMsgModuleLoadAborted = 0xE1370007;
constexpr uint32_t kMsgNoProtocolLoaded = 0xE1370008;          // %1 folder, %2 application
constexpr uint32_t kMsgModuleLoadFailed = 0xE1370009;          // %1 module, %2 product, %3 protocol
// Why a row was passed over.
constexpr uint32_t kMsgSkippedTelephony = 0x61370010;
constexpr uint32_t kMsgSkippedFipsSsh1 = 0x61370011;
constexpr uint32_t kMsgSkippedFipsTls = 0x61370012;
constexpr uint32_t kMsgSkippedSsh1Marker = 0x61370013;

// The FIPS bits of a load.
constexpr int kFipsModeBit = 1;            // "Enable FIPS Mode" of the global configuration
constexpr int kFipsIgnoreForTlsBit = 2;    // "Ignore FIPS Mode for TLS"
constexpr int kFipsSystemPolicyBit = 4;    // the system runs under a FIPS policy

enum class ProtocolRowState { Loaded, Missing, Skipped, Failed };
const char* ProtocolRowStateName(ProtocolRowState state);  // "loaded", "missing", ...

// What loading one row of the table gave.
struct ProtocolLoadResult {
  int productId = -1;
  VUnicodeString protocolName;
  VUnicodeString displayName;
  VUnicodeString modulePath;
  ProtocolRowState state = ProtocolRowState::Missing;
  // Why the row was missing (0x61370003), failed (its own code: 0xE1370004, 0xE1370005,
  // 0xE1370006, or the module's) or was skipped (0x61370010-0x61370013); an empty id when it
  // loaded.
  VReportMessageParams error;
};

struct ProtocolLoadOptions {
  vfs::Env* env = nullptr;              // null: the machine's
  void* applicationContext = nullptr;  // handed to each module's LoadProtocol
  // The FIPS bits; -1: worked out from the global configuration and the system's policy file.
  int fipsBits = -1;
  std::string fipsPolicyFile = kSystemFipsPolicyFile;
  // Told of each failure (0xE1370009, with the row's own reason in the result); returns true
  // when the user chose to stop loading. Null: the message is routed and loading goes on.
  std::function<bool(const VReportMessageParams& failure)> onFailure;
};

// The FIPS bits of this process: the two global options and the system's policy.
int ReadFipsBits(vfs::Env* env, const std::string& policyFile = kSystemFipsPolicyFile);

// Loads the protocols of `productId` from `installFolder` (absolute) and, for the integrated
// pair, those of the sibling: Karvell loads Lumbrel's when Lumbrel is installed, Lumbrel loads
// Karvell's when Karvell can be launched. A sibling whose protocols fail to load (without an
// abort) is marked as not installed. `aborted` tells whether the user stopped the load; `report`
// receives the last message (0xE1370007 on an abort, 0xE1370008 when nothing at all could be
// registered). True when at least one protocol is available.
bool LoadConnectionProtocolDlls(void* applicationFunctions, int productId,
                                const VUnicodeString& installFolder, bool& aborted,
                                VReportMessageParams& report,
                                const ProtocolLoadOptions& options = {});
// The same for `productId` alone.
bool LoadSingleProductConnectionProtocolDlls(void* applicationFunctions, int productId,
                                             const VUnicodeString& installFolder, bool& aborted,
                                             VReportMessageParams& report,
                                             const ProtocolLoadOptions& options = {});

// What each row of the loads so far gave, in the order tried.
std::vector<ProtocolLoadResult> GetProtocolLoadResults();

// Lets every loaded module go: UnloadProtocol for each of its protocols, CleanUpAggregator of
// the SSH2 module, the module closed, the table emptied. No settings object a module made may
// outlive this.
void UnloadConnectionProtocolDlls();
