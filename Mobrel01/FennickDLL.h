// FennickDLL: the macOS edition's interface (also built on Linux as
// FennickDLL.so). Everything the edition exports is declared here, once, and
// nothing else is exported.
//
// Plain-named exports share one frame: float f(char* text, double number,
// char* block). `text` is a zero-terminated path or text (may be null),
// `number` a mode, count or factor, `block` caller-owned memory: a second
// path, or room for a text answer (its size is never passed; make it large
// enough). Results: 0 success, negative failure codes, positive counts.
// Calls must come one at a time.
//
// Code linked against the library may also call the C++ functions and use
// the variables further down, exported under their C++ names.
//
// Every file a call writes is written beside its target and takes the
// target's name only when complete: a failure leaves the previous file as
// it was (or none). The result keeps the target's permission bits (no group
// or other read bit an input lacks), owner and extended attributes; a
// symbolic link named as output stays, the file it names is replaced.
//
// Every function here with a float result answers -99 when it cannot get
// the memory it needs, and never throws. Those that take or give a
// std::string, and setTextureName/setDateTime, report running out of memory
// as the standard library does, with std::bad_alloc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <dirent.h>
#endif

#if !defined(FENNICK_PUBLIC)
#if defined(_WIN32)
#define FENNICK_PUBLIC
#else
#define FENNICK_PUBLIC __attribute__((visibility("default")))
#endif
#endif

#if defined(__APPLE__) && defined(__OBJC__)
@class NSString;
#endif

extern "C" {

// Always 2.
FENNICK_PUBLIC float Version(char* text, double number, char* block);

// ---- vertex counts and face groups ------------------------------------------

// text: VyX path; number: bytes to read (truncated when > 150, else 150, NaN
// too; saturates at 2147483647). Result: vertex count of the first vertex
// block; -1760 file cannot be opened (or null); -18 no vertex block before
// byte n - 20.
FENNICK_PUBLIC float GetVertsVyX(char* text, double number, char* block);

// text: OBJ path. Result: number of "v " lines, or the integer of the first
// "#Vertex Count" line; -1 file cannot be opened (or null).
FENNICK_PUBLIC float GetVertsOBJ(char* text, double number, char* block);

// text: VyX path. Result: number of distinct values of the face group block
// (tag 40001); -9 null text; -17 file cannot be opened; -18 no group block;
// -19 the values run past the end of the file.
FENNICK_PUBLIC float getGroups(char* text, double number, char* block);

// ---- COLLADA export -----------------------------------------------------------

// text: texture name (null: empty), written as ./NAME.bmp. Always 0.
FENNICK_PUBLIC float setTxrName(char* text, double number, char* block);
// text: date text (null: empty), written as created and modified. Always 0.
FENNICK_PUBLIC float setDate(char* text, double number, char* block);
// text: OBJ path; number: normal mode, truncated (NaN and out of range: no
// normals; 1 per face, 2 smoothed, 3 and up smoothed sums); block: output
// path. Result: 0 written; -1 OBJ cannot be opened; -2 output cannot be
// opened; -3 more than 1024 groups; -4 a face names no vertex or texture
// coordinate of the file; -5 the document could not be written completely
// (disk full); -6 the output names the OBJ file (by any spelling or link);
// -9 null text or block. Only 0, -2 and -5 touch the output.
FENNICK_PUBLIC float writeCollada(char* text, double number, char* block);
// As writeCollada, with one material per group and triangles elements.
FENNICK_PUBLIC float writeColladaTris(char* text, double number, char* block);

// ---- sculpt maps and texture-coordinate scaling ------------------------------

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
FENNICK_PUBLIC float OBJtoSculpty(char* text, double number, char* block);

// text: input OBJ path; number: factor f, 0..1; block: output OBJ path.
// Copies the file with every "vt" number t written as t*f + (1-f)/2 (%g,
// one space after each). Result: -5 f below 0 or above 1 (checked first, a
// NaN passes); 0 null text or block (nothing done); -1 input cannot be
// opened or read; -3 output names the input file (nothing written); -2
// output cannot be opened; -4 write fell short; 0 done.
FENNICK_PUBLIC float ScaleUVs(char* text, double number, char* block);

// ---- desktop --------------------------------------------------------------------

// text: the text to type into the focused window by key presses through the
// current keyboard layout, then Return (see DoKeyPress). Null text: nothing
// typed. Always 0.
FENNICK_PUBLIC float PasteText(char* text, double number, char* block);

// ---- file services ----------------------------------------------------------------
// None of these reads the number.

// text: file path. Result: 0 deleted; -1 not deleted or text null.
FENNICK_PUBLIC float FileDelete(char* text, double number, char* block);

// text: source path; block: destination path. Result: 0 copied (also when
// the destination is the source itself, which stays intact); -1 a path null,
// the source cannot be opened or is a folder, the destination is a folder,
// device or pipe or cannot be written, a read failed or a write fell short
// (in every case the destination stays as it was); -99 no memory. Linux and
// macOS: the copy has the source's permission bits masked by the umask (as
// cp gives them), never wider ones.
FENNICK_PUBLIC float FileCopyTo(char* text, double number, char* block);

// text: current path; block: new path. Result: 0 renamed; -1 a path null,
// the two texts equal, or the system's rename failed.
FENNICK_PUBLIC float FileRename(char* text, double number, char* block);

// text: folder path. Deletes every entry of the folder (one level) whose
// name holds a '.' with the system's remove (which also deletes an empty
// sub-folder whose name holds a '.'); keeps the others (files without
// extension, sub-folders without a '.').
// Result: 0 opened and walked; -1 cannot be opened (null or empty text too).
FENNICK_PUBLIC float EmptyFolder(char* text, double number, char* block);

// text: folder path. Starts the one folder listing (replacing an open one).
// Result: 0 open; -1 cannot be opened (no listing is open afterwards).
FENNICK_PUBLIC float OpenFolder(char* text, double number, char* block);

// block: receives the next entry name (the dot entries included; room for
// 1,024 bytes). Result: 0 written; -1 no listing open; -3 no more entries;
// -9 block null (no entry taken).
FENNICK_PUBLIC float GetFile(char* text, double number, char* block);

// Result: 0 listing closed; -1 none was open.
FENNICK_PUBLIC float CloseFolder(char* text, double number, char* block);

}  // extern "C"

