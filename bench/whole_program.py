#!/usr/bin/env python3
"""Whole-program figures of two builds of Q57 beside the floor programs (the least Qt needs
for the same visible work), under an Xvfb of its own, with the sample settings.

    bench/whole_program.py [--quick] [--runs N] [--scale N] OLD_Q57 NEW_Q57

OLD_Q57 and NEW_Q57 are built programs with the sample settings (Q57.in4) beside them, as the
build writes them; the floor programs and screen_probe are looked for beside NEW_Q57, in its
bench/ folder. Each run starts OLD, NEW and the floors in turn, so that a load change on the
machine falls on all of them alike. Every settings file is put back as it was.
"""

import argparse
import ctypes
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROUTES = os.path.join(HERE, "..", "data", "routes")
# The route's first step chime, which the floor's step plays too for the figure beside it.
CHIME = os.path.join(HERE, "..", "data", "sounds", "step1.wav")
PANEL_TITLE = "Velmora - 型番:Q57"
PANEL_SIZE = (755, 307)
CTL_TITLE = "集中操作盤"
STRIP_1X = (60, 59, 35, 192)  # the stop-name strip inside the display panel
FARES_LEFT_1X = 135  # the fare positions start right of the strip and the caption
# Speed 1 moves the strip 1/200 pixel a millisecond: 5 pixels a second.
SPEED1_PIXELS_PER_SECOND = 5
# Route 12 from stop 16, whose long name scrolls; stops 17 to 22 have short names, so stepping
# there measures the steps, not the strip.
ROUTE_KEYS = ["k", "r", "1", "2", "s", "1", "6", "Return"]
STEPS = 6
STEP_PAUSE_MS = 850  # longer than the longest step chime, which must end before a next step
FLOOR_STEP_PAUSE_MS = 300
LAMP_TEST_S = 3.6
SCROLL_S = 5.0
IDLE_FROM_S, RSS_AT_S = 1.5, 3.0  # idle from the one to the other


def prepare_scale(scale, config_dir):
    """Makes the next start show the display panel at the given whole scale (scale > 1)."""
    os.makedirs(config_dir, exist_ok=True)
    with open(os.path.join(config_dir, "panel.ini"), "w", encoding="utf-8") as out:
        out.write(f"scale={scale}\nfit=0\nfullscreen=0\nscreen=\nbackground=#000000\n")


class Machine:
    """An Xvfb of its own, a home folder of its own, and the programs' processes."""

    def __init__(self, scale):
        self.tmp = tempfile.mkdtemp(prefix="q57bench-")
        self.home = os.path.join(self.tmp, "home")
        self.config = os.path.join(self.home, ".config", "Q57")
        os.makedirs(self.config)
        runtime = os.path.join(self.tmp, "runtime")
        os.makedirs(runtime, mode=0o700)
        read, write = os.pipe()
        size = "3840x2160x24" if scale > 1 else "1280x1024x24"
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", size, "-br", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            sys.exit("whole_program: Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=":" + number, HOME=self.home,
                        XDG_RUNTIME_DIR=runtime)
        for name in ("QT_QPA_PLATFORM", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "WAYLAND_DISPLAY"):
            self.env.pop(name, None)
        # Programs the screen watcher starts outlive it: they become ours to reap.
        ctypes.CDLL(None).prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER

    def close(self):
        self.xvfb.terminate()
        self.xvfb.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def probe(self, *args):
        return subprocess.run([PROBE, *args], env=self.env, check=True, capture_output=True,
                              text=True).stdout

    def launch(self, program, refs=()):
        """Starts program; returns its pid and the milliseconds until every ref is on screen."""
        specs = ["%d,%d,%d,%d:%s" % (*rect, path) for rect, path in refs]
        watcher = subprocess.Popen([PROBE, "launch", "10000", *specs, "--", *program],
                                   cwd=ROUTES, env=self.env, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, text=True)
        pid = int(watcher.stdout.readline().split()[1])
        drawn = float(watcher.stdout.readline().split()[1])
        watcher.wait()
        return pid, (drawn if drawn >= 0 else float("nan"))

    def windows(self):
        out = subprocess.run(["xwininfo", "-root", "-children"], env=self.env, check=True,
                             capture_output=True, text=True).stdout
        found = {}
        for m in re.finditer(r'^\s*0x[0-9a-f]+ "(.*)": .*?(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s',
                             out, re.M):
            w, h, x, y = map(int, m.groups()[1:])
            found[m.group(1)] = (x, y, w, h)
        return found


def stop(pid):
    os.kill(pid, signal.SIGTERM)
    os.waitpid(pid, 0)


