"""Inserting through the Edit menu with the keyboard, as a new user would: in a design for two discs the
Artist asks which disc it shows, a free text block asks nothing, undo takes the text back, and the saved
file holds the artist of disc 2 where the Insert command put it."""

import os

from tovrelline_e2e import check, main


def test(session):
    app = session.start_program()
    dialog = app.window(" New Document")
    app.click(app.find("list item", "  CD Jewel Case  (Double Disc)", root=dialog))
    app.click(app.find("push button", "OK", root=dialog))
    app.gone(name=" New Document")

    # Edit > Insert > Artist by its access keys; the question about the disc is answered with the keyboard.
    app.keys("alt+e", "i", "a")
    question = app.window(" Double CD mode")
    disc2 = app.find("radio button", "Disc 2", root=question)
    app.keys("alt+2", window="^ Double CD mode$")
    app.wait(lambda: "checked" in disc2.states(), "Disc 2 to be chosen")
    app.keys("Return", window="^ Double CD mode$")
    app.gone(name=" Double CD mode")

    # Free text belongs to no disc: nothing is asked, and undo takes it back.
    app.keys("alt+e", "i", "t")
    app.keys("ctrl+z")

    app.keys("alt+f", "a")
    app.window("Save As")
    app.keys("ctrl+a", window="^Save As$")
    app.type(session.path("Inserted"), window="^Save As$")
    app.keys("Return", window="^Save As$")
    saved = session.path("Inserted.tvl")
    app.wait(lambda: os.path.isfile(saved), "the saved design")

    design = session.dump(saved)
    items = {item["name"]: item for item in design["itemList"]}
    check("Text 1" not in items, "the undone text block was saved")
    check("Artist(1)" not in items, "the artist was not attached to a disc")
    artist = items.get("Artist - Disc 2(1)")
    check(artist is not None, f"no artist of disc 2 among {sorted(items)}")
    check(artist["itemType"] == "Text" and artist["bLinkText"] == 1, f"the artist is not a linked text: {artist}")
    check(artist["characters"] == design["header"]["Artist - Disc 2"], "the artist does not show disc 2's artist")
    check(artist["surface"] == "Disc 1" and artist["pageCode"] == "1", f"the artist is on {artist['surface']}")
    check(artist["characters"] == "Artist - Disc 2\b", f"the artist shows {artist['characters']!r}")
    # Placed left of the hub of the disc shown, as wide as that part allows and 0.4 inch high.
    disc = items["Disc 1"]
    free_width = disc["width"] // 2 - disc["height"] // 2 - disc["textMargin"]
    check(artist["width"] == min(2000, free_width) and artist["height"] == 400, f"the artist's size is {artist}")
    check(disc["left"] <= artist["left"] and artist["left"] + artist["width"] <= disc["left"] + free_width,
          f"the artist at {artist['left']} is not left of the hub")
    check(disc["top"] <= artist["top"] and artist["top"] + artist["height"] <= disc["top"] + disc["width"],
          f"the artist at {artist['top']} is off the disc")
    app.exit()


if __name__ == "__main__":
    main(test)
