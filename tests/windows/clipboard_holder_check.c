/* clipboard_holder_check: DMCopyToClipboard while another window holds the
 * clipboard open must return 0 and leave the clipboard as it was.
 *
 * The holder is a second thread with a message-only window (HWND_MESSAGE):
 * only an open clipboard with an owner window blocks OpenClipboard(NULL), and
 * message-only windows exist even where no display does. The check first
 * confirms that the hold blocks an OpenClipboard(NULL) of its own, so that
 * the result 0 cannot come from anything else. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "clipboard_bits.h"
#include "ecc200.h"

static int failures = 0;

static void Expect(int condition, const char *what) {
    printf("%s: %s\n", condition ? "ok  " : "FAIL", what);
    if (!condition) ++failures;
}

typedef struct Hold {
    HANDLE held;     /* set once the clipboard is open */
    HANDLE release;  /* set to let it go */
    int opened;
} Hold;

static DWORD WINAPI HoldClipboard(LPVOID parameter) {
    Hold *hold = parameter;
    WNDCLASSA windowClass;
    HWND window;
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "ecc200ClipboardHolder";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                             windowClass.hInstance, NULL);
    hold->opened = window != NULL && OpenClipboard(window);
    SetEvent(hold->held);
    WaitForSingleObject(hold->release, INFINITE);
    if (hold->opened) CloseClipboard();
    if (window != NULL) DestroyWindow(window);
    return 0;
}

int main(void) {
    Hold hold;
    HANDLE thread;
    unsigned int beforeSize, afterSize, nextSize;
    unsigned char *before, *after, *next;
    BOOL ownOpen;
    DWORD ownError;

    DMSetDefault();
    Expect(DMCopyToClipboard() == 1, "DMCopyToClipboard with a free clipboard returns 1");
    before = ClipboardBits(&beforeSize);
    Expect(before != NULL && beforeSize > 0, "the clipboard holds the enhanced metafile");

    hold.held = CreateEventA(NULL, TRUE, FALSE, NULL);
    hold.release = CreateEventA(NULL, TRUE, FALSE, NULL);
    hold.opened = 0;
    thread = CreateThread(NULL, 0, HoldClipboard, &hold, 0, NULL);
    WaitForSingleObject(hold.held, INFINITE);
    Expect(hold.opened, "a message-only window of another thread opens the clipboard");
    ownOpen = OpenClipboard(NULL);
    ownError = GetLastError();
    if (ownOpen) CloseClipboard();
    Expect(!ownOpen && ownError == ERROR_ACCESS_DENIED, "while it is held, OpenClipboard(NULL) fails (error 5)");

    DMSetMessage("Another message, another picture");
    DMSetInfo(0.1, 1, 2);
    Expect(DMCopyToClipboard() == 0, "DMCopyToClipboard while the clipboard is held returns 0");

    SetEvent(hold.release);
    WaitForSingleObject(thread, INFINITE);
    after = ClipboardBits(&afterSize);
    Expect(after != NULL && afterSize == beforeSize && memcmp(before, after, beforeSize) == 0,
           "the clipboard still holds the earlier metafile, byte for byte");

    Expect(DMCopyToClipboard() == 1, "once released, DMCopyToClipboard returns 1 again");
    next = ClipboardBits(&nextSize);
    Expect(next != NULL && (nextSize != beforeSize || memcmp(before, next, beforeSize) != 0),
           "and the clipboard now holds the new picture");

    free(before);
    free(after);
    free(next);
    CloseHandle(thread);
    CloseHandle(hold.held);
    CloseHandle(hold.release);
    printf("clipboard_holder_check: %s\n", failures == 0 ? "all passed" : "FAILED");
    return failures == 0 ? 0 : 1;
}
