// The name set: names handed out once, copy names counted per base.
#include "NameSet.h"

#include <cstring>
#include <string>
#include <unordered_map>

#include "Common.h"

std::set<std::string> nameSet;

namespace nameset {

namespace {

constexpr const char* kCopyMarker = "_copy";

// For each copy base, a counter below which every candidate is known to be
// in the set. Names only join the set until it is cleared, so the smallest
// free counter of a base never goes down: the search resumes where the last
// one stopped instead of at 1.
std::unordered_map<std::string, unsigned long long> nextCopy;

}  // namespace

float checkName(const char* name, char* block) {
  if (!name || !block) return fennick::kResultNullArgument;
  std::string proposed(name);
  if (nameSet.insert(proposed).second) {
    std::memcpy(block, proposed.c_str(), proposed.size() + 1);
    return 0.0f;
  }
  const size_t marker = proposed.find(kCopyMarker);
  std::string base = marker == std::string::npos
                         ? proposed + kCopyMarker
                         : proposed.substr(0, marker + std::strlen(kCopyMarker));
  unsigned long long& k = nextCopy.try_emplace(base, 1ull).first->second;
  std::string candidate;
  for (;; ++k) {
    candidate = base;
    candidate += std::to_string(k);
    if (nameSet.insert(candidate).second) break;
  }
  ++k;
  std::memcpy(block, candidate.c_str(), candidate.size() + 1);
  return 0.0f;
}

void clearNameSet() noexcept {
  nameSet.clear();
  nextCopy.clear();
}

}  // namespace nameset
