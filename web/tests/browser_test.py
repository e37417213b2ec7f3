#!/usr/bin/env python3
"""The calculator page in headless Chromium, used as a person would use it:
each tool is given its inputs by typing and choosing, and its answers are
compared with the command-line tool's answers on the same inputs. The run
fails on a console error, a request that leaves localhost, or a page that
runs wider than a phone, and saves a screenshot of each tool."""

import argparse
import functools
import gzip
import http.server
import json
import os
import re
import subprocess
import sys
import threading
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

HERE = Path(__file__).resolve().parent
EXAMPLES = HERE.parent.parent / "examples"


class Quiet(http.server.SimpleHTTPRequestHandler):
    requested = []

    def log_message(self, *args):
        pass

    def do_GET(self):
        Quiet.requested.append(self.path)
        super().do_GET()


def serve(site):
    handler = functools.partial(Quiet, directory=str(site))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for a in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--disable-gpu",
              "--window-size=1280,1000", "--no-first-run", "--disable-background-networking",
              "--disable-component-update", "--disable-sync", "--disable-default-apps"):
        options.add_argument(a)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


class Page:
    def __init__(self, driver, tool):
        self.d = driver
        self.tool = tool
        self.compared = 0
        self.failures = []

    def el(self, id_):
        return self.d.find_element(By.ID, id_)

    def tab(self, name):
        self.el(f"tab-{name}").click()

    def type(self, id_, text):
        e = self.el(id_)
        e.send_keys(Keys.CONTROL, "a")
        e.send_keys(Keys.DELETE)
        if text:
            e.send_keys(text)

    def choose(self, id_, value):
        Select(self.el(id_)).select_by_value(value)

    def check(self, id_, on):
        e = self.el(id_)
        if e.is_selected() != on:
            e.click()

    def text(self, id_):
        e = self.el(id_)
        return e.get_attribute("value") if e.tag_name in ("input", "textarea") else e.text

    def error(self, id_):
        found = self.d.find_elements(By.ID, f"{id_}-error")
        return found[0].text if found and found[0].is_displayed() else ""

    def run(self, *args, stdin=None, codes=(0,)):
        done = subprocess.run([self.tool, *args], input=stdin, capture_output=True, text=True)
        if done.returncode not in codes:
            raise RuntimeError(f"marlix {' '.join(args)} exited {done.returncode}: {done.stderr}")
        return done.stdout.rstrip("\n")

    def same(self, what, shown, expected):
        self.compared += 1
        if shown != expected:
            self.failures.append(f"{what}: the page shows {shown!r}, the tool {expected!r}")


RATES = ["23.976", "24", "25", "29.97", "29.97df", "30", "47.952", "48", "50", "59.94", "59.94df", "60"]


