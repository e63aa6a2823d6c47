#pragma once

#include <windows.h>

#include <set>
#include <string>

// Programs the program under test starts (Notepad, the browser launcher), seen in the prefix's
// process list by executable name. Only processes that did not exist when this object was made
// are ever ended, each by its own id.
class CForeignProcesses {
public:
    // exeName: the executable's file name, compared without regard to case ("notepad.exe").
    explicit CForeignProcesses(std::string exeName);
    ~CForeignProcesses() { EndNew(); }
    CForeignProcesses(const CForeignProcesses&) = delete;
    CForeignProcesses& operator=(const CForeignProcesses&) = delete;

    // Ids of the processes of that name that were not there at construction.
    std::set<DWORD> New() const;
    // Ends those processes by id and waits for each; returns how many were ended.
    size_t EndNew() const;

private:
    std::set<DWORD> Snapshot() const;

    std::string m_strExeName;
    std::set<DWORD> m_before;
};
