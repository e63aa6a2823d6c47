// Holds Wine's shell desktop open while a test looks at it: Wine closes a desktop shortly after
// the last program on it has ended, so the notification area could not be seen empty after
// Wispfold's end. It shows nothing and waits until it is ended from outside.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Any call that needs the thread's desktop makes this process one of its users.
    GetDesktopWindow();
    Sleep(INFINITE);
    return 0;
}
