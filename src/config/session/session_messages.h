// Message ids of the session configuration (library catalogue, facility 0x138).
#pragma once

#include <cstdint>

constexpr uint32_t kMsgSessionNameEmpty = 0xE1380500;
constexpr uint32_t kMsgSessionNameIllegalCharacter = 0xE1380501;
constexpr uint32_t kMsgSessionNameReservedDevice = 0xE1380502;
constexpr uint32_t kMsgSessionNameInUse = 0xE1380503;
constexpr uint32_t kMsgUnknownProtocol = 0xE1380504;
constexpr uint32_t kMsgSessionsNotUpdated = 0x61380505;
constexpr uint32_t kMsgSessionMissing = 0xE1380506;
constexpr uint32_t kMsgSessionIsFolder = 0xE1380507;
constexpr uint32_t kMsgSessionExists = 0xE1380508;
constexpr uint32_t kMsgSessionReadOnly = 0xE1380509;
constexpr uint32_t kMsgSecretNotReencrypted = 0xE138050A;
constexpr uint32_t kMsgSessionNotSaved = 0xE138050B;
constexpr uint32_t kMsgProtocolNotAvailable = 0xE138050C;
constexpr uint32_t kMsgExpectSendMalformed = 0xE138050D;
constexpr uint32_t kMsgSessionNotDeleted = 0xE138050E;
constexpr uint32_t kMsgSessionNameReserved = 0xE1380A01;     // %1 the name
constexpr uint32_t kMsgSessionInsideSession = 0xE1380A02;    // %1 the session above
constexpr uint32_t kMsgSessionUnreadable = 0xE1380A04;       // %1 the session, %2 the reason
