// Path names and folder emptying.
#pragma once

#include <string>

#include "FennickApi.h"

// One part of a path chosen by mode; '/' and '\' both separate folders and
// the extension dot is the last '.' of the text the mode looks at.
//   1: folder part up to and including the last separator ("" without one)
//   2: file name without extension
//   3: whole path cut before its last dot
//   4: extension from the last dot ("" without a dot)
//   6: file name with extension
//   anything else: the whole path
FENNICK_API std::string FileNameExtract(const std::string& path, int mode);

// A copy of the path.
FENNICK_API std::string FilepathTruncate(const std::string& path);
