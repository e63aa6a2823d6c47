// Tells a test outside Wine where the windows of its desktop are: the X server sees the whole
// shell desktop as one window, so a click driver cannot find a button by its text on its own.
// Usage: window_probe.exe OUTFILE (a GUI program: started on a desktop, it opens no console), or
// window_probe.exe /about CAPTION: picks the About entry of that dialog's system menu.
// Writes one UTF-8 line per window, tab-separated:
//   depth class text visible check left top right bottom
// (depth 0 for a top-level window, 1 for each of its descendants; check is BM_GETCHECK of a
// check box, -1 for any other window; screen coordinates). The file appears whole, by a rename.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "res/resource.h"

namespace {

std::string Utf8(const wchar_t* text) {
    std::string out(WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), static_cast<int>(out.size()), nullptr,
                        nullptr);
    out.pop_back();
    for (char& c : out)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return out;
}

void Describe(std::string& out, HWND hWnd, int nDepth) {
    wchar_t szClass[64] = {};
    GetClassNameW(hWnd, szClass, 64);
    // WM_GETTEXT is marshalled across processes (GetWindowText reads only the caption field
    // there), with a time limit so that a hung program cannot hang the probe.
    wchar_t szText[512] = {};
    DWORD_PTR nResult = 0;
    SendMessageTimeoutW(hWnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(szText), SMTO_ABORTIFHUNG,
                        1000, &nResult);
    int nCheck = -1;
    const LONG nType = GetWindowLongW(hWnd, GWL_STYLE) & BS_TYPEMASK;
    if (lstrcmpiW(szClass, L"Button") == 0 && (nType == BS_CHECKBOX || nType == BS_AUTOCHECKBOX)) {
        SendMessageTimeoutW(hWnd, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 1000, &nResult);
        nCheck = static_cast<int>(nResult);
    }
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    char szLine[128];
    std::snprintf(szLine, sizeof szLine, "\t%d\t%d\t%ld\t%ld\t%ld\t%ld\n",
                  IsWindowVisible(hWnd) ? 1 : 0, nCheck, rc.left, rc.top, rc.right, rc.bottom);
    out += std::to_string(nDepth) + "\t" + Utf8(szClass) + "\t" + Utf8(szText) + szLine;
}

// The items of a tree view with check boxes (a setup's list of components), as depth 2 lines:
// the item's text, its state image as the check (1 clear, 2 ticked, in the usual image order)
// and the screen rectangle of its text. A tree view answers only with pointers into its own
// process, so the request and the answer live in memory borrowed from that process.
void DescribeTreeItems(std::string& out, HWND hTree) {
    DWORD nProcess = 0;
    GetWindowThreadProcessId(hTree, &nProcess);
    HANDLE hProcess =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, nProcess);
    if (!hProcess)
        return;
    struct Remote {
        TVITEMW item;
        RECT rc;
        wchar_t szText[256];
    };
    auto* pRemote = static_cast<Remote*>(
        VirtualAllocEx(hProcess, nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE));
    for (auto hItem =
             reinterpret_cast<HTREEITEM>(SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
         pRemote && hItem;
         hItem = reinterpret_cast<HTREEITEM>(SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE,
                                                          reinterpret_cast<LPARAM>(hItem)))) {
        Remote local = {};
        local.item.mask = TVIF_TEXT | TVIF_STATE;
        local.item.hItem = hItem;
        local.item.stateMask = TVIS_STATEIMAGEMASK;
        local.item.pszText = pRemote->szText;
        local.item.cchTextMax = 256;
        // TVM_GETITEMRECT takes the item in the rectangle's place.
        std::memcpy(&local.rc, &hItem, sizeof hItem);
        WriteProcessMemory(hProcess, pRemote, &local, sizeof local, nullptr);
        SendMessageW(hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&pRemote->item));
        SendMessageW(hTree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&pRemote->rc));
        ReadProcessMemory(hProcess, pRemote, &local, sizeof local, nullptr);
        local.szText[255] = 0;
        POINT pt[2] = {{local.rc.left, local.rc.top}, {local.rc.right, local.rc.bottom}};
        MapWindowPoints(hTree, nullptr, pt, 2);
        char szLine[128];
        std::snprintf(szLine, sizeof szLine, "\t1\t%u\t%ld\t%ld\t%ld\t%ld\n",
                      (local.item.state & TVIS_STATEIMAGEMASK) >> 12, pt[0].x, pt[0].y, pt[1].x,
                      pt[1].y);
        out += "2\tTreeItem\t" + Utf8(local.szText) + szLine;
    }
    if (pRemote)
        VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
    CloseHandle(hProcess);
}

BOOL CALLBACK OnChild(HWND hWnd, LPARAM lParam) {
    auto& out = *reinterpret_cast<std::string*>(lParam);
    Describe(out, hWnd, 1);
    wchar_t szClass[64] = {};
    GetClassNameW(hWnd, szClass, 64);
    if (lstrcmpiW(szClass, WC_TREEVIEWW) == 0 && IsWindowVisible(hWnd))
        DescribeTreeItems(out, hWnd);
    return TRUE;
}

BOOL CALLBACK OnTopLevel(HWND hWnd, LPARAM lParam) {
    if (!IsWindowVisible(hWnd))
        return TRUE;
    Describe(*reinterpret_cast<std::string*>(lParam), hWnd, 0);
    EnumChildWindows(hWnd, OnChild, lParam);
    return TRUE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR pszCmdLine, int) {
    // The whole command line is the output file's path (no quotes: the tests use none).
    const std::wstring strOut = pszCmdLine;
    if (strOut.empty())
        return 2;
    if (strOut.rfind(L"/about ", 0) == 0) {
        std::wstring strCaption = strOut.substr(7);
        if (strCaption.size() > 1 && strCaption.front() == L'"')
            strCaption = strCaption.substr(1, strCaption.size() - 2);
        HWND hDlg = FindWindowW(L"#32770", strCaption.c_str());
        return hDlg && PostMessageW(hDlg, WM_SYSCOMMAND, IDM_ABOUTBOX, 0) ? 0 : 1;
    }
    std::string out;
    EnumWindows(OnTopLevel, reinterpret_cast<LPARAM>(&out));
    const std::wstring strPart = strOut + L".part";
    HANDLE hFile = CreateFileW(strPart.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 1;
    DWORD nWritten = 0;
    const BOOL bWritten =
        WriteFile(hFile, out.data(), static_cast<DWORD>(out.size()), &nWritten, nullptr);
    CloseHandle(hFile);
    return bWritten && MoveFileExW(strPart.c_str(), strOut.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0
                                                                                               : 1;
}
