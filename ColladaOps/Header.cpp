// The library-wide header texts and their two setters.
#include "FennickDLL.h"

colHeader fileHeader;

void setTextureName(const char* text) { fileHeader.textureName.assign(text ? text : ""); }

void setDateTime(const char* text) { fileHeader.dateTime.assign(text ? text : ""); }