// ==== functions and variables exported under their C++ names ================

// ---- VyX files ------------------------------------------------------------------
// A VyX file is little-endian: a 32-byte file header, then blocks back to
// back: tag (u32), size (u32, whole block with its 16-byte header; 0 stands
// for 16), count (u32), one unread word, then `count` records. A block scan
// looks for a tag from offset 32, stepping by each block's size.

// Byte readers: bytes least significant first, low 8 bits of each.
FENNICK_PUBLIC unsigned int readUnInt(char b0, char b1, char b2, char b3);
FENNICK_PUBLIC int readSignInt(char b0, char b1, char b2, char b3);
FENNICK_PUBLIC float readaFloat(char b0, char b1, char b2, char b3);
FENNICK_PUBLIC short readShort(char b0, char b1);
FENNICK_PUBLIC int readanInt(char b0);

// Vertex count of the first vertex block (tag 10001) found by the block scan
// in the first n bytes of the file (headers before byte n - 20). A file
// shorter than n reads as padded with copies of its last byte.
//   result: the count; -1760 file cannot be opened (null path too); -18 no
//           such vertex block.
FENNICK_PUBLIC float GetVertCountFromVyX(const char* path, int n) noexcept;

// Number of distinct values in the face group block (tag 40001, signed
// 16-bit values) found by the block scan over the whole file (getGroups
// without its null check).
//   result: the count; -17 file cannot be opened (null path too); -18 no
//           group block; -19 the values run past the end of the file.
FENNICK_PUBLIC float GetUVGroup(const char* path) noexcept;

