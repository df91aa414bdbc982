#!/usr/bin/env python3
"""Start and exit of the program under Xvfb, beside a bare Qt window and two
bare attaches and detaches, medians of N runs (default 10), in one run.

  scripts/bench-start.py BUILD_DIR [runs]

Start: exec to the first pass of the message loop (the main window's start
sequence done). Exit: the click on "閉じる" to the end of the process.
The targets are the program's figures over the bare sum; its times in
milliseconds are reported only (they carry from one machine to another no
better than the bare attaches do).
Needs Xvfb; uses the first free display of :96..:99, with openbox when it
is installed (TOLVANE_BENCH_NO_WM=1: without)."""
import os, shutil, statistics, subprocess, sys, tempfile, time

build = os.path.abspath(sys.argv[1])
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
program = os.path.join(build, "bench", "tolvane_bench_start")
bare = os.path.join(build, "bench", "tolvane_bench_start_bare")

display = None
for n in range(96, 100):
    if not os.path.exists("/tmp/.X%d-lock" % n):
        display = ":%d" % n
        break
if display is None:
    sys.exit("bench-start: displays :96..:99 are all in use")
xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
work = tempfile.mkdtemp(prefix="tolvane-bench-start-")
try:
    time.sleep(1.0)
    env = dict(os.environ, DISPLAY=display)
    env.pop("QT_QPA_PLATFORM", None)
    # A window manager, as on a desktop, when one is installed.
    wm = None
    if shutil.which("openbox") and os.environ.get("TOLVANE_BENCH_NO_WM") is None:
        wm = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)
    subprocess.run(["bash", os.path.join(here, "scripts", "create-databases.sh"), work],
                   check=True, stdout=subprocess.DEVNULL, env=env)
    # The lessons table, so the start sequence ends without its message box.
    ddl = os.path.join(work, "kadai.sql")
    with open(ddl, "w") as f:
        f.write("CONNECT '%s/KELDMARK.FDB' USER 'kvo' PASSWORD '9517';\n"
                "CREATE TABLE FISH_KADAI ( K00_CODENO INTEGER, K00_PAPANO INTEGER,"
                " K01_FISH VARCHAR(40), K02_PLACE VARCHAR(40), K03_TUKI VARCHAR(10),"
                " K10_MEMO BLOB SUB_TYPE TEXT SEGMENT SIZE 80 );\nCOMMIT;\n" % work)
    subprocess.run([shutil.which("isql-fb") or "isql-fb", "-q", "-b", "-i", ddl], check=True,
                   stdout=subprocess.DEVNULL, env=env)

    def once(cmd):
        t0 = time.time_ns()
        p = subprocess.Popen(cmd, cwd=work, env=env, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True)
        out, _ = p.communicate(timeout=60)
        t_end = time.time_ns()
        marks = dict(line.split() for line in out.splitlines() if line.split()[:1] in (["ready"], ["closing"]))
        return (int(marks["ready"]) - t0) / 1e6, (t_end - int(marks["closing"])) / 1e6

    # Interleaved, so a busy machine weighs on all three alike.
    kinds = {"window": [bare, "window"], "attach": [bare, "attach"], "program": [program]}
    times = {k: ([], []) for k in kinds}
    for _ in range(runs):
        for k, cmd in kinds.items():
            s, e = once(cmd)
            times[k][0].append(s)
            times[k][1].append(e)
    med = {k: (statistics.median(v[0]), statistics.median(v[1])) for k, v in times.items()}
    window, attach, prog = med["window"], med["attach"], med["program"]
    bare_start = window[0] + attach[0]
    bare_exit = window[1] + attach[1]
    if wm is not None:
        wm.terminate()
        wm.wait()
    print("medians of %d runs under Xvfb %s%s, milliseconds"
          % (runs, display, " with openbox" if wm is not None else ""))
    print("  bare Qt window          start %7.1f   exit %7.1f" % window)
    print("  two bare attach/detach  start %7.1f   exit %7.1f" % attach)
    print("  bare sum                start %7.1f   exit %7.1f" % (bare_start, bare_exit))
    print("  program                 start %7.1f   exit %7.1f   (reported; the ratios are the targets)"
          % prog)
    print("  program / bare sum      start %7.2f   exit %7.2f   (target <= 1.30 each)"
          % (prog[0] / bare_start, prog[1] / bare_exit))
finally:
    xvfb.terminate()
    xvfb.wait()
    shutil.rmtree(work, ignore_errors=True)
