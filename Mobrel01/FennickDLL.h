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

#include <dirent.h>

#include <cstdint>
#include <string>
#include <vector>

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

// ---- VyX face groups ----
// text: VyX path. Result: number of distinct values of the face group block
// (tag 40001); -9 null text; -17 file cannot be opened; -18 no group block;
// -19 the values run past the end of the file.
float getGroups(char* text, double number, char* block);

// ---- COLLADA export ----------------------------------------------------------

// text: texture name (null: empty), written as ./NAME.bmp. Always 0.
float setTxrName(char* text, double number, char* block);
// text: date text (null: empty), written as created and modified. Always 0.
float setDate(char* text, double number, char* block);
// text: OBJ path; number: normal mode, truncated (NaN and out of range: no
// normals; 1 per face, 2 smoothed, 3 and up smoothed sums); block: output
// path. Result: 0 written; -1 OBJ cannot be opened; -2 output cannot be
// opened; -3 more than 1024 groups; -4 a face names no vertex or texture
// coordinate of the file; -5 the document could not be written completely
// (disk full); -6 the output names the OBJ file (by any spelling or link);
// -9 null text or block. Only 0, -2 and -5 touch the output.
float writeCollada(char* text, double number, char* block);
// As writeCollada, with one material per group and triangles elements.
float writeColladaTris(char* text, double number, char* block);

}  // extern "C"

// ---- desktop ----------------------------------------------------------------
extern "C" {

// text: the text to type into the focused window by key presses through the
// current keyboard layout, then Return (see DoKeyPress). Null text: nothing
// typed. Always 0.
float PasteText(char* text, double number, char* block);

}  // extern "C"

