// A small JSON value for the command line's machine-readable output and its list arguments.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class Json {
 public:
  enum class Type { Null, Bool, Number, String, Array, Object };

  Json() = default;
  Json(std::nullptr_t) {}  // NOLINT
  Json(bool value) : type_(Type::Bool), bool_(value) {}  // NOLINT
  Json(int value) : type_(Type::Number), number_(value) {}  // NOLINT
  Json(int64_t value) : type_(Type::Number), number_(value) {}  // NOLINT
  Json(uint32_t value) : type_(Type::Number), number_(value) {}  // NOLINT
  Json(uint64_t value) : type_(Type::Number), number_(static_cast<int64_t>(value)) {}  // NOLINT
  Json(const char* value) : type_(Type::String), string_(value) {}  // NOLINT
  Json(std::string value) : type_(Type::String), string_(std::move(value)) {}  // NOLINT

  static Json Array() { Json j; j.type_ = Type::Array; return j; }
  static Json Object() { Json j; j.type_ = Type::Object; return j; }

  Type GetType() const { return type_; }
  bool IsNull() const { return type_ == Type::Null; }
  bool AsBool() const { return bool_; }
  int64_t AsNumber() const { return number_; }
  const std::string& AsString() const { return string_; }
  const std::vector<Json>& Items() const { return items_; }
  const std::vector<std::pair<std::string, Json>>& Members() const { return members_; }

  Json& Push(Json value);
  // Sets a member, keeping the order in which members were first set.
  Json& Set(const std::string& key, Json value);
  const Json* Find(const std::string& key) const;

  std::string Dump() const;
  // Parses a JSON text; false with a reason when it is not valid.
  static bool Parse(const std::string& text, Json& out, std::string& problem);

 private:
  void DumpTo(std::string& out) const;
  Type type_ = Type::Null;
  bool bool_ = false;
  int64_t number_ = 0;
  std::string string_;
  std::vector<Json> items_;
  std::vector<std::pair<std::string, Json>> members_;
};
