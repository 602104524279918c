"""One word made bold and red as a new user would: the word selected on the label with the keyboard, Bold
clicked, the text colour's palette opened and Red clicked; the saved file holds the word bold and red and
the rest of the text as it was. A colour typed into the custom colour dialog and cancelled leaves the design
as it was."""

from tovrelline_e2e import check, main

TYPED = "Say red "
WORD = TYPED.index("red")


def runs(entries, key):
    """The value in effect at every slot, from the dump's sparse run list."""
    starts = {entry["slot"]: entry[key] for entry in entries}
    return lambda index: starts[max(slot for slot in starts if slot <= index)]


def test(session):
    app = session.start_program()
    dialog = app.window(" New Document")
    app.click(app.find("list item", "  CD Jewel Case  (Single Disc)", root=dialog))
    app.click(app.find("push button", "OK", root=dialog))
    app.gone(name=" New Document")

    # A new text block reads "Text" with the caret before it; the typed words go in front.
    app.keys("alt+e", "i", "t")
    app.type(TYPED)
    app.keys("Left", "shift+Left", "shift+Left", "shift+Left")
    app.click(app.find("check box", "Bold"))
    app.click(app.find(None, "Text color"))
    app.click(app.find(None, "Red"))
    app.gone(name="Red")

    design = session.dump(app.save_as(session.path("Red.tvl")))
    items = {item["name"]: item for item in design["itemList"]}
    text = items.get("Text 1")
    check(text is not None, f"no text block among {sorted(items)}")
    check(text["characters"] == TYPED + "Text\b", f"the text block holds {text['characters']!r}")
    weight = runs(text["fonts"], "weight")
    colour = runs(text["colors"], "color")
    for index in range(len(text["characters"])):
        inside = WORD <= index < WORD + 3
        check(weight(index) == (700 if inside else 400),
              f"character {index} has weight {weight(index)}: {text['fonts']}")
        check(colour(index) == ("#FF0000" if inside else "#000000"),
              f"character {index} has colour {colour(index)}: {text['colors']}")

    # The custom colour dialog shows its colour on the label while open; Cancel takes it back.
    app.click(app.find(None, "Text color"))
    app.click(app.find("push button", "More Colors"))
    custom = app.window("Custom Color")
    red = app.find("spin button", "Red", root=custom)
    app.click(red, repeat=2)
    app.keys("ctrl+a", window="^Custom Color$")
    app.type("12", window="^Custom Color$")
    app.keys("Tab", window="^Custom Color$")
    app.click(app.find("push button", "Cancel", root=custom))
    app.gone(name="Custom Color")
    after = session.dump(app.save_as(session.path("Cancelled.tvl")))
    check(after["itemList"] == design["itemList"], "Cancel in the custom colour dialog changed the design")
    app.exit()


if __name__ == "__main__":
    main(test)
