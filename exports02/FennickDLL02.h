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
