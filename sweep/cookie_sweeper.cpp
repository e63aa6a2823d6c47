#include "sweep/cookie_sweeper.h"

#include <utility>

namespace {
const char kUnsupportedText[] = "このOSでは、ご使用いただけません。";
const char kNoFolderText[] = "クッキーファイルが特殊な場所にある為、削除できません。";
const char kQuestionText[] =
    "削除できないクッキーファイルがあります。ファイル属性を変えて削除しますか？\n"
    "ファイル名：";

// Windows 2000 and XP sweep one folder, Vista also its "Low\" subfolder; everything else is
// refused. The order of the tests is the order of the classification.
SweepMode ClassifyPlatform(const OsVersionInfo& v) {
    if (v.dwPlatformId != kPlatformWin32NT)
        return SWEEP_NONE;
    if (v.dwMajorVersion == 5 && (v.dwMinorVersion == 0 || v.dwMinorVersion == 1))
        return SWEEP_FOLDER;
    if (v.dwMajorVersion == 6 && v.dwMinorVersion == 0)
        return SWEEP_FOLDER_AND_LOW;
    return SWEEP_NONE;
}
} // namespace

bool CCookieSweeper::RunPlatformGate() {
    m_strCookieDir.Empty();
    m_nSweepMode = ClassifyPlatform(m_port.QueryVersion());
    if (m_nSweepMode == SWEEP_NONE) {
        RefusePlatform();
        return false;
    }
    m_strCookieDir = m_port.GetCookieFolder();
    if (m_strCookieDir.IsEmpty()) {
        RefusePlatform();
        return false;
    }
    // Exactly one separator is appended, even to a drive root that already ends in one.
    m_strCookieDir += "\\";
    return true;
}

void CCookieSweeper::RefusePlatform() {
    m_port.AskUser(kUnsupportedText, kMbOk);
    m_port.CancelDialog();
}

void CCookieSweeper::PurgeCookies() {
    if (m_strCookieDir.IsEmpty()) {
        // An empty folder would make every path relative to the working directory.
        m_port.AskUser(kNoFolderText, kMbOk);
        return;
    }
    // The rule is looked at once per pass, so a click of its box takes effect at the next one.
    // Nothing is remembered while it is off; nothing of the cookie files once the browser, which
    // writes them, was seen open (it may rewrite one in place, keeping its size and stamp).
    m_bKeepThisPass = m_bKeepFavourites.load();
    m_bFavouritesRead = false;
    if (!m_bKeepThisPass)
        m_favourites.Forget();
    else if (std::exchange(m_bBrowserSeen, false))
        m_favourites.ForgetCookieFiles();
    DeleteCookieFiles(m_strCookieDir);
    if (m_nSweepMode == SWEEP_FOLDER_AND_LOW)
        DeleteCookieFiles(m_strCookieDir + "Low\\");
}

void CCookieSweeper::DeleteCookieFiles(CString strFolder) {
    // The cookie folder is the one the shell names. Any other, the protected mode's "Low\"
    // (written at low integrity, by the browser's own code), is swept only while it is a real
    // folder: a link made of it would lead the purge out of the cookie folder. Asked again
    // before every change, as such a link can be made at any moment.
    const bool bGuarded = strFolder != m_strCookieDir;
    const auto folderIsReal = [&] {
        if (!bGuarded)
            return true;
        const uint32_t nAttributes =
            m_port.ReadAttributes(CString(strFolder, strFolder.GetLength() - 1));
        return nAttributes != kInvalidFileAttributes &&
               (nAttributes & (kFileAttributeDirectory | kFileAttributeReparsePoint)) ==
                   kFileAttributeDirectory;
    };
    const int nSlot = bGuarded ? kLowSlot : kCookieSlot;
    bool& bSettled = m_bSettled[nSlot];
    if (!folderIsReal()) {
        bSettled = false;
        return;
    }
    if (m_bKeepThisPass) {
        // A folder whose last listing found only cookie files the rule keeps would list the same
        // again while neither it nor the favourites changed.
        if (!m_port.FolderMayHaveChanged(nSlot, strFolder, PathText::Ansi) && bSettled &&
            Favourites().Generation() == m_nSettledIn[nSlot])
            return;
        m_favourites.BeginCookieFolder(nSlot);
    }
    bSettled = m_bKeepThisPass;
    const CString strPattern = strFolder + "*.*";
    m_port.ListFolder(strPattern, PathText::Ansi, [&](const FolderEntry& entry) {
        // Once the dialog is ending nothing more is deleted.
        if (m_bClosing.load())
            return bSettled = false;
        CString strName;
        strName.Format("%s", entry.pszName);
        if (strName.Find(".txt", 0) == -1)
            return true;
        const CString strPath = strFolder + strName;
        if (m_bKeepThisPass && Favourites().KeepsCookieFile(m_port, strPath, entry))
            return true;
        bSettled = false;
        if (!folderIsReal())
            return false;
        const DeleteResult result = m_port.EraseFile(strPath);
        // An entry that vanished since the listing (another purge took it) is done.
        if (result != DeleteResult::Failed)
            return true;
        const int nAnswer = m_port.AskUser(CString(kQuestionText) + strName, kMbYesNo);
        if (nAnswer != kIdYes || m_bClosing.load())
            return true;
        // Attributes that cannot be read say nothing of read-only.
        const uint32_t nAttributes = m_port.ReadAttributes(strPath);
        if (nAttributes != kInvalidFileAttributes && (nAttributes & kFileAttributeReadOnly) != 0 &&
            folderIsReal() && m_port.ClearAttributes(strPath))
            m_port.EraseFile(strPath);
        return true;
    });
    if (m_bKeepThisPass) {
        m_favourites.EndCookieFolder();
        m_nSettledIn[nSlot] = m_favourites.Generation();
    }
}

CFavouriteSites& CCookieSweeper::Favourites() {
    // Brought up to date once a pass, when first needed: a pass over folders that hold no cookie
    // file, and have not changed, looks at no favourite.
    if (!m_bFavouritesRead) {
        m_favourites.Update(m_port, m_bClosing);
        m_bFavouritesRead = true;
    }
    return m_favourites;
}
