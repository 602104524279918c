"""Read CD as a new user does it, against recorded drives and a disc database of the test's own.

The program sees the drives described in a recorded-drives file (TOVRELLINE_RECORDED_DRIVES) and asks a
CDDB server that this test runs on loopback. CTest starts the test inside a network namespace of its own
(unshare -n), so that not even a name lookup leaves the machine.
"""

import http.server
import os
import shutil
import socketserver
import threading
import urllib.parse

from tovrelline_e2e import Failure, main

MP3_DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "discinfo", "data", "mp3")


def entry(title, year):
    return (
        "210 rock 0c016602 entry follows\r\n# xmcd\r\n# Track frame offsets:\r\n#\t150\r\n#\t14270\r\n"
        "# Disc length: 360 seconds\r\n# Submitted via: Tagger 1.0\r\nDISCID=0c016602\r\n"
        f"DTITLE=The Band / {title}\r\nDYEAR={year}\r\nDGENRE=Rock\r\nTTITLE0=Opening\r\nTTITLE1=Closing\r\n"
        "EXTD=\r\nEXTT0=\r\nEXTT1=\r\nPLAYORDER=\r\n.\r\n"
    )


class Cddb(socketserver.ThreadingMixIn, http.server.HTTPServer):
    """A CDDB server on 127.0.0.1 with two matches for the two-track disc; stalls on request."""

    daemon_threads = True
    stall = threading.Event()
    done = threading.Event()
    requests = []

    def __init__(self):
        super().__init__(("127.0.0.1", 0), CddbHandler)
        threading.Thread(target=self.serve_forever, daemon=True).start()


class CddbHandler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        query = urllib.parse.parse_qs(urllib.parse.urlparse(self.path).query)
        command = query.get("cmd", [""])[0].split(" ")
        self.server.requests.append(self.path)
        if self.server.stall.is_set():
            self.server.done.wait(30)
            return
        if command[:2] == ["cddb", "query"]:
            body = "211 matches follow\r\nrock 0c016602 The Band / First\r\njazz 0c016602 The Band / Second\r\n.\r\n"
        elif command[:2] == ["cddb", "read"]:
            body = entry("First", 1999) if command[2] == "rock" else entry("Second", 2004)
        else:
            body = "500 Unknown command\r\n"
        data = body.encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)


def cd_text(album, artist, tracks):
    """The drive's answer to the CD-TEXT request, in hex: title and performer packs of block 0."""
    packs = b""
    sequence = 0
    for kind, strings in ((0x80, [album] + tracks), (0x81, [artist] + [""] * len(tracks))):
        text = b"".join(s.encode("latin-1") + b"\0" for s in strings)
        starts = [0]
        for s in strings:
            starts.append(starts[-1] + len(s) + 1)
        for at in range(0, len(text), 12):
            track = max(i for i, start in enumerate(starts) if start <= at)
            chunk = text[at : at + 12].ljust(12, b"\0")
            packs += bytes([kind, track, sequence, 0]) + chunk + b"\0\0"
            sequence += 1
    length = len(packs) + 2
    return (bytes([length >> 8, length & 0xFF, 0, 0]) + packs).hex()


def new_design(app, kind):
    app.choose("File", "New...")
    new = app.window(" New Document")
    app.click(app.find("list item", kind, root=new), repeat=2)
    app.gone(name=" New Document")


def write_settings(session, port):
    folder = session.path("config", "Tovrelline")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "settings.ini"), "w") as f:
        f.write(
            "[String]\n"
            f"FreedbOptions=127.0.0.1`{port}`/~cddb/cddb.cgi`The test's server`0`````\n"
            "[Number]\nHelpScreen=1\nbCDText=0\n"
        )


def write_drives(session, disc):
    path = session.path("drives.json")
    with open(path, "w") as f:
        f.write(disc)
    session.env["TOVRELLINE_RECORDED_DRIVES"] = path


def open_read_cd(app):
    app.click(app.find("push button", "Read CD"))
    dialog = app.window(" Read CD")
    app.click(app.find("push button", "Read CD", root=dialog))
    return dialog


def save_as(app, session, name):
    path = session.path("home", name)
    app.choose("File", "Save As...")
    app.window(lambda n: n and "Save As" in n)
    app.keys("ctrl+a", window="Save As")
    app.type(path, window="Save As")
    app.keys("Return", window="Save As")
    app.wait(lambda: os.path.exists(path), f"{name} to be written")
    return path


