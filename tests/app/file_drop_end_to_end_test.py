"""Files dragged in from another program, as from a file manager, with the real pointer: a picture dropped on
the front cover becomes a picture item where it was dropped, one dropped with Shift held becomes the cover's
background, and a file that is not a picture is refused with a message and changes nothing. The saved design
holds the two pictures."""

import os

from tovrelline_e2e import SCREEN, check, main, png

# The other program's window sits in the screen's bottom-right corner, over the main window.
SOURCE = (SCREEN[0] - 130, SCREEN[1] - 130)


def drag_in(session, app, path, target, hold=None):
    """Starts another program offering path as text/uri-list and drags it from there onto target."""
    other = session.start_other_program(os.environ["TOVRELLINE_URI_DRAG_SOURCE"], *map(str, SOURCE), path)
    session.xdotool("search", "--sync", "--onlyvisible", "--pid", str(other.pid), "--name", "^Files$")
    app.drag((SOURCE[0] + 60, SOURCE[1] + 60), target, steps=20, hold=hold)
    return other


def test(session):
    for name, size, rgb in (("wide.png", (400, 200), (0, 0, 255)), ("square.png", (300, 300), (0, 200, 0))):
        with open(session.path(name), "wb") as f:
            f.write(png(*size, rgb))
    with open(session.path("notes.txt"), "w") as f:
        f.write("not a picture\n")

    app = session.start_program()
    app.window(" New Document")
    app.keys("Escape", window="^ New Document$")
    app.gone(name=" New Document")
    app.click(app.find(None, "Show the Front Cover"))
    x, y, w, h = app.find(None, "Label view").extents()
    target = (x + w // 2, y + h // 2)

    drag_in(session, app, session.path("wide.png"), target)
    drag_in(session, app, session.path("square.png"), target, hold="shift")
    drag_in(session, app, session.path("notes.txt"), target)
    app.find(None, "Invalid image format.")
    app.click(app.find("push button", "OK"))
    app.gone(None, "Invalid image format.")

    items = session.dump(app.save_as(session.path("Dropped.tvl")))["itemList"]
    images = {(item["image"] or {}).get("width"): item for item in items if item["itemType"] == "Image"}
    check(set(images) == {400, 300}, f"the design holds the pictures {images}")
    dropped, background = images[400], images[300]
    check(dropped["surface"] == "Front Cover" and dropped["bBackground"] == 0, f"the dropped picture is {dropped}")
    check(abs(dropped["width"] - 2 * dropped["height"]) <= 2, f"the dropped picture is {dropped}")
    check(background["surface"] == "Front Cover" and background["bBackground"] != 0,
          f"the picture dropped with Shift is {background}")
    app.exit()


if __name__ == "__main__":
    main(test)
