"""The Text Editor bar as a new user meets it: typing an artist and a two-line title into its boxes changes
every item linked to them on the label, the saved file holds the new album fields, and undo takes the
design back to where it started."""

from tovrelline_e2e import check, main

ARTIST = "Nora Vey"
TITLE_LINES = ("Salt", "and Glass")


def linked(design, base):
    return [item for item in design["itemList"] if item["name"].split("(")[0] == base]


def test(session):
    app = session.start_program()
    dialog = app.window(" New Document")
    app.click(app.find("list item", "  CD Jewel Case  (Single Disc)", root=dialog))
    app.click(app.find("push button", "OK", root=dialog))
    app.gone(name=" New Document")
    # A title and two artist blocks on the label, all linked to the album.
    for command in ("Title", "Artist", "Artist"):
        app.choose("Edit", "Insert", command)
    first = session.dump(app.save_as(session.path("Start.tvl")))
    check(len(linked(first, "Artist")) == 2 and len(linked(first, "Title")) == 1,
          f"the inserted items are missing: {[item['name'] for item in first['itemList']]}")

    artist = app.find("text", "Artist")
    app.click(artist)
    app.keys("ctrl+a")
    app.type(ARTIST)
    title = app.find("text", "Title")
    app.click(title)
    app.keys("ctrl+a")
    app.type(TITLE_LINES[0])
    app.keys("Return")
    app.type(TITLE_LINES[1])

    typed = session.dump(app.save_as(session.path("Typed.tvl")))
    for item in linked(typed, "Artist"):
        check(item["characters"] == ARTIST + "\b", f"{item['name']} holds {item['characters']!r}")
    for item in linked(typed, "Title"):
        check(item["characters"] == "\r".join(TITLE_LINES) + "\b", f"{item['name']} holds {item['characters']!r}")

    # Ctrl+Z in a box undoes in the view, one typed character at a time, back to the start.
    app.click(app.find("text", "Title"))
    app.keys(*(["ctrl+z"] * (len(ARTIST) + len("\n".join(TITLE_LINES)))))
    app.wait(lambda: app.find("text", "Artist").text() == "Artist", "the Artist box to read Artist again")
    undone = session.dump(app.save_as(session.path("Undone.tvl")))
    check(undone["itemList"] == first["itemList"], "undo did not give the linked items back")
    check(undone.get("albumHeader") == first.get("albumHeader"), "undo did not give the album fields back")
    app.exit()


if __name__ == "__main__":
    main(test)
