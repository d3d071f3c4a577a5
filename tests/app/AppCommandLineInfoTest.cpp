// The program's options from its command line: the switches N, I, E, T and V and the
// key path, split with the lead-byte test of code page 932 (Shift-JIS) handed in.
#include "CodePage932.h"
#include "app/AppCommandLineInfo.h"
#include "framework/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {
struct Options {
    std::string keyPath;
    bool force = false;
    bool installer = false;
    bool win8Check = true;
    bool win10Check = false;
    bool vistaNotice = true;
};

AppCommandLineInfo Parse(const char* line) {
    AppCommandLineInfo info;
    ParseCommandLine(line, Cp932Lead, info);
    return info;
}

void ExpectOptions(const Options& want, const AppCommandLineInfo& got) {
    EXPECT_EQ(want.keyPath, std::string(got.m_strKeyPath.View()));
    EXPECT_EQ(want.force, got.m_bForce);
    EXPECT_EQ(want.installer, got.m_bInstaller);
    EXPECT_EQ(want.win8Check, got.m_bWin8Check);
    EXPECT_EQ(want.win10Check, got.m_bWin10Check);
    EXPECT_EQ(want.vistaNotice, got.m_bVistaNotice);
}

Options Force() {
    Options o;
    o.force = true;
    return o;
}
Options Installer() {
    Options o;
    o.installer = true;
    return o;
}
Options NoWin8() {
    Options o;
    o.win8Check = false;
    return o;
}
Options Win10() {
    Options o;
    o.win10Check = true;
    return o;
}
Options NoVista() {
    Options o;
    o.vistaNotice = false;
    return o;
}
Options Key(std::string keyPath, Options o = {}) {
    o.keyPath = std::move(keyPath);
    return o;
}
} // namespace

TEST(AppCommandLineInfo, DefaultsWithoutArguments) {
    ExpectOptions(Options{}, AppCommandLineInfo{});
    ExpectOptions(Options{}, Parse("q"));
    ExpectOptions(Options{}, Parse("\"C:\\Program Files\\q.exe\"   "));
}

TEST(AppCommandLineInfo, EachSwitchInEitherCaseAndWithEitherCharacter) {
    struct Case {
        const char* line;
        Options want;
    };
    const Case cases[] = {
        {"q -N", Force()},       {"q /N", Force()},     {"q -n", Force()},   {"q /n", Force()},
        {"q -I", Installer()},   {"q /i", Installer()}, {"q -E", NoWin8()},  {"q /e", NoWin8()},
        {"q -T", Win10()},       {"q /t", Win10()},     {"q -V", NoVista()}, {"q /v", NoVista()},
        {"q -N -N /n", Force()}, // given twice: the effect of once
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ExpectOptions(c.want, Parse(c.line));
    }
    Options all = Key("k", Force());
    all.installer = true;
    all.win8Check = false;
    all.win10Check = true;
    all.vistaNotice = false;
    ExpectOptions(all, Parse("q /v -t k -e /I -n"));
}

TEST(AppCommandLineInfo, OtherSwitchTextsChangeNothing) {
    const char* const lines[] = {
        "q -NI",        "q /IN",         "q -N1",     "q -N:1",  "q /N=x", "q -Force",
        "q /Embedding", "q /Automation", "q -?",      "q --N",   "q //V",  "q -",
        "q /",          "q \"-N \"",     "q \"- N\"", "q -\xE9", "q -" SO, "q -A -Z -x",
    };
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        ExpectOptions(Options{}, Parse(line));
    }
}

TEST(AppCommandLineInfo, KeyPathIsTheLastPlainArgument) {
    struct Case {
        const char* line;
        Options want;
    };
    const Case cases[] = {
        {"q A B", Key("B")},
        {"q A -N B", Key("B", Force())},
        {"q key -", Key("key")}, // a lone switch character is no plain argument
        {"q key /", Key("key")},
        {"q -\tN", Key("N")}, // a blank after the switch character ends the switch
        {"q key /x --N", Key("key")},
        {"q key \"\"", Key("")}, // an empty quoted argument empties it
        {"q key \"\" -T", Key("", Win10())},
        {"q \"\" key", Key("key")},
        {"q -N key", Key("key", Force())}, // a switch before or after the key path
        {"q key -N", Key("key", Force())},
        {"q N", Key("N")},
        {"q \"Software\\My Vendor\\Key Name\" /i",
         Key("Software\\My Vendor\\Key Name", Installer())},
        {"q \"Software\\Vendor\\" SO "\" -V", Key("Software\\Vendor\\" SO, NoVista())},
        {"q \" Software\\x \"", Key(" Software\\x ")}, // taken unchanged, no trimming
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ExpectOptions(c.want, Parse(c.line));
    }
}
