"""No lost work after a crash: text blocks inserted into a saved design and not saved again survive a
SIGKILL; the next start asks about them, Yes opens them under the design's own name and Save writes them
into its file; No leaves no copy behind."""

import glob

from tovrelline_e2e import check, main

QUESTION = " Tovrelline"


def test(session):
    def copies():
        return len(glob.glob(session.path("state", "Tovrelline", "recovery-*.tvl")))

    def text_names(design):
        return {item["name"] for item in design["itemList"]}

    def insert_texts(app, count):
        # Every tenth edit writes the recovery copy at once.
        for _ in range(count):
            app.choose("Edit", "Insert", "Text")

    # A first start as a new user: cancel the New Document offer, then give the design a file of its own.
    app = session.start_program()
    app.window(" New Document")
    app.keys("Escape", window="^ New Document$")
    app.gone(name=" New Document")
    app.choose("File", "Save As...")
    app.window("Save As")
    app.keys("ctrl+a", window="^Save As$")
    app.type(session.path("Album"), window="^Save As$")
    app.keys("Return", window="^Save As$")
    app.wait_caption("Album.tvl - Tovrelline")
    check(copies() == 0, "a saved design has a recovery copy")
    album = session.path("Album.tvl")

    insert_texts(app, 10)
    app.wait(lambda: copies() == 1, "the recovery copy")
    app.kill()

    # Yes: the changes come back under the design's own name, still to be saved.
    app = session.start_program(wait_for_window=False)
    box = app.window(QUESTION, seconds=90)
    app.click(app.find("push button", "Yes", root=box))
    app.wait(lambda: app.caption() == "Album.tvl - Tovrelline", "the recovered design", 60)
    check("Text 10" not in text_names(session.dump(album)), "the file had the changes before Save")
    app.keys("ctrl+s")
    app.wait(lambda: "Text 10" in text_names(session.dump(album)), "the recovered changes in the file")
    app.wait(lambda: copies() == 0, "the saved design's copy to go")

    # No: after another kill the copy is deleted and the start goes on as usual.
    insert_texts(app, 10)
    app.wait(lambda: copies() == 1, "the second recovery copy")
    app.kill()
    app = session.start_program(wait_for_window=False)
    box = app.window(QUESTION, seconds=90)
    app.click(app.find("push button", "No", root=box))
    app.wait(lambda: app.caption() is not None, "the main window", 60)
    check(copies() == 0, "answering No left a recovery copy")
    check("Text 11" not in text_names(session.dump(album)), "the declined changes reached the file")
    app.exit()
    check(copies() == 0, "a normal exit left a recovery copy")


if __name__ == "__main__":
    main(test)
