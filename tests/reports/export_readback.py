#!/usr/bin/env python3
"""Reads zorvi-export's files back with Python's own csv and XML readers and
holds every value against the fixed columns of the line it names."""
import csv
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from decimal import Decimal

exe = sys.argv[1]


def line(marker, code, *numbers):
    widths = (8, 10, 12, 12, 13)
    return (marker + " " + code.ljust(13) + "".join(" " + f"{n:.2f}".rjust(w) for n, w in zip(numbers, widths))).encode("cp1252")


def total(clock, cash, cheque, credit, tax, tot, received, change):
    return (f"# Total***{clock:>5} {cash:7.2f} {cheque:8.2f} {credit:8.2f}{'':10}{tax:7.2f} {tot:11.2f} {received:11.2f} {change:5.2f}").encode()


with tempfile.TemporaryDirectory() as work:
    shop = os.path.join(work, "shop")
    os.mkdir(shop)
    records = [b"* START of SALE   01.12.26 08:00",
               line("A", 'Caf\u00e9 "X",1', 2, 1.5, 2.25, 2.25, 4.5),
               line("b", "/WASH", 1, 0, 3.1, 3.1, 3.1),
               total("9:05", 7.6, 0, 0, 0.3, 7.6, 10, 2.4),
               line("A", "ART2", -1, -0.5, -0.99, -0.99, -0.99),
               total("10:15", -0.99, 0, 0, 0, -0.99, -0.99, 0)]
    with open(os.path.join(shop, "Res2026Dez.01"), "wb") as f:
        f.write(b"\r\n".join(records) + b"\r\n")

    out = os.path.join(work, "out")
    subprocess.run([exe, "csv", shop, out], check=True, capture_output=True)
    subprocess.run([exe, "html", shop, os.path.join(work, "r.html")], check=True, capture_output=True)

    def source(row):
        with open(os.path.join(shop, row["file"]), "rb") as f:
            return f.read().split(b"\r\n")[int(row["line"]) - 1].decode("cp1252")

    with open(os.path.join(out, "sales-lines.csv"), newline="", encoding="utf-8") as f:
        rows = list(csv.DictReader(f))
    assert len(rows) == 3, rows
    for row in rows:
        text = source(row)
        assert row["code"] == text[2:15].strip(), (row, text)
        fields = [text[16:24], text[25:35], text[36:48], text[49:61], text[62:75]]
        names = ["quantity", "wholesale", "list_price", "unit_price", "amount"]
        for name, field in zip(names, fields):
            assert Decimal(row[name]) == Decimal(field), (name, row, text)
    assert rows[0]["code"] == 'Caf\u00e9 "X",1' and rows[2]["kind"] == "return"

    with open(os.path.join(out, "sales.csv"), newline="", encoding="utf-8") as f:
        sales = list(csv.DictReader(f))
    takings = Decimal(0)
    for row in sales:
        text = source(row)
        assert Decimal(row["total"]) == Decimal(text[59:70]), (row, text)
        assert Decimal(row["change"]) == Decimal(text[83:88]), (row, text)
        takings += Decimal(row["total"])

    page = ET.parse(os.path.join(work, "r.html")).getroot()
    ns = {"h": "http://www.w3.org/1999/xhtml"}
    shown = {tr.find("h:th", ns).text: tr.find("h:td", ns).text
             for tr in page.iterfind(".//h:table[@class='totals']/h:tr", ns)}
    assert Decimal(shown["Takings"]) == takings == Decimal("6.61"), shown
    assert page.find(".//{http://www.w3.org/2000/svg}svg") is not None
print("export read back")
