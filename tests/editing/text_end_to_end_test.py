"""Typing on the label as a new user would: a new text block takes typed characters, Backspace removes one,
Shift with the arrows selects a word that Bold then formats alone; the saved file holds the characters and
fonts, and undo takes the design back to where it started."""

import os

from tovrelline_e2e import check, main

TYPED = "Liner notes, side A: "
FOREIGN = "Ærø – Ölüdeniz 東京"


def test(session):
    app = session.start_program()
    dialog = app.window(" New Document")
    app.click(app.find("list item", "  CD Jewel Case  (Double Disc)", root=dialog))
    app.click(app.find("push button", "OK", root=dialog))
    app.gone(name=" New Document")
    first = session.dump(app.save_as(session.path("Start.tvl")))

    # A new text block reads "Text" with the caret before it.
    app.keys("alt+e", "i", "t")
    app.type(TYPED)
    app.keys("End", "BackSpace", "shift+Left", "shift+Left", "shift+Left")
    app.click(app.find("check box", "Bold"))

    design = session.dump(app.save_as(session.path("Typed.tvl")))
    items = {item["name"]: item for item in design["itemList"]}
    text = items.get("Text 1")
    check(text is not None, f"no text block among {sorted(items)}")
    check(text["characters"] == TYPED + "Tex\b", f"the text block holds {text['characters']!r}")
    weights = {font["slot"]: font["weight"] for font in text["fonts"]}
    check(weights.get(0) == 400, f"the typed characters are not plain: {text['fonts']}")
    check(weights.get(len(TYPED)) == 700, f"the selected word is not bold: {text['fonts']}")
    check(all(weight == 400 for slot, weight in weights.items() if slot < len(TYPED)),
          f"bold reaches before the selection: {text['fonts']}")

    # Keys typed in one burst and Ctrl+S right after them reach the program before it is idle: the save
    # still holds every typed character, at the caret.
    saved = os.path.getmtime(session.path("Typed.tvl"))
    app.keys("Home")
    app.focus()
    session.xdotool("key", "--clearmodifiers", "--delay", "0", "x", "y", "z", "ctrl+s")
    app.wait(lambda: os.path.getmtime(session.path("Typed.tvl")) != saved, "Ctrl+S to save the design")
    burst = session.dump(session.path("Typed.tvl"))
    text = {item["name"]: item for item in burst["itemList"]}["Text 1"]
    check(text["characters"] == "xyz" + TYPED + "Tex\b", f"the saved text block holds {text['characters']!r}")

    # Characters the keyboard map does not hold go in and are saved as they are. xdotool binds a spare key
    # to each one for a moment; the long pause lets a busy program read the key before the binding goes.
    # Such a key has the small letter unshifted and the capital with Shift, so a capital is typed with Shift.
    app.keys("End")
    app.focus()
    for character in FOREIGN:
        if character.isascii():
            session.xdotool("type", "--delay", "100", character)
        else:
            shift = "shift+" if character.isupper() else ""
            session.xdotool("key", "--clearmodifiers", "--delay", "1000", f"{shift}U{ord(character):04X}")
    foreign = {item["name"]: item for item in session.dump(app.save_as(session.path("Foreign.tvl")))["itemList"]}
    foreign = foreign["Text 1"]
    check(foreign["characters"] == "xyz" + TYPED + "Tex" + FOREIGN + "\b",
          f"the typed characters came out as {foreign['characters']!r}")

    # Undo back to the start: the design is as it was before the text block.
    app.keys(*(["ctrl+z"] * 80))
    undone = session.dump(app.save_as(session.path("Undone.tvl")))
    check(undone["itemList"] == first["itemList"], "undo did not give the starting design back")
    app.exit()


if __name__ == "__main__":
    main(test)