def timecode(p):
    p.tab("timecode")
    for rate in RATES:
        p.choose("tc-rate", rate)
        sep = ";" if rate.endswith("df") else ":"
        for tc in (f"01:00:00{sep}00", f"00:10:00{sep}00", f"23:59:59{sep}23"):
            p.type("tc-check", tc)
            p.same(f"frames of {tc} at {rate}", p.text("tc-check-out"),
                   p.run("tc", "frames", "--rate", rate, tc))
        a = f"23:59:59{sep}23"
        for by in ("1", "-1", "1000000", f"00:00:01{sep}00"):
            p.type("tc-add-a", a)
            p.choose("tc-add-op", "-" if by.startswith("-") else "+")
            p.type("tc-add-b", by.lstrip("-"))
            p.same(f"{a} + {by} at {rate}", p.text("tc-add-out"), p.run("tc", "add", "--rate", rate, a, by))
        p.type("tc-dur-in", f"23:50:00{sep}00")
        p.type("tc-dur-out", f"00:10:00{sep}00")
        frames = p.run("tc", "duration", "--rate", rate, f"23:50:00{sep}00", f"00:10:00{sep}00")
        p.same(f"duration at {rate}", p.text("tc-dur-out-frames"), frames)
        p.same(f"duration as timecode at {rate}", p.text("tc-dur-out-tc"),
               p.run("tc", "text", "--rate", rate, "--no-wrap", frames))
        for to in ("25", "29.97df", "23.976"):
            p.type("tc-conv", f"01:00:00{sep}00")
            p.choose("tc-conv-to", to)
            p.choose("tc-conv-method", "realtime")
            p.same(f"{rate} to {to}", p.text("tc-conv-out"),
                   p.run("tc", "convert", "--from", rate, "--to", to, f"01:00:00{sep}00"))

    # Pulldown with a sync point, and refusals shown beside their field.
    p.choose("tc-rate", "23.976")
    p.type("tc-conv", "00:00:00:04")
    p.choose("tc-conv-to", "29.97")
    p.choose("tc-conv-method", "pulldown")
    p.type("tc-conv-sync", "00:00:00:00=00:00:01:00")
    p.same("pulldown with a sync", p.text("tc-conv-out"),
           p.run("tc", "convert", "--from", "23.976", "--to", "29.97", "--method", "pulldown",
                 "--sync", "00:00:00:00=00:00:01:00", "00:00:00:04"))
    p.choose("tc-rate", "25")
    p.type("tc-check", "00:00:00:25")
    if not p.error("tc-check") or p.text("tc-check-out"):
        p.failures.append("a frame past the rate shows no error beside its field")
    p.type("tc-check", "01:00:00:00")
    p.check("tc-add-wrap", False)
    p.type("tc-add-a", "00:00:01:00")
    p.choose("tc-add-op", "-")
    p.type("tc-add-b", "50")
    p.same("unwrapped subtraction", p.text("tc-add-out"),
           p.run("tc", "add", "--rate", "25", "--no-wrap", "00:00:01:00", "-50"))
    p.check("tc-add-wrap", True)


FILM = [
    ("F35", "KJ 12 3456", "foot_35_label", "I35", 4),
    ("F16", "KJ 12 3456", "foot_16_label", "I16", 1),
    ("F353", "KJ 12 3456", "foot_353_label", None, 3),
    ("F35_6", "KJ 12 34", "foot_35_label", "I35", 4),
    ("F6515_120", "KJ 12 3456", None, None, 15),
]


def film(p):
    p.tab("film")
    for stock, prefix, feet, ink, perfs in FILM:
        p.choose("film-stock", stock)
        p.type("film-prefix", prefix)
        if ink:
            p.type("film-ink-prefix", "0123")
        for frames in (0, 250, 9999):
            p.type("film-frames", str(frames))
            key = p.run("print", "-t", stock, "-p", prefix, str(frames * perfs)).strip()
            p.same(f"{stock} key of frame {frames}", p.text("film-key"), key)
            if feet:
                p.same(f"{stock} feet of frame {frames}", p.text("film-feet"),
                       p.run("convert", "--from", stock, "--to", feet, key).strip())
            if ink:
                p.same(f"{stock} ink of frame {frames}", p.text("film-ink"),
                       p.run("convert", "--from", stock, "--to", ink, "-p", "0123", key).strip())
        # And back: from a key number typed, its frame count.
        key = p.run("print", "-t", stock, "-p", prefix, str(77 * perfs)).strip()
        p.type("film-key", key)
        p.same(f"{stock} frames of {key}", p.text("film-frames"), p.run("print", "-t", "FR", "77").strip())
    p.choose("film-stock", "F35")
    p.type("film-feet", "15+99")
    if not p.error("film-feet"):
        p.failures.append("a frame past the foot shows no error beside its field")
    p.type("film-feet", "15+10")


