#include "dialogs/NoticeTexts.h"

#include "dialogs/NoticeLook.h"

namespace {
// What templates 102 and 129 hold in controls 1005 and 1006: the dialogs show them
// from the templates, so these copies serve only to name them. The tests keep both
// equal to what the notices show.
const NoticeLines kServicePackTemplate{
    L"お使いの Windows には最新のサービスパックが準備されています。",
    L"最新のサービスパックをインストールして下さい。"};
const NoticeLines kEndOfSupportTemplate{L"マイクロソフト社は、2017 年 4 月 11 日 をもって",
                                        L"「Windows Vista」 の製品サポートを終了しました。"};
} // namespace

NoticeLines ServicePackNoticeLines(bool win10Notice, bool win8Notice, bool installerText) {
    const notice_look::Wording& wording =
        notice_look::ChooseWording(win10Notice, win8Notice, installerText);
    if (!wording.line1)
        return kServicePackTemplate;
    return {wording.line1, wording.line2};
}

NoticeLines EndOfSupportNoticeLines() {
    return kEndOfSupportTemplate;
}