def schedstat(pid):
    """Run time (ns) and times run, summed over the process's threads."""
    ran = runs = 0
    for tid in os.listdir("/proc/%d/task" % pid):
        try:
            with open("/proc/%d/task/%s/schedstat" % (pid, tid)) as f:
                fields = f.read().split()
        except OSError:  # a thread that just ended
            continue
        ran += int(fields[0])
        runs += int(fields[2])
    return ran, runs


def rss_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return float("nan")


def over(pid, seconds):
    """CPU % of a core and wake-ups a second over the next `seconds`."""
    ran0, runs0 = schedstat(pid)
    time.sleep(seconds)
    ran1, runs1 = schedstat(pid)
    return (ran1 - ran0) / seconds / 1e7, (runs1 - runs0) / seconds


def sleep_until(t):
    time.sleep(max(0.0, t - time.monotonic()))


def centre(rect):
    return "%d,%d" % (rect[0] + rect[2] // 2, rect[1] + rect[3] // 2)


def fare_rect(panel, scale):
    left = FARES_LEFT_1X * scale
    return (panel[0] + left, panel[1], panel[2] - left, panel[3])


def steps(machine, pid, pointer, rect, count, pause_ms):
    ran0, _ = schedstat(pid)
    out = machine.probe("steps", pointer, "%d,%d,%d,%d" % rect, str(count),
                        str(pause_ms), "Right")
    ran1, _ = schedstat(pid)
    latencies = [float(line.split()[1]) for line in out.splitlines()]
    missed = sum(1 for v in latencies if v < 0)
    if missed:
        print("  %d of %d steps changed no pixel within a second" % (missed, count),
              file=sys.stderr)
    return (ran1 - ran0) / count / 1e6, [v for v in latencies if v >= 0]


class Program:
    """One build of Q57 with its sample settings, which every run starts from."""

    def __init__(self, machine, path, name):
        self.machine, self.path, self.name = machine, os.path.abspath(path), name
        self.settings = os.path.join(os.path.dirname(self.path), "Q57.in4")
        with open(self.settings, "rb") as f:
            self.sample = f.read()
        self.refs = {}

    def restore(self):
        with open(self.settings, "wb") as f:
            f.write(self.sample)

    def grab_references(self, scale):
        """The windows as they stand once started, for the start measure and the floors."""
        self.restore()
        pid, _ = self.machine.launch([self.path])
        time.sleep(3)
        found = self.machine.windows()
        for title in (PANEL_TITLE, CTL_TITLE):
            if title not in found:
                stop(pid)
                sys.exit("whole_program: %s showed no window %r" % (self.path, title))
        self.panel, self.ctl = found[PANEL_TITLE], found[CTL_TITLE]
        for key, rect in (("panel", self.panel), ("ctl", self.ctl)):
            path = os.path.join(self.machine.tmp, "%s-%s.ppm" % (self.name, key))
            self.machine.probe("grab", "%d,%d,%d,%d" % rect, path)
            self.refs[key] = (rect, path)
        stop(pid)
        self.restore()
        if self.panel[2:] != (PANEL_SIZE[0] * scale, PANEL_SIZE[1] * scale):
            sys.exit("whole_program: %s shows the panel at %dx%d, not at scale %d"
                     % (self.path, self.panel[2], self.panel[3], scale))

    def run(self, results, scale):
        self.restore()
        start = time.monotonic()
        pid, drawn = self.machine.launch([self.path], self.refs.values())
        results["start"].append(drawn)
        sleep_until(start + IDLE_FROM_S)
        results["idle"].append(over(pid, RSS_AT_S - IDLE_FROM_S)[1])
        results["rss"].append(rss_mb(pid))
        pointer = centre(self.ctl)
        self.machine.probe("keys", pointer, "80", *ROUTE_KEYS)
        time.sleep(LAMP_TEST_S + 1)  # the lamp test, then the name's first moves
        cpu, wakeups = over(pid, SCROLL_S)
        results["scroll_cpu"].append(cpu)
        results["scroll_wake"].append(wakeups)
        cpu, latencies = steps(self.machine, pid, pointer, fare_rect(self.panel, scale), STEPS,
                               STEP_PAUSE_MS)
        results["step"].append(cpu)
        results["key"].extend(latencies)
        stop(pid)
        self.restore()


def run_floors(machine, new, results, scale):
    start = time.monotonic()
    panel, ctl = new.refs["panel"], new.refs["ctl"]
    pid, drawn = machine.launch(
        [FLOOR % "windows", "%d,%d:%s" % (*panel[0][:2], panel[1]),
         "%d,%d:%s" % (*ctl[0][:2], ctl[1])], new.refs.values())
    results["start"].append(drawn)
    sleep_until(start + IDLE_FROM_S)
    results["idle"].append(over(pid, RSS_AT_S - IDLE_FROM_S)[1])
    results["rss"].append(rss_mb(pid))
    stop(pid)

    pid, _ = machine.launch([FLOOR % "repaint", "%d,%d:%s" % (*panel[0][:2], panel[1])],
                            [panel])
    cpu, latencies = steps(machine, pid, centre(panel[0]), fare_rect(panel[0], scale), STEPS,
                               FLOOR_STEP_PAUSE_MS)
    results["step"].append(cpu)
    results["key"].extend(latencies)
    stop(pid)

    # The same with a chime on every key, paced as the program's steps are. A first key, not
    # measured, makes the player's pipeline, as the program's steps before these did.
    pid, _ = machine.launch([FLOOR % "repaint", "%d,%d:%s" % (*panel[0][:2], panel[1]), CHIME],
                            [panel])
    machine.probe("keys", centre(panel[0]), "80", "Right")
    time.sleep(STEP_PAUSE_MS / 1000)
    cpu, _ = steps(machine, pid, centre(panel[0]), fare_rect(panel[0], scale), STEPS,
                   STEP_PAUSE_MS)
    results["step_chime"].append(cpu)
    stop(pid)

    x, y, w, h = STRIP_1X
    pid, _ = machine.launch([FLOOR % "scroll", "%d,%d" % (panel[0][0] + x * scale,
                                                         panel[0][1] + y * scale),
                             str(w), str(h), str(SPEED1_PIXELS_PER_SECOND), str(scale)])
    time.sleep(0.5)
    cpu, wakeups = over(pid, SCROLL_S)
    results["scroll_cpu"].append(cpu)
    results["scroll_wake"].append(wakeups)
    stop(pid)


MEASURES = [
    ("start", "exec → both windows drawn (ms)"),
    ("step", "process CPU per step (ms)"),
    ("key", "key → fare pixels changed, median (ms)"),
    ("key90", "key → fare pixels changed, 90th percentile (ms)"),
    ("scroll_cpu", "scroll at speed 1: CPU (% of a core)"),
    ("scroll_wake", "scroll at speed 1: wake-ups (/s)"),
    ("idle", "idle, no route: wake-ups (/s)"),
    ("rss", "resident memory 3 s after start (MB)"),
]


def figure(values, key):
    values = [v for v in values if v == v]  # a start never drawn is left out
    if not values:
        return float("nan")
    if key == "key90":
        values = sorted(values)
        return values[min(len(values) - 1, int(0.9 * len(values)))]
    return statistics.median(values)


def table(results, runs, scale):
    rows = ["measure | old | new | floor | new/floor", "---|---|---|---|---"]
    for key, label in MEASURES:
        source = "key" if key == "key90" else key
        old, new, floor = (figure(results[who][source], key) for who in ("old", "new", "floor"))
        ratio = new / floor if floor else float("nan")
        rows.append("%s | %.3g | %.3g | %.3g | %.2f×" % (label, old, new, floor, ratio))
    chimed = figure(results["floor"]["step_chime"], "step_chime")
    return ("Medians of %d runs each, display panel at %d×:\n\n%s\n\n"
            "The floor's step with the program's step chime played too: %.3g ms of process CPU."
            % (runs, scale, "\n".join(rows), chimed))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--quick", action="store_true", help="3 runs each, for checking")
    parser.add_argument("--scale", type=int, default=1, choices=(1, 2, 3, 4))
    args = parser.parse_args()
    runs = 3 if args.quick else args.runs

    global PROBE, FLOOR
    bench = os.path.join(os.path.dirname(os.path.abspath(args.new)), "bench")
    PROBE = os.path.join(bench, "screen_probe")
    FLOOR = os.path.join(bench, "floor_%s")
    for path in (PROBE, FLOOR % "windows", FLOOR % "repaint", FLOOR % "scroll"):
        if not os.access(path, os.X_OK):
            sys.exit("whole_program: %s is missing: build with BUILD_TESTING on" % path)

    machine = Machine(args.scale)
    programs = [Program(machine, args.old, "old"), Program(machine, args.new, "new")]
    try:
        if args.scale > 1:
            prepare_scale(args.scale, machine.config)
        for program in programs:
            program.grab_references(args.scale)
        results = {who: {key: [] for key, _ in MEASURES} for who in ("old", "new", "floor")}
        results["floor"]["step_chime"] = []
        for n in range(runs):
            print("run %d of %d" % (n + 1, runs), file=sys.stderr)
            for program in programs:
                program.run(results[program.name], args.scale)
            run_floors(machine, programs[1], results["floor"], args.scale)
        print(table(results, runs, args.scale))
    finally:
        for program in programs:
            program.restore()
        machine.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
