// Windows desktop services: SendInput for key inputs, the clipboard and the
// paste message to the application's window.
#include <windows.h>

#include <cstring>

#include "DesktopWin.h"

namespace fennick {
namespace desktopwin {

using fennick::Status;

void sendKeyInputs(const std::vector<KeyInput>& inputs) {
  for (const KeyInput& key : inputs) {
    INPUT input;
    std::memset(&input, 0, sizeof input);
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key.vk;
    input.ki.wScan = 0;
    input.ki.dwFlags = key.keyUp ? KEYEVENTF_KEYUP : 0;
    input.ki.time = 0;
    input.ki.dwExtraInfo = 0;
    SendInput(1, &input, sizeof(INPUT));
  }
}

fennick::Status copyToClipboard(const char* text, bool& pasted) {
  pasted = false;
  if (!text) return Status::NullArgument;
  size_t n = std::strlen(text);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n + 1);
  if (!block) return Status::NoMemory;
  void* bytes = GlobalLock(block);
  if (!bytes) {
    GlobalFree(block);
    return Status::NoMemory;
  }
  std::memcpy(bytes, text, n + 1);
  GlobalUnlock(block);

  // Another program may hold the clipboard open: then nothing is put on it
  // and nothing is pasted (a paste would insert whatever was there before).
  if (!OpenClipboard(nullptr)) {
    GlobalFree(block);
    return Status::WriteFailed;
  }
  EmptyClipboard();
  // The clipboard owns the block only when it took it; otherwise the block
  // is ours to free.
  const bool placed = SetClipboardData(CF_TEXT, block) != nullptr;
  if (!placed) GlobalFree(block);
  CloseClipboard();
  if (!placed) return Status::WriteFailed;

#if defined(_WIN64)
  HWND window = FindWindowW(nullptr, L"Plaxio");
#else
  HWND window = FindWindowA(nullptr, "Plaxio");
#endif
  if (!window) return Status::Ok;
  Sleep(10);
#if defined(_WIN64)
  SendMessageW(window, WM_PASTE, 0, 0);
#else
  SendMessageA(window, WM_PASTE, 0, 0);
#endif
  pasted = true;
  return Status::Ok;
}

}  // namespace desktopwin
}  // namespace fennick
