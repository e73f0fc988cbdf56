// Loads a built edition by path, as the application does, and calls its
// exports by name.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

// std::string in a decorated name: std::__cxx11::basic_string in libstdc++,
// std::__1::basic_string in libc++ (the C++ library of macOS).
#if defined(_LIBCPP_VERSION)
#define MANGLED_STD_STRING "NSt3__112basic_stringIcNS_11char_traitsIcEENS_9allocatorIcEEEE"
#else
#define MANGLED_STD_STRING "NSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE"
#endif

// UVTileStr's type holds std::string: libstdc++ tags the variable and so
// decorates its name; libc++ leaves it plain.
#if defined(_LIBCPP_VERSION)
constexpr const char* kUVTileStrSymbol = "UVTileStr";
#else
constexpr const char* kUVTileStrSymbol = "_Z9UVTileStrB5cxx11";
#endif

struct Edition {
  using Fn = float (*)(char*, double, char*);
  void* handle = nullptr;

  explicit Edition(const char* path) { handle = dlopen(path, RTLD_NOW | RTLD_LOCAL); }
  ~Edition() {
    if (handle) dlclose(handle);
  }
  Edition(const Edition&) = delete;
  Edition& operator=(const Edition&) = delete;

  void* symbol(const char* name) const { return handle ? dlsym(handle, name) : nullptr; }
  Fn fn(const char* name) const { return reinterpret_cast<Fn>(symbol(name)); }

  // Calls an export; fails the test when it is missing.
  float call(const char* name, const char* text = nullptr, double number = 0,
             char* block = nullptr) const {
    Fn f = fn(name);
    EXPECT_NE(f, nullptr) << name;
    if (!f) return -12345.0f;
    std::string copy = text ? text : "";
    return f(text ? &copy[0] : nullptr, number, block);
  }
};

inline Edition& dll() {
  static Edition e(FENNICK_DLL_PATH);
  return e;
}
inline Edition& dll02() {
  static Edition e(FENNICK_DLL02_PATH);
  return e;
}
