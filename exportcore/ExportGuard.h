// Every export runs its operation through guarded(): no exception crosses
// the C boundary, and std::bad_alloc or any other exception becomes a
// negative result.
#pragma once

#include "FennickApi.h"

namespace fennick {

template <class Operation>
float guarded(Operation&& operation) noexcept {
  try {
    return operation();
  } catch (...) {
    return kResultNoMemory;
  }
}

}  // namespace fennick