def test(session):
    server = Cddb()
    write_settings(session, server.server_address[1])
    mp3_disc = session.path("mp3disc")
    os.makedirs(mp3_disc)
    shutil.copy(os.path.join(MP3_DATA, "tagged_v2.mp3"), os.path.join(mp3_disc, "01_first_file.mp3"))
    write_drives(session, '{"drives": [{"device": "/dev/sr0", "toc": "150 14270 27000"}]}')
    app = session.start_program()

    # A double design; Read CD; the second match goes to disc 2.
    new_design(app, "  CD Jewel Case  (Double Disc)")
    dialog = open_read_cd(app)
    found = app.window(" Found 2 matches")
    app.click(app.find("list item", " 2. [Freedb]", root=found))
    app.click(app.find("push button", "OK", root=found))
    choice = app.window(" Double CD mode")
    app.click(app.find("radio button", "Disc 2", root=choice))
    app.click(app.find("push button", "OK", root=choice))
    app.gone(name=" Found 2 matches")
    header = session.dump(save_as(app, session, "double.tvl"))["header"]
    expected = {
        "Artist - Disc 2": "The Band\b",
        "Title - Disc 2": "Second\b",
        "Year - Disc 2": "2004\b",
        "Genre - Disc 2": "Rock\b",
        "Track List - Disc 2": "1. \bOpening\b 3:08\b2. \bClosing\b 2:49\b",
        "Time - Disc 2": "5:58\b",
    }
    for key, value in expected.items():
        if header.get(key) != value:
            raise Failure(f"{key} is {header.get(key)!r}, not {value!r}")
    if not any("hello=" in r and "cddb+query+0c016602+2+150+14270+360" in r for r in server.requests):
        raise Failure(f"no query for the disc reached the server: {server.requests}")

    # Undo takes the whole read back in one step.
    app.choose("Edit", "Undo")
    app.keys("ctrl+s")
    saved = session.path("home", "double.tvl")
    app.wait(lambda: session.dump(saved)["header"]["Title - Disc 2"] != "Second\b", "the undone design to be saved")
    header = session.dump(saved)["header"]
    for key, value in expected.items():
        if header[key] == value:
            raise Failure(f"undo left {key} as read: {value!r}")

    # Cancel while the server says nothing closes the dialog at once.
    server.stall.set()
    dialog = open_read_cd(app)
    app.window(lambda n: n is not None and n.startswith(" Searching"))
    # The server holds the request for 30 s and the client waits 20 s for it: a dialog gone well before
    # either did not wait for the server.
    app.click(app.find("push button", "Cancel", root=dialog))
    app.gone(name=lambda n: n is not None and n.startswith(" Searching"), seconds=10)
    server.done.set()
    server.stall.clear()

    # An empty drive is not ready; a disc with CD-TEXT goes in and Retry reads it as a third match.
    write_drives(session, '{"drives": [{"device": "/dev/sr0"}]}')
    new_design(app, "  CD Jewel Case  (Single Disc)")
    app.click(app.find("push button", "Read CD"))
    dialog = app.window(" Read CD")
    app.click(app.find("check box", "CD-TEXT", root=dialog))
    app.click(app.find("push button", "Read CD", root=dialog))
    retry = app.find("push button", "Retry")
    app.find(None, lambda n: n is not None and "The CD-ROM drive is not ready." in n)
    text = cd_text("Text Album", "Text Artist", ["First Text", "Second Text"])
    write_drives(session, '{"drives": [{"device": "/dev/sr0", "toc": "150 14270 27000", "cdText": "%s"}]}' % text)
    app.click(retry)
    found = app.window(" Found 3 matches")
    app.click(app.find("list item", " 3. [CD-TEXT]", root=found))
    app.click(app.find("push button", "OK", root=found))
    app.gone(name=" Found 3 matches")
    header = session.dump(save_as(app, session, "cdtext.tvl"))["header"]
    expected = {
        "Artist": "Text Artist\b",
        "Title": "Text Album\b",
        "Track List": "1. \bFirst Text\b 3:08\b2. \bSecond Text\b 2:49\b",
        "Time": "5:58\b",
    }
    for key, value in expected.items():
        if header.get(key) != value:
            raise Failure(f"{key} is {header.get(key)!r}, not {value!r}")

    # A data disc of MP3 files fills the track list with the names from the tags.
    write_drives(session, '{"drives": [{"device": "/dev/sr0", "toc": "d150 9000", "mountPoint": "%s"}]}' % mp3_disc)
    new_design(app, "  CD Jewel Case  (Single Disc)")
    open_read_cd(app)
    found = app.window(" Found 1 Tracks")
    # The list's OK is where "Read CD" was pressed: the pointer has to leave before it can arrive again.
    app.move_to(5, 5)
    app.click(app.find("push button", "Read CD", root=found))
    app.gone(name=" Found 1 Tracks")
    header = session.dump(save_as(app, session, "mp3.tvl"))["header"]
    if header["Track List"] != "1. \bThe Band-First Song\b 0:01\b":
        raise Failure(f"the MP3 track list is {header['Track List']!r}")
    app.exit()
    server.shutdown()


if __name__ == "__main__":
    main(test)
