#pragma once

#include <array>

#include "platform/Widget.h"

// The main window's widgets as data, one row per widget in the order of the widget list, with the
// columns of the widget table, at 96 pixels per inch. The real window is made from it and the
// fake window of the tests starts from it. How each widget looks (fonts, colours) is the window's
// own business.

enum class WidgetKind {
    MainWindow,
    Panel,
    Picture,  // the bitmap resource named after the widget
    Label,    // one line on its parent's background, sized to its text
    PageControl,
    Page,
    StaticText,  // several lines, CR breaks them
    Edit,
    Button,
};

// A widget starts shown and enabled unless its row says otherwise.
enum WidgetState : unsigned {
    Shown = 0,
    Hidden = 1u << 0,
    Disabled = 1u << 1,
};
constexpr WidgetState operator|(WidgetState a, WidgetState b) {
    return static_cast<WidgetState>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

struct WidgetRow {
    Widget name;
    WidgetKind kind;
    Widget parent;  // Form1 for the main window itself
    int left, top, width, height;
    const char* content;  // the initial text, Windows-1250
    WidgetState state;
};

namespace layout_table {
using W = Widget;
using K = WidgetKind;

// The pages fill the page control inside its 4-pixel frame.
// clang-format off
inline constexpr std::array<WidgetRow, WidgetCount> Rows = {{
    // name           kind            parent           left  top  width height content                                                   state
    {W::Form1,        K::MainWindow,  W::Form1,           0,   0,  666,  206, "Nakładka dla programu \"Tesmaren\" Z27Z",                  Shown},
    {W::Panel1,       K::Panel,       W::Form1,           0,   0,  185,  206, "",                                                         Shown},
    {W::Image1,       K::Picture,     W::Panel1,          8,   8,   32,   32, "",                                                         Shown},
    {W::Label1,       K::Label,       W::Panel1,         54,  10,  100,   33, "Tesmaren",                                                 Shown},
    {W::Label2,       K::Label,       W::Panel1,         52,   8,  100,   33, "Tesmaren",                                                 Shown},
    {W::Label3,       K::Label,       W::Panel1,          8,  72,  110,   16, "Nakładka Z27Z",                                            Shown},
    {W::Label4,       K::Label,       W::Panel1,          8, 124,   63,   16, "LabSoft",                                                  Shown},
    {W::Label5,       K::Label,       W::Panel1,          8, 140,  144,   16, "Programy dla",                                             Shown},
    {W::Label6,       K::Label,       W::Panel1,         10, 160,  164,   16, "laboratoriów badań",                                       Shown},
    {W::Label7,       K::Label,       W::Panel1,         10, 180,  120,   16, "Jan Walczak",                                              Shown},
    {W::Image2,       K::Picture,     W::Panel1,        132,  56,   48,   48, "",                                                         Shown},
    {W::Panel2,       K::Panel,       W::Form1,         185,   0,  481,  206, "",                                                         Shown},
    {W::PageControl1, K::PageControl, W::Panel2,          0,   0,  481,  206, "",                                                         Shown},
    {W::TabSheet1,    K::Page,        W::PageControl1,    4,   4,  473,  198, "",                                                         Shown},
    {W::StaticText2,  K::StaticText,  W::TabSheet1,       0,   4,  473,  153, "",                                                         Shown},
    {W::TabSheet2,    K::Page,        W::PageControl1,    4,   4,  473,  198, "",                                                         Hidden},
    {W::StaticText1,  K::StaticText,  W::TabSheet2,       4,   4,  407,   20, "Trwa wyszukiwanie zainstalowanych składników programu.",   Shown},
    {W::StaticText3,  K::StaticText,  W::TabSheet2,       4,  28,  461,  101, "Odnaleziono:",                                             Shown},
    {W::Edit1,        K::Edit,        W::TabSheet2,       4, 132,  437,   21, "",                                                         Hidden | Disabled},
    {W::BitBtn5,      K::Button,      W::TabSheet2,     442, 132,   25,   21, "...",                                                      Hidden},
    {W::TabSheet3,    K::Page,        W::PageControl1,    4,   4,  473,  198, "",                                                         Hidden},
    {W::StaticText6,  K::StaticText,  W::TabSheet3,       4,   4,  461,  125, "",                                                         Shown},
    {W::BitBtn4,      K::Button,      W::TabSheet3,     384, 166,   75,   25, "Zamknij.",                                                 Shown},
    {W::StaticText4,  K::StaticText,  W::TabSheet3,       4, 136,  461,   17, " ",                                                        Shown},
    {W::BitBtn3,      K::Button,      W::Panel2,         16, 172,   75,   25, "Anuluj",                                                   Shown},
    {W::BitBtn1,      K::Button,      W::Panel2,        112, 172,   75,   25, "<< Cofnij",                                                Disabled},
    {W::BitBtn2,      K::Button,      W::Panel2,        204, 172,   75,   25, "Dalej >>",                                                 Shown},
}};
// clang-format on

constexpr bool FollowsTheWidgetList() {
    for (int i = 0; i < WidgetCount; ++i) {
        const WidgetRow& row = Rows[static_cast<std::size_t>(i)];
        if (static_cast<int>(row.name) != i) return false;
        if (i > 0 && static_cast<int>(row.parent) >= i) return false;
    }
    return true;
}
static_assert(FollowsTheWidgetList(),
              "row i must be widget i, and every widget's parent must come before it");
}  // namespace layout_table

inline constexpr const std::array<WidgetRow, WidgetCount>& MainWindowLayout = layout_table::Rows;

constexpr const WidgetRow& LayoutOf(Widget widget) {
    return layout_table::Rows[static_cast<std::size_t>(widget)];
}
