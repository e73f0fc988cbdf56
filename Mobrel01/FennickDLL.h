// FennickDLL: the macOS edition's interface (also built on Linux as
// FennickDLL.so).
//
// Plain-named exports share one frame: float f(char* text, double number,
// char* block). `text` is a zero-terminated path or text (may be null),
// `number` a mode, count or factor, `block` caller-owned memory: a second
// path, or room for a text answer (its size is never passed; make it large
// enough). Results: 0 success, negative failure codes, positive counts.
// Calls must come one at a time.
#pragma once

#include <string>

extern "C" {

// Always 2.
float Version(char* text, double number, char* block);

// text: VyX path; number: bytes to read (truncated when > 150, else 150;
// saturates at 2147483647). Result: vertex count of the first vertex block;
// -1760 file cannot be opened; -18 no vertex block before byte n - 20.
float GetVertsVyX(char* text, double number, char* block);

// text: OBJ path. Result: number of "v " lines, or the integer of the first
// "#Vertex Count" line; -1 file cannot be opened.
float GetVertsOBJ(char* text, double number, char* block);

}  // extern "C"

// ---- desktop ----------------------------------------------------------------
extern "C" {

// text: the text to type into the focused window by key presses through the
// current keyboard layout, then Return (see DoKeyPress). Null text: nothing
// typed. Always 0.
float PasteText(char* text, double number, char* block);

}  // extern "C"

// ---- functions exported under their C++ names -----------------------------

// VyX byte readers: bytes least significant first, low 8 bits of each.
unsigned int readUnInt(char b0, char b1, char b2, char b3);
int readSignInt(char b0, char b1, char b2, char b3);
float readaFloat(char b0, char b1, char b2, char b3);
short readShort(char b0, char b1);
int readanInt(char b0);

// Vertex count in the first n bytes of a VyX file (see GetVertsVyX).
float GetVertCountFromVyX(const char* path, int n);

// Vertex count of an OBJ file (see GetVertsOBJ).
float getVertexCount(const char* path);

// Path parts: mode 1 folder (with its separator), 2 file name without
// extension, 3 path without extension, 4 extension (with its dot, "" when
// none), 6 file name; other modes the whole path. '/' and '\' separate.
std::string FileNameExtract(const std::string& path, int mode);
// A copy of the path.
std::string FilepathTruncate(const std::string& path);

// Template sample: writes text and a line end to standard output.
class Mobrel01 {
 public:
  void HelloWorld(const char* text);
};

// Desktop functions (macOS; Linux builds use stand-ins, see README):
// Types the text one byte at a time (A-Z and !@#$%^&*() under Shift, a
// character without an unshifted key as Space, bytes above 127 skipped),
// then Return. The key table is built from the layout on first use.
void DoKeyPress(char* text);
// Texts handed out below are new[] buffers of the UTF-8 length + 1, owned by
// the caller (delete[]); null means none.
// General pasteboard's plain text, or null.
char* getPasteboardText();
// Modal open dialog (files only, several); types split at ',' (empty pieces
// kept). Confirmed: the chosen files replace the list, result their count;
// cancelled, or a null/non-UTF-8 argument: 0, list unchanged.
int runCocoaOpenFileBrowser(const char* title, const char* types);
// Chosen file `index` with symbolic links resolved; null when there is no
// such entry (empty list, index < 0 or >= count) or it cannot be converted.
char* fileFromArray(int index);
// Empties the list of chosen files.
void clearFilesL();
// Creates one folder; false when it exists, its parent is missing, on any
// other failure and for a null path.
bool createFolder(const char* path);
// The local users folder ("/Users" on macOS), or null.
char* getSharedFolder();
// Always 0.
int getScreenPos();
