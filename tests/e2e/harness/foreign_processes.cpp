#include "tests/e2e/harness/foreign_processes.h"

#include <tlhelp32.h>

#include <utility>

#include "tests/e2e/harness/owned_handle.h"

CForeignProcesses::CForeignProcesses(std::string exeName)
    : m_strExeName(std::move(exeName)), m_before(Snapshot()) {}

std::set<DWORD> CForeignProcesses::Snapshot() const {
    std::set<DWORD> ids;
    COwnedHandle hSnap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!hSnap)
        return ids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = Process32First(hSnap.Get(), &entry); bMore;
         bMore = Process32Next(hSnap.Get(), &entry))
        if (lstrcmpiA(entry.szExeFile, m_strExeName.c_str()) == 0)
            ids.insert(entry.th32ProcessID);
    return ids;
}

std::set<DWORD> CForeignProcesses::New() const {
    std::set<DWORD> fresh;
    for (DWORD id : Snapshot())
        if (!m_before.count(id))
            fresh.insert(id);
    return fresh;
}

size_t CForeignProcesses::EndNew() const {
    size_t nEnded = 0;
    for (DWORD id : New()) {
        COwnedHandle hProcess(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (!hProcess)
            continue;
        if (TerminateProcess(hProcess.Get(), 1)) {
            WaitForSingleObject(hProcess.Get(), 5000);
            ++nEnded;
        }
    }
    return nEnded;
}
