// FennickDLL02: the Windows edition's interface (FennickDLL02.dll, 64- and
// 32-bit; also built on Linux as FennickDLL02.so).
//
// Every export has one frame: float f(char* text, double number, char* block).
// `text` is a zero-terminated path or text (may be null), `number` a count or
// mode, `block` caller-owned memory: a second path, or room for a text answer
// (its size is never passed; make it large enough). Results: 0 success,
// negative failure codes, positive counts. Calls must come one at a time.
// Exports are bound by their plain names; nothing else is exported.
#pragma once

extern "C" {

// Always 2.
float Version(char* text, double number, char* block);

// text: VyX path; number: bytes to read (truncated when > 150, else 150;
// saturates at 2147483647). Result: vertex count of the first vertex block;
// -1760 file cannot be opened; -18 no vertex block before byte n - 20.
float GetVertsVyx(char* text, double number, char* block);

// text: OBJ path. Result: number of "v " lines, or the integer of the first
// "#Vertex Count" line; -1 file cannot be opened.
float GetVertsOBJ(char* text, double number, char* block);

}  // extern "C"

// ---- desktop ----------------------------------------------------------------
extern "C" {

// text: the text to type into the focused window by synthetic key presses,
// then Return (bytes above 127 are skipped). Null text: nothing typed.
// Always 0.
float PasteText(char* text, double number, char* block);

// text: put on the clipboard as CF_TEXT, then the window titled "Plaxio" is
// sent WM_PASTE. Result: 0 pasted; -1 no such window (text on the clipboard
// all the same); -9 null text, -99 no memory (clipboard untouched). Linux
// build: no such window, so -1.
float CopyToClipboard(char* text, double number, char* block);

// text: path of a text file. Result: -1 when its first 100 bytes hold
// "2009" and a '4' or "BETA" (start offsets 0..96); 0 otherwise or for a
// null text; -17 file cannot be opened.
float checkPlaxioVersion(char* text, double number, char* block);

// Launches nothing. Result: 0, or -1 for a null text.
float RunApp(char* text, double number, char* block);

}  // extern "C"
