#include "ScaleUVs.h"

#include <cstring>

#include "Common.h"
#include "FileOps.h"
#include "QuickNumbers.h"
#include "TextOps.h"

namespace scaleuvs {

namespace {

// Writes "vt " and the scaled numbers of one texture line. The three
// characters of the prefix are dropped as they are; a line of only "vt"
// has no numbers.
void scaleLine(textops::OutFile& out, const char* line, const char* end, double factor,
               double offset) {
  textops::put(out, "vt ", 3);
  const char* p = end - line > 3 ? line + 3 : end;
  for (;;) {
    float n;
    textops::ParseResult r = textops::parseStreamFloatQuick(p, end, n);
    if (!r.ok) break;
    p = r.next;
    float scaled = static_cast<float>(double(n) * factor + offset);
    textops::putG6(out, scaled);
    textops::putChar(out, ' ');
  }
  textops::putChar(out, '\n');
}

// Scales the texture lines of [begin, end), whole lines (the last may lack
// its line feed); runs of other lines are copied as they stand.
void scaleLines(textops::OutFile& out, const char* begin, const char* end, double factor,
                double offset) {
  const char* copyFrom = begin;
  const char* p = begin;
  while (p < end) {
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
    const char* lineEnd = nl ? nl : end;
    if (lineEnd - p >= 2 && p[0] == 'v' && p[1] == 't') {
      textops::put(out, copyFrom, size_t(p - copyFrom));
      scaleLine(out, p, lineEnd, factor, offset);
      copyFrom = nl ? nl + 1 : end;
    } else if (!nl) {
      // The last line of a file without a final line feed gets one.
      textops::put(out, copyFrom, size_t(end - copyFrom));
      textops::putChar(out, '\n');
      copyFrom = end;
    }
    p = nl ? nl + 1 : end;
  }
  textops::put(out, copyFrom, size_t(end - copyFrom));
}

double offsetFor(double factor) { return static_cast<float>((1.0 - factor) * 0.5); }

}  // namespace

void scaleUVText(const unsigned char* data, size_t size, double factor, textops::OutFile& out) {
  const char* text = reinterpret_cast<const char*>(data);
  if (size) scaleLines(out, text, text + size, factor, offsetFor(factor));
}

fennick::Status scaleUVFile(const char* inPath, const char* outPath, double factor) noexcept {
  using fennick::Status;
  const double offset = offsetFor(factor);
  textops::FilePtr in = textops::openRead(inPath);
  if (!in) return Status::OpenFailed;
  const fileops::OneInput from(in.get());
  if (fileops::namesInput(outPath, from.identity)) return Status::OutputIsInput;
  fileops::Output output;
  if (Status status = fileops::openOutput(output, outPath, from.rules); status != Status::Ok)
    return status;

  // Memory that ran out, or an input that could not be read to its end,
  // leave the output as it was.
  const Status read = textops::forEachLineRun(in.get(), [&](const char* begin, const char* end) {
    scaleLines(output.out, begin, end, factor, offset);
    return true;
  });
  if (read != Status::Ok) return read;
  return fileops::closeOutput(output) ? Status::Ok : Status::WriteFailed;
}

}  // namespace scaleuvs
