"""Moving and resizing a text block with the real pointer: with Snap to Grid on, a new text block is dragged
by its border to a new place and pulled wider by its right handle; each drag is one undo step, and the saved
file has the snapped placement."""

from tovrelline_e2e import check, main

WORKSPACE = (185, 185, 185)
ZOOM = 0.6  # a new design shows at zoom 6
DPI = 96  # the harness fixes the screen's logical resolution


def pixels(mils):
    return int(mils * DPI / 1000 * ZOOM)


def sheet_origin(session, view_box):
    """The screen position of the sheet's top-left corner: the first pixels inside the view that are not the
    grey workspace around the sheet."""
    # The view's frame and its scroll bars are left out: the sheet's corner lies in the upper left half.
    x0, y0, w, h = view_box
    inset = 4
    box = (x0 + inset, y0 + inset, w // 2, h // 2)
    image = session.screenshot(box)
    rows, columns = range(0, image.height, 3), range(0, image.width, 3)
    left = min((x for y in rows for x in range(image.width) if image.pixel(x, y) != WORKSPACE), default=None)
    top = min((y for x in columns for y in range(image.height) if image.pixel(x, y) != WORKSPACE), default=None)
    check(left is not None and top is not None, "the sheet is not shown")
    return box[0] + left, box[1] + top


def text_block(session, path):
    items = [item for item in session.dump(path)["itemList"] if item["name"] == "Text 1"]
    check(len(items) == 1, "the saved design has no Text 1")
    return items[0]


def test(session):
    app = session.start_program()
    app.window(" New Document")
    app.keys("Escape", window="^ New Document$")
    app.gone(name=" New Document")

    app.choose("Layout", "Snap to Grid")
    app.choose("Edit", "Insert", "Text")
    design = session.path("Dragged.tvl")
    app.choose("File", "Save As...")
    app.window("Save As")
    app.keys("ctrl+a", window="^Save As$")
    app.type(design, window="^Save As$")
    app.keys("Return", window="^Save As$")
    app.wait_caption("Dragged.tvl - Tovrelline")
    placed = text_block(session, design)

    view = app.find(None, "Label view")
    ox, oy = sheet_origin(session, view.extents())
    left, top = ox + pixels(placed["left"]), oy + pixels(placed["top"])
    right = ox + pixels(placed["left"] + placed["width"])
    middle = oy + pixels(placed["top"] + placed["height"] // 2)
    bottom = oy + pixels(placed["top"] + placed["height"])

    # A text block is taken by its border away from the handles: inside it the pointer would place the caret.
    grip = (left + (right - left) // 4, bottom + 6)
    app.drag(grip, (grip[0] + 60, grip[1] + 40))
    app.keys("ctrl+s")
    app.wait(lambda: text_block(session, design)["left"] != placed["left"], "the moved text in the file")
    moved = text_block(session, design)
    check(moved["left"] % 100 == 0 and moved["top"] % 100 == 0, f"the move did not snap: {moved['left']}, {moved['top']}")
    # 60 and 40 pixels at zoom 6 are about 1042 and 694 mils.
    check(abs(moved["left"] - placed["left"] - 1042) <= 100, f"moved to left {moved['left']} from {placed['left']}")
    check(abs(moved["top"] - placed["top"] - 694) <= 100, f"moved to top {moved['top']} from {placed['top']}")
    check((moved["width"], moved["height"]) == (placed["width"], placed["height"]), "the move changed the size")

    # The right handle sits just outside the right edge, half-way down.
    right += pixels(moved["left"]) - pixels(placed["left"])
    middle += pixels(moved["top"]) - pixels(placed["top"])
    app.move_to(right + 6, middle)
    app.drag((right + 6, middle), (right + 6 + 35, middle + 25))
    app.keys("ctrl+s")
    app.wait(lambda: text_block(session, design)["width"] != moved["width"], "the wider text in the file")
    wider = text_block(session, design)
    check((wider["left"] + wider["width"]) % 100 == 0, f"the right edge did not snap: {wider}")
    check(abs(wider["width"] - moved["width"] - 608) <= 100, f"width {wider['width']} from {moved['width']}")
    check((wider["left"], wider["top"], wider["height"]) == (moved["left"], moved["top"], moved["height"]),
          "pulling the right handle moved the other edges")

    # Each drag was one step: two undos bring the text back where it was inserted.
    app.keys("ctrl+z")
    app.keys("ctrl+z")
    app.keys("ctrl+s")
    app.wait(lambda: text_block(session, design)["left"] == placed["left"], "the undone moves in the file")
    back = text_block(session, design)
    check(all(back[k] == placed[k] for k in ("left", "top", "width", "height")), f"undo left {back}")
    app.exit()


if __name__ == "__main__":
    main(test)
