#pragma once

#include "classlib/msgmap.h"

// The root of every object that has a message table: finds a row for a message or a command
// along the chain of tables, most derived class first.
class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Runs the handler of the command nID with notification code nCode; false when no table of
    // the chain has a row for it.
    virtual BOOL OnCmdMsg(UINT nID, UINT nCode);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The first row for nMessage (for WM_COMMAND: with that code and identifier), or nullptr.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage,
                                                    UINT nCode, UINT nID);
};
