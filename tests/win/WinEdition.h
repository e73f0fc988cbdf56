// Loads FennickDLL02.dll from the test program's own folder and binds its
// exports by name, as the application does (tools/loader/EditionLoader.h).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "EditionLoader.h"
#include "EditionSymbols.h"

struct WinEdition {
  using Fn = loader::ExportFn;
  HMODULE module = nullptr;

  WinEdition() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n);
    dir = dir.substr(0, dir.find_last_of("\\/") + 1);
    module = static_cast<HMODULE>(loader::open((dir + "FennickDLL02.dll").c_str()));
  }
  ~WinEdition() { loader::close(module); }
  WinEdition(const WinEdition&) = delete;
  WinEdition& operator=(const WinEdition&) = delete;

  Fn fn(const char* name) const { return loader::function<Fn>(module, name); }
  float call(const char* name, const char* text = nullptr, double number = 0,
             char* block = nullptr) const {
    Fn f = fn(name);
    EXPECT_NE(f, nullptr) << name;
    if (!f) return -12345.0f;
    std::string copy = text ? text : "";
    return f(text ? &copy[0] : nullptr, number, block);
  }
};

inline WinEdition& dll02() {
  static WinEdition e;
  return e;
}
