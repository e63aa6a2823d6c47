#pragma once

#include <windows.h>

// What the program shows and answers to, as the user sees it: its fixed texts (code page 932
// bytes, like the program's own), its background colour, and the numbers of its messages and
// registry places.
namespace e2e {

constexpr char kMainCaption[] = "Wispfold Ver1.06";
constexpr char kAboutCaption[] = "Wispfoldのﾊﾞｰｼﾞｮﾝ情報";
constexpr char kAppName[] = "Wispfold";
constexpr char kRefusalText[] = "このOSでは、ご使用いただけません。";
constexpr char kQuestionPrefix[] =
    "削除できないクッキーファイルがあります。ファイル属性を変えて削除しますか？\nファイル名：";

// The main dialog's background: red 251, green 225, blue 183.
constexpr COLORREF kBackColour = RGB(251, 225, 183);

// The notification icon's callback message, posted to the main dialog.
constexpr UINT kTrayNotify = WM_USER + 600;
constexpr WPARAM kAboutCommand = 0x10;

// Where Wine reads the version it reports to one program.
constexpr char kVersionKey[] = "Software\\Wine\\AppDefaults\\Wispfold.exe";
// The program's per-user profile.
constexpr char kProfileRoot[] = "Software\\Quenmarsh";
constexpr char kProfileSection[] = "Software\\Quenmarsh\\Wispfold\\AppSeting";
constexpr char kStartAppDo[] = "StartAppDo";
constexpr char kKeepFavoriteDo[] = "KeepFavoriteDo";

} // namespace e2e
