// Symbol export control shared by every module.
#pragma once

// FENNICK_API marks a function or variable that belongs to an edition's
// exported interface. Everything else is hidden (CMake builds with hidden
// visibility). Windows builds export only what the edition's .def file lists.
#if defined(_WIN32)
#define FENNICK_API
#else
#define FENNICK_API __attribute__((visibility("default")))
#endif

#define FENNICK_EXPORT_C extern "C" FENNICK_API

namespace fennick {
// Result of any call that could not get the memory it needs (or met another
// failure of the runtime itself); no operation uses it for anything else.
constexpr float kResultNoMemory = -99.0f;
}  // namespace fennick