def pull(p):
    p.tab("pull")
    for stock, rate, sync_tc, start in (("F35", "29.97df", "01:00:00;00", "01:00:00;00"),
                                        ("F35", "29.97", "01:00:00:00", "01:00:00:03"),
                                        ("F16", "25", "10:00:00:00", "10:00:00:07"),
                                        ("F35", "59.94", "01:00:00:00", "01:00:00:01"),
                                        ("F353", "23.976", "01:00:00:00", "01:00:00:02")):
        perfs = {"F35": 4, "F16": 1, "F353": 3}[stock]
        sync_key = p.run("print", "-t", stock, "-p", "KJ 12 3456", str(1600 * perfs)).strip()
        p.choose("pull-stock", stock)
        p.choose("pull-rate", rate)
        p.type("pull-sync-key", sync_key)
        p.type("pull-sync-tc", sync_tc)
        p.type("pull-from", start)
        p.type("pull-count", "10")
        # The video frames from the start, and the key numbers the tool pulls.
        tcs = p.run("tc", "add", "--rate", rate, stdin="".join(f"{start} {k}\n" for k in range(10))).splitlines()
        keys = p.run("pull", "--stock", stock, "--rate", rate, "--sync", f"{sync_key}={sync_tc}",
                     *tcs).splitlines()
        rows = [[c.text for c in r.find_elements(By.TAG_NAME, "td")]
                for r in p.d.find_elements(By.CSS_SELECTOR, "#pull-table tbody tr")]
        p.same(f"pull rows at {rate}", len(rows), len(keys))
        # The letters, A the sync frame's, from the frames the tool reads
        # the key numbers at.
        a = int(p.run("parse", "-t", stock, sync_key)) // perfs
        fields = ""
        for row, tc, key in zip(rows, tcs, keys):
            shown = row[2] + (" split" if row[5].count(" ") else "")
            p.same(f"pull of {tc} at {rate}", [row[0], shown], [tc, key])
            frame = int(p.run("parse", "-t", stock, key.removesuffix(" split"))) // perfs
            first = "ABCD"[(frame - a) % 4]
            second = "ABCD"[(frame + 1 - a) % 4] if key.endswith(" split") else first
            p.same(f"letters of {tc} at {rate}", [row[1], row[5]],
                   [first, f"{first} {second}" if second != first else first])
            fields += first + second
        boxes = "".join(e.text for e in p.d.find_elements(By.CSS_SELECTOR, "#pull-strip .field-box"))
        p.same(f"the strip at {rate}", boxes, fields)
    # 2:3 from an A frame, as the cadence is drawn everywhere.
    p.choose("pull-stock", "F35")
    p.choose("pull-rate", "29.97df")
    p.type("pull-sync-key", "KJ 12 3456 0100+00")
    p.type("pull-sync-tc", "01:00:00;00")
    p.type("pull-from", "01:00:00;00")
    boxes = "".join(e.text for e in p.d.find_elements(By.CSS_SELECTOR, "#pull-strip .field-box"))
    p.same("the 2:3 strip", boxes[:10], "AABBBCCDDD")
    p.type("pull-footage", "0+00")
    p.type("pull-ink", "0123 0000+00")
    row = p.d.find_elements(By.CSS_SELECTOR, "#pull-table tbody tr")[2]
    cells = [c.text for c in row.find_elements(By.TAG_NAME, "td")]
    expected = p.run("pull", "--stock", "F35", "--rate", "29.97df", "--sync",
                     "KJ 12 3456 0100+00=01:00:00;00", "--footage", "0+00", "--ink", "0123 0000+00",
                     cells[0])
    p.same("pull with footage and ink", " ".join([cells[2], cells[3], cells[4]]) + " split", expected)
    p.type("pull-footage", "")
    p.type("pull-ink", "")


