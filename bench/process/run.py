#!/usr/bin/env python3
"""The whole game process beside two bare Qt programs, under a virtual X server.

Builds the game and its yardsticks (a frameless black window, the same
window with a 1 ms timer, and the same window with the title's three captions,
for start-up only), then runs them in turn, interleaved, and takes
from each run: the time from exec to the first frame on the X server, for the
game "Play" to the table's first frame and "X" back to the title's, the CPU
and the wake-ups of ten idle seconds (the game with the table shown and with
the title shown over the hidden table), and the peak resident memory. A
profiling build of the game's windows (morvik-tick-profile) times every tick
of Timer1 and counts the paint events it causes.

Prints medians with min and max and the ratios to the bare programs, checks
the budgets and writes bench/RESULTS.md. Exit status 1 when a budget is missed.

    python3 bench/process/run.py [--runs 15] [--idle 10] [--build-dir DIR]

Needs: cmake, ninja-build, g++, qt6-base-dev, libbenchmark-dev, xvfb,
libx11-dev, libxtst-dev, libxdamage-dev.
"""
import argparse
import datetime
import json
import os
import platform
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PACKAGES = ("cmake ninja-build g++ qt6-base-dev libbenchmark-dev xvfb "
            "libx11-dev libxtst-dev libxdamage-dev")

