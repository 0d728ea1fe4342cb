#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tests/support/RtfTokenizer.h"

// RTF as a table-aware reader sees it: the text before the first row, then each row's cell
// definitions paired with the text of its cells.
struct RtfCell {
    long left = 0;
    long right = 0;
    bool mergeFirst = false;  // \clvmgf: first cell of a vertical merge
    bool mergeNext = false;   // \clvmrg: continues the cell above
    std::string text;         // the bytes (Windows-1250), \line and \par as '\n'
};

struct RtfRow {
    std::vector<RtfCell> cells;
    std::size_t cellEnds = 0;  // \cell words seen

    std::vector<long> Edges() const;
    std::vector<std::string> Texts() const;
    // The first cell whose text contains the needle, or nullptr.
    const RtfCell* CellContaining(const std::string& needle) const;
};

struct RtfTable {
    std::string leadingText;
    std::vector<RtfRow> rows;
    std::vector<std::string> errors;  // row words out of place
};

RtfTable ReadRtfTable(const std::vector<RtfToken>& tokens);
