#include "NoticeTexts.h"
#include "dialogs/NoticeLook.h"
#include "dialogs/NoticeTexts.h"

#include <gtest/gtest.h>

#include <string>

using namespace notice_look;

namespace {
struct ColourCase {
    unsigned kind;
    int id;
    bool transparent;
    bool white;
    BrushChoice brush;
};

std::string Describe(const ColourCase& c) {
    return "kind " + std::to_string(c.kind) + ", control " + std::to_string(c.id);
}
} // namespace

TEST(ColourRules, EveryKindAndControlAnswersAsTheTable) {
    const BrushChoice banner = BrushChoice::Banner, white = BrushChoice::StockWhite;
    const ColourCase cases[] = {
        // Static: always transparent; headings white on the banner, the banner on it.
        {kCtlColorStatic, kIdHeading1, true, true, banner},
        {kCtlColorStatic, kIdHeading2, true, true, banner},
        {kCtlColorStatic, kIdBanner, true, false, banner},
        {kCtlColorStatic, kIdLine1, true, false, white},
        {kCtlColorStatic, kIdWarningIcon, true, false, white},
        {kCtlColorStatic, 0, true, false, white},
        // Other kinds: colours untouched; only 1000 takes the banner brush.
        {kCtlColorButton, kIdBanner, false, false, banner},
        {kCtlColorDialog, kIdBanner, false, false, banner},
        {kCtlColorMsgBox, kIdBanner, false, false, banner},
        {kCtlColorButton, kIdHeading1, false, false, white},
        {kCtlColorEdit, kIdHeading2, false, false, white},
        {kCtlColorButton, kIdNoShow, false, false, white},
        {kCtlColorButton, 2, false, false, white},
        {kCtlColorDialog, 0, false, false, white}, // the dialog face
        {kCtlColorListBox, kIdLine1, false, false, white},
        {kCtlColorScrollBar, kIdHeading1, false, false, white},
    };
    for (const ColourCase& c : cases) {
        ColourRule rule = ChooseColourRule(c.kind, c.id);
        EXPECT_EQ(c.transparent, rule.transparentBackground) << Describe(c);
        EXPECT_EQ(c.white, rule.whiteText) << Describe(c);
        EXPECT_EQ(c.brush, rule.brush) << Describe(c);
    }
}

TEST(ColourRules, ColourValues) {
    EXPECT_EQ(0x00D49054u, kBannerColour); // red 84, green 144, blue 212 as 0x00BBGGRR
    EXPECT_EQ(0x00FFFFFFu, kHeadingTextColour);
}

TEST(MinimisedIcon, CentredRoundingHalfUpTowardZero) {
    struct {
        int cw, ch, iw, ih, x, y;
    } cases[] = {
        {36, 36, 32, 32, 2, 2},
        {20, 36, 32, 32, -5, 2}, // (20 - 32 + 1) / 2 truncates to -5,
                                 // not -6
        {37, 35, 32, 32, 3, 2},
        {32, 32, 32, 32, 0, 0},
        {0, 0, 32, 32, -15, -15},
        {160, 28, 48, 48, 56, -9},
    };
    for (const auto& c : cases) {
        IconOrigin at = MinimisedIconOrigin(c.cw, c.ch, c.iw, c.ih);
        EXPECT_EQ(c.x, at.x) << c.cw << "x" << c.ch;
        EXPECT_EQ(c.y, at.y) << c.cw << "x" << c.ch;
    }
}

TEST(WordingTable, FirstMatchingRowWins) {
    struct {
        bool win10, win8, installer;
        int row;
    } cases[] = {
        {true, false, false, 1}, {true, true, false, 1},   {true, false, true, 1},
        {true, true, true, 1},   {false, true, true, 2},   {false, true, false, 3},
        {false, false, true, 4}, {false, false, false, 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.row, ChooseWording(c.win10, c.win8, c.installer).row)
            << c.win10 << c.win8 << c.installer;
}

TEST(WordingTable, Texts) {
    using namespace expected_text;
    const Wording& win10 = ChooseWording(true, false, false);
    EXPECT_STREQ(kWindows10.line1, win10.line1);
    EXPECT_STREQ(kWindows10.line2, win10.line2);

    // Windows 8: the first line is the same with and without the installer flag.
    const Wording& win8Installer = ChooseWording(false, true, true);
    const Wording& win8 = ChooseWording(false, true, false);
    EXPECT_STREQ(kWindows8Installer.line1, win8Installer.line1);
    EXPECT_STREQ(win8Installer.line1, win8.line1);
    EXPECT_STREQ(kWindows8Installer.line2, win8Installer.line2);
    EXPECT_STREQ(kWindows8.line2, win8.line2);

    const Wording& servicePack = ChooseWording(false, false, true);
    EXPECT_STREQ(kInstaller.line1, servicePack.line1);
    EXPECT_STREQ(kInstaller.line2, servicePack.line2);

    // The template wording: nothing is set.
    const Wording& plain = ChooseWording(false, false, false);
    EXPECT_EQ(nullptr, plain.line1);
    EXPECT_EQ(nullptr, plain.line2);
}

// The lines a notice shows, named without showing it: every wording row, the service-
// pack template's own lines included, and the end-of-support notice's.
TEST(NoticeTexts, LinesOfEachNotice) {
    using namespace expected_text;
    struct {
        bool win10, win8, installer;
        ExpectedLines lines;
    } cases[] = {
        {true, true, true, kWindows10},
        {false, true, true, kWindows8Installer},
        {false, true, false, kWindows8},
        {false, false, true, kInstaller},
        {false, false, false, kServicePackTemplate},
    };
    for (const auto& c : cases) {
        const NoticeLines lines = ServicePackNoticeLines(c.win10, c.win8, c.installer);
        EXPECT_STREQ(c.lines.line1, lines.line1) << c.win10 << c.win8 << c.installer;
        EXPECT_STREQ(c.lines.line2, lines.line2) << c.win10 << c.win8 << c.installer;
    }
    EXPECT_STREQ(kEndOfSupport.line1, EndOfSupportNoticeLines().line1);
    EXPECT_STREQ(kEndOfSupport.line2, EndOfSupportNoticeLines().line2);
}
