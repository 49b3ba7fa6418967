#include "quillane/json.h"

#include "platform/unicode_string.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void AppendEscaped(std::string& out, const std::string& text) {
  out.push_back('"');
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (c < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
          out += buffer;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  out.push_back('"');
}


class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  bool ParseDocument(Json& out, std::string& problem) {
    if (!ParseValue(out, 0)) {
      problem = problem_;
      return false;
    }
    SkipSpace();
    if (pos_ != s_.size()) {
      problem = "unexpected text after the value at offset " + std::to_string(pos_);
      return false;
    }
    return true;
  }

 private:
  bool Fail(const char* what) {
    problem_ = std::string(what) + " at offset " + std::to_string(pos_);
    return false;
  }
  void SkipSpace() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
      ++pos_;
  }
  bool Literal(const char* word) {
    size_t n = std::char_traits<char>::length(word);
    if (s_.compare(pos_, n, word) != 0) return false;
    pos_ += n;
    return true;
  }
  bool ParseHex4(uint32_t& value) {
    if (pos_ + 4 > s_.size()) return Fail("short \\u escape");
    value = 0;
    for (int i = 0; i < 4; ++i) {
      char c = s_[pos_++];
      value <<= 4;
      if (c >= '0' && c <= '9') value |= static_cast<uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f') value |= static_cast<uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') value |= static_cast<uint32_t>(c - 'A' + 10);
      else return Fail("bad \\u escape");
    }
    return true;
  }
  bool ParseString(std::string& out) {
    ++pos_;  // opening quote
    while (pos_ < s_.size()) {
      unsigned char c = static_cast<unsigned char>(s_[pos_++]);
      if (c == '"') return true;
      if (c < 0x20) return Fail("control character in a string");
      if (c != '\\') {
        out.push_back(static_cast<char>(c));
        continue;
      }
      if (pos_ >= s_.size()) break;
      char e = s_[pos_++];
      switch (e) {
        case '"': out.push_back('"'); break;
        case '\\': out.push_back('\\'); break;
        case '/': out.push_back('/'); break;
        case 'b': out.push_back('\b'); break;
        case 'f': out.push_back('\f'); break;
        case 'n': out.push_back('\n'); break;
        case 'r': out.push_back('\r'); break;
        case 't': out.push_back('\t'); break;
        case 'u': {
          uint32_t cp = 0;
          if (!ParseHex4(cp)) return false;
          if (cp >= 0xD800 && cp <= 0xDBFF && s_.compare(pos_, 2, "\\u") == 0) {
            pos_ += 2;
            uint32_t low = 0;
            if (!ParseHex4(low)) return false;
            if (low < 0xDC00 || low > 0xDFFF) return Fail("bad surrogate pair");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            return Fail("lone surrogate");
          }
          vtext::AppendUtf8(out, cp);
          break;
        }
        default: return Fail("bad escape");
      }
    }
    return Fail("unterminated string");
  }
  bool ParseValue(Json& out, int depth) {
    if (depth > 64) return Fail("nesting too deep");
    SkipSpace();
    if (pos_ >= s_.size()) return Fail("missing value");
    char c = s_[pos_];
    if (c == '"') {
      std::string text;
      if (!ParseString(text)) return false;
      out = Json(text);
      return true;
    }
    if (c == '[') {
      ++pos_;
      out = Json::Array();
      SkipSpace();
      if (pos_ < s_.size() && s_[pos_] == ']') {
        ++pos_;
        return true;
      }
      for (;;) {
        Json item;
        if (!ParseValue(item, depth + 1)) return false;
        out.Push(std::move(item));
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == ',') { ++pos_; continue; }
        if (pos_ < s_.size() && s_[pos_] == ']') { ++pos_; return true; }
        return Fail("expected ',' or ']'");
      }
    }
    if (c == '{') {
      ++pos_;
      out = Json::Object();
      SkipSpace();
      if (pos_ < s_.size() && s_[pos_] == '}') {
        ++pos_;
        return true;
      }
      for (;;) {
        SkipSpace();
        if (pos_ >= s_.size() || s_[pos_] != '"') return Fail("expected a member name");
        std::string key;
        if (!ParseString(key)) return false;
        SkipSpace();
        if (pos_ >= s_.size() || s_[pos_] != ':') return Fail("expected ':'");
        ++pos_;
        Json value;
        if (!ParseValue(value, depth + 1)) return false;
        out.Set(key, std::move(value));
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == ',') { ++pos_; continue; }
        if (pos_ < s_.size() && s_[pos_] == '}') { ++pos_; return true; }
        return Fail("expected ',' or '}'");
      }
    }
    if (Literal("true")) { out = Json(true); return true; }
    if (Literal("false")) { out = Json(false); return true; }
    if (Literal("null")) { out = Json(); return true; }
    if (c == '-' || (c >= '0' && c <= '9')) {
      size_t start = pos_;
      if (s_[pos_] == '-') ++pos_;
      while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
      if (pos_ < s_.size() && (s_[pos_] == '.' || s_[pos_] == 'e' || s_[pos_] == 'E'))
        return Fail("only whole numbers are accepted");
      std::string digits = s_.substr(start, pos_ - start);
      if (digits == "-" ) return Fail("bad number");
      errno = 0;
      long long value = std::strtoll(digits.c_str(), nullptr, 10);
      if (errno) return Fail("number out of range");
      out = Json(static_cast<int64_t>(value));
      return true;
    }
    return Fail("unexpected character");
  }

  const std::string& s_;
  size_t pos_ = 0;
  std::string problem_;
};

}  // namespace

Json& Json::Push(Json value) {
  items_.push_back(std::move(value));
  return items_.back();
}

Json& Json::Set(const std::string& key, Json value) {
  for (auto& member : members_) {
    if (member.first == key) {
      member.second = std::move(value);
      return member.second;
    }
  }
  members_.emplace_back(key, std::move(value));
  return members_.back().second;
}

const Json* Json::Find(const std::string& key) const {
  for (const auto& member : members_) {
    if (member.first == key) return &member.second;
  }
  return nullptr;
}

std::string Json::Dump() const {
  std::string out;
  DumpTo(out);
  return out;
}

void Json::DumpTo(std::string& out) const {
  switch (type_) {
    case Type::Null: out += "null"; break;
    case Type::Bool: out += bool_ ? "true" : "false"; break;
    case Type::Number: out += std::to_string(number_); break;
    case Type::String: AppendEscaped(out, string_); break;
    case Type::Array:
      out.push_back('[');
      for (size_t i = 0; i < items_.size(); ++i) {
        if (i) out += ", ";
        items_[i].DumpTo(out);
      }
      out.push_back(']');
      break;
    case Type::Object:
      out.push_back('{');
      for (size_t i = 0; i < members_.size(); ++i) {
        if (i) out += ", ";
        AppendEscaped(out, members_[i].first);
        out += ": ";
        members_[i].second.DumpTo(out);
      }
      out.push_back('}');
      break;
  }
}

bool Json::Parse(const std::string& text, Json& out, std::string& problem) {
  return Parser(text).ParseDocument(out, problem);
}
