#pragma once
// The definition of frmCalculator as data: every control with its kind,
// caption, place and size in twips, tab index, visibility, font, colours and
// tool tip, in the order of the window definition. The window is built from
// this table alone.

#include <cstdint>
#include <span>

namespace tallyroll {

enum class ControlKind {
    Button,
    Label,
    List,
    Combo,
    DropList,
    TextBox,
    Frame,
    Picture,
    Image,
    Shape
};

// A colour: a fixed RGB value, or one of the desktop's system colours.
enum class SystemColour {
    None,  // the platform's default for the control
    Fixed,
    Window,
    WindowText,
    ButtonFace,
    ButtonText,
    InactiveTitleBar,
    ActiveTitleBar,
    DarkShadow3D,
};

struct Colour {
    SystemColour system = SystemColour::None;
    std::uint32_t rgb = 0;  // 0xRRGGBB when Fixed
};

constexpr Colour Rgb(int r, int g, int b) {
    return {SystemColour::Fixed, static_cast<std::uint32_t>((r << 16) | (g << 8) | b)};
}

struct FontDef {
    const char* family = nullptr;  // nullptr: the window's font
    double points = 0;
    bool bold = false;
};

enum class Align { Default, Left, Right, Center };

struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
};

struct ControlDef {
    const char* name;
    int index;           // -1 outside control arrays
    const char* parent;  // the containing frame, nullptr for the window
    ControlKind kind;
    const char* caption;  // with its "&"; the contents of a text box
    TwipsRect rect;       // relative to the parent
    int tab;              // -1 for controls without a tab index
    bool shown;
    FontDef font = {};
    Colour back = {}, fore = {};
    Align align = Align::Default;
    bool border = false;
    const char* toolTip = nullptr;
    std::span<const char* const> items = {};
};

// The edges a window manager draws around a window's inner area, in twips.
struct FrameTwips {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The window itself.
struct FormDef {
    const char* name;
    const char* caption;
    Colour back;
    FontDef font;                 // the window's default font
    int innerWidth, innerHeight;  // twips, as defined; replaced at load
    int outerWidth, outerHeight;  // twips: the size at load, frame included
    // The frame the outer size was made for. The window keeps the inner area
    // this frame leaves whatever frame it really gets, so a taller title bar
    // makes the window taller instead of cutting off its bottom row.
    FrameTwips referenceFrame;

    // The inner area the window takes at load.
    constexpr int loadedInnerWidth() const {
        return outerWidth - referenceFrame.left - referenceFrame.right;
    }
    constexpr int loadedInnerHeight() const {
        return outerHeight - referenceFrame.top - referenceFrame.bottom;
    }
};

const FormDef& CalculatorForm();
std::span<const ControlDef> CalculatorControls();

// The installed families that stand in for the fonts the table names.
struct FontSubstitute {
    const char* family;
    std::span<const char* const> substitutes;
};
std::span<const FontSubstitute> FontSubstitutes();

}  // namespace tallyroll
