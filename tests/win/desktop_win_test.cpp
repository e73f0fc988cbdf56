// Typing and clipboard exports under Wine: a top-level window titled
// "Plaxio" with a focused multi-line edit control receives what PasteText
// types and the WM_PASTE that CopyToClipboard sends.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "WinEdition.h"

namespace {

int g_pasteMessages = 0;

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_PASTE) {
    ++g_pasteMessages;
    return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

struct HostWindow {
  HWND top = nullptr;
  HWND edit = nullptr;

  HostWindow() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = hostProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"FennickTestHost";
    RegisterClassW(&wc);  // fails harmlessly when already registered
    top = CreateWindowExW(0, L"FennickTestHost", L"Plaxio", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                          10, 10, 400, 300, nullptr, nullptr, instance, nullptr);
    edit = CreateWindowExW(0, L"EDIT", L"",
                           WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                           0, 0, 380, 260, top, nullptr, instance, nullptr);
    ShowWindow(top, SW_SHOW);
    UpdateWindow(top);
    SetForegroundWindow(top);
    SetActiveWindow(top);
    SetFocus(edit);
    pump(200);
  }
  ~HostWindow() {
    if (top) DestroyWindow(top);
    pump(50);
  }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  static void pump(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    do {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      Sleep(5);
    } while (GetTickCount() < end);
  }

  std::string text() const {
    char buf[4096] = {};
    GetWindowTextA(edit, buf, sizeof buf);
    return buf;
  }

  // Pumps until the edit control holds `expected` or two seconds passed.
  std::string waitFor(const std::string& expected) const {
    for (int i = 0; i < 100 && text() != expected; ++i) pump(20);
    return text();
  }
};

std::string clipboardText() {
  std::string out = "<none>";
  if (!OpenClipboard(nullptr)) return "<cannot open>";
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data) {
    const char* p = static_cast<const char*>(GlobalLock(data));
    if (p) out = p;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return out;
}

void putOnClipboard(const char* text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  size_t n = strlen(text) + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n);
  memcpy(GlobalLock(block), text, n);
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
}

TEST(WinDesktop, PasteTextTypesIntoTheFocusedEdit) {
  HostWindow host;
  ASSERT_NE(host.edit, nullptr);
  ASSERT_EQ(GetFocus(), host.edit);
  // Upper case through Shift, lower-case letters, digits and the space on
  // their own keys, then Return (a new line in the multi-line edit).
  EXPECT_EQ(dll02().call("PasteText", "Hello World 2009"), 0.0f);
  EXPECT_EQ(host.waitFor("Hello World 2009\r\n"), "Hello World 2009\r\n");
  // Shift is released after each capital: the next letter is lower case.
  EXPECT_EQ(dll02().call("PasteText", "ABc"), 0.0f);
  EXPECT_EQ(host.waitFor("Hello World 2009\r\nABc\r\n"), "Hello World 2009\r\nABc\r\n");
}

TEST(WinDesktop, PasteTextEdgeTexts) {
  HostWindow host;
  ASSERT_EQ(GetFocus(), host.edit);
  // Null: nothing at all, not even Return.
  EXPECT_EQ(dll02().call("PasteText", nullptr), 0.0f);
  HostWindow::pump(200);
  EXPECT_EQ(host.text(), "");
  // Empty text: only Return.
  EXPECT_EQ(dll02().call("PasteText", ""), 0.0f);
  EXPECT_EQ(host.waitFor("\r\n"), "\r\n");
  // Bytes above 127 (UTF-8 of e-acute) are skipped, the rest is typed.
  EXPECT_EQ(dll02().call("PasteText", "x\xc3\xa9y"), 0.0f);
  EXPECT_EQ(host.waitFor("\r\nxy\r\n"), "\r\nxy\r\n");
}

