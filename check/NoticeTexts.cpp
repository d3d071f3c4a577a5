#include "check/NoticeTexts.h"

#include "dialogs/NoticeLook.h"

namespace {
// What templates 102 and 129 hold in controls 1005 and 1006 (the resource check
// and the checker's tests against the real notices keep these equal).
const NoticeLines kServicePackTemplate{
    L"お使いの Windows には最新のサービスパックが準備されています。",
    L"最新のサービスパックをインストールして下さい。"};
const NoticeLines kEndOfSupport{L"マイクロソフト社は、2017 年 4 月 11 日 をもって",
                                L"「Windows Vista」 の製品サポートを終了しました。"};
} // namespace

NoticeLines LinesOfNotice(const NoticeDecision& decision) {
    switch (decision.m_nKind) {
    case NoticeServicePack: {
        const notice_look::Wording& wording = notice_look::ChooseWording(
            decision.m_bWin10Notice, decision.m_bWin8Notice, decision.m_bInstallerText);
        if (!wording.line1)
            return kServicePackTemplate;
        return {wording.line1, wording.line2};
    }
    case NoticeEndOfSupport:
        return kEndOfSupport;
    case NoticeNone:
        break;
    }
    return {L"", L""};
}
