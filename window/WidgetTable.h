#pragma once

// Every widget of the main window, one row each, in creation order: the enum, the names, the
// layout (at 96 pixels per inch) and the Windows look are all expanded from these rows, so a
// widget is added in one line and none can lack a name, a row or a look. Columns: name, kind,
// parent, left, top, width, height, initial text (Windows-1250), state, role (the button Enter
// presses, the one that cancels, decoration), place in front of its siblings (1 frontmost, 0 in
// the table's order behind those; also the Tab order); then what only the Windows window reads:
// font, text colour, background, look flags, the name a screen reader hears where the text is no
// name (Windows-1250), and the outcome text that describes it while that text's page is shown.
// The pages fill the page control inside its 4-pixel frame.
// clang-format off
#define INSTALATOR_WIDGETS(X) \
    X(Form1,         MainWindow,   Form1,           0,    0,  666,  206,  "Nakładka dla programu \"Tesmaren\" Z27Z",                Shown,             NoRole,        0,  Default, Ink,    Face,  Plain,       "",               Form1) \
    X(Panel1,        Panel,        Form1,           0,    0,  185,  206,  "",                                                       Shown,             NoRole,        0,  Default, White,  Navy,  Plain,       "",               Form1) \
    X(Image1,        Picture,      Panel1,          8,    8,   32,   32,  "",                                                       Shown,             Decoration,    0,  Default, White,  Navy,  Plain,       "",               Form1) \
    X(Label1,        Label,        Panel1,         54,   10,  100,   33,  "Tesmaren",                                               Shown,             Decoration,    2,  Title,   Silver, Navy,  Shadow,      "",               Form1) \
    X(Label2,        Label,        Panel1,         52,    8,  100,   33,  "Tesmaren",                                               Shown,             NoRole,        1,  Title,   Yellow, Navy,  Transparent, "",               Form1) \
    X(Label3,        Label,        Panel1,          8,   72,  110,   16,  "Nakładka Z27Z",                                          Shown,             NoRole,        0,  Heading, White,  Navy,  Plain,       "",               Form1) \
    X(Label4,        Label,        Panel1,          8,  124,   63,   16,  "LabSoft",                                                Shown,             NoRole,        0,  Bold,    White,  Navy,  Plain,       "",               Form1) \
    X(Label5,        Label,        Panel1,          8,  140,  144,   16,  "Programy dla",                                           Shown,             NoRole,        0,  Bold,    White,  Navy,  Plain,       "",               Form1) \
    X(Label6,        Label,        Panel1,         10,  160,  164,   16,  "laboratoriów badań",                                     Shown,             NoRole,        0,  Bold,    White,  Navy,  Plain,       "",               Form1) \
    X(Label7,        Label,        Panel1,         10,  180,  120,   16,  "Jan Walczak",                                            Shown,             NoRole,        0,  Bold,    White,  Navy,  Plain,       "",               Form1) \
    X(Image2,        Picture,      Panel1,        132,   56,   48,   48,  "",                                                       Shown,             Decoration,    0,  Default, White,  Navy,  Transparent, "",               Form1) \
    X(Panel2,        Panel,        Form1,         185,    0,  481,  206,  "",                                                       Shown,             NoRole,        0,  Default, Ink,    Face,  Plain,       "",               Form1) \
    X(PageControl1,  PageControl,  Panel2,          0,    0,  481,  206,  "",                                                       Shown,             NoRole,        4,  Default, Ink,    Face,  Plain,       "",               Form1) \
    X(TabSheet1,     Page,         PageControl1,    4,    4,  473,  198,  "",                                                       Shown,             NoRole,        0,  Default, Ink,    Face,  Plain,       "",               Form1) \
    X(StaticText2,   StaticText,   TabSheet1,       0,    4,  473,  153,  "",                                                       Shown,             NoRole,        0,  Text,    Black,  Face,  Plain,       "",               Form1) \
    X(TabSheet2,     Page,         PageControl1,    4,    4,  473,  198,  "",                                                       Hidden,            NoRole,        0,  Default, Ink,    Face,  Plain,       "",               Form1) \
    X(StaticText1,   StaticText,   TabSheet2,       4,    4,  407,   20,  "Trwa wyszukiwanie zainstalowanych składników programu.", Shown,             NoRole,        0,  Bold,    Ink,    Face,  Plain,       "",               Form1) \
    X(StaticText3,   StaticText,   TabSheet2,       4,   28,  461,  101,  "Odnaleziono:",                                           Shown,             NoRole,        0,  Text,    Ink,    Face,  Plain,       "",               Form1) \
    X(Edit1,         Edit,         TabSheet2,       4,  132,  437,   21,  "",                                                       Hidden | Disabled, NoRole,        0,  Default, Ink,    Paper, Plain,       "Lokalizacja",    Form1) \
    X(BitBtn5,       Button,       TabSheet2,     442,  132,   25,   21,  "...",                                                    Hidden,            NoRole,        0,  Default, Ink,    Face,  Plain,       "Wybierz folder", StaticText3) \
    X(TabSheet3,     Page,         PageControl1,    4,    4,  473,  198,  "",                                                       Hidden,            NoRole,        0,  Default, Ink,    Face,  Plain,       "",               Form1) \
    X(StaticText6,   StaticText,   TabSheet3,       4,    4,  461,  125,  "",                                                       Shown,             NoRole,        0,  Text,    Ink,    Face,  Plain,       "",               Form1) \
    X(BitBtn4,       Button,       TabSheet3,     384,  166,   75,   25,  "Zamknij.",                                               Shown,             NoRole,        0,  Default, Ink,    Face,  Plain,       "",               StaticText6) \
    X(StaticText4,   StaticText,   TabSheet3,       4,  136,  461,   17,  " ",                                                      Shown,             NoRole,        0,  Default, Ink,    Face,  Plain,       "",               Form1) \
    X(BitBtn3,       Button,       Panel2,         16,  172,   75,   25,  "Anuluj",                                                 Shown,             CancelButton,  3,  Default, Ink,    Face,  Plain,       "",               Form1) \
    X(BitBtn1,       Button,       Panel2,        112,  172,   75,   25,  "<< Cofnij",                                              Disabled,          NoRole,        1,  Default, Ink,    Face,  Plain,       "",               StaticText6) \
    X(BitBtn2,       Button,       Panel2,        204,  172,   75,   25,  "Dalej >>",                                               Shown,             DefaultButton, 2,  Default, Ink,    Face,  Plain,       "",               StaticText3)
// clang-format on