def edl(p):
    if not p.el("tab-edl").is_displayed():
        p.failures.append("the EDL tool is missing")
        return
    p.tab("edl")
    p.choose("edl-rate", "29.97df")
    text = (EXAMPLES / "film" / "reel1.edl").read_text()
    # A broken event, so that a finding shows on its line.
    broken = text + "099  TAPE1  V  C  25:00:00;00 01:00:00;00 01:00:00;00 01:00:01;00\n"
    # Dropped on the box as a file, as from a desktop.
    p.d.execute_script(
        "const t = new DataTransfer();"
        "t.items.add(new File([arguments[0]], 'reel1.edl', {type: 'text/plain'}));"
        "document.querySelector('[data-drop=edl-text]')"
        ".dispatchEvent(new DragEvent('drop', {dataTransfer: t, bubbles: true, cancelable: true}));",
        broken)
    WebDriverWait(p.d, 10).until(lambda d: p.text("edl-text") == broken)
    WebDriverWait(p.d, 10).until(lambda d: d.find_elements(By.CSS_SELECTOR, "#edl:not([data-pending])"))
    rows = p.d.find_elements(By.CSS_SELECTOR, "#edl-table tbody tr.finding")
    shown = [" ".join(c.text for c in r.find_elements(By.TAG_NAME, "td")) for r in rows]
    tool = subprocess.run([p.tool, "edl", "check", "--rate", "29.97df", "-"], input=broken,
                          capture_output=True, text=True)
    # The tool names the event as the list numbers it ("099: "); the page
    # shows the finding on the event's line.
    expected = [re.sub(r"^-:(\d+): (\w+): (\d+: )?", r"\1 \2: ", line) for line in tool.stdout.splitlines()]
    p.same("EDL findings", shown, expected)
    events = p.d.find_elements(By.CSS_SELECTOR, "#edl-table tbody tr[data-line]")
    tool = p.run("edl", "show", "--rate", "29.97df", "-", stdin=broken, codes=(1,)).splitlines()
    p.same("EDL event count", len(events), len(tool))
    for row, line in zip(events, tool):
        fields = dict(re.findall(r'(\w+)=("[^"]*"|\S+)', line))
        cells = [c.text for c in row.find_elements(By.TAG_NAME, "td")]
        expected = [fields[k].strip('"') for k in ("line", "event", "reel", "channels", "transition",
                                                   "source_in", "source_out", "record_in", "record_out")]
        p.same(f"EDL event on line {cells[0]}", cells[:9], expected)


def lists(p):
    p.tab("lists")
    edl_file = EXAMPLES / "film" / "reel1_v2.edl"
    log_file = EXAMPLES / "film" / "day01.ale"
    reel_map = EXAMPLES / "film" / "reels.map"
    p.el("lists-reel-map").send_keys(reel_map.read_text())
    p.el("lists-files").send_keys(f"{edl_file}\n{log_file}")
    WebDriverWait(p.d, 10).until(lambda d: d.find_elements(By.CSS_SELECTOR, "#lists:not([data-pending]) a[download]"))
    given = ["--rate", "29.97df", "--edl", str(edl_file), "--log", str(log_file), "--reel-map", str(reel_map)]
    csvs = {}
    for link in p.d.find_elements(By.CSS_SELECTOR, "#lists-tables a[download]"):
        csvs[link.get_attribute("download").removesuffix(".csv")] = p.d.execute_async_script(
            "const done = arguments[1];"
            "fetch(arguments[0]).then(r => r.text()).then(done, e => done(`fetch failed: ${e}`));",
            link.get_attribute("href"))
    # The lists the tool makes of these files, the page's lab table being
    # the second part of the tool's optical list.
    made = {json.loads(line)["list"] for line in
            p.run("cutlist", *given, "--list", "all", "--json", codes=(0, 1)).splitlines()}
    p.same("the lists offered", sorted({"optical" if n == "lab" else n for n in csvs}),
           sorted(made - {"totals"}))
    for name in sorted(made - {"totals"}):
        shown = csvs.get(name, "") + (csvs.get("lab", "") if name == "optical" else "")
        p.same(f"the {name} list's CSV", shown.rstrip("\n"),
               p.run("cutlist", *given, "--list", name, "--csv", codes=(0, 1)))
    shown = [e.text for e in p.d.find_elements(By.CSS_SELECTOR, "#lists-findings li")]
    told = subprocess.run([p.tool, "cutlist", *given], capture_output=True, text=True).stderr
    checked = p.run("log", "check", str(log_file)).replace(f"{log_file}", "log 1")
    expected = checked.splitlines() + [line.replace(f"marlix: {edl_file}:", "EDL:") for line in told.splitlines()]
    p.same("the film lists' findings", shown, expected)
    # A refusal shows beside the field it is about.
    p.type("lists-handles", "-1")
    WebDriverWait(p.d, 10).until(lambda d: d.find_elements(By.CSS_SELECTOR, "#lists:not([data-pending])"))
    if not p.error("lists-handles"):
        p.failures.append("handles of -1 show no error beside their field")
    p.type("lists-handles", "1")


