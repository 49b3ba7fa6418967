// Catalogue ids of the printer state, the margin checks and the older printer file.
#pragma once

#include <cstdint>

namespace printer_messages {

constexpr uint32_t kInitializing = 0x61380F40;
constexpr uint32_t kInitSucceeded = 0x61380F41;
constexpr uint32_t kInitFailed = 0xE1380F42;
constexpr uint32_t kStatusUnavailable = 0x61380F43;
constexpr uint32_t kInitTimedOut = 0xE1380F44;
constexpr uint32_t kOutcomeWithDetail = 0x61380F45;  // %1: the outcome, %2: the probe's message
constexpr uint32_t kUninitialized = 0x61380F46;
constexpr uint32_t kHibernating = 0x61380F47;
constexpr uint32_t kMinimumLeft = 0xE1380F48;    // %1: the minimum in inches
constexpr uint32_t kMinimumRight = 0xE1380F49;   // %1
constexpr uint32_t kMinimumTop = 0xE1380F4A;     // %1
constexpr uint32_t kMinimumBottom = 0xE1380F4B;  // %1
constexpr uint32_t kMarginsOffPage = 0xE1380F4C;
constexpr uint32_t kPrintableAreaUnknown = 0xE1380F4D;  // %1: the printer
constexpr uint32_t kPrinterUnavailable = 0xE1380F4E;    // %1: the printer
constexpr uint32_t kMarginNotNumber = 0xE1380F4F;       // %1: the text, %2: the side
constexpr uint32_t kPrinterFileValue = 0xE1380F50;  // %1: line, %2: file, %3: the text, %4: key
constexpr uint32_t kNoPrinterAvailable = 0xE1380F51;
constexpr uint32_t kPrinterFileUnreadable = 0xE1380F52;  // %1: the file, %2: why
constexpr uint32_t kSideLeft = 0x61380F53;
constexpr uint32_t kSideRight = 0x61380F54;
constexpr uint32_t kSideTop = 0x61380F55;
constexpr uint32_t kSideBottom = 0x61380F56;
constexpr uint32_t kNotAnswering = 0xE1380F57;

}  // namespace printer_messages
