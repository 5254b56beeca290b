#!/usr/bin/env bash
# Measures loading, saving and sorting a list of a million cards and sets the load time
# beside Python's csv module and `wc -l` reading the same file, all in one run. The same
# cards are loaded as a version 2.0 list and as a Unicode list.
#
#   bench/compare.sh [CARDS]        (default 1000000)
#
# BENCH=path/to/kartomatrix-bench uses that binary; otherwise a Release build (-O2) is made
# in build-h1-rel. BEFORE=path/to/an/older/kartomatrix-bench loads the same version 2.0
# list with that binary too, its runs taking turns with the others, so that both are timed
# on the same machine under the same load. RUNS=n sets how often each timing is taken (the
# best run counts).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
CARDS=${1:-1000000}
RUNS=${RUNS:-5}
BENCH=${BENCH:-$ROOT/build-h1-rel/bench/kartomatrix-bench}

if [[ ! -x $BENCH ]]; then
    cmake -S "$ROOT" -B "$ROOT/build-h1-rel" -G Ninja -DKARTOMATRIX_UI=OFF \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" >/dev/null
    ninja -C "$ROOT/build-h1-rel" kartomatrix-bench >/dev/null
fi
if [[ ! -x /usr/bin/time ]]; then
    echo "compare.sh needs /usr/bin/time (package 'time') for the peak memory" >&2
    exit 1
fi

BEFORE=${BEFORE:-}
if [[ -n $BEFORE && ! -x $BEFORE ]]; then
    echo "BEFORE=$BEFORE is no program" >&2
    exit 1
fi

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
LIST=$WORK/list.kmx
UNICODE_LIST=$WORK/unicode.kmx

"$BENCH" generate "$CARDS" "$LIST"
"$BENCH" generate "$CARDS" "$UNICODE_LIST" unicode
if [[ -n $BEFORE ]]; then
    "$BEFORE" generate "$CARDS" "$WORK/before.kmx" >/dev/null
    cmp -s "$LIST" "$WORK/before.kmx" || echo "note: BEFORE generates a different list" >&2
fi
cat "$LIST" "$UNICODE_LIST" >/dev/null  # every reader starts from the page cache

cat >"$WORK/pycsv.py" <<'EOF'
import csv, sys, time
start = time.perf_counter()
with open(sys.argv[1], encoding="latin-1", newline="") as f:
    rows = sum(1 for _ in csv.reader(f, delimiter="\t"))
print(f"rows={rows} ms={(time.perf_counter() - start) * 1000:.1f}")
EOF

BENCH="$BENCH" BEFORE="$BEFORE" LIST="$LIST" UNICODE_LIST="$UNICODE_LIST" RUNS="$RUNS" \
    PYCSV="$WORK/pycsv.py" OUT="$WORK/out.kmx" python3 - <<'EOF'
import os, re, resource, subprocess, sys, time

bench, lst, runs = os.environ["BENCH"], os.environ["LIST"], int(os.environ["RUNS"])
before, unicode_lst = os.environ["BEFORE"], os.environ["UNICODE_LIST"]

def run(cmd):
    """Whole-process wall and processor time of one run, and its output."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
    wall = (time.perf_counter() - start) * 1000
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = ((after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)) * 1000
    return wall, cpu, out

def best(cmd, field=None):
    """Best of the runs: whole-process wall and cpu, and the smallest `field=` figure."""
    walls, cpus, inner = [], [], []
    for _ in range(runs):
        wall, cpu, out = run(cmd)
        walls.append(wall)
        cpus.append(cpu)
        if field:
            inner.append(float(re.search(rf"\b{field}=([0-9.]+)", out).group(1)))
    return min(walls), min(cpus), (min(inner) if inner else None), out

def taking_turns(cmds, field):
    """The best `field=` figure and processor time of each command, the commands run in turn
    so that a change in the machine's load falls on all of them alike."""
    figures = [[] for _ in cmds]
    cpus = [[] for _ in cmds]
    for _ in range(runs):
        for i, cmd in enumerate(cmds):
            out = run(cmd)[2]
            figures[i].append(float(re.search(rf"\b{field}=([0-9.]+)", out).group(1)))
            cpus[i].append(float(re.search(r"\bcpu_ms=([0-9.]+)", out).group(1)))
    return [(min(f), min(c)) for f, c in zip(figures, cpus)]

size_mb = os.path.getsize(lst) / 1e6
print(f"file: {lst} {size_mb:.1f} MB, Unicode list of the same cards "
      f"{os.path.getsize(unicode_lst) / 1e6:.1f} MB, {runs} runs each, best run counts")
print(f"machine load average: {os.getloadavg()[0]:.2f} on {os.cpu_count()} cores")

loads = [[bench, "load", lst], [bench, "load", unicode_lst]]
if before:
    loads.append([before, "load", lst])