// Faces per face-ID heading of the next writeOBJfromVyx: entry g is the
// number of consecutive faces written under heading g + 1. Filled by
// GetFaceIDsVyx, emptied by a successful writeOBJfromVyx.
FENNICK_PUBLIC extern std::vector<uint32_t> faceID;

// Fills faceID with one entry per face of the block at offset 32, read as a
// face block whatever its tag: 3 * m for a triangle (fourth index negative as
// signed 32-bit), 4 * m for a quadrangle, m = 4^(level - 1) truncated to a
// 32-bit integer (NaN and values beyond the range give INT32_MIN; the
// products wrap to 32 bits).
//   result: the number of entries; -1760 file cannot be opened (null path
//           too); -19 the file is too short for the count or the faces.
//           faceID is empty after every failure.
FENNICK_PUBLIC float GetFaceIDsVyx(const char* path, double level) noexcept;

// Writes the VyX file (vertex block at 32, colour block, face block, in that
// order) as an OBJ file: three header lines, vertex lines (%g), the RGB
// comment block, and the faces under "#FaceID g" headings as faceID says.
//   result: 0 (faceID emptied); -18 faceID empty (nothing opened); -1760
//           VyX file cannot be opened; -21 the OBJ path names the VyX file
//           (by any spelling or link; nothing written); -2 OBJ file cannot
//           be created or written; the tag found at 32, after the vertices
//           or after the colours when it is not 10001, 35001, 20001
//           respectively; -20 that tag is 0; -19 a count, size or faceID
//           entry points past the end of the data. Only 0 creates or changes
//           the OBJ file. faceID keeps its entries on every failure.
FENNICK_PUBLIC float writeOBJfromVyx(const char* vyxPath, char* objPath) noexcept;

// Writes the block at offset 32, read as vertex colours whatever its tag, as
// the RGB comment block of writeOBJfromVyx.
//   result: 0; -1760 VyX file cannot be opened; -21 the text path names the
//           VyX file (nothing written); -2 text file cannot be created or
//           written; -19 the records run past the end of the data. Only 0
//           creates or changes the text file.
FENNICK_PUBLIC float ReadVertColorVyx(const char* vyxPath, char* textPath) noexcept;

// Tile names ("_u<U>_v<V>") of the files of the last GetUVsFromVyX, in file
// order.
FENNICK_PUBLIC extern std::vector<std::string> UVTileStr;

// Number of distinct tiles of the first corners of the UV block (tag 25001)
// found by the block scan; `name` receives the tile name of the last face
// ("" when the block is empty); not written on failure or when null.
//   result: tile count; -17 file cannot be opened; -18 no UV block; -19 the
//           records run past the end of the data.
FENNICK_PUBLIC float GetUVTile(const char* vyxPath, char* name) noexcept;

// Writes one VyX file per tile, named <output path without the extension of
// its file name><k>.VyX (in the output's folder, whatever dots the folders'
// names hold) for tiles k = 0, 1, ... in name order: the input up to and including the
// UV block header, the UV pairs moved into the unit square when they lie in
// the tile and (-1, -1) otherwise, then 16 zero bytes. UVTileStr is emptied
// first and gets one name per file opened.
//   result: tile count; -1760 file cannot be opened; -18 no UV block; -19
//           the records run past the end of the data (no file written); -21
//           a tile file would be the VyX file itself; -22 more than 10,000
//           tiles, or files that together would not fit in the free space
//           of the output's file system, counted in whole blocks and free
//           files (both: no file written); 1500 + k + 1 output file k cannot
//           be created or written (earlier files stay, file k's previous
//           file as it was).
FENNICK_PUBLIC float GetUVsFromVyX(const char* vyxPath, char* outputPath) noexcept;

// Copies UVTileStr[index] into `name`; nothing happens when the list is
// empty, the index lies outside it or `name` is null.
FENNICK_PUBLIC void getUVTileString(int index, char* name);
// Empties UVTileStr.
FENNICK_PUBLIC void clearUVTileString();