def keyboard(p):
    """Tab reaches every tab, and every field of each panel."""
    for panel in ("timecode", "film", "pull", "edl", "lists"):
        p.tab(panel)
        p.d.execute_script("document.activeElement.blur(); window.scrollTo(0, 0);")
        seen = set()
        for _ in range(60):
            ActionChains(p.d).send_keys(Keys.TAB).perform()
            seen.add(p.d.switch_to.active_element.get_attribute("id"))
        fields = [e.get_attribute("id") for e in
                  p.d.find_elements(By.CSS_SELECTOR, f"#{panel} input, #{panel} select, #{panel} textarea")
                  if e.is_enabled()]
        missed = [f for f in fields + ["tab-" + panel] if f not in seen]
        if missed:
            p.failures.append(f"Tab never reaches {missed} on the {panel} panel")
    # Arrow keys move between the tabs.
    p.tab("timecode")
    p.el("tab-timecode").send_keys(Keys.ARROW_RIGHT)
    if p.d.switch_to.active_element.get_attribute("id") != "tab-film" or not p.el("film").is_displayed():
        p.failures.append("the right arrow does not open the next tab")
    p.tab("timecode")
    unlabelled = p.d.execute_script(
        "return [...document.querySelectorAll('input, select, textarea')]"
        ".filter(e => !e.labels || e.labels.length === 0).map(e => e.id)")
    if unlabelled:
        p.failures.append(f"fields without a label: {unlabelled}")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--site", required=True)
    ap.add_argument("--tool", required=True)
    ap.add_argument("--screenshots", required=True)
    a = ap.parse_args()
    shots = Path(a.screenshots)
    shots.mkdir(parents=True, exist_ok=True)
    server = serve(Path(a.site))
    base = f"http://127.0.0.1:{server.server_address[1]}/"
    d = browser()
    p = Page(d, os.path.abspath(a.tool))
    try:
        d.get(base)
        WebDriverWait(d, 30).until(lambda d: d.find_element(By.TAG_NAME, "body").get_attribute("data-ready"))
        for name, run in (("timecode", timecode), ("film", film), ("pull", pull), ("edl", edl),
                          ("lists", lists)):
            run(p)
            d.save_screenshot(str(shots / f"{name}.png"))
        keyboard(p)

        # At phone width the page fits the screen.
        d.set_window_size(390, 844)
        for name in ("timecode", "film", "pull", "edl", "lists"):
            p.tab(name)
            wide = d.execute_script("return document.documentElement.scrollWidth - window.innerWidth")
            if wide > 0:
                p.failures.append(f"the {name} tool runs {wide} px wider than a phone")
        p.tab("timecode")
        d.save_screenshot(str(shots / "phone.png"))

        for entry in d.get_log("browser"):
            if entry["level"] == "SEVERE":
                p.failures.append(f"console: {entry['message']}")
        for entry in d.get_log("performance"):
            m = json.loads(entry["message"])["message"]
            if m["method"] != "Network.requestWillBeSent":
                continue
            url = m["params"]["request"]["url"]
            if not url.startswith((base, "data:", "blob:")):
                p.failures.append(f"a request leaves the page's host: {url}")
    finally:
        d.quit()
        server.shutdown()

    # The page is small enough to load on a poor connection.
    packed = sum(len(gzip.compress(f.read_bytes(), 9)) for f in Path(a.site).iterdir() if f.is_file())
    if packed >= 1 << 20:
        p.failures.append(f"the site is {packed} bytes compressed, not under 1 MB")

    print(f"browser test: {p.compared} answers compared with the tool's, "
          f"{len(Quiet.requested)} files served, screenshots in {shots}")
    for f in p.failures:
        print("FAIL:", f)
    if p.compared < 50:
        print(f"FAIL: only {p.compared} answers compared")
        return 1
    return 1 if p.failures else 0


if __name__ == "__main__":
    sys.exit(main())
