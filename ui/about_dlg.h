#pragma once

#include "classlib/cdialog.h"

// The About box: the application icon, the version line, a notice and OK. With no parent, the
// application's main window owns it.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    DECLARE_MESSAGE_MAP()
};