timed = taking_turns(loads, "ms")
(v20_ms, v20_cpu), (uni_ms, uni_cpu) = timed[0], timed[1]
print(f"load version 2.0: {v20_ms:8.1f} ms in process ({v20_cpu:.1f} ms cpu)")
print(f"load Unicode:     {uni_ms:8.1f} ms in process ({uni_cpu:.1f} ms cpu), "
      f"{uni_ms / v20_ms:.2f}x version 2.0")
if before:
    old_ms, old_cpu = timed[2]
    print(f"load version 2.0 by BEFORE: {old_ms:8.1f} ms in process ({old_cpu:.1f} ms cpu)")
    print(f"version 2.0 now / before: {v20_ms / old_ms:.2f}x in process, {v20_cpu / old_cpu:.2f}x cpu "
          f"(target <= 1.15x)")
    print(f"Unicode now / version 2.0 before: {uni_ms / old_ms:.2f}x in process, "
          f"{uni_cpu / old_cpu:.2f}x cpu (target <= 1.30x)")

ours_wall, ours_cpu, ours_in, out = best([bench, "load", lst], "ms")
_, _, ours_in_cpu, _ = best([bench, "load", lst], "cpu_ms")
py_wall, py_cpu, py_in, py_out = best([sys.executable, os.environ["PYCSV"], lst], "ms")
wc_wall, wc_cpu, _, wc_out = best(["wc", "-l", lst])
print(f"load (ours):     {ours_in:8.1f} ms in process ({ours_in_cpu:.1f} ms cpu), "
      f"{ours_wall:8.1f} ms whole process, {ours_cpu:8.1f} ms cpu   [{out.strip()}]")
print(f"python csv:      {py_in:8.1f} ms in process, {py_wall:8.1f} ms whole process, "
      f"{py_cpu:8.1f} ms cpu   [{py_out.strip()}]")
print(f"wc -l:           {wc_wall:8.1f} ms whole process, {wc_cpu:8.1f} ms cpu   [{wc_out.split()[0]} lines]")
print(f"ratio python/ours: {py_in / ours_in:6.1f}x in process, {py_wall / ours_wall:6.1f}x whole process, "
      f"{py_cpu / max(ours_cpu, 0.1):6.1f}x cpu")
print(f"ratio ours/wc:     {ours_wall / wc_wall:6.1f}x whole process, "
      f"{ours_cpu / max(wc_cpu, 0.1):6.1f}x cpu   (target <= 25x)")

# The same load with the allocator asked for transparent huge pages: most of the load time
# on a fresh process is the kernel handing out 4 KiB pages for a hundred megabytes of cards.
os.environ["GLIBC_TUNABLES"] = "glibc.malloc.hugetlb=1"
thp_wall, thp_cpu, thp_in, _ = best([bench, "load", lst], "ms")
del os.environ["GLIBC_TUNABLES"]
print(f"load with huge pages: {thp_in:8.1f} ms in process, {thp_wall:8.1f} ms whole process, "
      f"{thp_cpu:8.1f} ms cpu; python/ours {py_in / thp_in:.1f}x in process, {py_cpu / max(thp_cpu, 0.1):.1f}x cpu; "
      f"ours/wc {thp_wall / wc_wall:.1f}x whole process, {thp_cpu / max(wc_cpu, 0.1):.1f}x cpu")

timed = subprocess.run(["/usr/bin/time", "-v", bench, "load", lst], check=True,
                       capture_output=True, text=True)
peak_kb = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", timed.stderr).group(1))
print(f"peak memory while loading: {peak_kb / 1000:.1f} MB = {peak_kb * 1000 / os.path.getsize(lst):.2f}x "
      f"the file (target <= 4x)")

_, _, write_ms, out = best([bench, "roundtrip", lst, os.environ["OUT"]], "write_ms")
_, _, write_cpu, _ = best([bench, "roundtrip", lst, os.environ["OUT"]], "write_cpu_ms")
same = open(lst, "rb").read() == open(os.environ["OUT"], "rb").read()
print(f"save: {write_ms:.1f} ms ({write_cpu:.1f} ms cpu), file read back and saved again is "
      f"{'byte-identical' if same else 'DIFFERENT'} (target < 1000 ms)")
_, _, write_ms, out = best([bench, "roundtrip", unicode_lst, os.environ["OUT"]], "write_ms")
same = open(unicode_lst, "rb").read() == open(os.environ["OUT"], "rb").read()
print(f"save as Unicode list: {write_ms:.1f} ms, file read back and saved again is "
      f"{'byte-identical' if same else 'DIFFERENT'} (target < 1000 ms)")

for key in range(5):
    _, _, ms, out = best([bench, "sort", lst, str(key)], "ms")
    _, _, cpu, _ = best([bench, "sort", lst, str(key)], "cpu_ms")
    print(f"sort key {key}: {ms:8.1f} ms ({cpu:.1f} ms cpu) (target < 1000 ms)")

for extra in ([], ["mostly-known"]):
    _, _, _, out = best([bench, "answers", lst] + extra)
    print(f"answers{' ' + extra[0] if extra else ''}: {out.strip()}")
EOF
