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
  virtual bool Write(VTextFile& file, const VUnicodeString& name) const = 0;
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
  bool Write(VTextFile& file, const VUnicodeString& name) const override;

 private:
  uint32_t value_;
};

class VIniFileDataString : public VIniFileData {
 public:
  explicit VIniFileDataString(VUnicodeString value) : value_(std::move(value)) {}
  bool GetString(VUnicodeString& value) const override { value = value_; return true; }
  void SetString(const char16_t* value) override { value_ = value; }
  int GetType() const override { return 1; }
  bool Write(VTextFile& file, const VUnicodeString& name) const override;

 private:
  VUnicodeString value_;
};

// An expandable string: read as a string, its $VAR, ${VAR} and %VAR% references expanded by the
// store that reads it; written back unexpanded so that it keeps following the environment.
class VIniFileDataExpandString : public VIniFileDataString {
 public:
  using VIniFileDataString::VIniFileDataString;
  bool Write(VTextFile& file, const VUnicodeString& name) const override;
  bool IsExpandable() const override { return true; }
};

class VIniFileDataBinary : public VIniFileData {
 public:
  VIniFileDataBinary(const void* data, uint32_t size);
  bool GetBinary(void* buffer, uint32_t& size) const override;
  void SetBinary(const void* data, uint32_t size) override;
  int GetType() const override { return 2; }
  bool Write(VTextFile& file, const VUnicodeString& name) const override;

 private:
  std::vector<uint8_t> bytes_;
};

class VIniFileDataStringSz : public VIniFileData {
 public:
  explicit VIniFileDataStringSz(VStringArray value) : value_(std::move(value)) {}
  bool GetMultiSz(VStringArray& value) const override { value = value_; return true; }
  void SetMultiSz(const VStringArray& value) override { value_ = value; }
  int GetType() const override { return 3; }
  bool Write(VTextFile& file, const VUnicodeString& name) const override;

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
