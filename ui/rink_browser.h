#pragma once

#include "classlib/chtmlview.h"

// The page view in the lower part of the main dialog: shows the maker's list page, requested
// once on the initial update and then left alone.
class CRinkBrowser : public CHtmlView {
public:
    CRinkBrowser() = default;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // The view's first display, then the one request of the list page.
    void OnInitialUpdate() override;

    DECLARE_MESSAGE_MAP()
};
