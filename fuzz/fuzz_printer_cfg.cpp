// The older printer file is text anyone may have edited: any bytes must give either no record or
// one whose margins are finite and not negative, whose font has a face, and whose problems each
// name their line, text and key.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "environment/printer_cfg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  // The first line names the printer looked for; the rest is the file.
  size_t end = text.find('\n');
  std::string_view name = text.substr(0, end);
  std::string_view file = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  PrinterCfgRecord record;
  std::vector<VReportMessageParams> problems;
  bool found = FindPrinterCfgRecord(file, vtext::FromUtf8(name), u"PRINTER.CFG", record, problems);
  for (auto& problem : problems) {
    if (problem.GetInserts().GetSize() != 4) abort();
    problem.GetTextOneLine();
  }
  if (!found) return 0;
  for (double margin : {record.margins.left, record.margins.right, record.margins.top,
                        record.margins.bottom}) {
    if (!std::isfinite(margin) || margin < 0) abort();
  }
  if (record.font.GetFaceName().empty() || record.font.extra == 0) abort();
  return 0;
}
