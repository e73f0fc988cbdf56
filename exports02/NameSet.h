// The name set behind CheckName and ClearNameSet: unique copy names.
#pragma once

#include <set>
#include <string>
#include <unordered_map>

#include "Common.h"

namespace nameset {

// Names handed out since the last clear.
struct NameSet {
  std::set<std::string> names;
  // For each copy base, a counter below which every candidate is known to
  // be in the set (see checkName).
  std::unordered_map<std::string, unsigned long long> nextCopy;
};

// Answers `name` itself the first time it is seen; later, the name up to and
// including its first "_copy" (or the name followed by "_copy") with the
// smallest counter k >= 1 not handed out yet. The answer joins the set and
// is copied into `block` with its terminating zero. Ok, or NullArgument for
// a null name or block (the set is not touched). May throw std::bad_alloc
// (the set then holds what it held).
fennick::Status checkName(NameSet& set, const char* name, char* block);

// Forgets every name.
void clear(NameSet& set) noexcept;

}  // namespace nameset
