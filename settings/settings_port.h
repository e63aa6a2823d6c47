#pragma once

// Every platform operation the start-at-launch setting needs, and nothing else: the per-user
// profile, the check box, and the start of the watch. The Windows program implements it with the
// class library; unit tests with a fake.
class ISettingsPort {
public:
    virtual ~ISettingsPort() = default;

    // The profile's integer, nDefault when the value is missing or not an integer.
    virtual unsigned ReadProfileInt(const char* pszSection, const char* pszEntry, int nDefault) = 0;
    virtual void WriteProfileInt(const char* pszSection, const char* pszEntry, int nValue) = 0;
    // BM_SETCHECK with the state as given; the box decides what it makes of it.
    virtual void SetCheck(unsigned nState) = 0;
    // BM_GETCHECK: 0 clear, 1 checked, 2 indeterminate.
    virtual int GetCheck() = 0;
    virtual void StartWatching() = 0;
};
