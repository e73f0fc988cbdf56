// Loads a built edition by path, as the application does, and calls its
// exports by name (tools/loader/EditionLoader.h); decorated::NAME is the
// decorated name of one of FennickDLL's C++ functions or variables.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "EditionLoader.h"
#include "EditionSymbols.h"

struct Edition {
  using Fn = loader::ExportFn;
  void* handle = nullptr;

  explicit Edition(const char* path) : handle(loader::open(path)) {}
  ~Edition() { loader::close(handle); }
  Edition(const Edition&) = delete;
  Edition& operator=(const Edition&) = delete;

  void* symbol(const char* name) const { return loader::symbol(handle, name); }
  Fn fn(const char* name) const { return loader::function<Fn>(handle, name); }

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
