// Which notice a run shows, with the version reading, the classification and the
// history query replaced by counting fakes.
#include "app/NoticeDecision.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct System {
    const char* name;
    uint8_t productType;
    uint32_t major;
    uint32_t minor;
    uint16_t servicePack;
    int r2 = 0;
    bool readable = true; // false: the version cannot be read, the record stays zero
};

const System kVistaSp0{"Vista", 1, 6, 0, 0};
const System kVistaSp1{"Vista SP1", 1, 6, 0, 1};
const System kVistaSp2{"Vista SP2", 1, 6, 0, 2};
const System kServer2008{"Server 2008", 3, 6, 0, 0};
const System kServer2008Sp2{"Server 2008 SP2", 3, 6, 0, 2};
const System kWin7{"7", 1, 6, 1, 0};
const System kWin7Sp1{"7 SP1", 1, 6, 1, 1};
const System kDomainController2008R2Sp1{"2008 R2 SP1 domain controller", 2, 6, 1, 1};
const System kWin8{"8", 1, 6, 2, 0};
const System kServer2012{"Server 2012", 3, 6, 2, 0};
const System kWin81{"8.1", 1, 6, 3, 0};
const System kServer2012R2{"Server 2012 R2", 3, 6, 3, 0};
const System kWin10{"10", 1, 10, 0, 0};
const System kServer10{"Server 10.0", 3, 10, 0, 0};
const System kXpSp3{"XP SP3", 1, 5, 1, 3};
const System kServer2003Sp2{"Server 2003 SP2", 3, 5, 2, 2};
const System kServer2003R2Sp2{"Server 2003 R2 SP2", 3, 5, 2, 2, 1};
const System kWorkstation64{"workstation 6.4", 1, 6, 4, 0};
const System kServer64{"server 6.4", 3, 6, 4, 0};
const System kUnreadable{"unreadable", 1, 6, 2, 0, 0, false};

const System kAllSystems[] = {
    kVistaSp0,
    kVistaSp1,
    kVistaSp2,
    kServer2008,
    kServer2008Sp2,
    kWin7,
    kWin7Sp1,
    kDomainController2008R2Sp1,
    kWin8,
    kServer2012,
    kWin81,
    kServer2012R2,
    kWin10,
    kServer10,
    kXpSp3,
    kServer2003Sp2,
    kServer2003R2Sp2,
    kWorkstation64,
    kServer64,
    kUnreadable,
};

// Each switch letter of `switches` handed to ParseParam as a switch.
AppCommandLineInfo OptionsOf(const std::string& switches) {
    AppCommandLineInfo options;
    for (char letter : switches) {
        const char text[2] = {letter, '\0'};
        options.ParseParam(text, true, false);
    }
    return options;
}

// Runs DecideNotice against `system`, counting the calls of each injected operation.
struct DecisionRun {
    explicit DecisionRun(const System& s, bool due = false) : system(s), reportDue(due) {}

    System system;
    bool reportDue;

    int reads = 0;
    int classifications = 0;
    int reportQueries = 0;
    std::string askedKeyPath;

    void Fill(VersionRecord& record) const {
        record.wProductType = system.productType;
        record.dwMajorVersion = system.major;
        record.dwMinorVersion = system.minor;
        record.wServicePackMajor = system.servicePack;
    }

    NoticeDecision Decide(const AppCommandLineInfo& options, const char* keyPath) {
        return DecideNotice(
            options, CString(keyPath),
            [this](VersionRecord& record) {
                ++reads;
                EXPECT_EQ(kVersionRecordSize, record.dwOSVersionInfoSize);
                if (!system.readable)
                    return false;
                Fill(record);
                return true;
            },
            [this] {
                ++classifications;
                VersionRecord record = PreparedVersionRecord();
                if (system.readable)
                    Fill(record);
                return MapVersionCode(record, [this] { return system.r2; });
            },
            [this](const char* key) {
                ++reportQueries;
                askedKeyPath = key;
                return reportDue;
            });
    }
};

struct Row {
    System system;
    const char* switches; // letters among N, E, T, V (I is tried both ways)
    const char* keyPath;
    bool reportDue; // what IsReportDue would answer
    NoticeKind kind;
    bool win8;
    bool win10;
    int classifications; // 0: not classified
    int reportQueries;   // 0: IsReportDue not asked
};

const NoticeKind None = NoticeNone;
const NoticeKind SP = NoticeServicePack;
const NoticeKind EoS = NoticeEndOfSupport;

std::string Describe(const System& system, const std::string& switches, const char* keyPath,
                     bool reportDue) {
    return std::string(system.name) + ", switches [" + switches + "], key path [" + keyPath +
           "], report due " + (reportDue ? "yes" : "no");
}
} // namespace

