// The reference for the idle and memory benchmarks: a program that only shows a dialog from a
// one-line template (empty_dialog.rc) until it is closed or its process is ended.
#include <windows.h>

namespace {
INT_PTR CALLBACK EmptyDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) {
        EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG;
}
} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    return static_cast<int>(
        DialogBoxParamA(hInstance, MAKEINTRESOURCEA(100), nullptr, &EmptyDialogProc, 0));
}
