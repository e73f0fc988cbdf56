// A stand-in edition for testing fennick-host: exports whose results and
// block texts are known, and one that keeps state between calls.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT float NegativeZero(char*, double, char*) { return -0.0f; }
EXPORT float NotANumber(char*, double, char*) { return std::numeric_limits<float>::quiet_NaN(); }
EXPORT float MinusInfinity(char*, double, char*) { return -std::numeric_limits<float>::infinity(); }
EXPORT float Tiny(char*, double, char*) { return 1.17549435e-38f; }
EXPORT float EchoNumber(char*, double number, char*) { return static_cast<float>(number); }

// 1 for a null text, 2 for a null block, added.
EXPORT float Nulls(char* text, double, char* block) {
  return static_cast<float>((text ? 0 : 1) + (block ? 0 : 2));
}

// Writes "text|number" into the block.
EXPORT float Describe(char* text, double number, char* block) {
  if (!block) return -1;
  std::snprintf(block, 256, "%s|%g", text ? text : "(null)", number);
  return 0;
}

static int calls = 0;
EXPORT float Counter(char*, double, char*) { return static_cast<float>(++calls); }
