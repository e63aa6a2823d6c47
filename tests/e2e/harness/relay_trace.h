#pragma once

#include <string>
#include <vector>

// Wine's relay trace of the programs of one test run: Wine writes every call of the functions
// named in HKCU\Software\Wine\Debug "RelayInclude" to standard error when WINEDEBUG holds
// "+relay". The runner of the relay tests sends that output to a file and names it in the
// environment variable WISPFOLD_RELAY_TRACE (a Unix path).
class CRelayTrace {
public:
    CRelayTrace();

    // False when the run has no trace (the relay tests then skip).
    bool IsAvailable() const { return !m_strPath.empty(); }
    const std::string& Path() const { return m_strPath; }
    // Where the trace ends now; calls after this mark are what Since() returns.
    void Mark();
    // The lines written since the last Mark() that contain `needle` ("Call shell32.X(").
    std::vector<std::string> Since(const std::string& needle) const;

private:
    std::string ReadAll() const;

    std::string m_strPath;
    size_t m_nMark = 0;
};
