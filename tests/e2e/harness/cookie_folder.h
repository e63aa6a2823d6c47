#pragma once

#include <string>
#include <vector>

// The current user's cookie folder as the program resolves it (same prefix, same user): seeded
// with files before a run and inspected after it. Names are byte strings in the ANSI code page.
class CCookieFolder {
public:
    CCookieFolder();

    // The folder with one trailing backslash; empty when the shell cannot resolve it.
    const std::string& Path() const { return m_strPath; }
    // The "Low\" subfolder, with its trailing backslash.
    std::string LowPath() const { return m_strPath + "Low\\"; }

    // Creates the folder (and its parents); true when it exists afterwards.
    bool Ensure() const;
    // Removes everything inside the folder, read-only entries and subfolders included; the
    // folder itself stays, as the prefix had it. True when it is empty afterwards.
    bool Clear() const;

    // Creates a file (relative name, e.g. "a.txt" or "Low\\b.txt") with a little content.
    bool AddFile(const std::string& name, bool readOnly = false) const;
    // Creates a file with the given content; also outside the folder when the name is absolute.
    bool AddFileWith(const std::string& name, const std::string& content) const;
    bool AddDirectory(const std::string& name) const;
    bool Exists(const std::string& name) const;
    // The entries of the folder (or of a relative subfolder such as "Low"), without "." and
    // "..", sorted.
    std::vector<std::string> List(const std::string& subfolder = "") const;

private:
    // Deletes everything below dir (ending in a backslash); removes dir too when removeSelf.
    static void RemoveTree(const std::string& dir, bool removeSelf);
    std::string m_strPath;
};
