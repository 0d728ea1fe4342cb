#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/RtfTokenizer.h"

// The main program pastes these fragments into its own document, one after another, so each must
// be a well-formed piece on its own and together they must form one continuous table.
namespace {

using Kind = RtfToken::Kind;

constexpr long kRightMargin = 14218;

struct PayloadFile {
    const char* name;
    bool endsWithLineEnd;
    std::set<std::string> fields;
};

const std::set<std::string> kSampleFields = {"<NRPROBKI>", "<TIPOB>", "<MOC>", "<STEZENIEXI>"};

const PayloadFile kPayloads[] = {
    {"Kolwenta3A.rtf", true, {"<NRTABELI>", "<KLIENTNAZWAH>", "<DATABADANH>", "<DATAOBLICZENH>"}},
    {"Kolwenta3B.rtf",
     true,
     {"<LP>", "<STANOWISKOH>", "<MIEJSCEBADANH>", "<RODZAJPYL>", "<PODWYKONASTWOH>",
      "<OZNACZALNOSC>", "<CW>", "<UCW>", "<NDS>", "<KNDS>", "<CH1>", "<UCH1>", "<CH2>", "<UCH2>",
      "<NDSCH>", "<KNDSCH1>", "<KNDSCH2>"}},
    {"Kolwenta3C.rtf", true, {"<CZYNNOSCH>", "<NRPROBKI>", "<TIPOB>", "<MOC>", "<STEZENIEXI>"}},
    {"Kolwenta3CC.rtf", false, kSampleFields},
    {"Kolwenta3CCC.rtf", true, kSampleFields},
    {"Kolwenta3CZ.rtf", false, {}},
};

std::string ReadPayload(const std::string& name) {
    std::ifstream in(std::string(PAYLOAD_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << "cannot open " << name;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Cell {
    long left = 0;
    long right = 0;
    bool mergeFirst = false;  // \clvmgf: first cell of a vertical merge
    bool mergeNext = false;   // \clvmrg: continues the cell above
    std::string text;         // Windows-1250 bytes; \line as '\n'
};

struct Row {
    std::vector<Cell> cells;
    int cellEnds = 0;  // \cell words seen
    std::vector<long> Edges() const {
        std::vector<long> edges;
        for (const Cell& c : cells) edges.push_back(c.right);
        return edges;
    }
};

// A fragment read the way a table-aware reader sees it: the text before the first row and each
// row's cell definitions paired with the text of its cells.
struct Fragment {
    std::string raw;
    std::vector<RtfToken> tokens;
    std::string leadingText;
    std::vector<Row> rows;
    std::vector<std::string> structureErrors;
};

Fragment Parse(const std::string& name) {
    Fragment f;
    f.raw = ReadPayload(name);
    f.tokens = TokenizeRtf(f.raw);
    bool inRow = false;
    long left = 0;
    Cell pending;
    std::string text;
    std::size_t filled = 0;
    auto append = [&](const std::string& s) { (inRow ? text : f.leadingText) += s; };
    for (const RtfToken& t : f.tokens) {
        if (t.kind == Kind::Text) {
            append(t.text);
        } else if (t.kind == Kind::ControlSymbol) {
            if (t.text == "'") {
                append(std::string(1, static_cast<char>(t.parameter)));
            } else if (t.text == "\\" || t.text == "{" || t.text == "}") {
                append(t.text);
            } else if (t.text == "~") {
                append(" ");
            }
        } else if (t.kind == Kind::ControlWord) {
            if (t.text == "trowd") {
                if (inRow) f.structureErrors.push_back("\\trowd inside an unfinished row");
                f.rows.emplace_back();
                inRow = true;
                left = 0;
                filled = 0;
                pending = Cell();
                text.clear();
            } else if (!inRow && (t.text == "cell" || t.text == "cellx" || t.text == "row")) {
                f.structureErrors.push_back("\\" + t.text + " outside a row");
            } else if (t.text == "trleft") {
                left = t.parameter;
            } else if (t.text == "clvmgf") {
                pending.mergeFirst = true;
            } else if (t.text == "clvmrg") {
                pending.mergeNext = true;
            } else if (t.text == "cellx") {
                pending.left =
                    f.rows.back().cells.empty() ? left : f.rows.back().cells.back().right;
                pending.right = t.parameter;
                f.rows.back().cells.push_back(pending);
                pending = Cell();
            } else if (t.text == "cell") {
                Row& row = f.rows.back();
                if (filled < row.cells.size()) row.cells[filled].text = text;
                ++filled;
                ++row.cellEnds;
                text.clear();
            } else if (t.text == "row") {
                inRow = false;
            } else if (t.text == "line" || t.text == "par") {
                append("\n");
            }
        }
    }
    if (inRow) f.structureErrors.push_back("last row not closed by \\row");
    return f;
}

std::vector<Fragment> ParseAll() {
    std::vector<Fragment> all;
    for (const PayloadFile& p : kPayloads) all.push_back(Parse(p.name));
    return all;
}

bool IsSubset(const std::vector<long>& part, const std::vector<long>& whole) {
    return std::all_of(part.begin(), part.end(), [&](long e) {
        return std::find(whole.begin(), whole.end(), e) != whole.end();
    });
}

const Cell* CellContaining(const Row& row, const std::string& needle) {
    for (const Cell& c : row.cells) {
        if (c.text.find(needle) != std::string::npos) return &c;
    }
    return nullptr;
}

TEST(PayloadRtfTokenizer, SplitsWordsSymbolsGroupsAndText) {
    const auto tokens = TokenizeRtf("{\\pard\\fs-16 Zawarto\\'9c\\'E6\r\n\\~w\\cellx14218 x}");
    ASSERT_EQ(tokens.size(), 11u);
    EXPECT_EQ(tokens[0].kind, Kind::GroupOpen);
    EXPECT_EQ(tokens[1].kind, Kind::ControlWord);
    EXPECT_EQ(tokens[1].text, "pard");
    EXPECT_FALSE(tokens[1].hasParameter);
    EXPECT_EQ(tokens[2].text, "fs");
    EXPECT_EQ(tokens[2].parameter, -16);
    // The space after a word delimits it and is not part of the text.
    EXPECT_EQ(tokens[3].kind, Kind::Text);
    EXPECT_EQ(tokens[3].text, "Zawarto");
    EXPECT_EQ(tokens[4].kind, Kind::ControlSymbol);
    EXPECT_EQ(tokens[4].parameter, 0x9c);
    EXPECT_EQ(tokens[5].hexDigits, "E6");
    EXPECT_EQ(tokens[5].parameter, 0xe6);
    EXPECT_EQ(tokens[6].text, "~");
    EXPECT_EQ(tokens[7].text, "w");
    EXPECT_EQ(tokens[8].text, "cellx");
    EXPECT_EQ(tokens[8].parameter, 14218);
    EXPECT_EQ(tokens[9].kind, Kind::Text);
    EXPECT_EQ(tokens[9].text, "x");
    EXPECT_EQ(tokens[10].kind, Kind::GroupClose);
    EXPECT_THROW(TokenizeRtf("ab\\'9"), std::runtime_error);
    EXPECT_THROW(TokenizeRtf("ab\\'g0"), std::runtime_error);
    EXPECT_THROW(TokenizeRtf("ab\\"), std::runtime_error);
}

TEST(PayloadFormat, BytesAreSevenBitAsciiWithCrLfLineEnds) {
    for (const PayloadFile& p : kPayloads) {
        SCOPED_TRACE(p.name);
        const std::string raw = ReadPayload(p.name);
        ASSERT_FALSE(raw.empty());
        for (std::size_t i = 0; i < raw.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(raw[i]);
            EXPECT_LT(c, 0x80) << "byte " << i;
            if (c == '\r') {
                EXPECT_TRUE(i + 1 < raw.size() && raw[i + 1] == '\n') << "bare CR at " << i;
            }
            if (c == '\n') {
                EXPECT_TRUE(i > 0 && raw[i - 1] == '\r') << "bare LF at " << i;
            }
        }
        const std::string tail = p.endsWithLineEnd ? "}\r\n" : "}";
        EXPECT_EQ(raw.substr(raw.size() - std::min(raw.size(), tail.size())), tail);
    }
}

TEST(PayloadFormat, FragmentsStartRightAndEndWithTheRowGroupOfTheirLastRow) {
    for (std::size_t k = 0; k < std::size(kPayloads); ++k) {
        SCOPED_TRACE(kPayloads[k].name);
        const std::string raw = ReadPayload(kPayloads[k].name);
        const std::string start = k == 0 ? "\\pard\\plain" : "\\trowd";
        EXPECT_EQ(raw.compare(0, start.size(), start), 0) << raw.substr(0, 20);

        const auto tokens = TokenizeRtf(raw);
        ASSERT_FALSE(tokens.empty());
        int depth = 0;
        std::size_t lastOpen = 0;
        std::vector<std::size_t> opens;
        std::size_t lastRow = tokens.size();
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (tokens[i].kind == Kind::GroupOpen) opens.push_back(i);
            if (tokens[i].kind == Kind::GroupClose) {
                ASSERT_FALSE(opens.empty()) << "group closed below depth 0 at " << tokens[i].offset;
                lastOpen = opens.back();
                opens.pop_back();
            }
            if (tokens[i].kind == Kind::ControlWord && tokens[i].text == "row") lastRow = i;
            depth = static_cast<int>(opens.size());
        }
        EXPECT_EQ(depth, 0) << "unclosed groups";
        EXPECT_EQ(tokens.back().kind, Kind::GroupClose);
        ASSERT_LT(lastRow, tokens.size()) << "no \\row";
        EXPECT_GT(lastRow, lastOpen) << "the last \\row is not inside the final group";
    }
}

TEST(PayloadFormat, OnlyFont16AndNoHeaderTablesOrColours) {
    const std::set<std::string> forbidden = {
        "rtf",     "fonttbl", "colortbl", "stylesheet", "info",  "cf",    "cb",      "highlight",
        "clcbpat", "clcfpat", "brdrcf",   "chcbpat",    "cbpat", "cfpat", "trcbpat", "trcfpat"};
    for (const PayloadFile& p : kPayloads) {
        SCOPED_TRACE(p.name);
        int fontRefs = 0;
        for (const RtfToken& t : TokenizeRtf(ReadPayload(p.name))) {
            if (t.kind == Kind::ControlWord) {
                EXPECT_EQ(forbidden.count(t.text), 0u) << "\\" << t.text << " at " << t.offset;
                if (t.text == "f") {
                    ++fontRefs;
                    EXPECT_EQ(t.parameter, 16) << "at " << t.offset;
                }
                if (t.text == "sub" || t.text == "super") {
                    EXPECT_EQ((&t - 1)->kind, Kind::GroupOpen)
                        << "\\" << t.text << " must open its own group, at " << t.offset;
                }
            }
            if (t.kind == Kind::ControlSymbol && t.text == "'") {
                EXPECT_EQ(t.hexDigits.find_first_of("ABCDEF"), std::string::npos)
                    << "upper-case escape \\'" << t.hexDigits << " at " << t.offset;
            }
        }
        EXPECT_GT(fontRefs, 0) << "text without font 16";
    }
}

TEST(PayloadFormat, FieldsAreExactlyTheListedOnes) {
    const std::regex field("<[A-Z0-9]+>");
    for (const PayloadFile& p : kPayloads) {
        SCOPED_TRACE(p.name);
        const std::string raw = ReadPayload(p.name);
        std::multiset<std::string> found;
        for (auto it = std::sregex_iterator(raw.begin(), raw.end(), field);
             it != std::sregex_iterator(); ++it) {
            found.insert(it->str());
        }
        // Each field once: a second copy would show its value twice in the report.
        EXPECT_EQ(found, std::multiset<std::string>(p.fields.begin(), p.fields.end()));
        // A stray bracket means a field the main program will not recognise.
        const std::string plain = std::regex_replace(raw, field, "");
        EXPECT_EQ(plain.find_first_of("<>"), std::string::npos);
    }
}

TEST(PayloadFormat, EveryRowHasOneEdgePerCellRisingToTheRightMargin) {
    const auto fragments = ParseAll();
    const std::size_t expectedRows[] = {6, 1, 1, 1, 1, 1};
    for (std::size_t k = 0; k < fragments.size(); ++k) {
        SCOPED_TRACE(kPayloads[k].name);
        const Fragment& f = fragments[k];
        EXPECT_TRUE(f.structureErrors.empty()) << f.structureErrors.front();
        ASSERT_EQ(f.rows.size(), expectedRows[k]);
        for (std::size_t r = 0; r < f.rows.size(); ++r) {
            SCOPED_TRACE("row " + std::to_string(r + 1));
            const Row& row = f.rows[r];
            ASSERT_FALSE(row.cells.empty());
            EXPECT_EQ(row.cellEnds, static_cast<int>(row.cells.size()));
            for (const Cell& c : row.cells) EXPECT_LT(c.left, c.right) << "at " << c.right;
            EXPECT_EQ(row.cells.back().right, kRightMargin);
        }
    }
    EXPECT_EQ(fragments[1].rows[0].cells.size(), 11u);
    for (std::size_t k = 2; k < fragments.size(); ++k) {
        EXPECT_EQ(fragments[k].rows[0].cells.size(), 14u) << kPayloads[k].name;
    }
    for (std::size_t r = 0; r < 3; ++r) {
        EXPECT_EQ(fragments[0].rows[r].cells.size(), 2u) << "client and date row " << r + 1;
    }
}

TEST(PayloadFormat, AllRowsFormOneTableOnTheDataRowsGrid) {
    const auto fragments = ParseAll();
    const std::vector<long> grid = fragments[2].rows.at(0).Edges();
    for (std::size_t k = 3; k < fragments.size(); ++k) {
        EXPECT_EQ(fragments[k].rows.at(0).Edges(), grid) << kPayloads[k].name;
    }
    // The client and date rows join the same table when assembled, so they follow the grid too.
    for (std::size_t r = 0; r < fragments[0].rows.size(); ++r) {
        EXPECT_TRUE(IsSubset(fragments[0].rows[r].Edges(), grid)) << "head row " << r + 1;
    }
    EXPECT_TRUE(IsSubset(fragments[1].rows.at(0).Edges(), grid)) << "summary row";

    for (const Fragment& f : fragments) {
        for (std::size_t r = 0; r < f.rows.size(); ++r) {
            for (const Cell& c : f.rows[r].cells) {
                if (!c.mergeNext) continue;
                const bool continues =
                    r > 0 && std::any_of(f.rows[r - 1].cells.begin(), f.rows[r - 1].cells.end(),
                                         [&](const Cell& above) {
                                             return above.left == c.left &&
                                                    above.right == c.right &&
                                                    (above.mergeFirst || above.mergeNext);
                                         });
                EXPECT_TRUE(continues) << "merged cell " << c.left << ".." << c.right << " of row "
                                       << r + 1 << " has no merged cell above it";
            }
        }
    }
}

TEST(PayloadFormat, HeadHoldsTitleDatesAndColumnHeadingsInOrder) {
    const Fragment head = Parse(kPayloads[0].name);
    ASSERT_EQ(head.rows.size(), 6u);
    EXPECT_EQ(head.leadingText.rfind("<NRTABELI> Wyniki pomiarów stężeń czynników chemicznych", 0),
              0u)
        << head.leadingText;
    const auto firstRow = std::find_if(
        head.tokens.begin(), head.tokens.end(),
        [](const RtfToken& t) { return t.kind == Kind::ControlWord && t.text == "trowd"; });
    EXPECT_TRUE(std::any_of(head.tokens.begin(), firstRow, [](const RtfToken& t) {
        return t.kind == Kind::ControlWord && t.text == "qc";
    })) << "title not centred";

    const char* fields[] = {"<KLIENTNAZWAH>", "<DATABADANH>", "<DATAOBLICZENH>"};
    for (std::size_t r = 0; r < 3; ++r) {
        EXPECT_EQ(head.rows[r].cells.back().text, fields[r]);
    }

    EXPECT_NE(head.raw.find("Zawarto\\'9c\\'e6 w pr\\'f3bce [mg] (analiza podwykonawcy)"),
              std::string::npos);
    // Each heading must stand over the data column that holds its value.
    const Fragment firstSample = Parse(kPayloads[2].name);
    const Row& sample = firstSample.rows.at(0);
    const std::pair<const char*, const char*> columns[] = {
        {"Zawartość w próbce [mg] (analiza podwykonawcy)", "<MOC>"},
        {"Stężenie X", "<STEZENIEXI>"},
        {"Nr", "<NRPROBKI>"},
        {"Ti [min]", "<TIPOB>"},
        {"badane czynności", "<CZYNNOSCH>"},
    };
    for (const auto& [heading, field] : columns) {
        SCOPED_TRACE(field);
        const Cell* value = CellContaining(sample, field);
        ASSERT_NE(value, nullptr);
        const Cell* over = nullptr;
        for (std::size_t r = 3; r < 6 && !over; ++r) over = CellContaining(head.rows[r], heading);
        ASSERT_NE(over, nullptr) << heading;
        EXPECT_LE(over->left, value->left);
        EXPECT_GE(over->right, value->right);
    }
    int x15 = 0;
    for (const Cell& c : head.rows[5].cells) x15 += c.text == "X15";
    EXPECT_EQ(x15, 2);
}

TEST(PayloadFormat, RowsCarryTheirFieldsInTheirOwnCells) {
    const auto fragments = ParseAll();
    const Cell* compound = CellContaining(fragments[1].rows.at(0), "<RODZAJPYL>");
    ASSERT_NE(compound, nullptr);
    EXPECT_NE(compound->text.find("<RODZAJPYL>\nPodwykonawstwo badań: <PODWYKONASTWOH>"),
              std::string::npos)
        << compound->text;

    const std::vector<std::string> firstSample = {"",           "<CZYNNOSCH>",
                                                  "<NRPROBKI>", "<TIPOB>",
                                                  "<MOC>",      "<STEZENIEXI>",
                                                  "",           "",
                                                  "",           "",
                                                  "",           "",
                                                  "",           ""};
    std::vector<std::string> furtherSample = firstSample;
    furtherSample[1] = "";
    const std::vector<std::string> empty(14, "");
    const std::vector<std::string>* expected[] = {&firstSample, &furtherSample, &furtherSample,
                                                  &empty};
    for (std::size_t k = 2; k < fragments.size(); ++k) {
        std::vector<std::string> texts;
        for (const Cell& c : fragments[k].rows.at(0).cells) texts.push_back(c.text);
        EXPECT_EQ(texts, *expected[k - 2]) << kPayloads[k].name;
    }
}

}  // namespace
