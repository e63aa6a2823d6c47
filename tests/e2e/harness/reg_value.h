#pragma once

#include <windows.h>

#include <optional>
#include <string>

// One named value under HKEY_CURRENT_USER, written, read and removed by the tests: the version
// answer Wine gives the program, and the program's start-at-launch profile value.
class CRegValue {
public:
    CRegValue(std::string subKey, std::string name)
        : m_strSubKey(std::move(subKey)), m_strName(std::move(name)) {}

    bool WriteString(const std::string& value) const;
    bool WriteDword(DWORD value) const;
    // The value when it exists as REG_DWORD; nothing when it is missing or of another type.
    std::optional<DWORD> ReadDword() const;
    // The stored type (REG_SZ, REG_DWORD, ...) or nothing when the value is missing.
    std::optional<DWORD> Type() const;
    bool Exists() const { return Type().has_value(); }
    // Removes the value; true when it is gone afterwards (also when it never existed).
    bool Delete() const;

    const std::string& SubKey() const { return m_strSubKey; }

    // Removes a key with everything below it; true when it is gone afterwards.
    static bool DeleteTree(const std::string& subKey);
    // Removes a key only when it holds no value and no subkey.
    static void DeleteIfEmpty(const std::string& subKey);

private:
    bool Write(DWORD type, const void* data, DWORD size) const;

    std::string m_strSubKey;
    std::string m_strName;
};
