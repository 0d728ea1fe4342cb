#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/support/RtfTable.h"

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

struct Fragment : RtfTable {
    std::string raw;
    std::vector<RtfToken> tokens;
};

// The six fragments, in installation order, read once.
const std::vector<Fragment>& Fragments() {
    static const std::vector<Fragment> all = [] {
        std::vector<Fragment> read;
        for (const PayloadFile& p : kPayloads) {
            Fragment& f = read.emplace_back();
            f.raw = ReadPayload(p.name);
            f.tokens = TokenizeRtf(f.raw);
            static_cast<RtfTable&>(f) = ReadRtfTable(f.tokens);
        }
        return read;
    }();
    return all;
}

bool IsSubset(const std::vector<long>& part, const std::vector<long>& whole) {
    return std::all_of(part.begin(), part.end(), [&](long e) {
        return std::find(whole.begin(), whole.end(), e) != whole.end();
    });
}

// Tokens as one line: groups as braces, words and symbols as written, text runs in brackets.
std::string Describe(const std::vector<RtfToken>& tokens) {
    std::string line;
    for (const RtfToken& t : tokens) {
        if (!line.empty()) line += ' ';
        if (t.kind == Kind::GroupOpen || t.kind == Kind::GroupClose)
            line += t.kind == Kind::GroupOpen ? "{" : "}";
        else if (t.kind == Kind::Text)
            line += "[" + t.text + "]";
        else
            line +=
                "\\" + t.text + t.hexDigits +
                (t.hasParameter || !t.hexDigits.empty() ? "=" + std::to_string(t.parameter) : "");
    }
    return line;
}

// The space after a word delimits it and is not part of the text; line ends are dropped.
TEST(PayloadRtfTokenizer, SplitsWordsSymbolsGroupsAndText) {
    EXPECT_EQ(Describe(TokenizeRtf("{\\pard\\fs-16 Zawarto\\'9c\\'E6\r\n\\~w\\cellx14218 x}")),
              "{ \\pard \\fs=-16 [Zawarto] \\'9c=156 \\'E6=230 \\~ [w] \\cellx=14218 [x] }");
    for (const char* bad : {"ab\\'9", "ab\\'g0", "ab\\"})
        EXPECT_THROW(TokenizeRtf(bad), std::runtime_error) << bad;
}

TEST(PayloadFormat, BytesAreSevenBitAsciiWithCrLfLineEnds) {
    for (std::size_t k = 0; k < std::size(kPayloads); ++k) {
        SCOPED_TRACE(kPayloads[k].name);
        const std::string& raw = Fragments()[k].raw;
        ASSERT_FALSE(raw.empty());
        for (std::size_t i = 0; i < raw.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(raw[i]);
            EXPECT_LT(c, 0x80) << "byte " << i;
            EXPECT_TRUE(c != '\r' || (i + 1 < raw.size() && raw[i + 1] == '\n'))
                << "bare CR at " << i;
            EXPECT_TRUE(c != '\n' || (i > 0 && raw[i - 1] == '\r')) << "bare LF at " << i;
        }
        const std::string tail = kPayloads[k].endsWithLineEnd ? "}\r\n" : "}";
        EXPECT_EQ(raw.substr(raw.size() - std::min(raw.size(), tail.size())), tail);
    }
}

