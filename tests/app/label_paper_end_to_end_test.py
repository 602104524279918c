"""A new user picks and shapes label paper and exports labels from the window: a custom jewel stock is made
in the Label Alignment Wizard, its front unfolded and moved in millimetres, saved and chosen in Change Label
Paper; the catalogue file holds it and the exported front cover has its size. The disc label exported at
600 DPI with an overlap through the Export dialog matches `tovrelline export` of the same choices, and the
dialog's choices are read back from "export.ini"."""

import os
import struct
import subprocess

from tovrelline_e2e import check, main


def combo_beside(app, dialog, caption):
    """The drop-down list on the row of its caption (a combo box is read out by the entry it shows)."""
    label = app.find("label", caption, root=dialog)
    _, y, _, h = label.extents()
    middle = y + h // 2
    return app.wait(
        lambda: next(
            (c for c in app.find_all("combo box", root=dialog) if c.extents()[1] <= middle < c.extents()[1] + c.extents()[3]),
            None,
        ),
        f"the list beside {caption!r}",
    )


def pick(app, dialog, combo_name, entry):
    """Opens a drop-down list of the dialog with the pointer and clicks one of its entries."""
    combo = combo_beside(app, dialog, combo_name)
    app.click(combo)
    item = app.wait(
        lambda: next((e for e in app.find_all(name=entry) if e.role in ("list item", "menu item")), None),
        f"the entry {entry!r} of {combo_name!r}",
    )
    app.click(item)
    # The drop-down list is read out by the entry it shows.
    app.wait(lambda: combo.name == entry, f"{combo_name!r} to show {entry!r}")


def type_into(app, field, text, window):
    app.click(field)
    app.keys("ctrl+a", window=window)
    app.type(text, window=None)
    app.keys("Tab", window=None)


def read_stocks(path):
    """The stocks of a catalogue file, each with its name and front geometry, and its index text."""
    data = open(path, "rb").read()
    (count,) = struct.unpack_from("<H", data, 0)
    pos, records = 2, []
    for _ in range(count):
        (tag,) = struct.unpack_from("<H", data, pos)
        pos += 2
        if tag == 0xFFFF:  # the class itself the first time: schema, name length, name
            (length,) = struct.unpack_from("<H", data, pos + 2)
            pos += 4 + length
        (stock_type,) = struct.unpack_from("<i", data, pos)
        length = data[pos + 4]
        name = data[pos + 5 : pos + 5 + length].decode("cp1252")
        pos += 5 + length
        fields = struct.unpack_from("<16i", data, pos)
        pos += 16 * 4 + 24 * 4
        left1, top1, width1, folded = fields[6], fields[8], fields[10], fields[14]
        records.append(dict(type=stock_type, name=name, left1=left1, top1=top1, width1=width1, folded=folded))
    length = data[pos]
    return records, data[pos + 1 : pos + 1 + length].decode()


def identify(session, path):
    out = subprocess.run(["identify", "-units", "PixelsPerInch", "-format", "%w %h %x", path], capture_output=True,
                         text=True, timeout=60)
    check(out.returncode == 0, f"identify {path}: {out.stderr}")
    width, height, dpi = out.stdout.split()[:3]
    return int(width), int(height), round(float(dpi))


def pixels(path):
    out = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, timeout=120)
    check(out.returncode == 0, f"convert {path} failed")
    return out.stdout


def export_from_dialog(app, session, label, resolution, overlap, path):
    app.choose("File", "Export Label to Image File")
    dialog = app.window(" Export Label To Image File")
    pick(app, dialog, "Label", label)
    pick(app, dialog, "Resolution (Dots Per Inch)", resolution)
    pick(app, dialog, "Background Overlap", overlap)
    app.click(app.find("push button", "Save Image", root=dialog))
    app.window("Save Image")
    app.keys("ctrl+a", window="^Save Image$")
    app.type(path, window="^Save Image$")
    app.keys("Return", window="^Save Image$")
    app.wait(lambda: os.path.isfile(path), f"the exported {path}", 120)
    app.gone(name=lambda n: n.startswith(" Export Label") or "Image File" in n, seconds=120)


