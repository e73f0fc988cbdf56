// fennick-host: loads an edition of the library by path and calls its
// exports by name with the three-argument frame, as the application does.
//
//   fennick-host LIBRARY EXPORT [TEXT [NUMBER [BLOCK]]]
//   fennick-host LIBRARY --script FILE
//
// TEXT and BLOCK: @null passes a null pointer; @buf (block only) passes an
// empty 64 KiB block; any other word is the text itself (the block is a
// 64 KiB buffer holding it). NUMBER is a double (nan, inf and -0 allowed);
// it defaults to 0, TEXT and BLOCK to @null.
// A script holds one call a line: EXPORT [TEXT [NUMBER [BLOCK]]], fields
// separated by blanks, "double quotes" around texts with blanks (a backslash
// escapes the next character), # starts a comment line. State is kept
// between the lines.
//
// Output: one line per call, "EXPORT -> RESULT", the float result exact
// (sign of zero, nan and inf shown); then "  block: TEXT" when the call
// changed the block.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "EditionLoader.h"

namespace {

using ExportFn = loader::ExportFn;
constexpr size_t kBlockSize = 64 * 1024;

std::string formatResult(float value) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0.0f) return std::signbit(value) ? "-0" : "0";
  char text[64];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  return text;
}

struct Call {
  std::string exportName;
  bool textNull = true;
  std::string text;
  double number = 0.0;
  bool blockNull = true;
  std::string block;
};

bool parseNumber(const std::string& word, double& number) {
  // Spelled out here: not every C runtime's strtod reads nan and inf.
  std::string w = word;
  double sign = 1.0;
  if (!w.empty() && (w[0] == '-' || w[0] == '+')) {
    if (w[0] == '-') sign = -1.0;
    w.erase(0, 1);
  }
  if (w == "nan" || w == "NaN" || w == "NAN") {
    number = std::copysign(std::nan(""), sign);
    return true;
  }
  if (w == "inf" || w == "Inf" || w == "INF" || w == "infinity") {
    number = sign * HUGE_VAL;
    return true;
  }
  char* end = nullptr;
  number = std::strtod(word.c_str(), &end);
  return end != word.c_str() && *end == '\0';
}

bool makeCall(const std::vector<std::string>& fields, Call& call, std::string& error) {
  if (fields.empty() || fields.size() > 4) {
    error = "expected EXPORT [TEXT [NUMBER [BLOCK]]]";
    return false;
  }
  call.exportName = fields[0];
  if (fields.size() > 1 && fields[1] != "@null") {
    call.textNull = false;
    call.text = fields[1];
  }
  if (fields.size() > 2 && !parseNumber(fields[2], call.number)) {
    error = "not a number: " + fields[2];
    return false;
  }
  if (fields.size() > 3 && fields[3] != "@null") {
    call.blockNull = false;
    if (fields[3] != "@buf") call.block = fields[3];
  }
  return true;
}

int runCall(void* library, const Call& call) {
  ExportFn fn = loader::function<ExportFn>(library, call.exportName.c_str());
  if (!fn) {
    std::printf("%s: no such export\n", call.exportName.c_str());
    return 2;
  }
  std::vector<char> text(call.text.begin(), call.text.end());
  text.push_back('\0');
  std::vector<char> block(kBlockSize, '\0');
  std::memcpy(block.data(), call.block.data(),
              call.block.size() < kBlockSize - 1 ? call.block.size() : kBlockSize - 1);
  std::vector<char> before = block;
  float result = fn(call.textNull ? nullptr : text.data(), call.number,
                    call.blockNull ? nullptr : block.data());
  std::printf("%s -> %s\n", call.exportName.c_str(), formatResult(result).c_str());
  if (!call.blockNull && block != before) {
    block.back() = '\0';
    std::printf("  block: %s\n", block.data());
  }
  std::fflush(stdout);
  return 0;
}

// Splits a script line into fields: blanks separate, double quotes group.
bool splitLine(const std::string& line, std::vector<std::string>& fields) {
  fields.clear();
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size()) break;
    std::string field;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '\\' && i < line.size()) {
          field += line[i++];
        } else if (c == '"') {
          closed = true;
          break;
        } else {
          field += c;
        }
      }
      if (!closed) return false;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
        field += line[i++];
    }
    fields.push_back(field);
  }
  return true;
}

int runScript(void* library, const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "fennick-host: cannot open script %s\n", path);
    return 2;
  }
  std::string line;
  int lineNumber = 0;
  int status = 0;
  std::vector<std::string> fields;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (!splitLine(line, fields)) {
      std::fprintf(stderr, "%s:%d: unclosed quote\n", path, lineNumber);
      return 2;
    }
    if (fields.empty() || fields[0][0] == '#') continue;
    Call call;
    std::string error;
    if (!makeCall(fields, call, error)) {
      std::fprintf(stderr, "%s:%d: %s\n", path, lineNumber, error.c_str());
      return 2;
    }
    if (runCall(library, call) != 0) status = 2;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: fennick-host LIBRARY EXPORT [TEXT [NUMBER [BLOCK]]]\n"
                 "       fennick-host LIBRARY --script FILE\n");
    return 2;
  }
  void* library = loader::open(argv[1]);
  if (!library) {
    std::fprintf(stderr, "fennick-host: cannot load %s\n", argv[1]);
    return 2;
  }
  if (std::strcmp(argv[2], "--script") == 0) {
    if (argc != 4) {
      std::fprintf(stderr, "fennick-host: --script needs one FILE\n");
      return 2;
    }
    return runScript(library, argv[3]);
  }
  std::vector<std::string> fields(argv + 2, argv + argc);
  Call call;
  std::string error;
  if (!makeCall(fields, call, error)) {
    std::fprintf(stderr, "fennick-host: %s\n", error.c_str());
    return 2;
  }
  return runCall(library, call);
}
