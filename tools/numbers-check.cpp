// Long checks of the float parser and formatter, run by hand (too long for
// the test suites):
//   numbers-check format [FIRST LAST]   every float bit pattern in
//       [FIRST, LAST] (hex; default all 2^32): formatFloatG6 against
//       printf("%g") in the C locale
//   numbers-check speed                 ns per call of the parser and the
//       formatter on classes of numerals and values (and the older
//       checkout's, see below)
//   numbers-check parse COUNT [SEED]    COUNT generated numerals and float
//       numerals (tests/support/NumberOracles.h): parseStreamFloat against
//       strtof in the C locale under the stream rules, and the fast
//       parseStreamFloatQuick against parseStreamFloat
// Configured with -DFENNICK_OLD_NUMBERS_SOURCE=<another checkout>, the tool
// also compares with that checkout's parser and formatter (built into it
// under the namespace oldtextops). Prints the first mismatches
// (NUMBERS_CHECK_SHOW of them, default 20) and a summary line "checked N,
// mismatches M".
#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "NumberOracles.h"
#include "QuickNumbers.h"
#include "TextOps.h"

#if defined(FENNICK_OLD_NUMBERS)
namespace oldtextops {
struct ParseResult {
  const char* next;
  bool ok;
};
ParseResult parseStreamFloat(const char* p, const char* end, float& value) noexcept;
size_t formatFloatG6(float value, char* out) noexcept;
}  // namespace oldtextops
#endif

