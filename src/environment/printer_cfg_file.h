// The older printer file, "PRINTER.CFG" in the configuration folder: text records of
// "Key=Value" lines, each record opened by its "Printer Name" line (a "[...]" header line also
// closes the record before it; lines starting with ';' or '#' are comments). The record of the
// printer being selected supplies its page set-up, its margins and its font.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_message_params.h"
#include "storage/values/stored_structures.h"

constexpr char kPrinterCfgFileName[] = "PRINTER.CFG";

struct PrinterCfgRecord {
  // Absent keys leave the caller's values alone.
  std::optional<int> orientation;
  std::optional<int> paperSize;
  std::optional<int> paperSource;
  VMarginData margins;  // 0.5 inch on a side the record does not give
  VLogFont font;        // the file's default font when the record gives none
};

// The font the older file means when a record names none.
VLogFont PrinterCfgDefaultFont();

// Finds the record of `printerName` (compared exactly, spaces around it ignored) in the file's
// text. A value that cannot be read is not taken as zero: its default stays and a message naming
// the line, the text and the key is added to `problems` (`fileName` is named in it).
bool FindPrinterCfgRecord(std::string_view text, std::u16string_view printerName,
                          std::u16string_view fileName, PrinterCfgRecord& record,
                          std::vector<VReportMessageParams>& problems);

// Reads PRINTER.CFG in `folder`. False without a message when the file does not exist or holds
// no record of the printer; false with `problems` holding why when it could not be read.
bool ReadPrinterCfgRecord(const std::string& folder, std::u16string_view printerName,
                          PrinterCfgRecord& record, std::vector<VReportMessageParams>& problems);
