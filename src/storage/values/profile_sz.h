// The storage kinds of strings and lists of strings, on which VProfile2 builds string settings
// (VProfile2<VUnicodeString, VProfileSz>) and list settings (VProfile2<VStringArray,
// VProfileMultiSz>). Each kind reads and writes its value under the setting's name and knows
// the value's text, list and automation forms.
#pragma once

#include "storage/model/profile_data.h"
#include "storage/model/profile_store.h"
#include "storage/values/stored_value.h"

// Strings. The two virtual operations are where encrypted strings turn their stored form into
// the value and back.
class VProfileSz : public VProfileData {
 public:
  static constexpr int kStoredType = kProfileTypeString;

  // Reads the string `valueName`; with a null `value` only tells whether it can be read.
  virtual bool ReadValue(const VProfileKey& key, const VUnicodeString& valueName,
                         VUnicodeString* value);
  virtual bool WriteValue(VProfileKey& key, const VUnicodeString& valueName,
                          const VUnicodeString& value);

 protected:
  bool ReadAs(const VProfileKey& key, VUnicodeString& value) {
    return ReadValue(key, GetName(), &value);
  }
  bool WriteAs(VProfileKey& key, const VUnicodeString& value) {
    return WriteValue(key, GetName(), value);
  }
  bool StoredValueOf(const VUnicodeString& value, VStoredValue& out) const;
  bool TextToValue(const VUnicodeString& text, VUnicodeString& value, VReportMessageParams&) const;
  // The caller's converter goes first; when it has no conversion for the text (0xE1040040) the
  // text itself is taken.
  bool LoadedTextToValue(const VUnicodeString& text, IProfileTextConverter* converter,
                         VUnicodeString& value, VReportMessageParams& error) const;
  bool ValueToVariantAs(const VUnicodeString& value, VVariant& out, VReportMessageParams&) const;
  bool VariantToValue(const VVariant& in, VUnicodeString& value, VReportMessageParams& error) const;
  bool ConversionFailed(VReportMessageParams& error) const;
};

// Lists of strings.
class VProfileMultiSz : public VProfileData {
 public:
  static constexpr int kStoredType = kProfileTypeMultiSz;

 protected:
  bool ReadAs(const VProfileKey& key, VStringArray& value) {
    return key.ReadMultiSz(GetName().c_str(), value);
  }
  bool WriteAs(VProfileKey& key, const VStringArray& value) {
    return key.WriteMultiSz(GetName().c_str(), value);
  }
  bool StoredValueOf(const VStringArray& value, VStoredValue& out) const;
  // A list is given as a list, never as one text.
  bool TextToValue(const VUnicodeString& text, VStringArray&, VReportMessageParams& error) const;
  bool LoadedTextToValue(const VUnicodeString&, IProfileTextConverter*, VStringArray&,
                         VReportMessageParams& error) const {
    return NotSupported(error);
  }
  // A one-dimensional array of variants holding strings.
  bool ValueToVariantAs(const VStringArray& value, VVariant& out, VReportMessageParams&) const;
  bool VariantToValue(const VVariant& in, VStringArray& value, VReportMessageParams& error) const;
};
