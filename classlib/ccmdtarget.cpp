#include "classlib/ccmdtarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, AfxSig_end, {}, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage,
                                                     UINT nCode, UINT nID) {
    // Registered messages take their numbers from 0xC000 up; their rows all carry that key.
    const bool bRegistered = nMessage >= kAfxRegisteredMessage && nMessage <= 0xFFFF;
    for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nSig != AfxSig_end;
             ++pEntry) {
            if (bRegistered) {
                // A variable still 0 (registration failed) matches no message.
                if (pEntry->nMessage == kAfxRegisteredMessage && pEntry->pnRegistered &&
                    *pEntry->pnRegistered == nMessage)
                    return pEntry;
                continue;
            }
            if (pEntry->nMessage != nMessage)
                continue;
            if (nMessage != WM_COMMAND || (pEntry->nCode == nCode && pEntry->nID == nID))
                return pEntry;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, UINT nCode) {
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), WM_COMMAND, nCode, nID);
    if (!pEntry)
        return FALSE;
    (this->*pEntry->pfn.pfnCmd)();
    return TRUE;
}
