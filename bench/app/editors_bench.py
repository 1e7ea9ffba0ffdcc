#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Opens the same large files in Vellumix and in the editors a user would otherwise reach for
(mousepad, kate, featherpad, from Debian), each as a real program in a real window, one after
the other in the same run, and prints a table.

For every editor and file: the time from start until the window is mapped and the process's
CPU time then stands still for 300 ms (the whole file shown), the peak resident memory
(VmHWM), and for the 5 MB single line the time of a key typed at its end (Ctrl+End, then each
key until the CPU is idle again). Every program gets a private HOME and XDG folders.

Needs a display: xvfb-run -a python3 bench/app/editors_bench.py BUILD/bin/vellumix [editors...]
EDITORS_BENCH_FILES=line5,text15 limits the files (log200, text15, line5, lines1m).
The editors are installed by hand for the benchmark only (see README.md in this folder); the
test suite and CI never run this.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

TICK = os.sysconf("SC_CLK_TCK")
IDLE_S = 0.3
POLL_S = 0.02
LIMIT_S = 300.0


def make_files(folder):
    files = {}
    word = '{"key":"value","n":12345},'

    def write(name, producer):
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            with open(path, "w", encoding="ascii") as f:
                producer(f)
        files[name] = path

    line80 = "2026-12-10 03:14:15.926 INFO  worker-7 request served in 12 ms from cache ok\n"

    def log200(f):
        block = line80 * 10000
        for _ in range(200_000_000 // len(block)):
            f.write(block)

    def text15(f):
        line = ("The quick brown fox jumps over the lazy dog, again and again. " * 2)[:71] + "\n"
        f.write(line * (15_000_000 // len(line)))

    def line5(f):
        f.write(word * (5_000_000 // len(word)))

    def lines1m(f):
        line = word * (1_000_000 // len(word)) + "\n"
        for _ in range(100):
            f.write(line)

    write("log200.txt", log200)
    write("text15.txt", text15)
    write("line5.txt", line5)
    write("lines1m.txt", lines1m)
    return files


def cpu_ticks(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])
    except (OSError, IndexError):
        return None


def vm_hwm_mib(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1]) / 1024
    except OSError:
        pass
    return None


def window_of(pid):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                         capture_output=True, text=True).stdout.split()
    return out[-1] if out else None


def wait_idle(pid, since):
    """Waits until the CPU time of pid has not grown for IDLE_S; returns the moment it last
    grew (or since, when it never did), or None when the process ended or the limit passed."""
    last = cpu_ticks(pid)
    last_change = since
    while True:
        time.sleep(POLL_S)
        now = time.monotonic()
        ticks = cpu_ticks(pid)
        if ticks is None:
            return None
        if ticks != last:
            last, last_change = ticks, now
        elif now - last_change >= IDLE_S + 1.0 / TICK:
            return last_change
        if now - since > LIMIT_S:
            return None


def run(editor, command, path, home, type_keys):
    env = dict(os.environ)
    for var, sub in (("HOME", ""), ("XDG_CONFIG_HOME", ".config"), ("XDG_DATA_HOME", ".local/share"),
                     ("XDG_CACHE_HOME", ".cache"), ("XDG_STATE_HOME", ".local/state")):
        env[var] = os.path.join(home, sub) if sub else home
        os.makedirs(env[var], exist_ok=True)
    env["XDG_RUNTIME_DIR"] = tempfile.mkdtemp(prefix="rt-", dir=home)
    os.chmod(env["XDG_RUNTIME_DIR"], 0o700)
    if editor == "vellumix":
        # No set-up wizard and no tips: this user has run the program before.
        reg = os.path.join(env["XDG_CONFIG_HOME"], "Kestrelwick", "Vellumix.reg")
        os.makedirs(os.path.dirname(reg), exist_ok=True)
        with open(reg, "w", newline="") as f:
            f.write("Windows Registry Editor Version 5.00\r\n\r\n"
                    "[HKEY_CURRENT_USER\\Software\\Kestrelwick\\Vellumix\\Main Form]\r\n"
                    "\"FirstTime_Checked\"=\"False\"\r\n\"mniTip_Checked\"=\"False\"\r\n"
                    "\"pnlTip_Visible\"=\"False\"\r\n")
    start = time.monotonic()
    proc = subprocess.Popen(command + [path], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    result = {"shown": None, "mem": None, "key": None}
    try:
        window = None
        while window is None and time.monotonic() - start < LIMIT_S and proc.poll() is None:
            time.sleep(POLL_S)
            window = window_of(proc.pid)
        if window is None:
            return result
        shown = wait_idle(proc.pid, time.monotonic())
        if shown is None:
            return result
        result["shown"] = shown - start
        result["mem"] = vm_hwm_mib(proc.pid)
        if type_keys:
            subprocess.run(["xdotool", "windowfocus", "--sync", window], capture_output=True)
            subprocess.run(["xdotool", "key", "ctrl+End"], capture_output=True)
            if wait_idle(proc.pid, time.monotonic()) is None:
                return result
            times = []
            for key in "abcde":
                sent = time.monotonic()
                subprocess.run(["xdotool", "key", key], capture_output=True)
                done = wait_idle(proc.pid, sent)
                if done is None:
                    break
                times.append(max(done - sent, 0.0))
            if times:
                times.sort()
                result["key"] = times[len(times) // 2]
        return result
    finally:
        proc.kill()
        proc.wait()


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    vellumix = os.path.abspath(sys.argv[1])
    chosen = sys.argv[2:] or ["vellumix", "mousepad", "kate", "featherpad"]
    commands = {"vellumix": [vellumix], "mousepad": ["mousepad", "--disable-server"],
                "kate": ["kate", "--new"], "featherpad": ["featherpad", "--standalone"]}
    data = os.environ.get("EDITORS_BENCH_DATA", os.path.join(tempfile.gettempdir(), "editors-bench"))
    os.makedirs(data, exist_ok=True)
    files = make_files(data)
    cases = [("200 MB log", "log200.txt", False), ("15 MB text", "text15.txt", False),
             ("5 MB single line", "line5.txt", True), ("100 MB of 1 MB lines", "lines1m.txt", False)]
    only = os.environ.get("EDITORS_BENCH_FILES")
    if only:
        cases = [c for c in cases if c[1].split(".")[0] in only.split(",")]
    print(f"{'File':<22} {'Editor':<11} {'Shown (s)':>10} {'VmHWM (MiB)':>12} {'Key at end (ms)':>16}")
    for label, name, keys in cases:
        for editor in chosen:
            if editor != "vellumix" and not shutil.which(commands[editor][0]):
                continue
            home = tempfile.mkdtemp(prefix=f"home-{editor}-")
            try:
                r = run(editor, commands[editor], files[name], home, keys)
            finally:
                shutil.rmtree(home, ignore_errors=True)
            shown = f"{r['shown']:.2f}" if r["shown"] is not None else "no window"
            mem = f"{r['mem']:.0f}" if r["mem"] is not None else "-"
            key = f"{r['key'] * 1000:.0f}" if r["key"] is not None else "-"
            print(f"{label:<22} {editor:<11} {shown:>10} {mem:>12} {key:>16}", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
