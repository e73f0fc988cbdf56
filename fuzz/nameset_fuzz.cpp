// Name set: a sequence of names (one per input line; a line "!" forgets all
// names) against a plain model of the handing-out rule. Every answer must
// equal the model's, and no answer is given twice between two clears.
#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "Common.h"
#include "NameSet.h"

namespace {

std::string modelAnswer(std::set<std::string>& names, const std::string& name) {
  if (names.insert(name).second) return name;
  size_t marker = name.find("_copy");
  std::string base = marker == std::string::npos ? name + "_copy" : name.substr(0, marker + 5);
  for (unsigned long k = 1;; ++k) {
    std::string candidate = base + std::to_string(k);
    if (names.insert(candidate).second) return candidate;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  nameset::NameSet set;
  std::set<std::string> model;
  std::set<std::string> given;
  std::vector<char> block(8192);
  size_t start = 0;
  int calls = 0;
  while (start <= text.size() && calls++ < 2000) {
    size_t nl = text.find('\n', start);
    std::string name = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    start = nl == std::string::npos ? text.size() + 1 : nl + 1;
    if (name == "!") {
      nameset::clear(set);
      model.clear();
      given.clear();
      continue;
    }
    name = name.substr(0, std::min(name.size(), name.find('\0')));
    if (name.size() > 4000) continue;
    if (nameset::checkName(set, name.c_str(), block.data()) != fennick::Status::Ok)
      __builtin_trap();
    std::string answer(block.data());
    if (answer != modelAnswer(model, name)) __builtin_trap();
    if (!given.insert(answer).second) __builtin_trap();
  }
  if (nameset::checkName(set, nullptr, block.data()) != fennick::Status::NullArgument)
    __builtin_trap();
  return 0;
}
