// The name set: names handed out once, copy names counted per base.
#include "NameSet.h"

#include <cstring>
#include <string>

namespace nameset {

namespace {
constexpr const char* kCopyMarker = "_copy";
}  // namespace

fennick::Status checkName(NameSet& set, const char* name, char* block) {
  if (!name || !block) return fennick::Status::NullArgument;
  std::string proposed(name);
  if (set.names.insert(proposed).second) {
    std::memcpy(block, proposed.c_str(), proposed.size() + 1);
    return fennick::Status::Ok;
  }
  const size_t marker = proposed.find(kCopyMarker);
  std::string base = marker == std::string::npos
                         ? proposed + kCopyMarker
                         : proposed.substr(0, marker + std::strlen(kCopyMarker));
  // Names only join the set until it is cleared, so the smallest free
  // counter of a base never goes down: the search resumes where the last
  // one stopped instead of at 1.
  unsigned long long& k = set.nextCopy.try_emplace(base, 1ull).first->second;
  std::string candidate;
  for (;; ++k) {
    candidate = base;
    candidate += std::to_string(k);
    if (set.names.insert(candidate).second) break;
  }
  ++k;
  std::memcpy(block, candidate.c_str(), candidate.size() + 1);
  return fennick::Status::Ok;
}

void clear(NameSet& set) noexcept {
  set.names.clear();
  set.nextCopy.clear();
}

}  // namespace nameset
