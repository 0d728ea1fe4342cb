#!/usr/bin/env python3
"""Writes the six report-template fragments into install/payloads/.

The .rtf files are what the installer carries; this script only keeps their shared column grid
and CR LF line ends consistent when the table has to change. Run it from anywhere.
"""
import pathlib

OUT = pathlib.Path(__file__).resolve().parents[2] / "install" / "payloads"
CRLF = "\r\n"

# Right edges (twips) of the 14 data columns; every other row of the table uses a subset of them
# so that all vertical lines run through the whole table.
LP, CZYNNOSC, NR, TI, MOC, X, CW, NDS, KNDS, CH1, CH2, NDSCH, KNDSCH1, KNDSCH2 = (
    454, 2654, 3334, 4184, 5601, 6735, 8039, 8776, 9570, 10760, 11950, 12744, 13481, 14218)
DATA_GRID = [LP, CZYNNOSC, NR, TI, MOC, X, CW, NDS, KNDS, CH1, CH2, NDSCH, KNDSCH1, KNDSCH2]

BORDERS = ("\\clbrdrt\\brdrs\\brdrw10 \\clbrdrl\\brdrs\\brdrw10 "
           "\\clbrdrb\\brdrs\\brdrw10 \\clbrdrr\\brdrs\\brdrw10 ")


def rtf_text(text):
    """Polish letters as \\'xx escapes of their Windows-1250 codes, the rest plain ASCII."""
    out = []
    for ch in text:
        if ord(ch) < 0x80:
            out.append(ch)
        else:
            out.append("\\'%02x" % ch.encode("cp1250")[0])
    return "".join(out)


def row(cells, row_props, size=16):
    """cells: (right edge, text, merge, align, bold); text may hold RTF groups like {\\sub i}."""
    lines = ["\\trowd \\trgaph57\\trleft0" + row_props]
    for edge, _, merge, _, _ in cells:
        lines.append("\\clvertalc" + BORDERS + merge + "\\cellx%d" % edge)
    for _, text, _, align, bold in cells:
        weight = "\\b" if bold else ""
        lines.append("\\pard\\plain \\intbl%s {\\f16\\fs%d%s %s\\cell}"
                     % (align, size, weight, rtf_text(text)))
    lines.append("{\\row}")
    return CRLF.join(lines)


def cell(edge, text="", merge="", align="\\qc", bold=False):
    return (edge, text, merge, align, bold)


FIRST = "\\clvmgf"
NEXT = "\\clvmrg"
HEAD = "\\trhdr\\trkeep\\trrh340"
DATA = "\\trkeep\\trrh284"


def payload_head():
    title = ("\\pard\\plain \\qc\\sb240\\sa120\\keepn {\\f16\\fs20\\b <NRTABELI> "
             + rtf_text("Wyniki pomiarów stężeń czynników chemicznych w środowisku pracy "
                        "(metoda dozymetrii indywidualnej)") + "\\par}")
    info = [row([cell(CZYNNOSC, label, align="\\ql", bold=True), cell(KNDSCH2, field, align="\\ql")],
                "\\trkeep\\trrh284", size=18)
            for label, field in (("Klient:", "<KLIENTNAZWAH>"),
                                 ("Data wykonania pomiarów:", "<DATABADANH>"),
                                 ("Data wykonania obliczeń:", "<DATAOBLICZENH>"))]
    unit = "[mg/m{\\super 3}]"
    heading1 = row([
        cell(CZYNNOSC, "Stanowisko pracy,\\line badane czynności", FIRST, bold=True),
        cell(TI, "Numer i czas pobierania próbki", FIRST, bold=True),
        cell(MOC, "Zawartość w próbce [mg] (analiza podwykonawcy)", FIRST, bold=True),
        cell(X, "Stężenie X\\line " + unit, FIRST, bold=True),
        cell(KNDSCH2, "Ocena narażenia", bold=True),
    ], HEAD)
    heading2 = row([
        cell(CZYNNOSC, merge=NEXT),
        cell(TI, merge=NEXT),
        cell(MOC, merge=NEXT),
        cell(X, merge=NEXT),
        cell(CW, "Wskaźnik narażenia C{\\sub w}\\line " + unit, FIRST),
        cell(NDS, "NDS\\line " + unit, FIRST),
        cell(KNDS, "Krotność NDS", FIRST),
        cell(CH2, "Najwyższe stężenie chwilowe " + unit),
        cell(NDSCH, "NDSCh\\line " + unit, FIRST),
        cell(KNDSCH2, "Krotność NDSCh", FIRST),
    ], HEAD)
    heading3 = row([
        cell(CZYNNOSC, merge=NEXT),
        cell(NR, "Nr"),
        cell(TI, "T{\\sub i} [min]"),
        cell(MOC, merge=NEXT),
        cell(X, merge=NEXT),
        cell(CW, merge=NEXT),
        cell(NDS, merge=NEXT),
        cell(KNDS, merge=NEXT),
        cell(CH1, "X{\\sub 15}"),
        cell(CH2, "X{\\sub 15}"),
        cell(NDSCH, merge=NEXT),
        cell(KNDSCH2, merge=NEXT),
    ], HEAD)
    return CRLF.join([title] + info + [heading1, heading2, heading3]) + CRLF


def payload_summary():
    return row([
        cell(LP, "<LP>"),
        cell(CZYNNOSC, "<STANOWISKOH>\\line <MIEJSCEBADANH>", align="\\ql", bold=True),
        cell(X, "<RODZAJPYL>\\line Podwykonawstwo badań: <PODWYKONASTWOH>\\line <OZNACZALNOSC>",
             align="\\ql"),
        cell(CW, "<CW> ± <UCW>"),
        cell(NDS, "<NDS>"),
        cell(KNDS, "<KNDS>"),
        cell(CH1, "<CH1> ± <UCH1>"),
        cell(CH2, "<CH2> ± <UCH2>"),
        cell(NDSCH, "<NDSCH>"),
        cell(KNDSCH1, "<KNDSCH1>"),
        cell(KNDSCH2, "<KNDSCH2>"),
    ], DATA) + CRLF


def payload_sample(activity, fields):
    texts = ["", activity] + fields + [""] * 8
    cells = []
    for edge, text in zip(DATA_GRID, texts):
        cells.append(cell(edge, text, align="\\ql" if edge == CZYNNOSC else "\\qc"))
    return row(cells, DATA)


SAMPLE = ["<NRPROBKI>", "<TIPOB>", "<MOC>", "<STEZENIEXI>"]
PAYLOADS = {
    "Kolwenta3A.rtf": payload_head(),
    "Kolwenta3B.rtf": payload_summary(),
    "Kolwenta3C.rtf": payload_sample("<CZYNNOSCH>", SAMPLE) + CRLF,
    "Kolwenta3CC.rtf": payload_sample("", SAMPLE),
    "Kolwenta3CCC.rtf": payload_sample("", SAMPLE) + CRLF,
    "Kolwenta3CZ.rtf": payload_sample("", [""] * 4),
}

for name, text in PAYLOADS.items():
    (OUT / name).write_bytes(text.encode("ascii"))
    print("%-18s %5d bytes" % (name, len(text)))
