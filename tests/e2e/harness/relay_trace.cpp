#include "tests/e2e/harness/relay_trace.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/e2e/harness/wispfold_process.h"

CRelayTrace::CRelayTrace() {
    if (const char* pszPath = std::getenv("WISPFOLD_RELAY_TRACE"); pszPath != nullptr && *pszPath)
        m_strPath = CWispfoldProcess::ToWindowsPath(pszPath);
}

std::string CRelayTrace::ReadAll() const {
    std::ifstream file(m_strPath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void CRelayTrace::Mark() {
    m_nMark = ReadAll().size();
}

std::vector<std::string> CRelayTrace::Since(const std::string& needle) const {
    const std::string all = ReadAll();
    std::vector<std::string> lines;
    std::istringstream rest(m_nMark < all.size() ? all.substr(m_nMark) : std::string());
    for (std::string line; std::getline(rest, line);)
        if (line.find(needle) != std::string::npos)
            lines.push_back(line);
    return lines;
}
