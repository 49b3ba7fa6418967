// The values of an INI key: one object per stored value, and the line format they are read from
// and written to.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/unicode_string.h"
#include "storage/text/text_file.h"

class VIniFileData {
 public:
  virtual ~VIniFileData() = default;
  virtual bool GetMultiSz(VStringArray&) const { return false; }
  // With a null buffer sets the size; with a buffer smaller than the block fails and leaves the
  // size as given; otherwise copies and sets the size.
  virtual bool GetBinary(void*, uint32_t&) const { return false; }
  virtual bool GetString(VUnicodeString&) const { return false; }
  virtual bool GetDword(uint32_t&) const { return false; }
  virtual void SetMultiSz(const VStringArray&) {}
  virtual void SetBinary(const void*, uint32_t) {}
  virtual void SetString(const char16_t*) {}
  virtual void SetDword(uint32_t) {}
  virtual int GetType() const = 0;
  // Appends the value's lines, CR LF ended, under a name already in UTF-8: a key's file is made
  // straight into one buffer, without a line or a conversion of its own for each value.
  virtual void AppendTo(std::string& out, std::string_view utf8Name) const = 0;
  bool Write(VTextFile& file, const VUnicodeString& name) const;
  // A string whose environment references are to be expanded when it is read ("E" lines, kept
  // only by the registry store).
  virtual bool IsExpandable() const { return false; }
};

class VIniFileDataDword : public VIniFileData {
 public:
  explicit VIniFileDataDword(uint32_t value) : value_(value) {}
  bool GetDword(uint32_t& value) const override { value = value_; return true; }
  void SetDword(uint32_t value) override { value_ = value; }
  int GetType() const override { return 0; }
  void AppendTo(std::string& out, std::string_view utf8Name) const override;

 private:
  uint32_t value_;
};

class VIniFileDataString : public VIniFileData {
 public:
  explicit VIniFileDataString(VUnicodeString value) : value_(std::move(value)) {}
  const VUnicodeString& Text() const { return value_; }
  bool GetString(VUnicodeString& value) const override { value = value_; return true; }
  void SetString(const char16_t* value) override { value_ = value; }
  int GetType() const override { return 1; }
  void AppendTo(std::string& out, std::string_view utf8Name) const override;

 private:
  VUnicodeString value_;
};

// An expandable string: read as a string, its $VAR, ${VAR} and %VAR% references expanded by the
// store that reads it; written back unexpanded so that it keeps following the environment.
class VIniFileDataExpandString : public VIniFileDataString {
 public:
  using VIniFileDataString::VIniFileDataString;
  void AppendTo(std::string& out, std::string_view utf8Name) const override;
  bool IsExpandable() const override { return true; }
};

class VIniFileDataBinary : public VIniFileData {
 public:
  VIniFileDataBinary(const void* data, uint32_t size);
  bool GetBinary(void* buffer, uint32_t& size) const override;
  void SetBinary(const void* data, uint32_t size) override;
  int GetType() const override { return 2; }
  void AppendTo(std::string& out, std::string_view utf8Name) const override;

 private:
  std::vector<uint8_t> bytes_;
};

class VIniFileDataStringSz : public VIniFileData {
 public:
  explicit VIniFileDataStringSz(VStringArray value) : value_(std::move(value)) {}
  bool GetMultiSz(VStringArray& value) const override { value = value_; return true; }
  void SetMultiSz(const VStringArray& value) override { value_ = value; }
  int GetType() const override { return 3; }
  void AppendTo(std::string& out, std::string_view utf8Name) const override;

 private:
  VStringArray value_;
};

// Which line kinds an entry reader accepts: the INI store knows D, S, B and Z; the registry store
// adds E for expandable strings.
enum class VIniLineKinds { Ini, Registry };

// Value names and texts are not escaped in the file: a name may not hold a double quote or a
// line break, and a text or list element may not hold a line break.
bool VIsStorableIniName(std::u16string_view name);
bool VIsStorableIniText(std::u16string_view text);

// A copy of a value, of the same kind; and whether two values are the same, kind and all.
std::unique_ptr<VIniFileData> VCopyIniData(const VIniFileData& data);
bool VSameIniData(const VIniFileData& a, const VIniFileData& b);
