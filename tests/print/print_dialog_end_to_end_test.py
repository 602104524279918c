"""The Print dialog of the real program prints through a private CUPS queue (the test runs under
tests/support/with_private_cupsd.sh): a new jewel design is saved, the front, back and disc 1 are ticked,
and the queue's PDF has one Letter page a sheet, with the disc where `tovrelline export` draws it. Then the
front's stock is moved from the dialog's "Edit" in the Label Alignment Wizard, and "Print to PDF File…"
writes the same sheets as `tovrelline print -o` of the saved design."""

import glob
import os
import subprocess
import sys

from tovrelline_e2e import check, main

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app"))
from label_paper_end_to_end_test import read_stocks, type_into  # noqa: E402


def queued_pdfs():
    return sorted(glob.glob(os.path.join(os.environ["PRIVATE_CUPS_OUT"], "*.pdf")), key=os.path.getmtime)


def pdf_pages(path):
    info = subprocess.run(["pdfinfo", path], capture_output=True, text=True, check=True).stdout
    pages = next(line for line in info.splitlines() if line.startswith("Pages:"))
    size = next(line for line in info.splitlines() if line.startswith("Page size:"))
    return int(pages.split()[1]), size


def read_ppm(path):
    """Width, height and the RGB bytes of a binary PPM file."""
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos : pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end : end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    return int(fields[1]), int(fields[2]), data[pos + 1 :]


