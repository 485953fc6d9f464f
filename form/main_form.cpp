#include "form/form.h"

#include <array>
#include <stdexcept>
#include <string>

namespace sg::form {

namespace {

constexpr Control BoxAt(ControlRef ref, std::u16string_view text, Twips twips, int maxLength,
                        int tab)
{
    return {.kind = Kind::Box,
            .ref = ref,
            .text = text,
            .twips = twips,
            .font = BOX_FONT,
            .align = Align::Center,
            .maxLength = maxLength,
            .tab = tab};
}

constexpr Control CaptionOf(ControlRef subject, ControlRef ref, std::u16string_view text,
                            Twips twips, Align align = Align::Right)
{
    return {.kind = Kind::Caption,
            .ref = ref,
            .text = text,
            .twips = twips,
            .font = CAPTION_FONT,
            .align = align,
            .subject = subject};
}

constexpr Control NoteOf(ControlRef subject, ControlRef ref, std::u16string_view text, Twips twips)
{
    return {.kind = Kind::Note, .ref = ref, .text = text, .twips = twips, .subject = subject};
}

constexpr Control ButtonAt(ControlRef ref, std::u16string_view text, Twips twips, int tab)
{
    return {.kind = Kind::Button,
            .ref = ref,
            .text = text,
            .twips = twips,
            .font = CAPTION_FONT,
            .tab = tab};
}

// The divisor's caption and arrow carry index 3, though they stand beside both of its boxes
// and name the first.
constexpr std::array<Control, 32> MAIN_FORM{{
    BoxAt(DATA_BOX, u"0000", {960, 120, 2775, 360}, 16, 1),
    CaptionOf(DATA_BOX, {"Label2", 8}, u"DATA:", {0, 240, 795, 300}),
    {.kind = Kind::Box,
     .ref = ParamBox(7),
     .text = u"00",
     .twips = {4320, 120, 615, 360},
     .font = BOX_FONT,
     .align = Align::Center,
     .maxLength = 2,
     .enabled = false},
    CaptionOf(ParamBox(7), {"Label3", 7}, u"len:", {3960, 240, 375, 300}, Align::Left),
    BoxAt(ParamBox(0), u"00", {1680, 600, 615, 360}, 2, 2),
    CaptionOf(ParamBox(0), {"Label2", 0}, u"Startup delay:", {120, 720, 1395, 300}),
    NoteOf(ParamBox(0), {"Label3", 0}, u"x 4 ms, 00= no delay", {2520, 720, 2175, 300}),
    BoxAt(ParamBox(1), u"00", {1680, 1080, 615, 360}, 2, 3),
    CaptionOf(ParamBox(1), {"Label2", 1}, u"Mode:", {120, 1200, 1395, 300}),
    NoteOf(ParamBox(1), {"Label3", 1}, u"---------------------->", {2400, 1200, 1575, 300}),
    BoxAt(ParamBox(2), u"00", {1680, 1560, 615, 360}, 2, 4),
    BoxAt(ParamBox(3), u"00", {2400, 1560, 615, 360}, 2, 5),
    CaptionOf(ParamBox(2), {"Label2", 3}, u"Baud rate:", {120, 1680, 1395, 300}),
    NoteOf(ParamBox(2), {"Label3", 3}, u"---------->", {3120, 1560, 735, 300}),
    BoxAt(ParamBox(4), u"00", {1680, 2040, 615, 360}, 2, 6),
    CaptionOf(ParamBox(4), {"Label2", 4}, u"Message delay:", {120, 2160, 1395, 300}),
    NoteOf(ParamBox(4), {"Label3", 4}, u"x 4 ms, 00= no delay", {2520, 2160, 2175, 300}),
    BoxAt(ParamBox(5), u"00", {1680, 2520, 615, 360}, 2, 7),
    CaptionOf(ParamBox(5), {"Label2", 5}, u"Byte delay:", {120, 2640, 1395, 300}),
    NoteOf(ParamBox(5), {"Label3", 5}, u"x 0.1 ms, 00= no delay", {2520, 2640, 2175, 300}),
    BoxAt(ParamBox(6), u"00", {1680, 3000, 615, 360}, 2, 8),
    CaptionOf(ParamBox(6), {"Label2", 6}, u"Repeat count:", {120, 3120, 1395, 300}),
    NoteOf(ParamBox(6), {"Label3", 6}, u"if 0x00 then infinite", {2520, 3120, 2175, 300}),
    ButtonAt(HELP_BUTTON, u"&Help", {3960, 1200, 975, 615}, 9),
    // Two pixels thick, centred on the separator's line.
    {.kind = Kind::Line, .ref = SEPARATOR, .twips = {120, 3585, 4800, 30}},
    {.kind = Kind::Label,
     .ref = {"LBLstatus"},
     .text = u"sgsetup 1.0, 2026",
     .twips = {120, 3720, 1575, 255},
     .font = CAPTION_FONT},
    {.kind = Kind::Caption,
     .ref = {"Label1"},
     .text = u"COM:",
     .twips = {2760, 3720, 615, 255},
     .font = BOX_FONT,
     .subject = COM_BOX},
    {.kind = Kind::Box,
     .ref = COM_BOX,
     .text = u"1",
     .twips = {3480, 3720, 375, 285},
     .font = CAPTION_FONT,
     .align = Align::Center,
     .maxLength = 2,
     .tab = 0},
    ButtonAt(READ_BUTTON, u"&Read", {3960, 3720, 975, 375}, 10),
    ButtonAt(STORE_BUTTON, u"&Store", {3960, 4200, 975, 375}, 11),
    {.kind = Kind::Picture, .ref = PANEL_PICTURE, .twips = {240, 4080, 495, 615}},
    {.kind = Kind::Label,
     .ref = {"Label4"},
     .text = u"sgsetup",
     .twips = {720, 4080, 2175, 495},
     .font = BRAND_FONT},
}};

} // namespace

std::span<const Control> MainForm()
{
    return MAIN_FORM;
}

const Control &Find(const ControlRef &ref)
{
    for (const Control &control : MAIN_FORM) {
        if (control.ref == ref)
            return control;
    }
    throw std::logic_error("no control " + std::string(ref.name) + " in the form");
}

bool IsArrow(const Control &note)
{
    return note.kind == Kind::Note &&
           note.text.find_first_not_of(u"->") == std::u16string_view::npos;
}

} // namespace sg::form