def test(session):
    app = session.start_program()
    dialog = app.window(" New Document")
    app.click(app.find("list item", "  CD Jewel Case  (Single Disc)", root=dialog))
    app.click(app.find("push button", "OK", root=dialog))
    app.gone(name=" New Document")

    # The properties bar opens both dialogs once the sheet itself is selected, by a click beside it.
    x, y, w, h = app.find(None, "Label view").extents()
    spot = (x + w - 30, y + 30)
    check(session.screenshot((*spot, 1, 1)).pixel(0, 0) == (185, 185, 185), "the spot beside the sheet is not free")
    app.click_at(*spot)
    app.click(app.find("push button", "Edit Dimensions"))
    wizard = app.window(" Label Alignment Wizard")
    shown = app.find("text", "Name", root=wizard).text()
    check(shown in ("(CD/DVD Disc Label - Generic)", "(CD Jewel Case - Plain Paper)"),
          f"the wizard shows {shown!r}, not a current stock")
    app.click(app.find("push button", "Cancel", root=wizard))
    app.gone(name=" Label Alignment Wizard")
    app.click(app.find("push button", "Change Label Paper"))
    paper = app.window(" Change Label Paper")
    app.click(app.find("push button", "Cancel", root=paper))
    app.gone(name=" Change Label Paper")

    # A custom jewel stock: the front unfolded and moved, in millimetres.
    app.choose("Layout", "Change Label Paper")
    paper = app.window(" Change Label Paper")
    create = max(app.find_all("push button", "Create New", root=paper), key=lambda b: b.extents()[0])
    app.click(create)
    wizard = app.window(" Label Alignment Wizard")
    pick(app, wizard, "Units", "Millimeters")
    pick(app, wizard, "Folded Cover", "No")
    type_into(app, app.find("spin button", "Left", root=wizard), "25.4", "Label Alignment Wizard")
    type_into(app, app.find("spin button", "Top", root=wizard), "12.7", "Label Alignment Wizard")
    app.click(app.find("push button", "Save", root=wizard))
    app.gone(name=" Label Alignment Wizard")
    app.wait(lambda: any(e.name == "Custom Jewel Case 1" and "selected" in e.states()
                         for e in app.find_all("list item", root=paper)), "the new stock to be selected")
    app.click(app.find("push button", "OK", root=paper))
    app.gone(name=" Change Label Paper")

    settings = session.path("config", "Tovrelline", "settings.ini")
    check("Units=Millimeters" in open(settings).read().split(), "the units were not written")
    catalogue = session.path("data", "Tovrelline", "labels.ini")
    stocks, indices = read_stocks(catalogue)
    custom = [s for s in stocks if s["name"] == "Custom Jewel Case 1"]
    check(len(custom) == 1, f"labels.ini holds {[s['name'] for s in stocks]}")
    custom = custom[0]
    check((custom["left1"], custom["top1"]) == (999, 499), f"the custom stock's front is at {custom}")
    check((custom["width1"], custom["folded"]) == (4760, 0), f"the custom front is not unfolded: {custom}")
    check(indices == f"0,{stocks.index(custom)}", f"the current stocks are {indices}")

    front = session.path("home", "front.png")
    export_from_dialog(app, session, "Front Cover", "150 DPI", "0.0 mm", front)
    check(identify(session, front) == (714, 714, 150), f"the front cover exported as {identify(session, front)}")

    # The disc label at 600 DPI with 2.5 mm of overlap, beside the command line's export of the same design.
    disc = session.path("home", "disc.png")
    export_from_dialog(app, session, "Disc Label", "600 DPI", "2.5 mm", disc)
    check(identify(session, disc) == (2895, 2895, 600), f"the disc label exported as {identify(session, disc)}")
    app.choose("File", "Save As...")
    app.window("Save As")
    app.keys("ctrl+a", window="^Save As$")
    app.type(session.path("home", "album"), window="^Save As$")
    app.keys("Return", window="^Save As$")
    design = session.path("home", "album.tvl")
    app.wait(lambda: os.path.isfile(design), "the saved design")
    reference = session.path("home", "reference.png")
    session.run("export", design, "--label", "disc1", "--dpi", "600", "--overlap", "100", "-o", reference)
    check(identify(session, reference) == identify(session, disc), "the dialog's export differs in size or resolution")
    check(pixels(reference) == pixels(disc), "the dialog's export differs in its pixels")

    # The dialog's last choices: disc label, PNG, 600 DPI, no border, 0.10 inch overlap, and the file.
    data = open(session.path("data", "Tovrelline", "export.ini"), "rb").read()
    values = struct.unpack_from("<8i", data, 0)
    check(values[:6] == (2, 2, 2, 0, 2, 0), f"export.ini holds {values}")
    length = data[32]
    check(data[33 : 33 + length].decode("cp1252") == disc, "export.ini does not name the exported file")
    app.exit()


if __name__ == "__main__":
    main(test)
