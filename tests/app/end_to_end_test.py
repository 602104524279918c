"""The real designer as a new user meets it: without a display it lists its command-line verbs; the first
start writes the default design and offers a new one, a double DVD design is chosen and saved through the
Save As dialog, the About box is opened from the Help menu, the program quits through File > Exit and starts
a second time with the saved design named on its command line."""

import os
import subprocess

from tovrelline_e2e import check, main


def test(session):
    env = {k: v for k, v in session.env.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    bare = subprocess.run([session.program], env=env, capture_output=True, text=True, timeout=60)
    check(bare.returncode == 1, f"start without a display exited with {bare.returncode}")
    check("needs a graphical display" in bare.stderr, "no plain message without a display")
    check("tovrelline help" in bare.stdout, "the command-line verbs were not listed")

    app = session.start_program()
    check(app.caption() == "Untitled.tvl - Tovrelline", f"the first caption is {app.caption()!r}")
    check(os.path.isfile(session.path("data", "Tovrelline", "Default1.tvl")), "the first start did not write Default1.tvl")

    # The first run offers a new design: the DVD case for two discs, without the default template.
    dialog = app.window(" New Document")
    app.click(app.find("list item", "  DVD Case  (Double Disc)", root=dialog))
    template = app.find("check box", "Use Default Template.", root=dialog)
    app.click(template)
    app.wait(lambda: "checked" not in template.states(), "the template box to clear")
    app.click(app.find("push button", "OK", root=dialog))
    app.gone(name=" New Document")

    settings = session.path("config", "Tovrelline", "settings.ini")
    app.wait(lambda: "HelpScreen=1" in open(settings).read().split(), "HelpScreen to be written")
    check("Version=4.00" in open(settings).read().split(), "Version 4.00 was not written")
    app.wait(lambda: "help/index.html" in open(session.path("opened")).read(), "the user guide to be opened")

    # Save As through the file dialog: the name gets its ".tvl" and the design reads back as double DVD.
    app.choose("File", "Save As...")
    app.window("Save As")
    app.keys("ctrl+a", window="^Save As$")
    app.type(session.path("My Album"), window="^Save As$")
    app.keys("Return", window="^Save As$")
    saved = session.path("My Album.tvl")
    app.wait(lambda: os.path.isfile(saved), "the saved design")
    app.wait_caption("My Album.tvl - Tovrelline")
    header = session.dump(saved)["header"]
    check(header["discMode"] == "Double", f"the saved design's disc mode is {header['discMode']}")
    check(header["caseKind"] == "DVD", f"the saved design's case is {header['caseKind']}")

    app.choose("Help", "About Tovrelline")
    title = app.window(lambda n: "About Tovrelline" in n).name
    app.keys("Escape", window="About Tovrelline")
    app.gone(name=title)

    app.exit()
    check("State=" in open(session.path("config", "Tovrelline", "layout.ini")).read(), "the bar layout was not saved")

    # The second start neither opens the guide again nor rewrites the first-run values; the design named on
    # the command line opens.
    app = session.start_program(saved)
    app.wait_caption("My Album.tvl - Tovrelline")
    check(len(open(session.path("opened")).read().splitlines()) == 1, "the second start opened the guide again")
    app.exit()


if __name__ == "__main__":
    main(test)
