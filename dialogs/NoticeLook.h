#pragma once
// The look of both notice dialogs as pure rules: which colours and brush answer a
// control-colour request, where the minimised icon goes, and which wording the
// service-pack notice shows. No <windows.h>: the Windows side applies the answers.

namespace notice_look {

// Control identifiers shared by the two templates.
constexpr int kIdBanner = 1000;
constexpr int kIdHeading1 = 1001;
constexpr int kIdHeading2 = 1002;
constexpr int kIdNoShow = 1004;
constexpr int kIdLine1 = 1005;
constexpr int kIdLine2 = 1006;
constexpr int kIdWarningIcon = 1010;

// COLORREF values (0x00BBGGRR).
constexpr unsigned long kBannerColour = 0x00D49054;      // RGB(84, 144, 212)
constexpr unsigned long kHeadingTextColour = 0x00FFFFFF; // white

// The kind of a control-colour request, numbered as the platform's CTLCOLOR_* values.
enum CtlColorKind : unsigned {
    kCtlColorMsgBox = 0,
    kCtlColorEdit = 1,
    kCtlColorListBox = 2,
    kCtlColorButton = 3,
    kCtlColorDialog = 4,
    kCtlColorScrollBar = 5,
    kCtlColorStatic = 6,
};

enum class BrushChoice { Banner, StockWhite };

// What the colour handler does to the device context and which brush it returns.
// A false flag leaves the default handling's setting as it is.
struct ColourRule {
    bool transparentBackground;
    bool whiteText;
    BrushChoice brush;
};

ColourRule ChooseColourRule(unsigned kind, int controlId);

struct IconOrigin {
    int x;
    int y;
};

// Where a minimised dialog draws its icon: centred, rounding half a pixel up,
// in signed arithmetic (an icon wider than the client area gives a negative x).
IconOrigin MinimisedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight);

// One row of the service-pack notice's wording table. Null lines: the template's
// texts stay.
struct Wording {
    int row;
    const wchar_t* line1;
    const wchar_t* line2;
};

// The first row that matches: Windows 10 wins over Windows 8, which wins over the
// installer wording; with no flag the template wording (row 5) stays.
const Wording& ChooseWording(bool win10Notice, bool win8Notice, bool installerText);

} // namespace notice_look
