"""The clipboard shared with other programs: a PNG another program offers is pasted as a picture and copied
back out as PNG and BMP, text with non-Latin characters goes into a text block from the clipboard and comes
out of it again for another program, and a text block copied in one design is pasted into another; the saved
designs hold all of it."""

import struct
import time

from tovrelline_e2e import check, main, png


def test(session):
    app = session.start_program()
    app.window(" New Document")
    app.keys("Escape", window="^ New Document$")
    app.gone(name=" New Document")
    other = session.path("Other.tvl")
    app.save_as(other)
    app.wait_caption("Other.tvl - Tovrelline")
    app.click(app.find(None, "Show the Front Cover"))

    # A picture from another program: the command names what it would paste.
    session.put_clipboard(png(64, 32, (200, 30, 30)), "image/png")
    app.wait(lambda: session.read_clipboard("image/png"), "xclip to offer the picture", 20)
    app.choose("Edit", "Paste Image")

    # The pasted picture is selected; other programs can paste it back as PNG or BMP.
    session.put_clipboard(b"placeholder", "text/plain")
    app.wait(lambda: session.read_clipboard("text/plain") == b"placeholder", "xclip to take the clipboard", 20)
    app.choose("Edit", "Copy Image")
    app.wait(lambda: (session.read_clipboard("image/png") or b"").startswith(b"\x89PNG"), "a PNG on the clipboard", 20)
    copied = session.read_clipboard("image/png")
    check(struct.unpack(">II", copied[16:24]) == (64, 32), f"the copied PNG's header is {copied[:24]!r}")
    targets = (session.read_clipboard("TARGETS") or b"").split()
    check(b"image/bmp" in targets, f"the clipboard offers {targets}")

    # Text from another program goes into a new text block in place of its selected text; tab and CR LF
    # become a blank and a line break.
    app.choose("Edit", "Insert", "Text")
    session.put_clipboard("東京 A\tB\r\nC".encode(), "UTF8_STRING")
    app.wait(lambda: session.read_clipboard("UTF8_STRING"), "xclip to offer the text", 20)
    app.keys("Home", "shift+End", "ctrl+v")
    time.sleep(0.5)
    app.keys("Home", "shift+End", "ctrl+c")
    app.wait(lambda: session.read_clipboard("UTF8_STRING") == "東京 A B\r\nC".encode(),
             "the copied text on the clipboard", 20)

    app.choose("Edit", "Copy Object")
    design = session.path("Clipboard.tvl")
    app.save_as(design)
    app.wait_caption("Clipboard.tvl - Tovrelline")

    # The other design takes the copied block under a name of its own.
    app.choose("File", "Open...")
    app.window("Open")
    app.keys("ctrl+a", window="^Open$")
    app.type(other, window="^Open$")
    app.keys("Return", window="^Open$")
    app.wait_caption("Other.tvl - Tovrelline")
    app.choose("Edit", "Paste Object")
    app.keys("ctrl+s")
    app.wait_caption("Other.tvl - Tovrelline")

    items = {item["name"]: item for item in session.dump(design)["itemList"]}
    picture = items.get("Image(1)")
    check(picture and picture["surface"] == "Front Cover" and picture["bAspectRatio"] == 1,
          f"the pasted picture is {picture}")
    check((picture["width"], picture["height"]) == (1000, 500), f"the pasted picture's box is {picture}")
    check((picture["image"] or {}).get("width") == 64, f"the pasted picture's pixels are {picture['image']}")
    text = items.get("Text 1")
    check(text and text["characters"] == "東京 A B\rC\b", f"the text block is {text}")

    pasted = {item["name"]: item for item in session.dump(other)["itemList"]}.get("Text 1(1)")
    check(pasted and pasted["characters"] == "東京 A B\rC\b" and pasted["bLinkText"] == 0,
          f"the other design holds {pasted}")
    # It goes on the surface the other design opened at, the disc it was saved showing.
    check(pasted["surface"] == "Disc 1" and pasted["pageCode"] == "1", f"the pasted block is on {pasted}")
    app.exit()


if __name__ == "__main__":
    main(test)
