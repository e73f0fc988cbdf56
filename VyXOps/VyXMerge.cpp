// File merge: the target without its last 14 bytes, then the other file
// without its last 14 bytes. The new content goes to a file beside the
// target that replaces it only once it is completely written and on the
// disk. Where the folder takes no new file, or the target has further hard
// links, the target is rewritten in place, its old tail put back if the
// writing fails.
#include <string>

#include "Common.h"
#include "FennickDLL.h"
#include "FileOps.h"
#include "TextOps.h"
#include "VyXOps.h"

namespace {

constexpr size_t kTail = 14;

size_t withoutTail(size_t size) { return size > kTail ? size - kTail : 0; }

}  // namespace

float mergeFiles(const char* appendPath, char* targetPath) noexcept {
  return fennick::guarded([&] {
    // Both files by what was opened: the target's identity is that of the
    // file read, and the merged bytes are no more readable than either.
    fileops::FileIdentity read[2];
    textops::FileBytes target, addition;
    {
      textops::FilePtr in = textops::openRead(targetPath);
      read[0] = fileops::identityOf(in.get());
      if (fennick::Status status = textops::readWholeFile(in.get(), target);
          status != fennick::Status::Ok) {
        return fennick::resultOf(status, {{fennick::Status::OpenFailed, vyx::kResultTargetReadFailed}, {fennick::Status::NoMemory, fennick::kResultNoMemory}});
      }
    }
    {
      textops::FilePtr in = textops::openRead(appendPath);
      read[1] = fileops::identityOf(in.get());
      if (fennick::Status status = textops::readWholeFile(in.get(), addition);
          status != fennick::Status::Ok) {
        return fennick::resultOf(status, {{fennick::Status::OpenFailed, vyx::kResultOpenFailed}, {fennick::Status::NoMemory, fennick::kResultNoMemory}});
      }
    }
    const size_t keep = withoutTail(target.size), added = withoutTail(addition.size);

    fileops::OutputRules rules;
    rules.inputs = read;
    rules.inputCount = 2;
    rules.rewritesTarget = true;
    rules.sync = true;  // the target's old bytes exist nowhere else
    // Parts of a page or more go past the buffer straight to the file.
    fileops::Output output;
    fennick::Status opened = fileops::openOutput(output, targetPath, rules, textops::kPageSize);
    if (opened == fennick::Status::NoMemory) return fennick::kResultNoMemory;
    if (opened != fennick::Status::Ok) {
      const fileops::Replacement& r = output.replacement;
      // The target's kept bytes are its first bytes already: in place,
      // only the addition goes after them and the length changes.
      return r.inPlaceOnly &&
                     fileops::rewriteTail(r.target.c_str(), read[0], target.data.get(),
                                          target.size, keep, addition.data.get(), added,
                                          r.bits)
                 ? 0.0f
                 : vyx::kResultTargetWriteFailed;
    }
    textops::put(output.out, target.data.get(), keep);
    textops::put(output.out, addition.data.get(), added);
    return fileops::closeOutput(output) ? 0.0f : vyx::kResultTargetWriteFailed;
  });
}
