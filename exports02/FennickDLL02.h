// FennickDLL02: the Windows edition's interface (FennickDLL02.dll, 64- and
// 32-bit; also built on Linux as FennickDLL02.so).
//
// Every export has one frame: float f(char* text, double number, char* block).
// `text` is a zero-terminated path or text (may be null), `number` a count or
// mode, `block` caller-owned memory: a second path, or room for a text answer
// (its size is never passed; make it large enough). Results: 0 success,
// negative failure codes, positive counts. Calls must come one at a time.
// Exports are bound by their plain names; nothing else is exported. Every
// export answers -99 when it cannot get the memory it needs.
//
// Every file a call writes is written beside its target and takes the
// target's name only when complete: a failure leaves the previous file as
// it was (or none).
#pragma once

#if !defined(FENNICK_PUBLIC)
#if defined(_WIN32)
#define FENNICK_PUBLIC
#else
#define FENNICK_PUBLIC __attribute__((visibility("default")))
#endif
#endif

extern "C" {

// Always 2.
FENNICK_PUBLIC float Version(char* text, double number, char* block);

// text: VyX path; number: bytes to read (truncated when > 150, else 150;
// saturates at 2147483647). Result: vertex count of the first vertex block;
// -1760 file cannot be opened; -18 no vertex block before byte n - 20.
FENNICK_PUBLIC float GetVertsVyx(char* text, double number, char* block);

// text: OBJ path. Result: number of "v " lines, or the integer of the first
// "#Vertex Count" line; -1 file cannot be opened.
FENNICK_PUBLIC float GetVertsOBJ(char* text, double number, char* block);

// ---- file services ----------------------------------------------------------
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

// text: folder path. Deletes every entry of the folder (one level) whose
// name holds a '.'; keeps the others. Windows: sub-folders stay (the
// system's remove deletes files only) and '\' is appended unless the path
// ends in it. The Linux build appends '/' and, as remove does there, also
// deletes an empty sub-folder whose name holds a '.'.
// Result: 0 opened and walked; -1 cannot be opened (null or empty text too;
// 32-bit build: path with separator over 256 characters; 64-bit: 260
// characters or more).
FENNICK_PUBLIC float EmptyFolder(char* text, double number, char* block);

// text: folder path (under 260 characters). Starts the one folder listing
// (replacing an open one). Result: 0 open; -1 cannot be opened (no listing
// is open afterwards).
FENNICK_PUBLIC float OpenFolder(char* text, double number, char* block);

// block: receives the next entry name, at most 260 bytes with its zero (a
// name the code page cannot hold comes as its 8.3 name, else "?"). Result:
// 0 written; -1 no listing open; -3 no more entries; -9 block null.
FENNICK_PUBLIC float GetFile(char* text, double number, char* block);

// Result: 0 listing closed; -1 none was open.
FENNICK_PUBLIC float CloseFolder(char* text, double number, char* block);

// text: folder path. Result: 0 it can be opened; -1 it cannot. No listing
// is open afterwards.
FENNICK_PUBLIC float CheckFolder(char* text, double number, char* block);

// text: input path; block: output path. Writes (count, value) byte pairs,
// one per run (runs over 255 bytes as several pairs). Result: compressed
// size / input size (NaN for an empty input); -1 input cannot be opened or
// read; -2 output cannot be opened or written; -3 output is the input file
// (nothing written); -9 a path null. Only a result of 0 or more creates or
// changes the output.
FENNICK_PUBLIC float CompressFile(char* text, double number, char* block);

// text: compressed path; block: output path. Expands every pair (a count
// of 0 and a trailing odd byte yield nothing). Result: 0, or -1, -2, -3, -9
// as CompressFile.
FENNICK_PUBLIC float DecompressFile(char* text, double number, char* block);

// text: a name; block: receives the name to use (room for the name, "_copy"
// and 20 digits). The first time a name is seen it comes back unchanged;
// later, its part up to and including the first "_copy" (or the name and
// "_copy") with the smallest counter 1, 2, ... not handed out yet. Result:
// 0; -9 text or block null (nothing remembered).
FENNICK_PUBLIC float CheckName(char* text, double number, char* block);

// Forgets every name CheckName handed out. Result: 0.
FENNICK_PUBLIC float ClearNameSet(char* text, double number, char* block);

}  // extern "C"

// ---- desktop ----------------------------------------------------------------
extern "C" {

// text: the text to type into the focused window by synthetic key presses,
// then Return (bytes above 127 are skipped). Null text: nothing typed.
// Always 0.
FENNICK_PUBLIC float PasteText(char* text, double number, char* block);

// text: put on the clipboard as CF_TEXT, then the window titled "Plaxio" is
// sent WM_PASTE. Result: 0 pasted; -1 no such window (text on the clipboard
// all the same); -2 the clipboard cannot be opened (another program holds
// it) or did not take the text: nothing put on it, nothing pasted; -9 null
// text, -99 no memory (clipboard untouched). Linux
// build: no such window, so -1.
FENNICK_PUBLIC float CopyToClipboard(char* text, double number, char* block);

// text: path of a text file. Result: -1 when its first 100 bytes hold
// "2009" and a '4' or "BETA" (start offsets 0..96); 0 otherwise or for a
// null text; -17 file cannot be opened.
FENNICK_PUBLIC float checkPlaxioVersion(char* text, double number, char* block);

// Launches nothing. Result: 0, or -1 for a null text.
FENNICK_PUBLIC float RunApp(char* text, double number, char* block);

}  // extern "C"
