// Starting a sibling application of the family, and the check an option makes before it relies
// on the tray agent.
#pragma once

#include <string>
#include <vector>

#include "environment/user_questions.h"
#include "platform/env.h"

constexpr uint32_t kMsgLaunchFailed = 0xE1380003;         // %1 product, %2 path
constexpr uint32_t kMsgTrayAgentNotInstalled = 0xE138000E;  // %1 the maker

// Starts the terminal application (Karvell, or Ostrel when Karvell is not installed) with `args`
// as its arguments, each one argument whatever it holds. When it cannot be started, `owner` is
// warned with 0xE1380003 naming the product and the path tried, and the result is false.
bool LaunchTerminalApp(IUserQuestions* owner, const std::vector<VUnicodeString>& args,
                       vfs::Env* env = vfs::Env::Default());
// The same for the file-transfer application, Lumbrel.
bool LaunchFileTransferApp(IUserQuestions* owner, const std::vector<VUnicodeString>& args,
                           vfs::Env* env = vfs::Env::Default());

// The file of the tray agent in `folder` (the host executable's folder when empty).
std::string TrayAgentPath(const std::string& folder = std::string());
// Whether an option that needs the tray agent may be switched on: always when it is being
// switched off; otherwise only when the tray agent's program is in the host executable's folder
// (`folder` when not empty). A refusal warns `owner` with 0xE138000E.
bool CheckTrayAgentForOption(bool switchingOn, IUserQuestions* owner,
                             const std::string& folder = std::string(),
                             vfs::Env* env = vfs::Env::Default());
