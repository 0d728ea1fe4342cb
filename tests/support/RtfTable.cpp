#include "tests/support/RtfTable.h"

#include <utility>

std::vector<long> RtfRow::Edges() const {
    std::vector<long> edges;
    for (const RtfCell& c : cells) edges.push_back(c.right);
    return edges;
}

std::vector<std::string> RtfRow::Texts() const {
    std::vector<std::string> texts;
    for (const RtfCell& c : cells) texts.push_back(c.text);
    return texts;
}

const RtfCell* RtfRow::CellContaining(const std::string& needle) const {
    for (const RtfCell& c : cells)
        if (c.text.find(needle) != std::string::npos) return &c;
    return nullptr;
}

RtfTable ReadRtfTable(const std::vector<RtfToken>& tokens) {
    using Kind = RtfToken::Kind;
    RtfTable table;
    RtfRow* row = nullptr;  // the row being read, until its \row
    RtfCell pending;
    long left = 0;
    std::string text;
    auto append = [&](const std::string& s) { (row ? text : table.leadingText) += s; };
    for (const RtfToken& t : tokens) {
        const std::string& w = t.text;
        if (t.kind == Kind::Text) append(w);
        if (t.kind == Kind::ControlSymbol) {
            if (w == "'") append(std::string(1, static_cast<char>(t.parameter)));
            if (w == "\\" || w == "{" || w == "}") append(w);
            if (w == "~") append(" ");
        }
        if (t.kind != Kind::ControlWord) continue;
        if (w == "trowd") {
            if (row) table.errors.push_back("\\trowd inside an unfinished row");
            row = &table.rows.emplace_back();
            left = 0;
            pending = RtfCell();
            text.clear();
        } else if (!row && (w == "cell" || w == "cellx" || w == "row")) {
            table.errors.push_back("\\" + w + " outside a row");
        } else if (w == "trleft") {
            left = t.parameter;
        } else if (w == "clvmgf" || w == "clvmrg") {
            (w == "clvmgf" ? pending.mergeFirst : pending.mergeNext) = true;
        } else if (w == "cellx") {
            pending.left = row->cells.empty() ? left : row->cells.back().right;
            pending.right = t.parameter;
            row->cells.push_back(std::exchange(pending, RtfCell()));
        } else if (w == "cell") {
            if (row->cellEnds < row->cells.size()) row->cells[row->cellEnds].text = text;
            ++row->cellEnds;
            text.clear();
        } else if (w == "row") {
            row = nullptr;
        } else if (w == "line" || w == "par") {
            append("\n");
        }
    }
    if (row) table.errors.push_back("last row not closed by \\row");
    return table;
}
