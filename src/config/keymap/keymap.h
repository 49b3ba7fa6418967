// A key map: the bindings of key codes to actions, with the header and flags it was read with.
// Files and stored settings share one line format:
//   <modifiers> TAB <key name padded to 20> TAB <action>
// where the modifiers are the letters A, C, S, E (or N for none) and the action is a quoted string
// to send, RUN("file")("arguments"), LAUNCH("command"), SET_BUTTONBAR("name") or a function name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"

struct KeyMapping {
  uint32_t keyCode = 0;  // key with its modifier bits
  uint32_t action = 0;   // code from the function table
  VUnicodeString first;  // send string, script file, command or button bar name
  VUnicodeString second; // script arguments
  bool operator==(const KeyMapping& other) const = default;
};

// One line of a load that could not be taken as a mapping, or one complaint about a line.
struct KeymapLineError {
  size_t line = 0;
  VUnicodeString text;  // the catalogue text of the complaint
};

class IKeymap {
 public:
  virtual ~IKeymap() = default;

  virtual size_t GetCount() const = 0;
  virtual const KeyMapping& GetAt(size_t index) const = 0;  // VOutOfRange past the end
  virtual void Add(const KeyMapping& mapping) = 0;
  virtual void SetAt(size_t index, const KeyMapping& mapping) = 0;
  virtual void RemoveAt(size_t index) = 0;
  virtual void RemoveAll() = 0;
  // The index of the mapping of exactly this key code (modifiers included).
  virtual std::optional<size_t> Find(uint32_t keyCode) const = 0;

  virtual uint32_t GetFlags() const = 0;
  virtual void SetFlags(uint32_t flags) = 0;
  virtual const VUnicodeString& GetHeader() const = 0;
  virtual void SetHeader(const VUnicodeString& header) = 0;
  virtual size_t GetFailedLineCount() const = 0;

  // Loads a key map file (by its name, else from the "keymaps" folder of the configuration
  // folder). With one or two bad lines the load succeeds and `report` holds a warning listing
  // them; at three the load stops and fails.
  virtual bool Load(const VUnicodeString& fileName, VReportMessageParams& report) = 0;
  virtual bool Save(const VUnicodeString& fileName, VReportMessageParams& report) = 0;
};

class Keymap : public IKeymap {
 public:
  static constexpr uint32_t kNewFlags = 4096;
  static constexpr const char16_t* kCurrentHeader = u"Version = 1";
  // A load stops when this many errors have been counted.
  static constexpr size_t kMaxErrors = 3;

  Keymap() = default;

  size_t GetCount() const override { return mappings_.size(); }
  const KeyMapping& GetAt(size_t index) const override;
  void Add(const KeyMapping& mapping) override;
  void SetAt(size_t index, const KeyMapping& mapping) override;
  void RemoveAt(size_t index) override;
  void RemoveAll() override;
  std::optional<size_t> Find(uint32_t keyCode) const override;

  uint32_t GetFlags() const override { return flags_; }
  void SetFlags(uint32_t flags) override { flags_ = flags; }
  const VUnicodeString& GetHeader() const override { return header_; }
  void SetHeader(const VUnicodeString& header) override { header_ = header; }
  size_t GetFailedLineCount() const override { return failedLines_; }
  bool SawComment() const { return sawComment_; }
  // Every complaint of the last load, in line order.
  const std::vector<KeymapLineError>& GetLoadErrors() const { return errors_; }

  bool Load(const VUnicodeString& fileName, VReportMessageParams& report) override;
  bool Save(const VUnicodeString& fileName, VReportMessageParams& report) override;

  // The whole text of a key map file (already decoded); `fileName` names it in messages. Returns
  // false, with `report` filled, when the load stopped at three errors.
  bool LoadText(std::u16string_view text, const VUnicodeString& fileName,
                VReportMessageParams& report);
  // The bytes of the file Save writes: UTF-8 with a byte-order mark, CR LF line ends.
  std::string FileBytes() const;

  // The stored form in a session: one string per line, without a header. `doubleLineBreaks`
  // reads send strings written before "\r\n" had its backslashes doubled. False when the strings
  // stopped at three errors (the mappings read before the stop are kept).
  bool LoadStrings(const VStringArray& lines, bool doubleLineBreaks);
  VStringArray ToStrings() const;

  // One mapping in the line format; empty for the NONE action, which is never written.
  static VUnicodeString FormatLine(const KeyMapping& mapping);
  // The modifier letters of a key code ("N" for none).
  static VUnicodeString ModifierField(uint32_t keyCode);
  // "\r\n" with both backslashes doubled, as older send strings are read.
  static VUnicodeString DoubleLineBreaks(std::u16string_view text);

 protected:
  void ResetForLoad();
  // Parses one line; false when the load must stop (three errors were counted before it).
  bool ParseLine(std::u16string_view line, bool doubleLineBreaks);

 private:
  // Lines a load kept without taking them as mappings (comments, lines that failed): written
  // back where they were, before the mapping that followed them, so that a save loses nothing a
  // person wrote.
  struct KeptLine {
    size_t before;
    VUnicodeString text;
  };
  void Complain(uint32_t id, std::vector<VUnicodeString> inserts);
  template <class Emit>
  void EachLine(Emit&& emit) const;

  std::vector<KeyMapping> mappings_;
  std::vector<KeptLine> kept_;
  uint32_t flags_ = kNewFlags;
  VUnicodeString header_{kCurrentHeader};
  size_t failedLines_ = 0;
  bool sawComment_ = false;
  // State of one load.
  std::vector<KeymapLineError> errors_;
  size_t lineNumber_ = 0;
  size_t errorCount_ = 0;
  bool lineFailed_ = false;
};
