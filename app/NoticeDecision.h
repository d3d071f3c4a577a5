#pragma once
// Which notice this run shows, and with which wording. Pure: the version reading,
// the classification and the history query are handed in, so every path can be
// tested on the host and the calls counted.
#include "app/AppCommandLineInfo.h"
#include "framework/CString.h"
#include "osversion/VersionCode.h"
#include "osversion/VersionRecord.h"

enum NoticeKind { NoticeNone, NoticeServicePack, NoticeEndOfSupport };

// Which step settled the decision; for diagnostics, never for behaviour.
enum NoticeReason {
    ReasonVista,         // a Vista workstation: its own notice, or none with V
    ReasonForced,        // N
    ReasonCurrentCode,   // a current code: only a wording flag shows a notice
    ReasonEmptyKeyPath,  // an old level without a key path: every run
    ReasonHistoryDue,    // an old level, the history says due
    ReasonHistoryNotDue, // an old level, shown within a day: only a wording flag remains
};

struct NoticeDecision {
    NoticeKind m_nKind = NoticeNone;
    bool m_bWin8Notice = false;
    bool m_bWin10Notice = false;
    bool m_bInstallerText = false;
    NoticeReason m_nReason = ReasonCurrentCode;
};

// readRecord(VersionRecord&) -> bool fills a prepared record; classify() -> unsigned
// version code; isReportDue(const char* keyPath) -> bool, asked at most once and only
// for a code that is not current under a non-empty key path.
template <class ReadRecord, class Classify, class ReportDue>
NoticeDecision DecideNotice(const AppCommandLineInfo& options, const CString& keyPath,
                            ReadRecord&& readRecord, Classify&& classify, ReportDue&& isReportDue) {
    VersionRecord record = PreparedVersionRecord();
    readRecord(record); // an unread record stays zero and matches no release

    const bool isWorkstation = record.wProductType == kWorkstation;
    const auto reports = [&record](uint32_t major, uint32_t minor) {
        return record.dwMajorVersion == major && record.dwMinorVersion == minor;
    };

    NoticeDecision decision;
    decision.m_bInstallerText = options.m_bInstaller;
    const bool win8 = isWorkstation && reports(6, 2) && options.m_bWin8Check;
    const bool win10 = reports(10, 0) && options.m_bWin10Check;

    // A Vista workstation gets the end-of-support notice or nothing, whatever else is asked.
    if (isWorkstation && reports(6, 0)) {
        decision.m_nKind = options.m_bVistaNotice ? NoticeEndOfSupport : NoticeNone;
        decision.m_nReason = ReasonVista;
        return decision;
    }

    decision.m_bWin8Notice = win8;
    decision.m_bWin10Notice = win10;
    if (options.m_bForce) {
        decision.m_nKind = NoticeServicePack;
        decision.m_nReason = ReasonForced;
        return decision;
    }

    if (!IsCurrentCode(classify())) {
        if (keyPath.IsEmpty()) {
            decision.m_nKind = NoticeServicePack;
            decision.m_nReason = ReasonEmptyKeyPath;
            return decision;
        }
        if (isReportDue(keyPath.c_str())) {
            decision.m_nKind = NoticeServicePack;
            decision.m_nReason = ReasonHistoryDue;
            return decision;
        }
        decision.m_nReason = ReasonHistoryNotDue;
    }
    decision.m_nKind = (win8 || win10) ? NoticeServicePack : NoticeNone;
    return decision;
}