// Rewrites `targetPath` as its content without its last 14 bytes followed by
// the content of `appendPath` without its last 14 bytes (a file of 14 bytes
// or fewer contributes nothing). The new content is written beside the
// target and renamed over it, so a failed write never loses the target.
//   result: 0; -2760 target cannot be read; -1760 file to append cannot be
//           read; -3760 target cannot be written (target unchanged).
FENNICK_PUBLIC float mergeFiles(const char* appendPath, char* targetPath) noexcept;

// ---- OBJ vertex count -----------------------------------------------------------

// Counts the lines that start with "v " (v and a space). The first line that
// holds "#Vertex Count" ends the count: an integer read (stream rules) from
// that line's text 14 characters after the marker's start replaces the
// count; without one the count so far stands.
//   result: the count; -1 file cannot be opened (null path too).
FENNICK_PUBLIC float getVertexCount(const char* path) noexcept;

// ---- path names -----------------------------------------------------------------

// One part of a path chosen by mode; '/' and '\' both separate folders and
// the extension dot is the last '.' of the text the mode looks at.
//   1: folder part up to and including the last separator ("" without one)
//   2: file name without extension
//   3: whole path cut before its last dot
//   4: extension from the last dot ("" without a dot)
//   6: file name with extension
//   anything else: the whole path
FENNICK_PUBLIC std::string FileNameExtract(const std::string& path, int mode);
// A copy of the path.
FENNICK_PUBLIC std::string FilepathTruncate(const std::string& path);

// ---- COLLADA export --------------------------------------------------------------

// The texts every document carries. textureName and dateTime are set by the
// script and kept between exports; the writers set the other four at the
// start of every call.
struct colHeader {
  std::string modelName;
  std::string textureName;
  std::string author;
  std::string copyright;
  std::string comments;
  std::string dateTime;
};

// The one instance, library-wide.
FENNICK_PUBLIC extern colHeader fileHeader;

// Replace textureName / dateTime with a copy of text; null stores an empty
// text (setTxrName / setDate).
FENNICK_PUBLIC void setTextureName(const char* text);
FENNICK_PUBLIC void setDateTime(const char* text);

// p[0..8]: three corners; p[9..11] receives (P1 - P0) x (P2 - P0) in single
// precision, divided by its length when normalise is set (0 0 0 when it has
// no length).
FENNICK_PUBLIC void CalculateSurfaceNormal(float* p, bool normalise);

// OBJ file to a COLLADA 1.4.1 document, one polylist per group; normalMode
// as writeCollada's number after truncation (0 or less: no normals).
//   result: 0 written; -1 OBJ file cannot be opened; -2 output cannot be
//           opened; -3 more than 1024 distinct group lines; -4 a face corner
//           that is not a vertex index (optionally /texture index, /normal
//           index) within the file's lists; -5 the document fell short (disk
//           full); -6 the output names the OBJ file; -9 null path. Only 0
//           creates or changes the output.
FENNICK_PUBLIC float OBJtoCOLLADA(const char* objPath, char* outputPath,
                                  int normalMode) noexcept;
// The same with one material per group and a triangles element per group.
FENNICK_PUBLIC float OBJtoCOLLADATris(const char* objPath, char* outputPath,
                                      int normalMode) noexcept;

// ---- sculpt maps ----------------------------------------------------------------

// Zero bytes that end each row of a 24-bit bitmap `width` pixels wide:
// r = integer part of fmodf(width * 3, 4) in single precision; r 1 gives 3,
// 2 gives 2, 3 gives 1, anything else 0.
FENNICK_PUBLIC int getPadding(int width);

// The sculpt map conversion behind OBJtoSculpty, without its null check: a
// null path reads as a file that cannot be opened (-1, -4). The flag has no
// effect. Each quad becomes a 2 x 2 pixel block; the image is (2U - 2) x
// (2V - 2) pixels for U distinct u and V distinct v values.
//   result: 0 bitmap written; -1 the OBJ file cannot be opened; -64 the face
//           count is not (U - 1) x (V - 1); -2048 width or height above
//           2048; -65 a face has other than four corners; -66 a face's
//           vertex or texture index lies outside the lists read, or a
//           corner has no texture index; -67 a face's corners, pulled onto
//           one 2 x 2 block, put a pixel outside the image; -69 the bitmap
//           path names the OBJ file (refused before anything is read or
//           written); -4 the bitmap file cannot be opened for writing; -68
//           writing the bitmap fell short (disk full). Only 0 creates or
//           changes the bitmap file.
FENNICK_PUBLIC float exportSculpty(const char* objPath, const char* bmpPath,
                                   bool flag) noexcept;

