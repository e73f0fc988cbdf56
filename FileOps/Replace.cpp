// Replacing a file: the steps both platforms share. The platform files
// (Replace_posix.cpp, Replace_win.cpp) resolve and check the target, make
// the new file beside it, carry its attributes over and rename.
#include <cerrno>
#include <cstdio>
#include <string>

#include "FileOps.h"

namespace fileops {

Replacement::~Replacement() {
  if (!temp.empty()) removeNewFile(*this);
  if (inPlace) restoreInPlace(*this);
  releaseReplacement(*this);
}

namespace {

// The new file beside the target: the first of "<name>.new0" ... ".new99"
// that no file has yet. Where the folder takes no new file, an existing
// target is written in place (not for a target the caller rewrites itself).
fennick::Status openBeside(Replacement& r, textops::FilePtr& file, const OutputRules& rules) {
  for (unsigned serial = 0; serial < 100; ++serial) {
    std::string name = r.name + ".new" + std::to_string(serial);
    switch (createBeside(r, name, file)) {
      case NewFile::Made: return fennick::Status::Ok;
      case NewFile::Exists: continue;
      case NewFile::Failed: return fennick::Status::CreateFailed;
      case NewFile::FolderRefuses:
        if (!r.targetExisted) return fennick::Status::CreateFailed;
        if (rules.rewritesTarget) {
          r.inPlaceOnly = true;
          return fennick::Status::CreateFailed;
        }
        return openInPlace(r, rules, file) ? fennick::Status::Ok : fennick::Status::CreateFailed;
    }
  }
  return fennick::Status::CreateFailed;
}

}  // namespace

fennick::Status openReplacement(Replacement& r, textops::FilePtr& file, const char* path,
                             const OutputRules& rules) noexcept {
  file.reset();
  if (!r.temp.empty()) removeNewFile(r);
  if (r.inPlace) restoreInPlace(r);
  releaseReplacement(r);
  r.target.clear();
  r.name.clear();
  r.inPlace = r.inPlaceOnly = r.targetExisted = false;
  r.sync = rules.sync;
  r.bits = 0;
  if (!path || !*path) return fennick::Status::CreateFailed;
  try {
    const fennick::Status prepared = prepareTarget(r, path, rules);
    if (prepared != fennick::Status::Ok) return prepared;
    if (r.inPlaceOnly) return fennick::Status::CreateFailed;
    // A device or pipe is written as it stands.
    if (r.inPlace) return openInPlace(r, rules, file) ? fennick::Status::Ok : fennick::Status::CreateFailed;
    return openBeside(r, file, rules);
  } catch (...) {  // only std::bad_alloc can leave the block
    file.reset();
    if (!r.temp.empty()) removeNewFile(r);
    return fennick::Status::NoMemory;
  }
}

bool finishReplacement(Replacement& r, bool written) noexcept {
  if (r.inPlace) {
    if (!written) restoreInPlace(r);
    r.inPlace = false;
    r.saved.reset();
    releaseReplacement(r);
    return written;
  }
  if (r.temp.empty()) return false;
  const bool replaced = written && commitReplacement(r);
  if (!replaced) removeNewFile(r);
  r.temp.clear();
  releaseReplacement(r);
  return replaced;
}

fennick::Status openOutput(Output& o, const char* path, const OutputRules& rules,
                        size_t writeBlock) noexcept {
  fennick::Status status = fennick::Status::Ok;
  const fennick::Status opened = textops::openOutWith(o.out, writeBlock, [&] {
    textops::FilePtr file;
    status = openReplacement(o.replacement, file, path, rules);
    return file;
  });
  if (opened == fennick::Status::NoMemory) return fennick::Status::NoMemory;
  if (status != fennick::Status::Ok) return status;
  return opened == fennick::Status::Ok ? fennick::Status::Ok : fennick::Status::CreateFailed;
}

bool closeOutput(Output& o) noexcept {
  const bool written = textops::closeOut(o.out);
  return finishReplacement(o.replacement, written);
}

OneInput::OneInput(std::FILE* input) noexcept : identity(identityOf(input)) {
  rules.inputs = &identity;
  rules.inputCount = 1;
}

}  // namespace fileops
