#!/usr/bin/env python3
"""The peer of zorvi-export csv: Python's csv module writing the same rows
(sales-lines.csv and sales.csv) from the same takings archives."""
import csv
import os
import sys

MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"]


def day_of(name):
    if not name.startswith("Res") or len(name) < 13 or name[10] != ".":
        return None
    return "%s-%02d-%s" % (name[3:7], MONTHS.index(name[7:10]) + 1, name[11:13])


def main(shop, out):
    os.makedirs(out, exist_ok=True)
    names = sorted(n for n in os.listdir(shop) if day_of(n))
    with open(os.path.join(out, "sales-lines.csv"), "w", newline="", encoding="utf-8") as lf, \
            open(os.path.join(out, "sales.csv"), "w", newline="", encoding="utf-8") as tf:
        lines, totals = csv.writer(lf), csv.writer(tf)
        lines.writerow(["file", "line", "date", "kind", "sales_person", "code", "quantity",
                        "wholesale", "list_price", "unit_price", "amount", "paid"])
        totals.writerow(["file", "line", "date", "time", "kind", "lines", "cash", "cheque",
                         "credit", "tax", "total", "received", "change"])
        for name in names:
            date = day_of(name)
            group = 0
            with open(os.path.join(shop, name), encoding="cp1252", newline="") as f:
                for number, text in enumerate(f, 1):
                    text = text.rstrip("\r\n")
                    if text.startswith("#"):
                        n = text[16:].split()
                        totals.writerow([name, number, date, text[10:15].strip(), "sale", group,
                                         "%.2f" % float(n[0]), "%.2f" % float(n[1]),
                                         "%.2f" % float(n[2]), "%.2f" % float(n[3]),
                                         "%.2f" % float(n[4]), "%.2f" % float(n[5]),
                                         "%.2f" % float(n[6])])
                        group = 0
                    elif text and text[0] != "*":
                        n = text[16:].split()
                        lines.writerow([name, number, date, "article", text[0], text[2:15].strip(),
                                        *("%.2f" % float(v) for v in n[:5]), "yes"])
                        group += 1


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
