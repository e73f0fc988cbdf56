// Loads a built edition by path and finds its symbols by name, as the
// application does: dlopen/dlsym on POSIX systems, LoadLibrary/GetProcAddress
// on Windows. Used by the host harness, the tools, the tests and the
// benchmarks. The decorated names of FennickDLL's C++ functions and
// variables come from the generated EditionSymbols.h (decorated::NAME).
#pragma once

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <string>

namespace loader {

// The frame of every plain-named export.
using ExportFn = float (*)(char*, double, char*);

// The loaded library, or null when it cannot be loaded.
inline void* open(const char* path) {
#if defined(_WIN32)
  return reinterpret_cast<void*>(LoadLibraryA(path));
#else
  return dlopen(path, RTLD_NOW | RTLD_LOCAL);
#endif
}

// Drops one reference to the library; true when that succeeded.
inline bool close(void* library) {
  if (!library) return false;
#if defined(_WIN32)
  return FreeLibrary(static_cast<HMODULE>(library)) != 0;
#else
  return dlclose(library) == 0;
#endif
}

// Why the last open or lookup failed, as the system says it.
inline std::string lastError() {
#if defined(_WIN32)
  return "error " + std::to_string(GetLastError());
#else
  const char* text = dlerror();
  return text ? text : "";
#endif
}

// The address of a function or variable the library exports by that name,
// or null (a null library included).
inline void* symbol(void* library, const char* name) {
  if (!library || !name) return nullptr;
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
#else
  return dlsym(library, name);
#endif
}

// The symbol as a function of type Fn.
template <class Fn>
Fn function(void* library, const char* name) {
  return reinterpret_cast<Fn>(symbol(library, name));
}

}  // namespace loader
