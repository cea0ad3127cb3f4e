// Writes the synthetic registry as a REGEDIT4 file and the files it refers to as a list, one
// path a line. The same arguments always give the same bytes.
//   bench-generate-registry [--keys N] [--values N] [--seed S] [--base KEY] OUT.reg FILES.txt
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "SyntheticRegistry.h"
#include "base/Utf16.h"

namespace {

using quillet::RegistryValue;
namespace regtype = quillet::regtype;

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i) out += ',';
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 15];
  }
  return out;
}

// REGEDIT4 keeps string-like hex data as ANSI bytes; the generator's text is ASCII.
std::vector<uint8_t> AnsiBytes(const std::vector<uint8_t>& utf16) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < utf16.size(); i += 2) out.push_back(utf16[i]);
  return out;
}

class RegFileWriter final : public quillet::bench::SyntheticOutput {
 public:
  RegFileWriter(std::ofstream& reg, std::ofstream& files) : reg_(reg), files_(files) { reg_ << "REGEDIT4\r\n"; }

  void File(const std::string& path) override { files_ << path << "\n"; }
  void Key(const std::string& fullPath) override { reg_ << "\r\n[" << fullPath << "]\r\n"; }
  void Value(const RegistryValue& value) override {
    reg_ << (value.name.empty() ? "@" : Quoted(value.name)) << '=';
    switch (value.type) {
      case regtype::kString: reg_ << Quoted(quillet::Utf8FromUtf16Le(value.data.data(), value.data.size())); break;
      case regtype::kDword: {
        uint32_t number = 0;
        for (size_t i = 0; i < 4 && i < value.data.size(); ++i) number |= uint32_t{value.data[i]} << (8 * i);
        char text[16];
        std::snprintf(text, sizeof(text), "dword:%08x", number);
        reg_ << text;
        break;
      }
      case regtype::kBinary: reg_ << "hex:" << Hex(value.data); break;
      case regtype::kExpandString:
      case regtype::kMultiString:
        reg_ << "hex(" << value.type << "):" << Hex(AnsiBytes(value.data));
        break;
      default: reg_ << "hex(" << std::hex << value.type << std::dec << "):" << Hex(value.data); break;
    }
    reg_ << "\r\n";
  }

 private:
  std::ofstream& reg_;
  std::ofstream& files_;
};

}  // namespace

int main(int argc, char** argv) {
  quillet::bench::SyntheticShape shape;
  std::vector<std::string> outputs;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--keys" && hasValue) {
      shape.keys = std::stoull(argv[++i]);
    } else if (arg == "--values" && hasValue) {
      shape.values = std::stoull(argv[++i]);
    } else if (arg == "--seed" && hasValue) {
      shape.seed = std::stoull(argv[++i]);
    } else if (arg == "--base" && hasValue) {
      shape.baseKey = argv[++i];
    } else {
      outputs.push_back(arg);
    }
  }
  if (outputs.size() != 2) {
    std::cerr << "usage: bench-generate-registry [--keys N] [--values N] [--seed S] [--base KEY] OUT.reg FILES.txt\n";
    return 2;
  }
  std::ofstream reg(outputs[0], std::ios::binary);
  std::ofstream files(outputs[1], std::ios::binary);
  if (!reg || !files) {
    std::cerr << "bench-generate-registry: cannot write " << outputs[0] << " or " << outputs[1] << "\n";
    return 1;
  }
  RegFileWriter writer(reg, files);
  const quillet::bench::SyntheticSummary summary = quillet::bench::GenerateSyntheticRegistry(shape, writer);
  reg.close();
  files.close();
  if (!reg || !files) {
    std::cerr << "bench-generate-registry: writing failed\n";
    return 1;
  }
  std::printf("keys %llu, values %llu, strings %llu (path-like %llu, missing %llu), files %llu, depth mean %.1f max %u\n",
              static_cast<unsigned long long>(summary.keys), static_cast<unsigned long long>(summary.values),
              static_cast<unsigned long long>(summary.stringValues), static_cast<unsigned long long>(summary.pathValues),
              static_cast<unsigned long long>(summary.missingReferences),
              static_cast<unsigned long long>(summary.files),
              summary.keys ? static_cast<double>(summary.depthSum) / static_cast<double>(summary.keys) : 0.0,
              summary.maxDepth);
  return 0;
}
