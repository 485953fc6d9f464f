#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace sg::form {

// A rectangle in twips (1/1440 inch; 15 twips are one pixel at 96 dots per inch).
struct Twips
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline constexpr int TWIPS_PER_INCH = 1440;

// A face of the form: always Tahoma, at a size in points.
struct Font
{
    double points = 8.25;
    bool bold = false;
    bool italic = false;

    auto operator<=>(const Font &) const = default;
};

inline constexpr Font BOX_FONT{9.75, true, false};
inline constexpr Font CAPTION_FONT{8.25, true, false};
inline constexpr Font NOTE_FONT{8.25, false, false};
inline constexpr Font BRAND_FONT{15.75, true, true};

enum class Kind : std::uint8_t
{
    Box,     // an entry box
    Caption, // names its subject box (a screen reader reads it as the box's name)
    Note,    // tells the unit of its subject box
    Label,   // plain text
    Button,
    Line,    // a horizontal separator, as thick as its height
    Picture, // the panel picture
};

enum class Align : std::uint8_t
{
    Left,
    Right,
    Center,
};

inline constexpr int NO_INDEX = -1;
inline constexpr int NO_TAB = -1;

// Names a control: rows of like controls share a name and differ by index.
struct ControlRef
{
    std::string_view name;
    int index = NO_INDEX;

    bool operator==(const ControlRef &) const = default;
};

// The controls that code outside the form refers to.
inline constexpr ControlRef DATA_BOX{"TXTdata"};
inline constexpr ControlRef COM_BOX{"TXTcom"};
inline constexpr ControlRef READ_BUTTON{"CMDread"};
inline constexpr ControlRef STORE_BUTTON{"CMDstore"};
inline constexpr ControlRef HELP_BUTTON{"Command1"};
inline constexpr ControlRef PANEL_PICTURE{"Picture1"};
inline constexpr ControlRef SEPARATOR{"Line2"};
// The eight parameter boxes share a name; byte i is index i.
inline constexpr std::string_view PARAM_BOXES = "Text1";
constexpr ControlRef ParamBox(std::size_t index)
{
    return {PARAM_BOXES, static_cast<int>(index)};
}
// The bit-rate divisor's two boxes, one caption beside both.
inline constexpr ControlRef DIVISOR_HIGH_BOX = ParamBox(2);
inline constexpr ControlRef DIVISOR_LOW_BOX = ParamBox(3);

struct Control
{
    Kind kind = Kind::Label;
    ControlRef ref;
    std::u16string_view text; // "&" marks a button's accelerator
    Twips twips;
    Font font = NOTE_FONT;
    Align align = Align::Left;
    int maxLength = 0; // boxes: how many characters they accept
    int tab = NO_TAB;  // place in the tab order; the first takes the focus at start
    bool enabled = true;
    ControlRef subject; // captions and notes: the box they speak of
};

inline constexpr std::u16string_view MAIN_TITLE = u"sgsetup - Signal Generator Setup";
inline constexpr Twips MAIN_CLIENT{0, 0, 5025, 4635};

// Every control of the main window, in the order they are made.
std::span<const Control> MainForm();
// The control named so; every name the front ends ask for is in the form.
const Control &Find(const ControlRef &ref);

// A note that is only an arrow pointing at its box: drawn, never read aloud.
bool IsArrow(const Control &note);

// Indexes into form in the order a window that tabs in creation order makes them: the
// stops by their place, then the rest; a box's caption just before the box, where a screen
// reader looks for the box's name.
std::vector<std::size_t> CreationOrder(std::span<const Control> form);

} // namespace sg::form
