#include "environment/printer_cfg_file.h"
#include "environment/text_lists.h"

#include <charconv>
#include <cmath>

#include "environment/printer_messages.h"
#include "platform/file_system.h"

namespace {

using vtext::FromUtf8;
using vtext::ToUtf8;

constexpr std::u16string_view kNameKey = u"Printer Name";
constexpr size_t kFontNumbers = 14;


bool ParseInt(std::string_view text, int& out) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Margins are inches: a finite number no smaller than zero.
bool ParseMargin(std::string_view text, double& out) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return false;
  if (!std::isfinite(value) || value < 0) return false;
  out = value;
  return true;
}

// "size,height,width,escapement,orientation,weight,italic,underline,strike-out,character set,
// output precision,clip precision,quality,pitch and family,face"; the face may hold commas.
bool ParseFont(std::string_view text, VLogFont& out) {
  int numbers[kFontNumbers] = {};
  for (size_t i = 0; i < kFontNumbers; ++i) {
    size_t comma = text.find(',');
    if (comma == std::string_view::npos || !ParseInt(text.substr(0, comma), numbers[i])) {
      return false;
    }
    text.remove_prefix(comma + 1);
  }
  std::string_view faceBytes = TrimBlanks(text);
  if (!vtext::IsValidUtf8(faceBytes)) return false;
  std::u16string face = FromUtf8(faceBytes);
  if (face.empty() || face.size() >= VLogFont::kFaceNameLength) return false;
  // A face name is printable text; a control character (a zero above all) would cut it short.
  for (char16_t c : face) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  for (int flag : {numbers[6], numbers[7], numbers[8]}) {
    if (flag != 0 && flag != 1) return false;
  }
  for (int byte : {numbers[9], numbers[10], numbers[11], numbers[12], numbers[13]}) {
    if (byte < 0 || byte > 255) return false;
  }
  if (numbers[0] <= 0) return false;
  VLogFont font;
  font.extra = static_cast<uint32_t>(numbers[0]);
  font.height = numbers[1];
  font.width = numbers[2];
  font.escapement = numbers[3];
  font.orientation = numbers[4];
  font.weight = numbers[5];
  font.italic = static_cast<uint8_t>(numbers[6]);
  font.underline = static_cast<uint8_t>(numbers[7]);
  font.strikeOut = static_cast<uint8_t>(numbers[8]);
  font.charSet = static_cast<uint8_t>(numbers[9]);
  font.outPrecision = static_cast<uint8_t>(numbers[10]);
  font.clipPrecision = static_cast<uint8_t>(numbers[11]);
  font.quality = static_cast<uint8_t>(numbers[12]);
  font.pitchAndFamily = static_cast<uint8_t>(numbers[13]);
  font.SetFaceName(face.c_str());
  out = font;
  return true;
}

class RecordReader {
 public:
  RecordReader(std::u16string_view fileName, PrinterCfgRecord& record,
               std::vector<VReportMessageParams>& problems)
      : fileName_(fileName), record_(record), problems_(problems) {}

  void Take(size_t line, std::u16string_view key, std::string_view value) {
    if (key == u"Orientation") {
      TakeInt(line, key, value, record_.orientation);
    } else if (key == u"Paper Size") {
      TakeInt(line, key, value, record_.paperSize);
    } else if (key == u"Paper Source") {
      TakeInt(line, key, value, record_.paperSource);
    } else if (key == u"Left Margin") {
      TakeMargin(line, key, value, record_.margins.left);
    } else if (key == u"Right Margin") {
      TakeMargin(line, key, value, record_.margins.right);
    } else if (key == u"Top Margin") {
      TakeMargin(line, key, value, record_.margins.top);
    } else if (key == u"Bottom Margin") {
      TakeMargin(line, key, value, record_.margins.bottom);
    } else if (key == u"Printer Font") {
      if (!ParseFont(value, record_.font)) Refuse(line, key, value);
    }
  }

 private:
  void TakeInt(size_t line, std::u16string_view key, std::string_view value,
               std::optional<int>& out) {
    int number = 0;
    if (ParseInt(value, number)) {
      out = number;
    } else {
      Refuse(line, key, value);
    }
  }
  void TakeMargin(size_t line, std::u16string_view key, std::string_view value, double& out) {
    if (!ParseMargin(value, out)) Refuse(line, key, value);
  }
  void Refuse(size_t line, std::u16string_view key, std::string_view value) {
    VReportMessageParams message(printer_messages::kPrinterFileValue);
    message.AddInsert(VUnicodeString(FromUtf8(std::to_string(line))));
    message.AddInsert(VUnicodeString(fileName_));
    message.AddInsert(VUnicodeString(FromUtf8(TrimBlanks(value))));
    message.AddInsert(VUnicodeString(key));
    problems_.push_back(message);
  }

  std::u16string_view fileName_;
  PrinterCfgRecord& record_;
  std::vector<VReportMessageParams>& problems_;
};

}  // namespace

VLogFont PrinterCfgDefaultFont() {
  VLogFont font;
  ParseFont("100,-13,0,0,0,400,0,0,0,0,0,0,0,0,Courier", font);
  return font;
}

bool FindPrinterCfgRecord(std::string_view text, std::u16string_view printerName,
                          std::u16string_view fileName, PrinterCfgRecord& record,
                          std::vector<VReportMessageParams>& problems) {
  std::u16string wanted = FromUtf8(TrimBlanks(ToUtf8(printerName)));
  if (wanted.empty()) return false;
  PrinterCfgRecord found;
  found.margins.left = found.margins.right = found.margins.top = found.margins.bottom = 0.5;
  found.font = PrinterCfgDefaultFont();
  RecordReader reader(fileName, found, problems);
  bool inRecord = false;
  bool matched = false;
  size_t lineNumber = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = TrimBlanks(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      if (matched) break;
      inRecord = false;
      continue;
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    std::u16string key = FromUtf8(TrimBlanks(line.substr(0, equals)));
    std::string_view value = TrimBlanks(line.substr(equals + 1));
    if (key == kNameKey) {
      // The first record of the printer wins; the next record ends it.
      if (matched) break;
      inRecord = FromUtf8(value) == wanted;
      matched = inRecord;
      continue;
    }
    if (inRecord) reader.Take(lineNumber, key, value);
  }
  if (!matched) return false;
  record = found;
  return true;
}

bool ReadPrinterCfgRecord(const std::string& folder, std::u16string_view printerName,
                          PrinterCfgRecord& record, std::vector<VReportMessageParams>& problems) {
  std::string path = vfs::JoinPath(folder, kPrinterCfgFileName);
  if (!vfs::Stat(path).exists) return false;
  VUnicodeString shownPath = U8(path);
  auto file = vfs::File::OpenForReading(path);
  std::string text;
  VStatus status = file ? file->ReadAll(text) : file.Status();
  if (!status.ok()) {
    VReportMessageParams why;
    why.SetStatus(status);
    VReportMessageParams message(printer_messages::kPrinterFileUnreadable);
    message.AddInsert(shownPath);
    message.AddInsert(why.GetTextOneLineTrimmed());
    problems.push_back(message);
    return false;
  }
  return FindPrinterCfgRecord(text, printerName, shownPath, record, problems);
}