TEST(WinDesktop, CopyToClipboardPastesIntoThePlaxioWindow) {
  HostWindow host;
  g_pasteMessages = 0;
  EXPECT_EQ(dll02().call("CopyToClipboard", "clip me 42"), 0.0f);
  // SendMessage from this thread runs the procedure before it returns.
  EXPECT_EQ(g_pasteMessages, 1);
  EXPECT_EQ(clipboardText(), "clip me 42");
  // The empty text is put on the clipboard and pasted all the same.
  EXPECT_EQ(dll02().call("CopyToClipboard", ""), 0.0f);
  EXPECT_EQ(g_pasteMessages, 2);
  EXPECT_EQ(clipboardText(), "");
}

TEST(WinDesktop, CopyToClipboardWithoutWindow) {
  ASSERT_EQ(FindWindowW(nullptr, L"Plaxio"), nullptr);
  g_pasteMessages = 0;
  EXPECT_EQ(dll02().call("CopyToClipboard", "no window here"), -1.0f);
  EXPECT_EQ(clipboardText(), "no window here");
  EXPECT_EQ(g_pasteMessages, 0);
  // A null text is refused and leaves the clipboard as it was.
  putOnClipboard("kept");
  EXPECT_EQ(dll02().call("CopyToClipboard", nullptr), -9.0f);
  EXPECT_EQ(clipboardText(), "kept");
}

// Holds the clipboard open from another thread, as another program would,
// until destroyed.
struct ClipboardHolder {
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = nullptr;
  bool holding = false;

  ClipboardHolder() {
    thread = CreateThread(nullptr, 0, &ClipboardHolder::run, this, 0, nullptr);
    if (thread) WaitForSingleObject(opened, 5000);
  }
  ~ClipboardHolder() {
    SetEvent(release);
    if (thread) {
      WaitForSingleObject(thread, 5000);
      CloseHandle(thread);
    }
    CloseHandle(opened);
    CloseHandle(release);
  }
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;

  // Opened for a window of its own: a program that holds the clipboard
  // does so for one of its windows.
  static DWORD WINAPI run(void* self) {
    auto* h = static_cast<ClipboardHolder*>(self);
    HWND window = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    h->holding = window && OpenClipboard(window) != 0;
    SetEvent(h->opened);
    WaitForSingleObject(h->release, 10000);
    if (h->holding) CloseClipboard();
    if (window) DestroyWindow(window);
    return 0;
  }
};

TEST(WinDesktop, CopyToClipboardHeldByAnotherProgram) {
  HostWindow host;
  putOnClipboard("kept");
  g_pasteMessages = 0;
  {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.holding);
    // Not on the clipboard, so not pasted either (the window would get the
    // old text).
    EXPECT_EQ(dll02().call("CopyToClipboard", "lost"), -2.0f);
    EXPECT_EQ(g_pasteMessages, 0);
  }
  EXPECT_EQ(clipboardText(), "kept");
  // Released: the next copy goes through.
  EXPECT_EQ(dll02().call("CopyToClipboard", "now"), 0.0f);
  EXPECT_EQ(g_pasteMessages, 1);
  EXPECT_EQ(clipboardText(), "now");
}

TEST(WinDesktop, VersionCheckAndRunApp) {
  std::string dir = testsupport::makeTempDir("ver");
  std::string marked = dir + "\\marked.txt";
  std::string plain = dir + "\\plain.txt";
  ASSERT_TRUE(testsupport::writeText(marked, "Plaxio 2009 BETA\r\n"));
  ASSERT_TRUE(testsupport::writeText(plain, "Plaxio 2009 beta\r\n"));
  EXPECT_EQ(dll02().call("checkPlaxioVersion", marked.c_str()), -1.0f);
  EXPECT_EQ(dll02().call("checkPlaxioVersion", plain.c_str()), 0.0f);
  EXPECT_EQ(dll02().call("checkPlaxioVersion", (dir + "\\missing.txt").c_str()), -17.0f);
  EXPECT_EQ(dll02().call("checkPlaxioVersion", nullptr), 0.0f);
  EXPECT_EQ(dll02().call("RunApp", "notepad.exe"), 0.0f);
  EXPECT_EQ(dll02().call("RunApp", ""), 0.0f);
  EXPECT_EQ(dll02().call("RunApp", nullptr), -1.0f);
}

}  // namespace