TEST(PayloadFormat, FragmentsStartRightAndEndWithTheRowGroupOfTheirLastRow) {
    for (std::size_t k = 0; k < std::size(kPayloads); ++k) {
        SCOPED_TRACE(kPayloads[k].name);
        const Fragment& f = Fragments()[k];
        EXPECT_EQ(f.raw.rfind(k == 0 ? "\\pard\\plain" : "\\trowd", 0), 0u) << f.raw.substr(0, 20);
        ASSERT_FALSE(f.tokens.empty());
        std::vector<std::size_t> opens;
        std::size_t lastOpen = 0, lastRow = f.tokens.size();
        for (std::size_t i = 0; i < f.tokens.size(); ++i) {
            const RtfToken& t = f.tokens[i];
            if (t.kind == Kind::GroupOpen) opens.push_back(i);
            if (t.kind == Kind::GroupClose) {
                ASSERT_FALSE(opens.empty()) << "group closed below depth 0 at " << t.offset;
                lastOpen = opens.back();
                opens.pop_back();
            }
            if (t.kind == Kind::ControlWord && t.text == "row") lastRow = i;
        }
        EXPECT_TRUE(opens.empty()) << "unclosed groups";
        EXPECT_EQ(f.tokens.back().kind, Kind::GroupClose);
        ASSERT_LT(lastRow, f.tokens.size()) << "no \\row";
        EXPECT_GT(lastRow, lastOpen) << "the last \\row is not inside the final group";
    }
}

