// File merge: the target without its last 14 bytes, then the other file
// without its last 14 bytes. The new content goes to a file beside the
// target that replaces it only once it is completely written and on the
// disk. Where the folder takes no new file, or the target has further hard
// links, the target is rewritten in place, its old tail put back if the
// writing fails.
#include "FileOps.h"
#include "VyXOps.h"

namespace vyx {

void putMerged(const unsigned char* target, size_t targetSize, const unsigned char* addition,
               size_t additionSize, textops::OutFile& out) {
  textops::put(out, target, withoutTail(targetSize));
  textops::put(out, addition, withoutTail(additionSize));
}

fennick::Status mergeFiles(const char* appendPath, const char* targetPath) {
  using fennick::Status;
  // Both files by what was opened: the target's identity is that of the
  // file read, and the merged bytes are no more readable than either.
  fileops::FileIdentity read[2];
  textops::FileBytes target, addition;
  {
    textops::FilePtr in = textops::openRead(targetPath);
    read[0] = fileops::identityOf(in.get());
    if (Status status = textops::readWholeFile(in.get(), target); status != Status::Ok)
      return status == Status::OpenFailed ? Status::TargetReadFailed : status;
  }
  {
    textops::FilePtr in = textops::openRead(appendPath);
    read[1] = fileops::identityOf(in.get());
    if (Status status = textops::readWholeFile(in.get(), addition); status != Status::Ok)
      return status;
  }

  fileops::OutputRules rules;
  rules.inputs = read;
  rules.inputCount = 2;
  rules.rewritesTarget = true;
  rules.sync = true;  // the target's old bytes exist nowhere else
  // Parts of a page or more go past the buffer straight to the file.
  fileops::Output output;
  const Status opened = fileops::openOutput(output, targetPath, rules, textops::kPageSize);
  if (opened == Status::NoMemory) return Status::NoMemory;
  if (opened != Status::Ok) {
    const fileops::Replacement& r = output.replacement;
    // The target's kept bytes are its first bytes already: in place, only
    // the addition goes after them and the length changes.
    return r.inPlaceOnly &&
                   fileops::rewriteTail(r.target.c_str(), read[0], target.data.get(),
                                        target.size, withoutTail(target.size),
                                        addition.data.get(), withoutTail(addition.size),
                                        r.bits)
               ? Status::Ok
               : Status::TargetWriteFailed;
  }
  putMerged(target.data.get(), target.size, addition.data.get(), addition.size, output.out);
  return fileops::closeOutput(output) ? Status::Ok : Status::TargetWriteFailed;
}

}  // namespace vyx
