// The float parser and formatter on any bytes: the fast parsers and the
// plain-numeral readers give what the full parser gives (or decline), and
// every float's %g text reads back to a float with the same text.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "QuickNumbers.h"
#include "TextOps.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

bool sameFloat(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* p = reinterpret_cast<const char*>(data);
  const char* end = p + size;
  for (const char* q = p; q < end; ++q) {
    // The number ends at `cut`; the bytes after it stay readable.
    const char* cut = q + (end - q) / 2 + (data[size_t(q - p)] & 1 ? (end - q + 1) / 2 : 0);
    float full = 1.5f, quick = 1.5f;
    const textops::ParseResult a = textops::parseStreamFloat(q, cut, full);
    const textops::ParseResult b = textops::parseStreamFloatQuick(q, cut, end, quick);
    check(a.ok == b.ok && a.next == b.next && sameFloat(full, quick));
    float plain = 2.5f;
    if (const char* r = textops::plainFloat<textops::digitRunBytes>(q, cut, end, plain))
      check(a.ok && r == a.next && sameFloat(plain, full));
    if (const char* r = textops::plainFloat<textops::digitRun8>(q, cut, end, plain))
      check(a.ok && r == a.next && sameFloat(plain, full));
    if (const char* r = textops::plainFloat<textops::digitRunBytes>(q, cut, plain))
      check(a.ok && r == a.next && sameFloat(plain, full));
    int32_t i = 7, j = 7;
    const textops::ParseResult c = textops::parseStreamInt(q, cut, i);
    const textops::ParseResult d = textops::parseStreamIntQuick(q, cut, end, j);
    check(c.ok == d.ok && c.next == d.next && i == j);
  }
  for (size_t k = 0; k + 4 <= size; k += 4) {
    float v;
    std::memcpy(&v, data + k, 4);
    char text[textops::kMaxNumberText], again[textops::kMaxNumberText];
    const size_t n = textops::formatFloatG6(v, text);
    check(n > 0 && n <= 12);
    if (v - v != 0) continue;  // inf and nan are not read back
    float back = 0;
    const textops::ParseResult r = textops::parseStreamFloat(text, text + n, back);
    check(r.ok && r.next == text + n);
    check(textops::formatFloatG6(back, again) == n && std::memcmp(text, again, n) == 0);
  }
  return 0;
}