# Where to click, relative to the window: the middle of the title's "Play"
# (Label1(0): 56, 312, 233 x 105) and of the table's "X" (Label7: 816, 8, 33 x 25).
PLAY = (56 + 233 // 2, 312 + 105 // 2)
CROSS = (816 + 33 // 2, 8 + 25 // 2)
SETTLE = 0.5  # seconds a fresh window is left alone before it is measured


# --- the build -------------------------------------------------------------

def build(build_dir):
    subprocess.run(["cmake", "-S", ROOT, "-B", build_dir, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release", "-DMORVIK_BUILD_BENCH=ON",
                    "-DMORVIK_BUILD_TESTS=OFF", "-DMORVIK_BUILD_TOOLS=OFF"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build_dir, "--target", "morvik-roulette", "morvik-bare-window",
                    "morvik-bare-timer", "morvik-bare-text", "morvik-tick-profile", "morvik-bare-readout",
                    "morvik-x-probe"], check=True)
    return {
        "game": os.path.join(build_dir, "app", "morvik-roulette"),
        "bare": os.path.join(build_dir, "bench", "process", "morvik-bare-window"),
        "timer": os.path.join(build_dir, "bench", "process", "morvik-bare-timer"),
        "text": os.path.join(build_dir, "bench", "process", "morvik-bare-text"),
        "profile": os.path.join(build_dir, "bench", "process", "morvik-tick-profile"),
        "readout": os.path.join(build_dir, "bench", "process", "morvik-bare-readout"),
        "probe": os.path.join(build_dir, "bench", "process", "morvik-x-probe"),
    }


# --- the X server and the probe ---------------------------------------------

class Server:
    def __init__(self):
        for number in range(90, 200):
            if not os.path.exists(f"/tmp/.X11-unix/X{number}") and not os.path.exists(f"/tmp/.X{number}-lock"):
                break
        self.display = f":{number}"
        self.process = subprocess.Popen(["Xvfb", self.display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        socket = f"/tmp/.X11-unix/X{number}"
        for _ in range(100):
            if os.path.exists(socket):
                return
            time.sleep(0.05)
        raise SystemExit("Xvfb did not start")

    def stop(self):
        self.process.terminate()
        self.process.wait()


class Frame:
    def __init__(self, line):
        words = line.split()
        if not words or words[0] != "frame":
            raise RuntimeError(f"the probe says: {line.strip() or 'nothing'}")
        self.pid = int(words[1])
        self.mapped = float(words[3])
        self.drawn = float(words[4])
        self.x, self.y = int(words[5]), int(words[6])


class Probe:
    def __init__(self, path, env):
        self.process = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, env=env)

    def ask(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        return Frame(self.process.stdout.readline())

    def spawn(self, program):
        return self.ask(f"spawn {program}")

    def click(self, x, y):
        return self.ask(f"click {x} {y}")

    def stop(self):
        self.process.stdin.write("quit\n")
        self.process.stdin.close()
        self.process.wait()


# --- what /proc tells ---------------------------------------------------------

TICKS = os.sysconf("SC_CLK_TCK")


def read(path):
    try:
        with open(path) as file:
            return file.read()
    except OSError:
        return ""


def cpu_seconds(pid):
    """utime + stime of the whole process, all threads, in seconds."""
    fields = read(f"/proc/{pid}/stat").rsplit(")", 1)[-1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def threads(pid):
    try:
        return os.listdir(f"/proc/{pid}/task")
    except OSError:
        return []


def run_time_ms(pid):
    """Per thread: the scheduler's exact run time in ms (0 where the kernel keeps none)."""
    times = {}
    for tid in threads(pid):
        for line in read(f"/proc/{pid}/task/{tid}/sched").splitlines():
            if line.startswith("se.sum_exec_runtime"):
                times[tid] = float(line.split(":")[1])
    return times


def switches(pid):
    total = 0
    for tid in threads(pid):
        for line in read(f"/proc/{pid}/task/{tid}/status").splitlines():
            if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                total += int(line.split()[1])
    return total


def peak_kib(pid):
    for line in read(f"/proc/{pid}/status").splitlines():
        if line.startswith("VmHWM:"):
            return int(line.split()[1])
    return 0


def idle(pid, server_pid, seconds):
    """CPU in per cent of one core, wake-ups per second, and the X server's CPU."""
    cpu0, run0, sw0, x0 = cpu_seconds(pid), run_time_ms(pid), switches(pid), cpu_seconds(server_pid)
    start = time.monotonic()
    time.sleep(seconds)
    cpu1, run1, sw1, x1 = cpu_seconds(pid), run_time_ms(pid), switches(pid), cpu_seconds(server_pid)
    elapsed = time.monotonic() - start
    ran = sum(t - run0.get(tid, 0.0) for tid, t in run1.items())
    return {
        "cpu": 100 * (cpu1 - cpu0) / elapsed,
        "runtime": 100 * ran / 1000 / elapsed if run1 else None,
        "wakeups": (sw1 - sw0) / elapsed,
        "xcpu": 100 * (x1 - x0) / elapsed,
    }


def end(pid):
    try:
        os.kill(pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    for _ in range(100):
        if not os.path.exists(f"/proc/{pid}"):
            return
        time.sleep(0.02)
    try:
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


# --- one run of each program -----------------------------------------------------

def run_bare(probe, program, server, seconds):
    frame = probe.spawn(program)
    try:
        time.sleep(SETTLE)
        quiet = idle(frame.pid, server.process.pid, seconds)
        return {"start": frame.drawn, "start_map": frame.mapped, "peak": peak_kib(frame.pid),
                **{f"idle_{k}": v for k, v in quiet.items()}}
    finally:
        end(frame.pid)


def run_start(probe, program):
    frame = probe.spawn(program)
    try:
        time.sleep(SETTLE)
        return {"start": frame.drawn, "start_map": frame.mapped}
    finally:
        end(frame.pid)


def run_game(probe, program, server, seconds):
    title = probe.spawn(program)
    try:
        result = {"start": title.drawn, "start_map": title.mapped}
        time.sleep(SETTLE)
        table = probe.click(title.x + PLAY[0], title.y + PLAY[1])
        result["play"] = table.drawn
        time.sleep(SETTLE)
        result.update({f"table_idle_{k}": v for k, v in idle(title.pid, server.process.pid, seconds).items()})
        back = probe.click(table.x + CROSS[0], table.y + CROSS[1])
        result["back"] = back.drawn
        time.sleep(SETTLE)
        result.update({f"title_idle_{k}": v for k, v in idle(title.pid, server.process.pid, seconds).items()})
        again = probe.click(back.x + PLAY[0], back.y + PLAY[1])
        result["play_again"] = again.drawn
        time.sleep(SETTLE)
        result["peak"] = peak_kib(title.pid)
        return result
    finally:
        end(title.pid)


def run_profile(program, env, spins):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "ticks.json")
        subprocess.run([program, path, str(spins), "1000"], env=env, check=True, timeout=120,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(path) as file:
            return json.load(file)


def run_readout(program, env):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "readout.json")
        subprocess.run([program, path, "3000"], env=env, check=True, timeout=120,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(path) as file:
            return json.load(file)


# --- figures ------------------------------------------------------------------

def summary(values):
    values = [v for v in values if v is not None]
    if not values:
        return None
    return {"median": statistics.median(values), "min": min(values), "max": max(values), "n": len(values)}


def tick_figures(profiles):
    idle_cpu, spin_cpu, spin_busy, draw_cpu, draw_busy, final_cpu = [], [], [], [], [], []
    intervals, rates, spin_lengths, spin_ticks = [], [], [], []
    paints = {"Form1": 0, "Picture1": 0, "Cislo": 0, "other": 0}
    final_paints = {"Form1": 0, "Picture1": 0, "Cislo": 0, "other": 0}
    others, final_others = set(), set()
    spin_tick_count = 0
    for profile in profiles:
        ticks = profile["ticks"]
        # The last record has no successor, so its CPU time is not known.
        for tick, following in zip(ticks, ticks[1:]):
            start, busy, cpu, before, form1, picture1, cislo, other, names = tick
            if before == 0:
                idle_cpu.append(cpu)
                if following[3] == 0:
                    intervals.append((following[0] - start) / 1000)
            elif before == 1:
                final_cpu.append(cpu)
                for key, count in zip(paints, (form1, picture1, cislo, other)):
                    final_paints[key] += count
                final_others.update(names.split())
            else:
                spin_tick_count += 1
                spin_cpu.append(cpu)
                spin_busy.append(busy)
                if cislo:
                    draw_cpu.append(cpu)
                    draw_busy.append(busy)
                for key, count in zip(paints, (form1, picture1, cislo, other)):
                    paints[key] += count
                others.update(names.split())
        before_spin = []
        for tick in ticks:
            if tick[3] != 0:
                break
            before_spin.append(tick[0])
        if len(before_spin) > 1:
            rates.append((len(before_spin) - 1) / ((before_spin[-1] - before_spin[0]) / 1e6))
        for started, ended, count in profile["spins"]:
            spin_lengths.append((ended - started) / 1000)
            spin_ticks.append(count)
    return {
        "idle_tick_cpu": summary(idle_cpu),
        "spin_tick_cpu": summary(spin_cpu),
        "spin_tick_busy": summary(spin_busy),
        "draw_tick_cpu": summary(draw_cpu),
        "draw_tick_busy": summary(draw_busy),
        "final_tick_cpu": summary(final_cpu),
        "tick_interval": summary(intervals),
        "tick_rate": summary(rates),
        "spin_length": summary(spin_lengths),
        "spin_ticks": summary(spin_ticks),
        "spin_tick_count": spin_tick_count,
        "paints": paints,
        "others": sorted(others),
        "final_paints": final_paints,
        "final_others": sorted(final_others),
    }


def fmt(s, digits=1):
    if s is None:
        return "n/a"
    return f"{s['median']:.{digits}f} ({s['min']:.{digits}f} to {s['max']:.{digits}f})"


def ratio(a, b):
    if a is None or b is None or b["median"] == 0:
        return None
    return a["median"] / b["median"]


def machine():
    model = next((line.split(":", 1)[1].strip() for line in read("/proc/cpuinfo").splitlines()
                  if line.startswith("model name")), platform.processor() or "unknown")
    qt = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "qt6-base-dev"], capture_output=True, text=True).stdout
    return {"uname": " ".join(platform.uname()), "cpu": model, "cores": os.cpu_count(), "qt": qt or "unknown"}


def report(runs, ticks, args):
    g, b, t = runs["game"], runs["bare"], runs["timer"]
    s = {name: {key: summary([r.get(key) for r in rs]) for key in rs[0]} for name, rs in runs.items()}
    idle_key = "runtime" if s["timer"]["idle_runtime"] is not None else "cpu"

    rows = []  # measure, game, bare, bare+timer, ratio, budget, pass

    def row(measure, game, bare, timer, r, budget, ok, digits=1):
        rows.append((measure, fmt(game, digits), fmt(bare, digits), fmt(timer, digits),
                     "" if r is None else f"{r:.2f} x", budget, "" if ok is None else ("pass" if ok else "FAIL")))

    r = ratio(s["game"]["start"], s["bare"]["start"])
    row("start-up to the title's first frame, ms", s["game"]["start"], s["bare"]["start"], s["timer"]["start"], r,
        "<= 1.3 x bare", r is not None and r <= 1.3)
    row("start-up to the title's map, ms", s["game"]["start_map"], s["bare"]["start_map"], s["timer"]["start_map"],
        ratio(s["game"]["start_map"], s["bare"]["start_map"]), "", None)
    text = s["text"]["start"]
    row("start-up to the first frame, bare window with the title's captions, ms", None, text, None,
        ratio(text, s["bare"]["start"]), "", None)
    row("start-up to the title's first frame against that window, ms", s["game"]["start"], text, None,
        ratio(s["game"]["start"], text), "", None)
    play = s["game"]["play"]
    row("first \"Play\" to the table's first frame, ms", play, None, None, None, "median < 25 ms",
        play is not None and play["median"] < 25)
    row("\"X\" to the title's first frame, ms", s["game"]["back"], None, None, None, "", None)
    row("later \"Play\" to the table's first frame, ms", s["game"]["play_again"], None, None, None, "", None)
    for where in ("table", "title"):
        label = "table shown" if where == "table" else "title shown, table hidden"
        game = s["game"][f"{where}_idle_{idle_key}"]
        r = ratio(game, s["timer"][f"idle_{idle_key}"])
        row(f"idle CPU, {label}, % of a core", game, s["bare"][f"idle_{idle_key}"], s["timer"][f"idle_{idle_key}"],
            r, "<= 1.15 x bare+timer", r is not None and r <= 1.15, 2)
    for where in ("table", "title"):
        label = "table shown" if where == "table" else "title shown"
        row(f"idle wake-ups per second, {label}", s["game"][f"{where}_idle_wakeups"], s["bare"]["idle_wakeups"],
            s["timer"]["idle_wakeups"], ratio(s["game"][f"{where}_idle_wakeups"], s["timer"]["idle_wakeups"]),
            "", None, 0)
        row(f"X server CPU while idle, {label}, %", s["game"][f"{where}_idle_xcpu"], s["bare"]["idle_xcpu"],
            s["timer"]["idle_xcpu"], None, "", None, 2)
    peak = {name: summary([r["peak"] / 1024 for r in rs if "peak" in r]) for name, rs in runs.items()}
    r = ratio(peak["game"], peak["bare"])
    row("peak resident memory (VmHWM), MiB", peak["game"], peak["bare"], peak["timer"], r, "<= 1.5 x bare",
        r is not None and r <= 1.5)

    def ms(x):
        return None if x is None else {k: (v / 1000 if k != "n" else v) for k, v in x.items()}

    row("Timer1 ticks per second, idle (one figure a run)", ticks["tick_rate"], None, None, None, "", None, 0)
    row("Timer1 tick interval, idle, ms", ticks["tick_interval"], None, None, None, "", None, 3)
    row("length of a spin, ms", ticks["spin_length"], None, None, None, "", None)
    spin_ticks = ticks["spin_ticks"]
    row("Timer1 ticks in a spin", spin_ticks, None, None, None, "exactly 50",
        spin_ticks is not None and spin_ticks["min"] == 50 and spin_ticks["max"] == 50, 0)
    draw = ms(ticks["draw_tick_cpu"])
    row("spin tick that repaints Cislo, main thread CPU, ms", draw, None, None, None, "median < 0.3 ms",
        draw is not None and draw["median"] < 0.3, 3)
    floor = ms(ticks["floor_tick_cpu"])
    row("the same tick in a bare window: one framed label, new number at the same cadence, ms", None, floor, None,
        ratio(draw, floor), "", None, 3)
    row("spin tick that repaints Cislo, event handling wall time, ms", ms(ticks["draw_tick_busy"]), None, None, None,
        "", None, 3)
    row("any spin tick, main thread CPU, ms", ms(ticks["spin_tick_cpu"]), None, None, None, "", None, 3)
    row("idle tick, main thread CPU, ms", ms(ticks["idle_tick_cpu"]), None, None, None, "", None, 3)
    row("settling tick (the 50th), main thread CPU, ms", ms(ticks["final_tick_cpu"]), None, None, None, "", None, 3)
    p = ticks["paints"]
    only_cislo = p["Form1"] == 0 and p["Picture1"] == 0 and p["other"] == 0 and p["Cislo"] > 0
    rows.append((f"paint events in {ticks['spin_tick_count']} spin ticks: Form1 / Picture1 / Cislo / other",
                 f"{p['Form1']} / {p['Picture1']} / {p['Cislo']} / {p['other']}", "", "", "", "only Cislo",
                 "pass" if only_cislo else "FAIL"))
    fp = ticks["final_paints"]
    rows.append(("paint events in the settling ticks: Form1 / Picture1 / Cislo / other",
                 f"{fp['Form1']} / {fp['Picture1']} / {fp['Cislo']} / {fp['other']}", "", "", "", "", ""))

    header = ("measure", "game", "bare window", "bare + 1 ms timer", "ratio", "budget", "")
    widths = [max(len(str(x[i])) for x in rows + [header]) for i in range(len(header))]
    text = "\n".join("  ".join(str(c).ljust(w) for c, w in zip(line, widths)) for line in [header] + rows)
    print(text)

    info = machine()
    failed = [x[0] for x in rows if x[6] == "FAIL"]
    lines = [
        "# Performance of the whole process",
        "",
        f"Measured on {datetime.date.today().isoformat()} by `python3 bench/process/run.py` "
        f"({args.runs} runs of each program, interleaved; {args.idle:g} s of idle each; "
        f"{args.spins} spins a run in the tick profile).",
        "",
        f"- machine: `{info['uname']}`",
        f"- CPU: {info['cpu']}, {info['cores']} cores",
        f"- Qt {info['qt']}, Xvfb 1280x1024x24, platform xcb",
        f"- packages the benchmark needs: {PACKAGES}",
        "",
        "Medians, with min to max in parentheses. \"bare window\" is a frameless black Qt window of the title "
        "window's size; \"bare + 1 ms timer\" is the same with a precise 1 ms QTimer ticking into an empty slot; "
        "\"bare window with the title's captions\" is the bare window with three QLabels showing the title's "
        "captions in the system's Liberation Mono Bold, the least a window with text costs (fontconfig, the font "
        "database, FreeType). "
        "Idle CPU is the scheduler's run time of all threads over the idle seconds "
        f"({'se.sum_exec_runtime' if idle_key == 'runtime' else 'utime + stime'}), wake-ups are voluntary and "
        "involuntary context switches of all threads. Frames are the first drawing into the window after its map, "
        "as the X server's DAMAGE extension reports it; start-up counts from the fork that starts the program.",
        "",
        "| " + " | ".join(header[:-1]) + " | |",
        "|" + "---|" * len(header),
    ]
    for line in rows:
        lines.append("| " + " | ".join(str(c) for c in line) + " |")
    lines += [
        "",
        "Widgets other than Form1, Picture1 and Cislo painted during spin ticks: "
        + (", ".join(ticks["others"]) or "none") + ".",
        "",
        "Widgets painted in the settling ticks, which show the tray and the list again: "
        + (", ".join(ticks["final_others"]) or "none") + ".",
        "",
        ("All budgets are met." if not failed else "Budgets missed: " + "; ".join(failed) + "."),
        "",
    ]
    if args.notes and os.path.exists(args.notes):
        lines += [read(args.notes).rstrip(), ""]
    with open(args.output, "w") as file:
        file.write("\n".join(lines))
    print(f"\nwritten to {os.path.relpath(args.output, os.getcwd())}")
    return not failed


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--idle", type=float, default=10.0, help="seconds of each idle measurement")
    parser.add_argument("--spins", type=int, default=4, help="spins per run of the tick profile")
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build", "bench"))
    parser.add_argument("--output", default=os.path.join(ROOT, "bench", "RESULTS.md"))
    parser.add_argument("--notes", default=os.path.join(ROOT, "bench", "process", "notes.md"),
                        help="text appended to the results")
    args = parser.parse_args()

    for tool in ("cmake", "ninja", "Xvfb"):
        if not shutil.which(tool):
            raise SystemExit(f"{tool} is missing; the benchmark needs: apt-get install {PACKAGES}")
    programs = build(args.build_dir)

    server = Server()
    env = dict(os.environ, DISPLAY=server.display, QT_QPA_PLATFORM="xcb")
    env.pop("WAYLAND_DISPLAY", None)
    probe = Probe(programs["probe"], env)
    runs = {"game": [], "bare": [], "timer": [], "text": []}
    profiles = []
    readout_ticks = []  # the spin tick's floor, pooled over the runs
    order = ["game", "bare", "timer", "text"]
    try:
        for n in range(args.runs):
            for name in order[n % 4:] + order[:n % 4]:
                if name == "game":
                    runs[name].append(run_game(probe, programs[name], server, args.idle))
                elif name == "text":
                    runs[name].append(run_start(probe, programs[name]))
                else:
                    runs[name].append(run_bare(probe, programs[name], server, args.idle))
            profiles.append(run_profile(programs["profile"], env, args.spins))
            readout_ticks.extend(run_readout(programs["readout"], env))
            print(f"run {n + 1} of {args.runs}: start-up {runs['game'][-1]['start']:.1f} ms against "
                  f"{runs['bare'][-1]['start']:.1f} ms bare", flush=True)
    finally:
        probe.stop()
        server.stop()
    ticks = tick_figures(profiles)
    ticks["floor_tick_cpu"] = summary(readout_ticks)
    ok = report(runs, ticks, args)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
