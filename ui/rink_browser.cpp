#include "ui/rink_browser.h"

#include "classlib/cstring.h"

namespace {
// The maker's host of the list page (not the host of the side commands' pages).
const char kListPageHost[] = "www.quenmarsh.example";
} // namespace

BEGIN_MESSAGE_MAP(CRinkBrowser, CHtmlView)
END_MESSAGE_MAP()

BOOL CRinkBrowser::PreCreateWindow(CREATESTRUCTA& cs) {
    return CHtmlView::PreCreateWindow(cs);
}

void CRinkBrowser::OnInitialUpdate() {
    CHtmlView::OnInitialUpdate();
    Navigate2(CString("http://") + kListPageHost + "/Wispfold/ListWispfold.php");
}