// ---- file services ----------------------------------------------------------
extern "C" {

// None of these reads the number.

// text: file path. Result: 0 deleted; -1 not deleted or text null.
float FileDelete(char* text, double number, char* block);

// text: source path; block: destination path. Result: 0 copied (also when
// the destination is the source itself, which stays intact); -1 a path null,
// the source cannot be opened or is a folder (the destination is not
// touched), the destination is a folder or cannot be opened, a read failed
// or a write fell short (the partial destination stays). Linux and macOS: a
// destination the copy creates gets the source's permission bits masked by
// the umask (as cp gives them), never wider ones.
float FileCopyTo(char* text, double number, char* block);

// text: current path; block: new path. Result: 0 renamed; -1 a path null,
// the two texts equal, or the system's rename failed.
float FileRename(char* text, double number, char* block);

// text: folder path. Deletes every entry of the folder (one level) whose
// name holds a '.' with the system's remove (which also deletes an empty
// sub-folder whose name holds a '.'); keeps the others (files without
// extension, sub-folders without a '.').
// Result: 0 opened and walked; -1 cannot be opened (null or empty text too).
float EmptyFolder(char* text, double number, char* block);

// text: folder path. Starts the one folder listing (replacing an open one).
// Result: 0 open; -1 cannot be opened (no listing is open afterwards).
float OpenFolder(char* text, double number, char* block);

// block: receives the next entry name (the dot entries included; room for
// 1,024 bytes). Result: 0 written; -1 no listing open; -3 no more entries;
// -9 block null (no entry taken).
float GetFile(char* text, double number, char* block);

// Result: 0 listing closed; -1 none was open.
float CloseFolder(char* text, double number, char* block);

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

// ---- VyX conversions (C++ names only) ----
// Result codes shared by these functions: -19 a count, size or faceID entry
// points past the end of the VyX data (nothing past it is read).

// Faces per "#FaceID" heading for the next writeOBJfromVyx.
extern std::vector<uint32_t> faceID;
// Tile names of the files of the last GetUVsFromVyX, in file order.
extern std::vector<std::string> UVTileStr;

// Distinct face group values (see getGroups, without the null check: -17).
float GetUVGroup(const char* path);
// Fills faceID from the face block at offset 32 of a face-first VyX file:
// 3 * 4^(level-1) per triangle, 4 * 4^(level-1) per quadrangle. Result: the
// number of entries; -1760 file cannot be opened; -19 (faceID left empty).
float GetFaceIDsVyx(const char* path, double level);
// VyX (vertices, colours, faces in that order) to OBJ, faces grouped as
// faceID says; empties faceID on success. Result: 0; -18 faceID empty; -1760
// VyX cannot be opened; -21 the OBJ path names the VyX file (by any
// spelling or link; nothing written); -2 OBJ cannot be created or written;
// a tag found where another block was expected; -20 that tag is 0; -19.
float writeOBJfromVyx(const char* vyxPath, char* objPath);
// The block at offset 32 as vertex colours, written as the RGB block.
// Result: 0; -1760; -21 (as writeOBJfromVyx); -2; -19.
float ReadVertColorVyx(const char* vyxPath, char* textPath);
// Tile count of the UV block's first corners; `name` gets the last face's
// tile name. Result: count; -17 cannot be opened; -18 no UV block; -19.
float GetUVTile(const char* vyxPath, char* name);
// One VyX file per tile, <output path without extension><k>.VyX; fills
// UVTileStr. Result: tile count; -1760; -18; -19; -21 a tile file would be
// the VyX file itself; -22 more than 10,000 tiles, or files that would not
// fit in the free space of the output's file system (both: no file
// written); 1500 + k + 1 file k failed.
float GetUVsFromVyX(const char* vyxPath, char* outputPath);
// Copies UVTileStr[index] into `name` (nothing when outside the list).
void getUVTileString(int index, char* name);
// Empties UVTileStr.
void clearUVTileString();
// Target without its last 14 bytes, then the other file without its last 14
// bytes, written beside the target and renamed over it. Result: 0; -2760
// target cannot be read; -1760 other file cannot be read; -3760 target
// cannot be written (unchanged).
float mergeFiles(const char* appendPath, char* targetPath);

// COLLADA export behind the exports above (see ColladaOps/ColladaOps.h for
// colHeader, fileHeader and the model).
float OBJtoCOLLADA(const char* objPath, char* outputPath, int normalMode);
float OBJtoCOLLADATris(const char* objPath, char* outputPath, int normalMode);
void setTextureName(const char* text);
void setDateTime(const char* text);
// p[0..8] three corners; p[9..11] = (P1 - P0) x (P2 - P0), normalised when
// asked (0 0 0 without length).
void CalculateSurfaceNormal(float* p, bool normalise);
// ---- folder emptying (C++ names only) ----
// Folder emptying behind EmptyFolder: true when the folder was opened and
// walked. The path is taken by value ('/' appended unless it ends in one).
bool ClearFolder(std::string path);
// Name rule of the emptying: false (a file) when a '.' comes before any '/'
// or '\' scanning back from the end; true otherwise.
bool IsDirectory(const std::string& path);

// The open folder listing of OpenFolder/GetFile/CloseFolder, or null.
extern DIR* folder;

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

// ---- sculpt maps and texture-coordinate scaling ----------------------------

extern "C" {

// text: OBJ path (a quad grid laid out by its texture coordinates); number:
// flag, no effect; block: bitmap path. Writes a 24-bit bitmap, 2 x 2 pixels
// per quad, red/green/blue = x/y/z scaled by 127.5 / largest |coordinate|
// about 127. Result: 0; -9 null text or block; -1 OBJ cannot be opened;
// -64 faces != (U-1)(V-1) for U, V distinct u, v; -2048 width or height
// above 2048; -65 a face without four corners; -66 an index outside the
// lists or a corner without texture index; -67 a pixel of a face outside
// the image (corners not around one UV cell); -69 the bitmap path names
// the OBJ file (by any spelling or link); -4 bitmap cannot be opened;
// -68 bitmap write fell short.
float OBJtoSculpty(char* text, double number, char* block);

// text: input OBJ path; number: factor f, 0..1; block: output OBJ path.
// Copies the file with every "vt" number t written as t*f + (1-f)/2 (%g,
// one space after each). Result: -5 f below 0 or above 1 (checked first);
// 0 null text or block (nothing done); -1 input cannot be opened; -3 output
// names the input file; -2 output cannot be opened; -4 write fell short;
// 0 done.
float ScaleUVs(char* text, double number, char* block);

}  // extern "C"

// Row padding of a 24-bit bitmap of that width (0 to 3 bytes).
int getPadding(int width);
// The sculpt map conversion behind OBJtoSculpty (same results, no -9).
float exportSculpty(const char* objPath, const char* bmpPath, bool flag);