TEST(PayloadFormat, OnlyFont16AndNoHeaderTablesOrColours) {
    const std::set<std::string> forbidden = {
        "rtf",     "fonttbl", "colortbl", "stylesheet", "info",  "cf",    "cb",      "highlight",
        "clcbpat", "clcfpat", "brdrcf",   "chcbpat",    "cbpat", "cfpat", "trcbpat", "trcfpat"};
    for (std::size_t k = 0; k < std::size(kPayloads); ++k) {
        SCOPED_TRACE(kPayloads[k].name);
        int fontRefs = 0;
        for (const RtfToken& t : Fragments()[k].tokens) {
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
    for (std::size_t k = 0; k < std::size(kPayloads); ++k) {
        SCOPED_TRACE(kPayloads[k].name);
        const std::string& raw = Fragments()[k].raw;
        std::multiset<std::string> found;
        for (auto it = std::sregex_iterator(raw.begin(), raw.end(), field);
             it != std::sregex_iterator(); ++it)
            found.insert(it->str());
        // Each field once: a second copy would show its value twice in the report.
        const std::set<std::string>& listed = kPayloads[k].fields;
        EXPECT_EQ(found, std::multiset<std::string>(listed.begin(), listed.end()));
        // A stray bracket means a field the main program will not recognise.
        EXPECT_EQ(std::regex_replace(raw, field, "").find_first_of("<>"), std::string::npos);
    }
}

// The head has a title row, the client and two date rows and three heading rows; the summary row
// has 11 cells and each sample row 14.
TEST(PayloadFormat, EveryRowHasOneEdgePerCellRisingToTheRightMargin) {
    const std::vector<std::size_t> cellCounts[] = {{2, 2, 2}, {11}, {14}, {14}, {14}, {14}};
    for (std::size_t k = 0; k < std::size(kPayloads); ++k) {
        SCOPED_TRACE(kPayloads[k].name);
        const Fragment& f = Fragments()[k];
        EXPECT_TRUE(f.errors.empty()) << f.errors.front();
        ASSERT_EQ(f.rows.size(), k == 0 ? 6u : 1u);
        for (std::size_t r = 0; r < f.rows.size(); ++r) {
            SCOPED_TRACE("row " + std::to_string(r + 1));
            const RtfRow& row = f.rows[r];
            ASSERT_FALSE(row.cells.empty());
            if (r < cellCounts[k].size()) {
                EXPECT_EQ(row.cells.size(), cellCounts[k][r]);
            }
            EXPECT_EQ(row.cellEnds, row.cells.size());
            for (const RtfCell& c : row.cells) EXPECT_LT(c.left, c.right) << "at " << c.right;
            EXPECT_EQ(row.cells.back().right, kRightMargin);
        }
    }
}

TEST(PayloadFormat, AllRowsFormOneTableOnTheDataRowsGrid) {
    const auto& fragments = Fragments();
    const std::vector<long> grid = fragments[2].rows.at(0).Edges();
    for (std::size_t k = 3; k < fragments.size(); ++k)
        EXPECT_EQ(fragments[k].rows.at(0).Edges(), grid) << kPayloads[k].name;
    // The client and date rows join the same table when assembled, so they follow the grid too.
    for (std::size_t r = 0; r < fragments[0].rows.size(); ++r)
        EXPECT_TRUE(IsSubset(fragments[0].rows[r].Edges(), grid)) << "head row " << r + 1;
    EXPECT_TRUE(IsSubset(fragments[1].rows.at(0).Edges(), grid)) << "summary row";

    for (const Fragment& f : fragments) {
        for (std::size_t r = 0; r < f.rows.size(); ++r) {
            for (const RtfCell& c : f.rows[r].cells) {
                if (!c.mergeNext) continue;
                const auto& above = r > 0 ? f.rows[r - 1].cells : std::vector<RtfCell>{};
                EXPECT_TRUE(std::any_of(above.begin(), above.end(),
                                        [&](const RtfCell& a) {
                                            return a.left == c.left && a.right == c.right &&
                                                   (a.mergeFirst || a.mergeNext);
                                        }))
                    << "merged cell " << c.left << ".." << c.right << " of row " << r + 1
                    << " has no merged cell above it";
            }
        }
    }
}

TEST(PayloadFormat, HeadHoldsTitleDatesAndColumnHeadingsInOrder) {
    const Fragment& head = Fragments()[0];
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
    for (std::size_t r = 0; r < 3; ++r) EXPECT_EQ(head.rows[r].cells.back().text, fields[r]);
    EXPECT_NE(head.raw.find("Zawarto\\'9c\\'e6 w pr\\'f3bce [mg] (analiza podwykonawcy)"),
              std::string::npos);

    // Each heading must stand over the data column that holds its value.
    const RtfRow& sample = Fragments()[2].rows.at(0);
    const std::pair<const char*, const char*> columns[] = {
        {"Zawartość w próbce [mg] (analiza podwykonawcy)", "<MOC>"},
        {"Stężenie X", "<STEZENIEXI>"},
        {"Nr", "<NRPROBKI>"},
        {"Ti [min]", "<TIPOB>"},
        {"badane czynności", "<CZYNNOSCH>"},
    };
    for (const auto& [heading, field] : columns) {
        SCOPED_TRACE(field);
        const RtfCell* value = sample.CellContaining(field);
        ASSERT_NE(value, nullptr);
        const RtfCell* over = nullptr;
        for (std::size_t r = 3; r < 6 && !over; ++r) over = head.rows[r].CellContaining(heading);
        ASSERT_NE(over, nullptr) << heading;
        EXPECT_LE(over->left, value->left);
        EXPECT_GE(over->right, value->right);
    }
    const std::vector<std::string> lastHeadings = head.rows[5].Texts();
    EXPECT_EQ(std::count(lastHeadings.begin(), lastHeadings.end(), "X15"), 2);
}

TEST(PayloadFormat, RowsCarryTheirFieldsInTheirOwnCells) {
    const RtfCell* compound = Fragments()[1].rows.at(0).CellContaining("<RODZAJPYL>");
    ASSERT_NE(compound, nullptr);
    EXPECT_NE(compound->text.find("<RODZAJPYL>\nPodwykonawstwo badań: <PODWYKONASTWOH>"),
              std::string::npos)
        << compound->text;

    // The sample rows' cells, joined by '|': the first names the activity, the last is empty.
    const std::string expected[] = {"|<CZYNNOSCH>|<NRPROBKI>|<TIPOB>|<MOC>|<STEZENIEXI>||||||||",
                                    "||<NRPROBKI>|<TIPOB>|<MOC>|<STEZENIEXI>||||||||",
                                    "||<NRPROBKI>|<TIPOB>|<MOC>|<STEZENIEXI>||||||||",
                                    "|||||||||||||"};
    for (std::size_t k = 2; k < std::size(kPayloads); ++k) {
        const std::vector<std::string> texts = Fragments()[k].rows.at(0).Texts();
        std::string joined;
        for (std::size_t i = 0; i < texts.size(); ++i) joined += (i ? "|" : "") + texts[i];
        EXPECT_EQ(joined, expected[k - 2]) << kPayloads[k].name;
    }
}

}  // namespace
