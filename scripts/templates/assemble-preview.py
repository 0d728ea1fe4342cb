#!/usr/bin/env python3
"""Assembles the six fragments into one RTF document the way the main program does.

Usage: assemble-preview.py PAYLOAD_DIR OUTPUT.rtf
The document supplies the header and font 16 that the fragments rely on, then payloads 1 to 6
in table order with sample values in place of their fields.
"""
import pathlib
import re
import sys

ORDER = ["Kolwenta3A.rtf", "Kolwenta3B.rtf", "Kolwenta3C.rtf", "Kolwenta3CC.rtf",
         "Kolwenta3CCC.rtf", "Kolwenta3CZ.rtf"]

SAMPLES = [
    {"NRTABELI": "Tabela 3.", "KLIENTNAZWAH": "Zakład Mechaniczny „Świerk” Sp. z o.o., ul. Łąkowa 12, Łódź",
     "DATABADANH": "12.03.2024", "DATAOBLICZENH": "19.03.2024"},
    {"LP": "1.", "STANOWISKOH": "Spawacz", "MIEJSCEBADANH": "Hala produkcyjna nr 2",
     "RODZAJPYL": "Mangan i jego związki nieorganiczne – frakcja wdychalna",
     "PODWYKONASTWOH": "TAK", "OZNACZALNOSC": "oznaczalność: 0,0005 mg",
     "CW": "0,045", "UCW": "0,008", "NDS": "0,2", "KNDS": "0,23",
     "CH1": "0,061", "UCH1": "0,011", "CH2": "0,058", "UCH2": "0,010",
     "NDSCH": "–", "KNDSCH1": "–", "KNDSCH2": "–"},
    {"CZYNNOSCH": "Spawanie elementów konstrukcji stalowych metodą MAG",
     "NRPROBKI": "1/24", "TIPOB": "160", "MOC": "0,0137", "STEZENIEXI": "0,043"},
    {"NRPROBKI": "2/24", "TIPOB": "150", "MOC": "0,0141", "STEZENIEXI": "0,047"},
    {"NRPROBKI": "3/24", "TIPOB": "170", "MOC": "0,0152", "STEZENIEXI": "0,045"},
    {},
]

HEADER = ("{\\rtf1\\ansi\\ansicpg1250\\deff16"
          "{\\fonttbl{\\f16\\fswiss\\fcharset238 Arial;}}\r\n"
          "\\paperw16838\\paperh11906\\margl1310\\margr1310\\margt1134\\margb1134\\landscape\r\n")


def rtf_text(text):
    return "".join(ch if ord(ch) < 0x80 else "\\'%02x" % ch.encode("cp1250")[0] for ch in text)


def main():
    payload_dir = pathlib.Path(sys.argv[1])
    parts = [HEADER]
    assert len(ORDER) == len(SAMPLES)
    for name, values in zip(ORDER, SAMPLES):
        text = (payload_dir / name).read_bytes().decode("ascii")
        text = re.sub(r"<([A-Z0-9]+)>", lambda m: rtf_text(values[m.group(1)]), text)
        parts.append(text)
    parts.append("\\pard\\plain \\par}\r\n")
    pathlib.Path(sys.argv[2]).write_bytes("".join(parts).encode("ascii"))


main()
