"""A picture as a new user arranges it: inserted from the Edit menu, its aspect ratio locked from the
properties toolbar after a stretch while unlocked, resized by its corner handle (the proportions hold), set as the disc's background, and both
the background and the resize undone; every step's placement is checked in the saved file."""

import os
import subprocess

from drag_end_to_end_test import check, pixels, sheet_origin
from tovrelline_e2e import main


def geometry(item):
    return tuple(item[k] for k in ("left", "top", "width", "height"))


def pictures(session, path):
    return {item["name"]: item for item in session.dump(path)["itemList"] if item["itemType"] == "Image"}


def saved_picture(app, session, path, name, changed_from):
    """Saves with Ctrl+S and returns the picture once its saved placement differs from changed_from."""
    app.keys("ctrl+s")
    app.wait(lambda: geometry(pictures(session, path)[name]) != changed_from, f"a new placement of {name}")
    return pictures(session, path)[name]


ASPECT_ENTRIES = ["Lock Aspect Ratio", "Unlock Aspect Ratio"]


def choose_aspect(app, entry):
    """Opens the toolbar's Aspect Ratio menu with the pointer and picks the entry with the keyboard (a tool
    button's pop-up menu is not in the accessibility tree)."""
    app.click(app.find(None, "Aspect Ratio"))
    app.keys(*["Down"] * (ASPECT_ENTRIES.index(entry) + 1), "Return", window=None)


def test(session):
    photo = session.path("wide.png")
    # Twice as wide as high, so a locked picture is always 2:1.
    subprocess.run(["convert", "-size", "400x200", "xc:#3060c0", photo], check=True)

    app = session.start_program()
    app.window(" New Document")
    app.keys("Escape", window="^ New Document$")
    app.gone(name=" New Document")
    design = session.path("Pictured.tvl")
    app.choose("File", "Save As...")
    app.window("Save As")
    app.keys("ctrl+a", window="^Save As$")
    app.type(design, window="^Save As$")
    app.keys("Return", window="^Save As$")
    app.wait_caption("Pictured.tvl - Tovrelline")
    before = set(pictures(session, design))

    app.choose("Edit", "Insert", "Image")
    app.window("Insert Image")
    app.keys("ctrl+a", window="^Insert Image$")
    app.type(photo, window="^Insert Image$")
    app.keys("Return", window="^Insert Image$")
    app.gone(name="Insert Image")
    app.keys("ctrl+s")
    app.wait(lambda: set(pictures(session, design)) - before, "the inserted picture in the file")
    (name,) = set(pictures(session, design)) - before
    inserted = pictures(session, design)[name]

    # A new picture keeps its proportions; unlocked, its right handle stretches it out of them.
    choose_aspect(app, "Unlock Aspect Ratio")
    app.keys("ctrl+s")
    app.wait(lambda: pictures(session, design)[name]["bAspectRatio"] == 0, "the unlocked picture in the file")
    view = app.find(None, "Label view")
    ox, oy = sheet_origin(session, view.extents())
    handle = (ox + pixels(inserted["left"] + inserted["width"]) + 6,
              oy + pixels(inserted["top"] + inserted["height"] // 2))
    app.move_to(*handle)
    app.drag(handle, (handle[0] + 50, handle[1]))
    stretched = saved_picture(app, session, design, name, geometry(inserted))
    check(stretched["width"] > 2 * stretched["height"] + 100, f"the unlocked picture kept 2:1: {geometry(stretched)}")

    # Locking fits the picture's box to its proportions again, from the same top-left corner.
    choose_aspect(app, "Lock Aspect Ratio")
    locked = saved_picture(app, session, design, name, geometry(stretched))
    check(locked["bAspectRatio"] == 1, "the picture is not locked")
    check(abs(locked["width"] - 2 * locked["height"]) <= 2, f"the locked picture is not 2:1: {geometry(locked)}")
    check((locked["left"], locked["top"]) == (inserted["left"], inserted["top"]), "locking moved the picture")

    # The bottom-right handle lies just outside the picture's corner; pulled down and right, the picture grows
    # with its proportions and its top-left corner stays.
    corner = (ox + pixels(locked["left"] + locked["width"]) + 6, oy + pixels(locked["top"] + locked["height"]) + 6)
    app.move_to(*corner)
    app.drag(corner, (corner[0] + 40, corner[1] + 40))
    resized = saved_picture(app, session, design, name, geometry(locked))
    check(resized["width"] > locked["width"], f"the corner did not make the picture larger: {geometry(resized)}")
    check(abs(resized["width"] - 2 * resized["height"]) <= 20, f"the resize lost the 2:1 shape: {geometry(resized)}")
    check((resized["left"], resized["top"]) == (locked["left"], locked["top"]), "the resize moved the top-left")

    app.click(app.find(None, "Set as Background"))
    background = saved_picture(app, session, design, name, geometry(resized))
    check(background["bBackground"] == 1, "the picture is not a background")
    disc = session.dump(design)["itemList"]
    disc = next(item for item in disc if item["name"] == background["surface"])
    check(background["surface"] == "Disc 1", f"the picture went to {background['surface']}")
    check(background["left"] <= disc["left"] and background["top"] <= disc["top"] and
          background["left"] + background["width"] >= disc["left"] + disc["width"] and
          background["top"] + background["height"] >= disc["top"] + disc["width"],
          f"the background {geometry(background)} does not cover the disc {geometry(disc)}")

    # Two undos take back the background and the resize: the locked placement is saved again.
    app.keys("ctrl+z")
    app.keys("ctrl+z")
    undone = saved_picture(app, session, design, name, geometry(background))
    check(geometry(undone) == geometry(locked), f"undo left {geometry(undone)}, not {geometry(locked)}")
    check(undone["bBackground"] == 0 and undone["bAspectRatio"] == 1, f"undo left the flags {undone}")
    check(os.path.getsize(design) > os.path.getsize(photo) // 100, "the picture was not saved with the design")
    app.exit()


if __name__ == "__main__":
    main(test)
