"""The Images bar as a new user meets it: it shows the pictures of the Pictures folder, the first press on a
thumbnail explains the two ways to use them, a thumbnail dragged onto the front cover with the real pointer
becomes a picture where it was dropped, a double click on another makes it the cover's background, and the
saved design holds both."""

import os

from tovrelline_e2e import check, main, png


def write_png(path, width, height, rgb):
    with open(path, "wb") as f:
        f.write(png(width, height, rgb))


def test(session):
    pictures = session.path("home", "Pictures")
    os.makedirs(pictures, exist_ok=True)
    write_png(os.path.join(pictures, "blue.png"), 400, 200, (0, 0, 255))
    write_png(os.path.join(pictures, "green.png"), 300, 300, (0, 200, 0))

    app = session.start_program()
    app.window(" New Document")
    app.keys("Escape", window="^ New Document$")
    app.gone(name=" New Document")
    app.click(app.find(None, "Show the Front Cover"))

    blue = app.find(None, "blue.png")
    green = app.find(None, "green.png")
    app.find(None, "[No Background]")

    # The first press only explains.
    app.click(blue)
    tip = app.find("push button", "OK")
    app.click(tip)
    app.gone("push button", "OK")

    view = app.find(None, "Label view")
    x, y, w, h = view.extents()
    target = (x + w // 2, y + h // 2)
    app.drag(blue.center(), target, steps=20)
    design = session.path("Pictures.tvl")

    app.click(green, repeat=2)

    app.choose("File", "Save As...")
    app.window("Save As")
    app.keys("ctrl+a", window="^Save As$")
    app.type(design, window="^Save As$")
    app.keys("Return", window="^Save As$")
    app.wait_caption("Pictures.tvl - Tovrelline")

    items = session.dump(design)["itemList"]
    # The pictures are told apart by their own sizes.
    images = {(item["image"] or {}).get("width"): item for item in items if item["itemType"] == "Image"}
    check(set(images) == {400, 300}, f"the design holds the pictures {images}")
    dropped, background = images[400], images[300]
    check(dropped["surface"] == "Front Cover" and dropped["bBackground"] == 0, f"the dropped picture is {dropped}")
    # The drop keeps the picture's proportions: 400 × 200.
    check(abs(dropped["width"] - 2 * dropped["height"]) <= 2, f"the dropped picture is {dropped}")
    check(background["surface"] == "Front Cover" and background["bBackground"] != 0,
          f"the double-clicked picture is {background}")
    cover = next(item for item in items if item["name"] == "Front Cover")
    # The jewel case's front cover folds: its background fills the front half.
    middle, right = cover["left"] + cover["width"] // 2, cover["left"] + cover["width"]
    check(cover["coverFolded"] == 1, f"the front cover does not fold: {cover}")
    check(background["left"] <= middle + 1 and background["left"] >= middle - 1
          and background["left"] + background["width"] >= right and background["height"] >= cover["height"],
          f"the background {background} does not fill the front half of {cover}")
    app.exit()


if __name__ == "__main__":
    main(test)
