#pragma once
// The two text lines a notice shows for a decision, as UTF-16.
#include "app/NoticeDecision.h"

struct NoticeLines {
    const wchar_t* line1;
    const wchar_t* line2;
};

// Empty texts for NoticeNone.
NoticeLines LinesOfNotice(const NoticeDecision& decision);
