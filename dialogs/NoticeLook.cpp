#include "dialogs/NoticeLook.h"

namespace notice_look {

ColourRule ChooseColourRule(unsigned kind, int controlId) {
    ColourRule rule{false, false, BrushChoice::StockWhite};
    if (kind == kCtlColorStatic) {
        rule.transparentBackground = true;
        if (controlId == kIdHeading1 || controlId == kIdHeading2) {
            rule.whiteText = true;
            rule.brush = BrushChoice::Banner;
            return rule;
        }
    }
    if (controlId == kIdBanner)
        rule.brush = BrushChoice::Banner;
    return rule;
}

IconOrigin MinimisedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
    // C++ division truncates toward zero, as the rule asks: (20 - 32 + 1) / 2 == -5.
    return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}

namespace {
const Wording kWordings[] = {
    {1, L"Windows 10 は、サポート対象外です。",
     L"動作保証・サポート等は、ご対応致しかねますのでご了承下さい。"},
    {2, L"お使いの Windows 8 はサポート対象外です。",
     L"インストール前に Windows 8.1 にアップデートすることを推奨します。"},
    {3, L"お使いの Windows 8 はサポート対象外です。",
     L"Windows 8.1 にアップデートすることを推奨します。"},
    {4, L"お使いのWindowsのサービスパックはサポート対象外です。",
     L"インストール前にサービスパックを最新にすることを推奨します。"},
    {5, nullptr, nullptr},
};
} // namespace

const Wording& ChooseWording(bool win10Notice, bool win8Notice, bool installerText) {
    if (win10Notice)
        return kWordings[0];
    if (win8Notice)
        return installerText ? kWordings[1] : kWordings[2];
    if (installerText)
        return kWordings[3];
    return kWordings[4];
}

} // namespace notice_look