TEST(DecideNotice, DecisionTable) {
    const Row rows[] = {
        // A Vista workstation at any level: end-of-support notice, or none with V;
        // N, E and T have no effect; neither classified nor the history asked.
        {kVistaSp0, "", "K", true, EoS, false, false, 0, 0},
        {kVistaSp1, "", "", true, EoS, false, false, 0, 0},
        {kVistaSp2, "", "K", false, EoS, false, false, 0, 0}, // code 6 is current
        {kVistaSp0, "N", "", true, EoS, false, false, 0, 0},
        {kVistaSp0, "ET", "K", true, EoS, false, false, 0, 0},
        {kVistaSp1, "V", "K", true, None, false, false, 0, 0},
        {kVistaSp2, "V", "", true, None, false, false, 0, 0},
        {kVistaSp0, "NV", "K", true, None, false, false, 0, 0},
        // N elsewhere: the service-pack notice, no classification, no history.
        {kWin7Sp1, "N", "", false, SP, false, false, 0, 0},
        {kWin7, "N", "K", false, SP, false, false, 0, 0},
        {kServer2008, "N", "K", false, SP, false, false, 0, 0},
        {kWin8, "N", "K", false, SP, true, false, 0, 0},
        {kWin8, "NE", "K", false, SP, false, false, 0, 0},
        {kWin10, "N", "K", false, SP, false, false, 0, 0},
        {kWin10, "NT", "K", false, SP, false, true, 0, 0},
        {kServer10, "NTE", "", false, SP, false, true, 0, 0},
        {kUnreadable, "N", "K", false, SP, false, false, 0, 0},
        // Windows 8 workstation: the Windows 8 wording on every run unless E.
        {kWin8, "", "K", false, SP, true, false, 1, 0},
        {kWin8, "", "", true, SP, true, false, 1, 0},
        {kWin8, "T", "K", false, SP, true, false, 1, 0},
        {kWin8, "E", "K", true, None, false, false, 1, 0},
        {kWin8, "E", "", true, None, false, false, 1, 0},
        // Server 2012 reports 6.2 too, but is no workstation.
        {kServer2012, "", "K", true, None, false, false, 1, 0},
        {kServer2012, "T", "", true, None, false, false, 1, 0},
        // 10.0, workstation or server: the Windows 10 wording with T, else nothing.
        {kWin10, "", "K", true, None, false, false, 1, 0},
        {kWin10, "", "", true, None, false, false, 1, 0},
        {kWin10, "T", "K", false, SP, false, true, 1, 0},
        {kWin10, "TE", "", false, SP, false, true, 1, 0},
        {kServer10, "T", "K", false, SP, false, true, 1, 0},
        {kServer10, "", "K", true, None, false, false, 1, 0},
        // Other current codes: nothing, and the history is never asked.
        {kWin81, "", "K", true, None, false, false, 1, 0},
        {kWin81, "T", "", true, None, false, false, 1, 0},
        {kWin81, "ET", "K", true, None, false, false, 1, 0},
        {kWin7Sp1, "", "K", true, None, false, false, 1, 0},
        {kWin7Sp1, "", "", true, None, false, false, 1, 0},
        {kServer2008Sp2, "", "K", true, None, false, false, 1, 0},
        {kDomainController2008R2Sp1, "", "", true, None, false, false, 1, 0},
        {kServer2012R2, "T", "K", true, None, false, false, 1, 0},
        // A code that is not current: empty key path, or the history's answer.
        {kWin7, "", "", false, SP, false, false, 1, 0},
        {kWin7, "", "K", true, SP, false, false, 1, 1},
        {kWin7, "", "K", false, None, false, false, 1, 1},
        {kWin7, "ET", "K", false, None, false, false, 1, 1},
        {kXpSp3, "", "K", true, SP, false, false, 1, 1},
        {kXpSp3, "", "K", false, None, false, false, 1, 1},
        {kServer2003Sp2, "", "K", true, SP, false, false, 1, 1},
        {kServer2003R2Sp2, "", "K", false, None, false, false, 1, 1},
        {kServer2003R2Sp2, "", "", false, SP, false, false, 1, 0},
        {kServer2008, "", "K", true, SP, false, false, 1, 1},
        {kServer2008, "T", "K", false, None, false, false, 1, 1},
        {kWorkstation64, "T", "K", false, None, false, false, 1, 1},
        {kServer64, "", "", false, SP, false, false, 1, 0},
        // Unreadable version: code 26, not current.
        {kUnreadable, "", "", false, SP, false, false, 1, 0},
        {kUnreadable, "", "K", true, SP, false, false, 1, 1},
        {kUnreadable, "T", "K", false, None, false, false, 1, 1},
    };
    for (const Row& row : rows) {
        // I only sets the installer wording: every row must hold with and without it.
        for (bool installer : {false, true}) {
            const std::string switches = std::string(row.switches) + (installer ? "I" : "");
            SCOPED_TRACE(Describe(row.system, switches, row.keyPath, row.reportDue));
            DecisionRun run{row.system, row.reportDue};
            const NoticeDecision d = run.Decide(OptionsOf(switches), row.keyPath);
            EXPECT_EQ(row.kind, d.m_nKind);
            EXPECT_EQ(row.win8, d.m_bWin8Notice);
            EXPECT_EQ(row.win10, d.m_bWin10Notice);
            EXPECT_EQ(installer, d.m_bInstallerText);
            EXPECT_EQ(row.classifications, run.classifications);
            EXPECT_EQ(row.reportQueries, run.reportQueries);
            if (row.reportQueries) {
                EXPECT_EQ(row.keyPath, run.askedKeyPath);
            }
        }
    }
}

