// The texts a writer puts in every document: the geometry name from the
// output path and the fixed contributor texts of each layout.
#include "ColladaOps.h"
#include "FileOps.h"

namespace colladaops {

std::string modelName(const std::string& outputPath, bool keepSingleWord) {
  const std::string base = fileops::fileNameWithoutExtension(outputPath);
  std::string name;
  size_t words = 0;
  for (size_t i = 0; i < base.size();) {
    if (base[i] == ' ') {
      ++i;
      continue;
    }
    size_t end = base.find(' ', i);
    if (end == std::string::npos) end = base.size();
    name.append(base, i, end - i);
    name += '_';
    ++words;
    i = end;
  }
  if (keepSingleWord && words == 1) return base;
  return name;
}

void setWriterTexts(DocumentTexts& texts, const std::string& outputPath, Layout layout) {
  texts.modelName = modelName(outputPath, layout == Layout::Polylist);
  texts.author = "author";
  texts.copyright = layout == Layout::Polylist ? "copyright 2010" : "copyright 2015";
  texts.comments = "comments here";
}

}  // namespace colladaops
