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

}  // namespace

float scaleUVFile(const char* inPath, const char* outPath, double factor) noexcept {
  const double offset = static_cast<float>((1.0 - factor) * 0.5);
  textops::FilePtr in = textops::openRead(inPath);
  if (!in) return kResultOpenFailed;
  const fileops::OneInput from(in.get());
  if (fileops::namesInput(outPath, from.identity)) return kResultSameFile;
  fileops::Output output;
  if (fennick::Status status = fileops::openOutput(output, outPath, from.rules);
      status != fennick::Status::Ok) {
    return fennick::resultOf(status, {{fennick::Status::CreateFailed, kResultWriteOpenFailed}, {fennick::Status::OutputIsInput, kResultSameFile}, {fennick::Status::NoMemory, fennick::kResultNoMemory}});
  }
  textops::OutFile& out = output.out;

  textops::LineBlockReader reader;
  if (!textops::initLineReader(reader, in.get())) return fennick::kResultNoMemory;
  const char* begin;
  const char* end;
  while (textops::nextLineBlock(reader, begin, end)) {
    // Runs of other lines are copied as they stand, line feeds included.
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
  // Memory that ran out, or an input that could not be read to its end,
  // leave the output as it was.
  if (reader.failed) return fennick::kResultNoMemory;
  if (std::ferror(in.get())) return kResultOpenFailed;
  return fileops::closeOutput(output) ? 0.0f : kResultWriteFailed;
}

}  // namespace scaleuvs