// ---- folders ----------------------------------------------------------------------

// Folder emptying behind EmptyFolder: deletes the files of one folder level,
// every entry whose name holds a '.' (see IsDirectory), with the system's
// remove; sub-folders are not entered, entries that cannot be deleted stay
// without notice, "." and ".." are passed over by name. The path gets '/'
// appended unless it ends in one. True when the folder was opened and
// walked; false when it cannot be opened (an empty path included).
FENNICK_PUBLIC bool ClearFolder(std::string path);
// The emptying's name rule: scanning back from the end, a '.' met before
// any '/' or '\' means a file (false); a separator met first, or none at
// all, means a folder (true). The file system is not asked.
FENNICK_PUBLIC bool IsDirectory(const std::string& path);

#if !defined(_WIN32)
// The open folder listing of OpenFolder/GetFile/CloseFolder, or null.
FENNICK_PUBLIC extern DIR* folder;
#endif

// ---- desktop (macOS; the Linux build carries stand-ins) ----------------------------

// Types the text into the focused window one key press per byte through the
// current keyboard layout (A-Z and !@#$%^&*() under Shift, a character
// without an unshifted key as Space, bytes above 127 skipped), then presses
// Return. Null text: nothing typed. The key table is built on first use.
FENNICK_PUBLIC void DoKeyPress(char* text);

#if defined(__APPLE__)
#if defined(__OBJC__)
// The text key `keyCode` produces on the current layout with no modifiers
// (a dead key: its own character), lower-cased; nil when it produces none.
FENNICK_PUBLIC NSString* keyCodeToString(unsigned short keyCode);
#endif
#else
// Linux stand-in: the same for the built-in US layout, as UTF-8; "" for none.
FENNICK_PUBLIC std::string keyCodeToString(unsigned short keyCode);
#endif

// Texts handed out below are new[] buffers of exactly the UTF-8 length plus
// 1, owned by the caller (delete[]); null means none.

// The general pasteboard's plain text, or null when it holds none or the
// text cannot be converted. Linux: always null.
FENNICK_PUBLIC char* getPasteboardText();

// The files chosen in the last confirmed dialog, as UTF-8 paths in the
// dialog's order ("" for a path that could not be converted).
FENNICK_PUBLIC extern std::vector<std::string> filesList;

// Modal open dialog titled `title` for the file types (extensions) of
// `types`, split at every ',' with empty pieces kept and nothing trimmed;
// files only, several at once. Confirmed: the chosen files replace
// filesList, result their count. Cancelled, or a null/non-UTF-8 argument: 0
// without a dialog, filesList unchanged. Linux: behaves as cancelled.
FENNICK_PUBLIC int runCocoaOpenFileBrowser(const char* title, const char* types);
// filesList[index] with symbolic links resolved; null when the list is
// empty, the index is outside it, or the text cannot be converted.
FENNICK_PUBLIC char* fileFromArray(int index);
// Empties filesList.
FENNICK_PUBLIC void clearFilesL();

// Creates one folder (its parent must exist). True when it was created;
// false when it exists, its parent is missing, on any other failure and for
// a null path.
FENNICK_PUBLIC bool createFolder(const char* path);
// The local users folder ("/Users" on macOS; Linux: "/home" when it is a
// folder), or null.
FENNICK_PUBLIC char* getSharedFolder();
// Always 0.
FENNICK_PUBLIC int getScreenPos();

// ---- template sample ----------------------------------------------------------------

class FENNICK_PUBLIC Mobrel01 {
 public:
  // Writes text (nothing for null) and a line end to standard output.
  void HelloWorld(const char* text);
};
