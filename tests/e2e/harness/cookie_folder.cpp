#include "tests/e2e/harness/cookie_folder.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>

CCookieFolder::CCookieFolder() {
    char szPath[MAX_PATH] = {};
    // Wine refuses to resolve a folder that does not exist unless told not to check.
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_COOKIES | CSIDL_FLAG_DONT_VERIFY, nullptr,
                                   SHGFP_TYPE_CURRENT, szPath)) &&
        szPath[0] != '\0')
        m_strPath = std::string(szPath) + "\\";
}

bool CCookieFolder::Ensure() const {
    if (m_strPath.empty())
        return false;
    const int result = SHCreateDirectoryExA(nullptr, m_strPath.c_str(), nullptr);
    return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

void CCookieFolder::RemoveTree(const std::string& dir, bool removeSelf) {
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((dir + "*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string full = dir + name;
            // Read-only entries refuse deletion until their attributes are made normal.
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full + "\\", true);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(hFind, &data));
        FindClose(hFind);
    }
    if (removeSelf)
        RemoveDirectoryA(dir.c_str());
}

bool CCookieFolder::Clear() const {
    if (m_strPath.empty())
        return false;
    RemoveTree(m_strPath, false);
    return List().empty();
}

bool CCookieFolder::AddFile(const std::string& name, bool readOnly) const {
    return AddFileWith(name, "cookie\n1\nexample.invalid/\n") &&
           (!readOnly ||
            SetFileAttributesA((m_strPath + name).c_str(), FILE_ATTRIBUTE_READONLY) != FALSE);
}

bool CCookieFolder::AddFileWith(const std::string& name, const std::string& content) const {
    const std::string full = name.size() > 1 && name[1] == ':' ? name : m_strPath + name;
    HANDLE hFile = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(hFile, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(hFile);
    return written == content.size();
}

bool CCookieFolder::AddDirectory(const std::string& name) const {
    return CreateDirectoryA((m_strPath + name).c_str(), nullptr) != FALSE;
}

bool CCookieFolder::Exists(const std::string& name) const {
    return GetFileAttributesA((m_strPath + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> CCookieFolder::List(const std::string& subfolder) const {
    std::vector<std::string> names;
    const std::string dir = subfolder.empty() ? m_strPath : m_strPath + subfolder + "\\";
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((dir + "*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
    std::sort(names.begin(), names.end());
    return names;
}
