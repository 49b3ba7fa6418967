#include "storage/values/stored_structures.h"

#include <cstring>

#include "storage/model/byte_order.h"

namespace {

// The 28 bytes that both font forms begin with.
constexpr size_t kFontHeaderSize = 28;

void PutFontHeader(const VLogFont& f, uint8_t* out) {
  vle::PutI32(out, f.height);
  vle::PutI32(out + 4, f.width);
  vle::PutI32(out + 8, f.escapement);
  vle::PutI32(out + 12, f.orientation);
  vle::PutI32(out + 16, f.weight);
  const uint8_t flags[8] = {f.italic,       f.underline,     f.strikeOut, f.charSet,
                            f.outPrecision, f.clipPrecision, f.quality,   f.pitchAndFamily};
  std::memcpy(out + 20, flags, sizeof flags);
}

void GetFontHeader(VLogFont& f, const uint8_t* in) {
  f.height = vle::GetI32(in);
  f.width = vle::GetI32(in + 4);
  f.escapement = vle::GetI32(in + 8);
  f.orientation = vle::GetI32(in + 12);
  f.weight = vle::GetI32(in + 16);
  f.italic = in[20];
  f.underline = in[21];
  f.strikeOut = in[22];
  f.charSet = in[23];
  f.outPrecision = in[24];
  f.clipPrecision = in[25];
  f.quality = in[26];
  f.pitchAndFamily = in[27];
}

}  // namespace

VUnicodeString VLogFont::GetFaceName() const {
  size_t length = 0;
  while (length < kFaceNameLength && faceName[length]) ++length;
  return VUnicodeString(faceName, length);
}

void VLogFont::SetFaceName(std::u16string_view name) {
  size_t length = name.size() < kFaceNameLength - 1 ? name.size() : kFaceNameLength - 1;
  // Never end on the first half of a surrogate pair.
  if (length > 0 && name[length - 1] >= 0xD800 && name[length - 1] <= 0xDBFF) --length;
  for (size_t i = 0; i < kFaceNameLength; ++i) faceName[i] = i < length ? name[i] : u'\0';
}

void VLogFont::ToBytes(uint8_t* out) const {
  PutFontHeader(*this, out);
  for (size_t i = 0; i < kFaceNameLength; ++i)
    vle::Put16(out + kFontHeaderSize + 2 * i, faceName[i]);
  vle::Put32(out + 92, extra);
}

void VLogFont::FromBytes(const uint8_t* in) {
  GetFontHeader(*this, in);
  for (size_t i = 0; i < kFaceNameLength; ++i)
    faceName[i] = static_cast<char16_t>(vle::Get16(in + kFontHeaderSize + 2 * i));
  extra = vle::Get32(in + 92);
}

VLogFont VLogFont::FromLegacyBytes(const uint8_t* in) {
  VLogFont font;
  GetFontHeader(font, in);
  const char* narrow = reinterpret_cast<const char*>(in + kFontHeaderSize);
  size_t length = 0;
  while (length < kFaceNameLength && narrow[length]) ++length;
  font.SetFaceName(vtext::FromNarrow(std::string_view(narrow, length)));
  font.extra = vle::Get32(in + 60);
  return font;
}

void VWindowPlacement::ToBytes(uint8_t* out) const {
  const uint32_t fields[11] = {length,
                               flags,
                               showCmd,
                               static_cast<uint32_t>(minX),
                               static_cast<uint32_t>(minY),
                               static_cast<uint32_t>(maxX),
                               static_cast<uint32_t>(maxY),
                               static_cast<uint32_t>(normalLeft),
                               static_cast<uint32_t>(normalTop),
                               static_cast<uint32_t>(normalRight),
                               static_cast<uint32_t>(normalBottom)};
  for (int i = 0; i < 11; ++i) vle::Put32(out + 4 * i, fields[i]);
}

void VWindowPlacement::FromBytes(const uint8_t* in) {
  length = vle::Get32(in);
  flags = vle::Get32(in + 4);
  showCmd = vle::Get32(in + 8);
  minX = vle::GetI32(in + 12);
  minY = vle::GetI32(in + 16);
  maxX = vle::GetI32(in + 20);
  maxY = vle::GetI32(in + 24);
  normalLeft = vle::GetI32(in + 28);
  normalTop = vle::GetI32(in + 32);
  normalRight = vle::GetI32(in + 36);
  normalBottom = vle::GetI32(in + 40);
}

void VMarginData::ToBytes(uint8_t* out) const {
  vle::PutDouble(out, left);
  vle::PutDouble(out + 8, right);
  vle::PutDouble(out + 16, top);
  vle::PutDouble(out + 24, bottom);
}

void VMarginData::FromBytes(const uint8_t* in) {
  left = vle::GetDouble(in);
  right = vle::GetDouble(in + 8);
  top = vle::GetDouble(in + 16);
  bottom = vle::GetDouble(in + 24);
}

void CustomColors::ToBytes(uint8_t* out) const {
  for (size_t i = 0; i < kCount; ++i) vle::Put32(out + 4 * i, colors[i]);
}

void CustomColors::FromBytes(const uint8_t* in) {
  for (size_t i = 0; i < kCount; ++i) colors[i] = vle::Get32(in + 4 * i);
}

void ColorScheme::ToBytes(uint8_t* out) const { std::memcpy(out, bytes, kStoredSize); }

void ColorScheme::FromBytes(const uint8_t* in) { std::memcpy(bytes, in, kStoredSize); }