TEST(DecideNotice, KeyPathReachesTheHistoryQueryUnchanged) {
    const char* const keyPaths[] = {"Software\\My Vendor\\Key Name", " x ", "Software\\\x83\x5C"};
    for (const char* keyPath : keyPaths) {
        SCOPED_TRACE(keyPath);
        DecisionRun run{kWin7, true};
        EXPECT_EQ(NoticeServicePack, run.Decide(OptionsOf(""), keyPath).m_nKind);
        EXPECT_EQ(1, run.reportQueries);
        EXPECT_EQ(keyPath, run.askedKeyPath);
    }
}

// Over every system, every set of switches, both key paths and both history
// answers: the properties that hold whatever the row.
TEST(DecideNotice, InvariantsOverAllInputs) {
    const char kLetters[] = "NIETV";
    for (const System& system : kAllSystems) {
        VersionRecord record = PreparedVersionRecord();
        if (system.readable)
            DecisionRun(system).Fill(record);
        const unsigned code = MapVersionCode(record, [&] { return system.r2; });
        const bool isWorkstation = record.wProductType == 1;
        const bool reports62 = record.dwMajorVersion == 6 && record.dwMinorVersion == 2;
        const bool reports100 = record.dwMajorVersion == 10 && record.dwMinorVersion == 0;

        for (unsigned mask = 0; mask < 32; ++mask) {
            std::string switches;
            for (unsigned bit = 0; bit < 5; ++bit)
                if (mask & (1u << bit))
                    switches += kLetters[bit];
            for (const char* keyPath : {"", "K"}) {
                for (bool due : {false, true}) {
                    SCOPED_TRACE(Describe(system, switches, keyPath, due));
                    const AppCommandLineInfo options = OptionsOf(switches);
                    DecisionRun run{system, due};
                    const NoticeDecision d = run.Decide(options, keyPath);

                    EXPECT_EQ(options.m_bInstaller, d.m_bInstallerText);
                    EXPECT_FALSE(d.m_bWin8Notice && d.m_bWin10Notice);
                    if (d.m_bWin8Notice) {
                        EXPECT_TRUE(isWorkstation && reports62 && code == 9);
                    }
                    if (d.m_bWin10Notice) {
                        EXPECT_TRUE(reports100 && (code == 11 || code == 25));
                    }
                    if (!IsCurrentCode(code) || d.m_nKind != NoticeServicePack) {
                        EXPECT_FALSE(d.m_bWin8Notice);
                        EXPECT_FALSE(d.m_bWin10Notice);
                    }
                    EXPECT_LE(run.classifications, 1);
                    EXPECT_LE(run.reportQueries, 1);
                    if (run.reportQueries) {
                        EXPECT_STRNE("", keyPath);
                        EXPECT_FALSE(IsCurrentCode(code));
                        EXPECT_FALSE(options.m_bForce);
                    }
                    if (d.m_nKind == NoticeEndOfSupport) {
                        EXPECT_TRUE(isWorkstation && record.dwMajorVersion == 6 &&
                                    record.dwMinorVersion == 0);
                    }

                    // I never changes the kind.
                    AppCommandLineInfo flipped = OptionsOf(switches);
                    flipped.m_bInstaller = !flipped.m_bInstaller;
                    DecisionRun again{system, due};
                    EXPECT_EQ(d.m_nKind, again.Decide(flipped, keyPath).m_nKind);
                }
            }
        }
    }
}

// The step that settled the decision, as the diagnostic tool reports it; it never
// changes the result (the table above holds with it).
TEST(DecideNotice, NamesTheStepThatSettledIt) {
    struct Case {
        System system;
        const char* switches;
        const char* keyPath;
        bool reportDue;
        NoticeReason reason;
    } cases[] = {
        {kVistaSp2, "N", "K", true, ReasonVista},
        {kVistaSp0, "V", "", true, ReasonVista},
        {kWin7Sp1, "N", "K", false, ReasonForced},
        {kWin8, "", "K", false, ReasonCurrentCode},
        {kWin81, "", "K", true, ReasonCurrentCode},
        {kWin7, "", "", false, ReasonEmptyKeyPath},
        {kXpSp3, "", "K", true, ReasonHistoryDue},
        {kXpSp3, "", "K", false, ReasonHistoryNotDue},
        {kUnreadable, "T", "K", false, ReasonHistoryNotDue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.system, c.switches, c.keyPath, c.reportDue));
        DecisionRun run{c.system, c.reportDue};
        EXPECT_EQ(c.reason, run.Decide(OptionsOf(c.switches), c.keyPath).m_nReason);
    }
}
