// FennickDLL's desktop functions under their C++ names: thin definitions
// over AddCocoa. The list of chosen files is the edition's state.
#include <utility>

#include "AddCocoa.h"
#include "FennickDLL.h"

std::vector<std::string> filesList;

void DoKeyPress(char* text) { fennick::cocoa::typeText(text); }

char* getPasteboardText() { return fennick::cocoa::pasteboardText(); }

int runCocoaOpenFileBrowser(const char* title, const char* types) {
  std::vector<std::string> chosen;
  if (!fennick::cocoa::runOpenDialog(title, types, chosen)) return 0;
  filesList = std::move(chosen);
  return static_cast<int>(filesList.size());
}

char* fileFromArray(int index) { return fennick::cocoa::resolvedFile(filesList, index); }

void clearFilesL() { filesList.clear(); }

bool createFolder(const char* path) { return fennick::cocoa::makeFolder(path); }

char* getSharedFolder() { return fennick::cocoa::sharedFolder(); }

int getScreenPos() { return 0; }