def test(session):
    check(os.environ.get("PRIVATE_CUPS_QUEUE"), "run through tests/support/with_private_cupsd.sh")
    app = session.start_program()
    dialog = app.window(" New Document")
    app.click(app.find("list item", "  CD Jewel Case  (Single Disc)", root=dialog))
    app.click(app.find("push button", "OK", root=dialog))
    app.gone(name=" New Document")

    app.choose("File", "Save As...")
    app.window("Save As")
    app.keys("ctrl+a", window="^Save As$")
    app.type(session.path("Album"), window="^Save As$")
    app.keys("Return", window="^Save As$")
    design = session.path("Album.tvl")
    app.wait(lambda: os.path.isfile(design), "the saved design")

    app.keys("ctrl+p")
    printing = app.window(" Print")
    # The private queue is the only printer, so it is the one chosen.
    app.find("combo box", os.environ["PRIVATE_CUPS_QUEUE"], root=printing)
    for label in ("Front Cover", "Back Cover", "Disc 1"):
        box = app.find("check box", label, root=printing)
        if "checked" not in box.states():
            app.click(box)
            app.wait(lambda: "checked" in box.states(), f"{label} to be ticked")
    app.find("label", "Total pages to print: 3", root=printing)
    before = len(queued_pdfs())
    app.click(app.find("push button", "Print", root=printing))
    app.gone(name=" Print")

    def finished():
        pdfs = queued_pdfs()
        idle = not subprocess.run(["lpstat", "-o", os.environ["PRIVATE_CUPS_QUEUE"]], capture_output=True,
                                  text=True).stdout.strip()
        return pdfs[-1] if len(pdfs) > before and idle else None

    pdf = app.wait(finished, "the queue's PDF", 120)
    pages, size = pdf_pages(pdf)
    check(pages == 3, f"the job has {pages} pages, not 3")
    check("612 x 792" in size, f"the first page is {size}, not Letter")

    # Disc 1 on the first sheet at 150 dpi against its export, at the generic stock's place (1938, 688).
    work = session.path("pixels")
    os.makedirs(work, exist_ok=True)
    session.run("export", design, "--label", "disc1", "--dpi", "150", "--overlap", "100",
                "-o", os.path.join(work, "disc.png"))
    subprocess.run(["pdftoppm", "-r", "150", "-f", "1", "-l", "1", pdf, os.path.join(work, "sheet")], check=True)
    subprocess.run(["convert", os.path.join(work, "disc.png"), os.path.join(work, "disc.ppm")], check=True)
    sheet_w, _, sheet = read_ppm(glob.glob(os.path.join(work, "sheet*.ppm"))[0])
    disc_w, disc_h, disc = read_ppm(os.path.join(work, "disc.ppm"))
    left, top = (1938 - 100) * 15 // 100, (688 - 100) * 15 // 100
    centre, hub = disc_w / 2, (800 + 100) * 0.15 + 4
    compared = differing = 0
    for y in range(0, disc_h, 4):
        for x in range(0, disc_w, 4):
            if (x - centre) ** 2 + (y - centre) ** 2 < hub * hub:
                continue
            a = disc[(y * disc_w + x) * 3 : (y * disc_w + x) * 3 + 3]
            i = ((top + y) * sheet_w + left + x) * 3
            b = sheet[i : i + 3]
            compared += 1
            differing += any(abs(p - q) > 40 for p, q in zip(a, b))
    check(differing * 100 < compared * 3, f"{differing} of {compared} disc pixels differ from the export")

    # "Edit" on the Front tab opens the wizard on the jewel stock; its front moves down to 1.5 inches.
    app.keys("ctrl+p")
    printing = app.window(" Print")
    app.click(app.find("page tab", "Front", root=printing))
    app.click(app.find("push button", "Edit Label Paper", root=printing))
    wizard = app.window(" Label Alignment Wizard")
    type_into(app, app.find("spin button", "Top", root=wizard), "1.5", "Label Alignment Wizard")
    app.click(app.find("push button", "Save", root=wizard))
    app.gone(name=" Label Alignment Wizard")
    stocks, _ = read_stocks(session.path("data", "Tovrelline", "labels.ini"))
    check(any(s["top1"] == 1500 for s in stocks), f"no stock's front is at 1.5 inches: {stocks}")

    # The same dialog prints into a PDF file.
    printer = app.find("combo box", os.environ["PRIVATE_CUPS_QUEUE"], root=printing)
    app.click(printer)
    app.click(app.wait(lambda: next((e for e in app.find_all(name="Print to PDF File\u2026")
                                     if e.role in ("list item", "menu item")), None), "the PDF entry"))
    app.wait(lambda: printer.name == "Print to PDF File\u2026", "the PDF entry to be chosen")
    app.click(app.find("push button", "Print", root=printing))
    app.gone(name=" Print")
    app.window("Print to PDF File")
    written = session.path("labels.pdf")
    app.keys("ctrl+a", window="^Print to PDF File$")
    app.type(session.path("labels"), window="^Print to PDF File$")
    app.keys("Return", window="^Print to PDF File$")
    app.wait(lambda: os.path.isfile(written) and os.path.getsize(written) > 0, "the PDF file")
    pages, size = pdf_pages(written)
    check(pages == 3 and "612 x 792" in size, f"the PDF file has {pages} pages of {size}")

    # Against the command line's print of the saved design: the same sheets, pixel for pixel.
    saved = os.path.getmtime(design)
    app.keys("ctrl+s")
    app.wait(lambda: os.path.getmtime(design) != saved, "the design to be saved again")
    verb = session.path("verb.pdf")
    session.run("print", design, "--labels", "front,back,disc1", "-o", verb)
    for name, path in (("dialog", written), ("verb", verb)):
        subprocess.run(["pdftoppm", "-r", "50", path, os.path.join(work, name)], check=True)
    for page in (1, 2, 3):
        mine = read_ppm(glob.glob(os.path.join(work, f"dialog-{page}.ppm"))[0])
        theirs = read_ppm(glob.glob(os.path.join(work, f"verb-{page}.ppm"))[0])
        check(mine[:2] == theirs[:2], f"page {page} is {mine[:2]} here and {theirs[:2]} from the verb")
        differing = sum(abs(p - q) > 40 for p, q in zip(mine[2], theirs[2]))
        check(differing * 1000 < len(mine[2]), f"page {page}: {differing} values differ from the verb's print")
    # The front now starts 1.5 inches down its sheet: the rows above it are blank on page 2.
    width, height, front_sheet = read_ppm(glob.glob(os.path.join(work, "dialog-2.ppm"))[0])
    above = front_sheet[: width * 3 * 70]
    check(all(v > 200 for v in above), "something is printed above the moved front")
    check(any(v < 200 for v in front_sheet[width * 3 * 80 :]), "the front is missing from its sheet")
    app.exit()


if __name__ == "__main__":
    main(test)
