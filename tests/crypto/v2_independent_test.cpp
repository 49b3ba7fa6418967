// The stored form checked against a second implementation written from the algorithm alone, in
// Python with its own AES and SHA-256, in both directions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "crypto/v2_codec.h"
#include "support/test_support.h"

namespace {

// Reads lines "e<TAB>plaintext<TAB>passphrase" (encrypt) and "d<TAB>text<TAB>passphrase"
// (decrypt), fields as hexadecimal UTF-8; answers one line each: the result as hexadecimal UTF-8,
// or "FAIL".
constexpr char kScript[] = R"PY(
import hashlib, os, struct, sys
from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes

def key(passphrase):
    return hashlib.sha256(passphrase.encode("utf-8")).digest()

def encrypt(plaintext, passphrase):
    data = plaintext.encode("utf-8")
    pad = 16 - ((len(data) + 36) % 16)
    if pad < 8:
        pad += 16
    clear = struct.pack("<I", len(data)) + data + hashlib.sha256(data).digest() + os.urandom(pad)
    enc = Cipher(algorithms.AES(key(passphrase)), modes.CBC(bytes(16))).encryptor()
    return "02:" + (enc.update(clear) + enc.finalize()).hex()

def decrypt(text, passphrase):
    if text == "":
        return ""
    if not text.startswith("02:"):
        return None
    body = bytes.fromhex(text[3:])
    if len(body) < 36 or len(body) % 16:
        return None
    dec = Cipher(algorithms.AES(key(passphrase)), modes.CBC(bytes(16))).decryptor()
    clear = dec.update(body) + dec.finalize()
    (length,) = struct.unpack("<I", clear[:4])
    if length > len(body) - 36:
        return None
    data = clear[4:4 + length]
    if hashlib.sha256(data).digest() != clear[4 + length:36 + length]:
        return None
    return data.decode("utf-8")

for line in sys.stdin.read().splitlines():
    kind, a, b = line.split("\t")
    a = bytes.fromhex(a).decode("utf-8")
    b = bytes.fromhex(b).decode("utf-8")
    result = encrypt(a, b) if kind == "e" else decrypt(a, b)
    print("FAIL" if result is None else result.encode("utf-8").hex())
)PY";

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 0xF]);
  }
  return out;
}

std::string Unhex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}

std::vector<std::string> RunPython(const std::string& input) {
  qtest::TempDir dir;
  qtest::WriteFile(dir / "v2.py", kScript);
  qtest::RunResult result = qtest::Run("/usr/bin/python3", {dir / "v2.py"}, {}, input);
  EXPECT_EQ(result.status, 0) << result.err;
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < result.out.size()) {
    size_t end = result.out.find('\n', start);
    if (end == std::string::npos) end = result.out.size();
    lines.push_back(result.out.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

const std::vector<std::pair<std::string, std::string>> kCases = {
    {"", ""},
    {"", "passphrase"},
    {"a", ""},
    {"abcdefghijkl", "p"},
    {"naïve café — 12€", "clé ✓"},
    {"密码 and 😀", "😀"},
    {std::string(1000, 'q'), "long one"},
};

TEST(V2Independent, TextsMadeHereDecryptInPython) {
  std::string input;
  for (const auto& [plaintext, passphrase] : kCases) {
    VUnicodeString text;
    VReportMessageParams error;
    ASSERT_TRUE(CryptUtils::EncryptV2String(U8(plaintext), U8(passphrase), nullptr, text, error));
    input += "d\t" + Hex(text.ToUtf8()) + "\t" + Hex(passphrase) + "\n";
    // And under a wrong passphrase, which must fail there too.
    input += "d\t" + Hex(text.ToUtf8()) + "\t" + Hex(passphrase + "x") + "\n";
  }
  std::vector<std::string> lines = RunPython(input);
  ASSERT_EQ(lines.size(), 2 * kCases.size());
  for (size_t i = 0; i < kCases.size(); ++i) {
    EXPECT_EQ(Unhex(lines[2 * i]), kCases[i].first) << i;
    EXPECT_EQ(lines[2 * i + 1], "FAIL") << i;
  }
}

TEST(V2Independent, TextsMadeInPythonDecryptHere) {
  std::string input;
  for (const auto& [plaintext, passphrase] : kCases)
    input += "e\t" + Hex(plaintext) + "\t" + Hex(passphrase) + "\n";
  std::vector<std::string> lines = RunPython(input);
  ASSERT_EQ(lines.size(), kCases.size());
  for (size_t i = 0; i < kCases.size(); ++i) {
    VUnicodeString text = U8(Unhex(lines[i]));
    EXPECT_EQ(text.substr(0, 3), u"02:");
    VUnicodeString back;
    VReportMessageParams error;
    ASSERT_TRUE(CryptUtils::DecryptV2String(text, U8(kCases[i].second), back, error)) << i;
    EXPECT_EQ(back.ToUtf8(), kCases[i].first);
    EXPECT_FALSE(CryptUtils::DecryptV2String(text, U8(kCases[i].second + "x"), back, error));
  }
}

}  // namespace
