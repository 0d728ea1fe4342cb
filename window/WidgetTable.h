#pragma once

// Every widget of the main window, one row each, in creation order: the enum, the names, the
// layout (at 96 pixels per inch) and the Windows look are all expanded from these rows, so a
// widget is added in one line and none can lack a name, a row or a look. Columns: name, kind,
// parent, left, top, width, height, initial text (Windows-1250), state; then font, text colour,
// background and look flags, which only the Windows window reads. The pages fill the page control
// inside its 4-pixel frame.
// clang-format off
#define INSTALATOR_WIDGETS(X) \
    X(Form1,        MainWindow,  Form1,          0,   0, 666, 206, "Nakładka dla programu \"Tesmaren\" Z27Z",                Shown,             Default, Ink,    Face,  Plain) \
    X(Panel1,       Panel,       Form1,          0,   0, 185, 206, "",                                                       Shown,             Default, White,  Navy,  Plain) \
    X(Image1,       Picture,     Panel1,         8,   8,  32,  32, "",                                                       Shown,             Default, White,  Navy,  Plain) \
    X(Label1,       Label,       Panel1,        54,  10, 100,  33, "Tesmaren",                                               Shown,             Title,   Silver, Navy,  Shadow)\
    X(Label2,       Label,       Panel1,        52,   8, 100,  33, "Tesmaren",                                               Shown,             Title,   Yellow, Navy,  Transparent) \
    X(Label3,       Label,       Panel1,         8,  72, 110,  16, "Nakładka Z27Z",                                          Shown,             Heading, White,  Navy,  Plain) \
    X(Label4,       Label,       Panel1,         8, 124,  63,  16, "LabSoft",                                                Shown,             Bold,    White,  Navy,  Plain) \
    X(Label5,       Label,       Panel1,         8, 140, 144,  16, "Programy dla",                                           Shown,             Bold,    White,  Navy,  Plain) \
    X(Label6,       Label,       Panel1,        10, 160, 164,  16, "laboratoriów badań",                                     Shown,             Bold,    White,  Navy,  Plain) \
    X(Label7,       Label,       Panel1,        10, 180, 120,  16, "Jan Walczak",                                            Shown,             Bold,    White,  Navy,  Plain) \
    X(Image2,       Picture,     Panel1,       132,  56,  48,  48, "",                                                       Shown,             Default, White,  Navy,  Transparent) \
    X(Panel2,       Panel,       Form1,        185,   0, 481, 206, "",                                                       Shown,             Default, Ink,    Face,  Plain) \
    X(PageControl1, PageControl, Panel2,         0,   0, 481, 206, "",                                                       Shown,             Default, Ink,    Face,  Plain) \
    X(TabSheet1,    Page,        PageControl1,   4,   4, 473, 198, "",                                                       Shown,             Default, Ink,    Face,  Plain) \
    X(StaticText2,  StaticText,  TabSheet1,      0,   4, 473, 153, "",                                                       Shown,             Text,    Black,  Face,  Plain) \
    X(TabSheet2,    Page,        PageControl1,   4,   4, 473, 198, "",                                                       Hidden,            Default, Ink,    Face,  Plain) \
    X(StaticText1,  StaticText,  TabSheet2,      4,   4, 407,  20, "Trwa wyszukiwanie zainstalowanych składników programu.", Shown,             Bold,    Ink,    Face,  Plain) \
    X(StaticText3,  StaticText,  TabSheet2,      4,  28, 461, 101, "Odnaleziono:",                                           Shown,             Text,    Ink,    Face,  Plain) \
    X(Edit1,        Edit,        TabSheet2,      4, 132, 437,  21, "",                                                       Hidden | Disabled, Default, Ink,    Paper, Plain) \
    X(BitBtn5,      Button,      TabSheet2,    442, 132,  25,  21, "...",                                                    Hidden,            Default, Ink,    Face,  Plain) \
    X(TabSheet3,    Page,        PageControl1,   4,   4, 473, 198, "",                                                       Hidden,            Default, Ink,    Face,  Plain) \
    X(StaticText6,  StaticText,  TabSheet3,      4,   4, 461, 125, "",                                                       Shown,             Text,    Ink,    Face,  Plain) \
    X(BitBtn4,      Button,      TabSheet3,    384, 166,  75,  25, "Zamknij.",                                               Shown,             Default, Ink,    Face,  Plain) \
    X(StaticText4,  StaticText,  TabSheet3,      4, 136, 461,  17, " ",                                                      Shown,             Default, Ink,    Face,  Plain) \
    X(BitBtn3,      Button,      Panel2,        16, 172,  75,  25, "Anuluj",                                                 Shown,             Default, Ink,    Face,  Plain) \
    X(BitBtn1,      Button,      Panel2,       112, 172,  75,  25, "<< Cofnij",                                              Disabled,          Default, Ink,    Face,  Plain) \
    X(BitBtn2,      Button,      Panel2,       204, 172,  75,  25, "Dalej >>",                                               Shown,             Default, Ink,    Face,  DefaultButton)
// clang-format on