namespace {

uint64_t mismatches = 0;
// How many mismatches to print: NUMBERS_CHECK_SHOW, default 20.
const uint64_t shown = std::getenv("NUMBERS_CHECK_SHOW")
                           ? std::strtoull(std::getenv("NUMBERS_CHECK_SHOW"), nullptr, 10)
                           : 20;

void report(const char* what, const std::string& input, const std::string& got,
            const std::string& want) {
  if (++mismatches <= shown)
    std::printf("MISMATCH %s: input %s: got %s, expected %s\n", what, input.c_str(), got.c_str(),
                want.c_str());
}

std::string describe(bool ok, uint32_t bits, size_t next) {
  char text[64];
  std::snprintf(text, sizeof text, "%s %08" PRIx32 " next %zu", ok ? "ok" : "fail", bits, next);
  return text;
}

std::string quoted(const std::string& s) {
  std::string q = "\"";
  for (char c : s) {
    if (c >= 32 && c < 127) {
      q += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", unsigned(static_cast<unsigned char>(c)));
      q += hex;
    }
  }
  return q + "\"";
}

int checkFormat(uint64_t first, uint64_t last) {
  uint64_t checked = 0;
  char ours[textops::kMaxNumberText];
  for (uint64_t b = first; b <= last; ++b) {
    const float v = testsupport::bitsFloat(uint32_t(b));
    const std::string got(ours, textops::formatFloatG6(v, ours));
    char want[64];
    std::snprintf(want, sizeof want, "%g", double(v));
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08" PRIx64, b);
    if (got != want) report("printf", hex, got, want);
#if defined(FENNICK_OLD_NUMBERS)
    char old[64];
    const std::string before(old, oldtextops::formatFloatG6(v, old));
    if (got != before) report("old", hex, got, before);
#endif
    ++checked;
    if ((b & 0xFFFFFFF) == 0xFFFFFFF) {
      std::printf("at %08" PRIx64 ": checked %" PRIu64 ", mismatches %" PRIu64 "\n", b, checked,
                  mismatches);
      std::fflush(stdout);
    }
  }
  std::printf("checked %" PRIu64 ", mismatches %" PRIu64 "\n", checked, mismatches);
  return mismatches ? 1 : 0;
}

int checkParse(uint64_t count, uint64_t seed) {
  testsupport::Rng rng(seed);
  uint64_t checked = 0;
  for (uint64_t i = 0; i < count; ++i) {
    const std::string text =
        i % 2 ? testsupport::randomNumeral(rng) : testsupport::randomValueNumeral(rng);
    const char* begin = text.data();
    const char* end = begin + text.size();
    const float initial = 123.25f;
    float got = initial;
    textops::ParseResult r = textops::parseStreamFloat(begin, end, got);
    const std::string ours =
        describe(r.ok, testsupport::floatBits(got), size_t(r.next - begin));
    const testsupport::StreamFloat want = testsupport::referenceStreamFloat(text, initial);
    const std::string theirs = describe(want.ok, want.bits, want.next);
    if (ours != theirs) report("strtof", quoted(text), ours, theirs);
    float quick = initial;
    textops::ParseResult q = textops::parseStreamFloatQuick(begin, end, quick);
    const std::string fast = describe(q.ok, testsupport::floatBits(quick), size_t(q.next - begin));
    if (fast != ours) report("quick", quoted(text), fast, ours);
#if defined(FENNICK_OLD_NUMBERS)
    float old = initial;
    oldtextops::ParseResult o = oldtextops::parseStreamFloat(begin, end, old);
    const std::string before = describe(o.ok, testsupport::floatBits(old), size_t(o.next - begin));
    if (ours != before) report("old", quoted(text), ours, before);
#endif
    ++checked;
    if (checked % 100000000 == 0) {
      std::printf("checked %" PRIu64 ", mismatches %" PRIu64 "\n", checked, mismatches);
      std::fflush(stdout);
    }
  }
  std::printf("checked %" PRIu64 ", mismatches %" PRIu64 "\n", checked, mismatches);
  return mismatches ? 1 : 0;
}

// ---- speed -----------------------------------------------------------------

double nowNs() {
  return double(std::chrono::duration_cast<std::chrono::nanoseconds>(
                    std::chrono::steady_clock::now().time_since_epoch())
                    .count());
}

// Best of 5 rounds, ns per call.
template <class F>
double bestNs(size_t calls, F&& f) {
  double best = 1e300;
  for (int round = 0; round < 5; ++round) {
    const double t0 = nowNs();
    f();
    best = std::min(best, (nowNs() - t0) / double(calls));
  }
  return best;
}

volatile uint32_t sink;

int checkSpeed() {
  testsupport::Rng rng(99);
  const size_t n = 200000;
  struct Class {
    const char* name;
    const char* format;
    float low, high;
  };
  const Class parseClasses[] = {
      {"plain \"%f\" in [-10, 10]", "%f", -10, 10},
      {"\"%.9g\" in [-1000, 1000]", "%.9g", -1000, 1000},
      {"\"%.17g\" in [-1000, 1000]", "%.17g", -1000, 1000},
      {"\"%.6e\" in [-1e-3, 1e-3]", "%.6e", -1e-3f, 1e-3f},
      {"\"%.17g\" in [-1e-20, 1e-20]", "%.17g", -1e-20f, 1e-20f},
  };
  std::printf("| parse | ns per call%s |\n|---|---|%s\n",
#if defined(FENNICK_OLD_NUMBERS)
              " | old ns | new / old", "---|---|"
#else
              "", ""
#endif
  );
  for (const Class& c : parseClasses) {
    std::string all;
    std::uniform_real_distribution<float> pick(c.low, c.high);
    for (size_t i = 0; i < n; ++i) {
      char text[64];
      std::snprintf(text, sizeof text, c.format, double(pick(rng)));
      all += text;
      all += ' ';
    }
    auto run = [&](auto parse) {
      return bestNs(n, [&] {
        const char* p = all.data();
        const char* end = p + all.size();
        uint32_t acc = 0;
        for (size_t i = 0; i < n; ++i) {
          float v = 0;
          auto r = parse(p, end, v);
          p = r.next;
          acc += testsupport::floatBits(v);
        }
        sink = acc;
      });
    };
    const double ours = run([](const char* p, const char* e, float& v) {
      return textops::parseStreamFloat(p, e, v);
    });
#if defined(FENNICK_OLD_NUMBERS)
    const double old = run([](const char* p, const char* e, float& v) {
      return oldtextops::parseStreamFloat(p, e, v);
    });
    std::printf("| %s | %.1f | %.1f | %.2f |\n", c.name, ours, old, ours / old);
#else
    std::printf("| %s | %.1f |\n", c.name, ours);
#endif
  }
  const Class formatClasses[] = {
      {"[-1000, 1000]", "", -1000, 1000},
      {"[-1e-5, 1e-5]", "", -1e-5f, 1e-5f},
      {"[-1e30, 1e30]", "", -1e30f, 1e30f},
  };
  std::printf("\n| format | ns per call%s |\n|---|---|%s\n",
#if defined(FENNICK_OLD_NUMBERS)
              " | old ns | new / old", "---|---|"
#else
              "", ""
#endif
  );
  std::vector<float> values(n);
  for (const Class& c : formatClasses) {
    std::uniform_real_distribution<float> pick(c.low, c.high);
    for (float& v : values) v = pick(rng);
    auto run = [&](auto format) {
      return bestNs(n, [&] {
        char text[textops::kMaxNumberText];
        uint32_t acc = 0;
        for (float v : values) acc += uint32_t(format(v, text)) + uint8_t(text[0]);
        sink = acc;
      });
    };
    const double ours = run([](float v, char* t) { return textops::formatFloatG6(v, t); });
#if defined(FENNICK_OLD_NUMBERS)
    const double old = run([](float v, char* t) { return oldtextops::formatFloatG6(v, t); });
    std::printf("| %s | %.1f | %.1f | %.2f |\n", c.name, ours, old, ours / old);
#else
    std::printf("| %s | %.1f |\n", c.name, ours);
#endif
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  testsupport::useCLocale();
  const std::string mode = argc > 1 ? argv[1] : "";
#if defined(FENNICK_OLD_NUMBERS)
  std::printf("comparing with the old implementation too\n");
#endif
  if (mode == "format") {
    const uint64_t first = argc > 2 ? std::strtoull(argv[2], nullptr, 16) : 0;
    const uint64_t last = argc > 3 ? std::strtoull(argv[3], nullptr, 16) : 0xFFFFFFFFull;
    if (first > last || last > 0xFFFFFFFFull) return 2;
    return checkFormat(first, last);
  }
  if (mode == "speed") return checkSpeed();
  if (mode == "parse" && argc > 2) {
    return checkParse(std::strtoull(argv[2], nullptr, 10),
                      argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1);
  }
  std::fprintf(stderr, "usage: numbers-check format [FIRST LAST] | parse COUNT [SEED] | speed\n");
  return 2;
}
