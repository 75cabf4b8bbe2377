#include "dxf/linetypes.h"

#include <array>

#include "common/ascii.h"

namespace dxf {

namespace {

struct Known {
    std::u16string_view name;
    std::string_view description;
    std::vector<double> pattern;
};

// clang-format off
const std::array<Known, 16> kKnown = {{
    {u"ByBlock",    "",                                           {}},
    {u"ByLayer",    "",                                           {}},
    {u"Continuous", "Solid line",                                 {}},
    {u"実線",       "Solid line ________________",                {}},
    {u"破線",       "Dashed __ __ __ __ __ __ __",                {3.0, -1.0}},
    {u"一点鎖線",   "Chain ____ . ____ . ____ .",                 {12.0, -1.5, 0.0, -1.5}},
    {u"二点鎖線",   "Double chain ____ . . ____ . .",             {12.0, -1.5, 0.0, -1.5, 0.0, -1.5}},
    {u"点線",       "Dotted . . . . . . . . . .",                 {0.0, -1.0}},
    {u"DASHED",     "Dashed __ __ __ __ __ __ __",                {12.7, -6.35}},
    {u"HIDDEN",     "Hidden __ __ __ __ __ __ __",                {6.35, -3.175}},
    {u"CENTER",     "Center ____ _ ____ _ ____ _",                {31.75, -6.35, 6.35, -6.35}},
    {u"PHANTOM",    "Phantom ______  __  __  ______",             {31.75, -6.35, 6.35, -6.35, 6.35, -6.35}},
    {u"DOT",        "Dot . . . . . . . . . . . .",                {0.0, -6.35}},
    {u"DASHDOT",    "Dash dot __ . __ . __ . __",                 {12.7, -6.35, 0.0, -6.35}},
    {u"DIVIDE",     "Divide ____ . . ____ . . ____",              {12.7, -6.35, 0.0, -6.35, 0.0, -6.35}},
    {u"BORDER",     "Border __ __ . __ __ . __ __",               {12.7, -6.35, 12.7, -6.35, 0.0, -6.35}},
}};
// clang-format on

}  // namespace

LinetypeDefinition linetypeDefinition(std::u16string_view name, bool& known) {
    for (const Known& entry : kKnown) {
        if (tiermark::equalsIgnoringAsciiCase(entry.name, name)) {
            known = true;
            return {std::u16string(name), std::string(entry.description), entry.pattern};
        }
    }
    known = false;
    return {std::u16string(name), "Solid line (pattern unknown to Tiermark)", {}};
}

}  // namespace dxf
