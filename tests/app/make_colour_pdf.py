#!/usr/bin/env python3
"""Writes a PDF whose pages are filled with the given colours, one page each, with a line of
text ("Page N") and a few lines of body text on each:
    make_colour_pdf.py OUT.pdf ff0000 00c000 0000ff
    make_colour_pdf.py OUT.pdf --pages 100      (100 pages of changing light colours)"""
import sys

out, rest = sys.argv[1], sys.argv[2:]
if rest[:1] == ["--pages"]:
    count = int(rest[1])
    colours = ["%02x%02x%02x" % (200 + (i * 37) % 56, 200 + (i * 53) % 56, 200 + (i * 71) % 56)
               for i in range(count)]
else:
    colours = rest

font_id = 3
objects = [b"<< /Type /Catalog /Pages 2 0 R >>", None,
           b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
kids = []
body = "The quick brown fox jumps over the lazy dog. " * 2
for number, colour in enumerate(colours, start=1):
    r, g, b = (int(colour[i:i + 2], 16) / 255 for i in (0, 2, 4))
    text = [f"BT /F1 28 Tf 0 0 0 rg 60 720 Td (Page {number}) Tj ET"]
    text += [f"BT /F1 11 Tf 0 0 0 rg 60 {680 - 16 * line} Td ({body}) Tj ET" for line in range(12)]
    content = (f"{r:.3f} {g:.3f} {b:.3f} rg 0 0 612 792 re f\n" + "\n".join(text)).encode()
    objects.append(b"<< /Length %d >>\nstream\n%s\nendstream" % (len(content), content))
    content_id = len(objects)
    objects.append(b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents %d 0 R "
                   b"/Resources << /Font << /F1 %d 0 R >> >> >>" % (content_id, font_id))
    kids.append(len(objects))
objects[1] = b"<< /Type /Pages /Kids [%s] /Count %d >>" % (
    b" ".join(b"%d 0 R" % k for k in kids), len(kids))

pdf = bytearray(b"%PDF-1.4\n")
offsets = []
for number, obj in enumerate(objects, start=1):
    offsets.append(len(pdf))
    pdf += b"%d 0 obj\n%s\nendobj\n" % (number, obj)
xref = len(pdf)
pdf += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
for offset in offsets:
    pdf += b"%010d 00000 n \n" % offset
pdf += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
open(out, "wb").write(pdf)
