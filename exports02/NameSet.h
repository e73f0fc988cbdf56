// The name set behind CheckName and ClearNameSet: unique copy names.
#pragma once

#include <set>
#include <string>

// Names handed out by CheckName since the last ClearNameSet.
extern std::set<std::string> nameSet;

namespace nameset {

// Answers `name` itself the first time it is seen; later, the name up to and
// including its first "_copy" (or the name followed by "_copy") with the
// smallest counter k >= 1 not handed out yet. The answer joins the set and
// is copied into `block` with its terminating zero. 0, or
// fennick::kResultNullArgument (-9) for a null name or block (the set is not
// touched). May throw std::bad_alloc (the set then holds what it held).
float checkName(const char* name, char* block);

// Forgets every name.
void clearNameSet() noexcept;

}  // namespace nameset
