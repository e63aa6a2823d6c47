#pragma once

#include <windows.h>

class CCmdTarget;
class CWnd;
class CDC;

// The one table key for every control-colour message: the old WM_CTLCOLOR number, which no Win32
// window receives, so it cannot clash with a real message.
#define WM_CTLCOLOR 0x0019

// The handler forms a message table row can call.
enum AfxSig : unsigned char {
    AfxSig_end,     // end of a table
    AfxSig_cmd,     // void () for WM_COMMAND rows (menu command, BN_CLICKED)
    AfxSig_v_v,     // void ()
    AfxSig_v_u_l,   // void (UINT, LPARAM): WM_SYSCOMMAND
    AfxSig_h_v,     // HCURSOR (): WM_QUERYDRAGICON
    AfxSig_i_cs,    // int (LPCREATESTRUCTA): WM_CREATE
    AfxSig_l_w_l,   // LRESULT (WPARAM, LPARAM): any message
    AfxSig_hbr_ctl, // HBRUSH (CDC*, CWnd*, UINT): all WM_CTLCOLORxxx
    AfxSig_v_pwp,   // void (WINDOWPOS*): WM_WINDOWPOSCHANGING
};

// One handler, typed by its row's AfxSig; only the member named by the signature is set.
union AfxMsgFn {
    void (CCmdTarget::*pfnCmd)();
    void (CWnd::*pfn_v_v)();
    void (CWnd::*pfn_v_u_l)(UINT, LPARAM);
    HCURSOR (CWnd::*pfn_h_v)();
    int (CWnd::*pfn_i_cs)(LPCREATESTRUCTA);
    LRESULT (CWnd::*pfn_l_w_l)(WPARAM, LPARAM);
    HBRUSH (CWnd::*pfn_hbr_ctl)(CDC*, CWnd*, UINT);
    void (CWnd::*pfn_v_pwp)(WINDOWPOS*);
};

// The table key of every row for a registered message; such a row names its message through a
// variable, since registered numbers are only known at run time.
constexpr UINT kAfxRegisteredMessage = 0xC000;

// A row: the message (WM_COMMAND rows also match the notification code and the identifier;
// registered-message rows the number in *pnRegistered).
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    AfxSig nSig;
    AfxMsgFn pfn;
    const UINT* pnRegistered;
};

// A class's table with its base class's table behind it.
struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The table macros. Each row is one line: clang-format would split the table's brace pairs.
// clang-format off
#define AFX_MSG_ENTRY(msg, code, id, sig, member, fn) \
    {msg, code, id, sig, {.member = static_cast<decltype(AfxMsgFn::member)>(fn)}, nullptr},
#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;
#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() { \
        using ThisClass [[maybe_unused]] = theClass; \
        using TheBaseClass = baseClass; \
        static const AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP() \
            {0, 0, 0, AfxSig_end, {}, nullptr}}; \
        static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map; \
    }

// Row macros; the static_cast checks each handler's form at compile time.
#define ON_WM_SYSCOMMAND() AFX_MSG_ENTRY(WM_SYSCOMMAND, 0, 0, AfxSig_v_u_l, pfn_v_u_l, &ThisClass::OnSysCommand)
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, 0, 0, AfxSig_v_v, pfn_v_v, &ThisClass::OnPaint)
#define ON_WM_QUERYDRAGICON() AFX_MSG_ENTRY(WM_QUERYDRAGICON, 0, 0, AfxSig_h_v, pfn_h_v, &ThisClass::OnQueryDragIcon)
#define ON_WM_CREATE() AFX_MSG_ENTRY(WM_CREATE, 0, 0, AfxSig_i_cs, pfn_i_cs, &ThisClass::OnCreate)
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, 0, 0, AfxSig_v_v, pfn_v_v, &ThisClass::OnClose)
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, 0, 0, AfxSig_v_v, pfn_v_v, &ThisClass::OnDestroy)
#define ON_WM_CTLCOLOR() AFX_MSG_ENTRY(WM_CTLCOLOR, 0, 0, AfxSig_hbr_ctl, pfn_hbr_ctl, &ThisClass::OnCtlColor)
#define ON_WM_WINDOWPOSCHANGING() AFX_MSG_ENTRY(WM_WINDOWPOSCHANGING, 0, 0, AfxSig_v_pwp, pfn_v_pwp, &ThisClass::OnWindowPosChanging)
#define ON_MESSAGE(msg, fn) AFX_MSG_ENTRY(msg, 0, 0, AfxSig_l_w_l, pfn_l_w_l, fn)
// nMessageVariable: a UINT set by RegisterWindowMessageA before the window gets messages.
#define ON_REGISTERED_MESSAGE(nMessageVariable, fn) {kAfxRegisteredMessage, 0, 0, AfxSig_l_w_l, {.pfn_l_w_l = static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(fn)}, &(nMessageVariable)},
// Command rows match notification code 0: BN_CLICKED for a button, every menu command.
#define ON_COMMAND(id, fn) AFX_MSG_ENTRY(WM_COMMAND, 0, id, AfxSig_cmd, pfnCmd, fn)
#define ON_BN_CLICKED(id, fn) AFX_MSG_ENTRY(WM_COMMAND, BN_CLICKED, id, AfxSig_cmd, pfnCmd, fn)
// clang-format on
