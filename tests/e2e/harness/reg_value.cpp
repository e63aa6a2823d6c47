#include "tests/e2e/harness/reg_value.h"

bool CRegValue::Write(DWORD type, const void* data, DWORD size) const {
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, m_strSubKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &hKey, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result =
        RegSetValueExA(hKey, m_strName.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(hKey);
    return result == ERROR_SUCCESS;
}

bool CRegValue::WriteString(const std::string& value) const {
    return Write(REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

bool CRegValue::WriteDword(DWORD value) const {
    return Write(REG_DWORD, &value, sizeof(value));
}

std::optional<DWORD> CRegValue::ReadDword() const {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, m_strSubKey.c_str(), m_strName.c_str(), RRF_RT_ANY, &type,
                     &value, &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

std::optional<DWORD> CRegValue::Type() const {
    DWORD type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, m_strSubKey.c_str(), m_strName.c_str(),
                     RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return std::nullopt;
    return type;
}

bool CRegValue::Delete() const {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, m_strSubKey.c_str(), 0, KEY_SET_VALUE, &hKey) ==
        ERROR_SUCCESS) {
        RegDeleteValueA(hKey, m_strName.c_str());
        RegCloseKey(hKey);
    }
    return !Exists();
}

bool CRegValue::DeleteTree(const std::string& subKey) {
    RegDeleteTreeA(HKEY_CURRENT_USER, subKey.c_str());
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return true;
    RegCloseKey(hKey);
    // Whatever RegDeleteTreeA left behind (an emptied key itself) goes too.
    return RegDeleteKeyA(HKEY_CURRENT_USER, subKey.c_str()) == ERROR_SUCCESS;
}

void CRegValue::DeleteIfEmpty(const std::string& subKey) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return;
    DWORD subKeys = 0;
    DWORD values = 0;
    const LONG result = RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, &subKeys, nullptr,
                                         nullptr, &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(hKey);
    if (result == ERROR_SUCCESS && subKeys == 0 && values == 0)
        RegDeleteKeyA(HKEY_CURRENT_USER, subKey.c_str());
}
