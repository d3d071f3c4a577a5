#pragma once
// The two text lines each notice shows (controls 1005 and 1006), as UTF-16, for
// whoever needs to name them without showing the notice.

struct NoticeLines {
    const wchar_t* line1;
    const wchar_t* line2;
};

// The service-pack notice with these wording flags; its template's own lines when no
// flag picks another wording.
NoticeLines ServicePackNoticeLines(bool win10Notice, bool win8Notice, bool installerText);
// The end-of-support notice: its template's lines, which nothing replaces.
NoticeLines EndOfSupportNoticeLines();
