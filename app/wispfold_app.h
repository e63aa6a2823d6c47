#pragma once

#include "classlib/cwinapp.h"

// The application: names the registry key and runs the main dialog, whose run is the
// program's life.
class CWispfoldApp : public CWinApp {
public:
    CWispfoldApp() = default;

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CWispfoldApp theApp;
