#!/usr/bin/env bash
# Packaging speed and memory of xpk against the usual tools, on one generated plug-in tree.
#
#   bench/packaging.sh [XPK_BINARY] [SIZE_MB] [FILES]
#
# Defaults: build-pkg/packaging_tool/xpk, 300 MB, 3000 files. The tree is half compressible text,
# half random bytes, and carries a valid digest manifest and a signature file. Measured, each on a
# warm page cache:
#   - `xpk create` of the tree without its signature files, against `zip -1 -r -q`;
#   - the manifest check of `xpk create` on the signed tree, against `sha256sum` over the same files
#     (the check is timed alone by giving the manifest one extra record: xpk then digests every file
#     and fails on the record count before it writes anything);
#   - `xpk create` of the signed tree, whole;
#   - peak memory (maximum resident set size) of each run, against the archive size;
#   - `xpk create` of a tree of EMPTY_FILES (default 40000) empty files, against `zip -1 -r -q`.
# Targets: create ratio <= 0.3, verification ratio <= 0.6, peak memory < archive + 64 MiB, empty
# files ratio <= 1.0. Each figure is printed with the load average at its time.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
xpk=${1:-$here/build-pkg/packaging_tool/xpk}
size_mb=${2:-300}
files=${3:-3000}
[[ -x $xpk ]] || { echo "xpk binary not found: $xpk" >&2; exit 1; }
for tool in zip sha256sum python3 /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/xpk-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
tree=$work/plugin

echo "Generating $files files, about $size_mb MB, in $tree"
python3 - "$tree" "$size_mb" "$files" <<'PY'
import hashlib, os, random, sys

root, size_mb, count = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
rng = random.Random(20261209)
words = [''.join(rng.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(rng.randint(2, 10)))
         for _ in range(5000)]
# Text that deflates about as well as source code and documentation do (3 to 4 times).
line_pool = [' '.join(rng.choice(words) for _ in range(rng.randint(4, 14))) + '\n' for _ in range(20000)]

def text(size):
    parts, total = [], 0
    while total < size:
        line = rng.choice(line_pool)
        parts.append(line)
        total += len(line)
    return ''.join(parts).encode()[:size]

average = size_mb * 1024 * 1024 // count
os.makedirs(os.path.join(root, 'META-INF'))
with open(os.path.join(root, 'META-INF', 'LICENSE'), 'w') as f:
    f.write('Benchmark licence\n')
for i in range(count - 1):
    directory = os.path.join(root, 'lib%02d' % (i % 30), 'part%d' % (i % 7))
    os.makedirs(directory, exist_ok=True)
    size = rng.randint(average // 2, average * 3 // 2)
    data = text(size) if i % 2 == 0 else os.urandom(size)
    with open(os.path.join(directory, 'file%04d.%s' % (i, 'txt' if i % 2 == 0 else 'bin')), 'wb') as f:
        f.write(data)

# The manifest: every entry but the signature files, directories with the digest of no data.
records = {}
for current, dirs, names in os.walk(root):
    for name in dirs + names:
        full = os.path.join(current, name)
        key = os.path.relpath(full, root).replace(os.sep, '/')
        if key in ('META-INF/.digest', 'META-INF/.signature') or name == '.DS_Store':
            continue
        digest = hashlib.sha256()
        if os.path.isfile(full):
            with open(full, 'rb') as f:
                for block in iter(lambda: f.read(1 << 20), b''):
                    digest.update(block)
        records[key] = digest.hexdigest().upper()
with open(os.path.join(root, 'META-INF', '.digest'), 'w', newline='') as f:
    for key in sorted(records, key=lambda k: k.split('/')):
        f.write(key + '\n' + records[key] + '\n')
with open(os.path.join(root, 'META-INF', '.signature'), 'wb') as f:
    f.write(os.urandom(1500))
PY

tree_bytes=$(du -sb "$tree" | cut -f1)
echo "Tree: $(find "$tree" -type f | wc -l) files, $((tree_bytes / 1048576)) MiB"
cat $(find "$tree" -type f) >/dev/null # warm the page cache

# Runs a command under /usr/bin/time -v; sets seconds (wall clock), cpu (user + system) and peak_kib.
# The command's status is ignored here and checked by the caller where it matters.
measure() {
    local log=$work/time.log
    /usr/bin/time -v "$@" >"$work/out.log" 2>"$log" || true
    seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s}' "$log")
    cpu=$(awk -F': ' '/User time|System time/ {s += $2} END {print s}' "$log")
    peak_kib=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$log")
}

ratio() { python3 -c "print(f'{$1 / $2:.2f}')"; }

# Two contenders run alternately, three rounds, and each keeps its best wall-clock and CPU time, so
# that other work on the machine disturbs both alike and one disturbance does not decide.
keep() {
    local name=$1
    local s_var=${name}_s cpu_var=${name}_cpu peak_var=${name}_peak
    local best_s=${!s_var:-} best_cpu=${!cpu_var:-} best_peak=${!peak_var:-0}
    if [[ -z $best_s ]] || python3 -c "import sys; sys.exit(0 if $seconds < $best_s else 1)"; then best_s=$seconds; fi
    if [[ -z $best_cpu ]] || python3 -c "import sys; sys.exit(0 if $cpu < $best_cpu else 1)"; then best_cpu=$cpu; fi
    (( peak_kib > best_peak )) && best_peak=$peak_kib
    printf -v "${name}_s" '%s' "$best_s"
    printf -v "${name}_cpu" '%s' "$best_cpu"
    printf -v "${name}_peak" '%s' "$best_peak"
}
alternate() {
    local first=$1 first_run=$2 second=$3 second_run=$4
    for _ in 1 2 3; do
        "$first_run"; keep "$first"
        "$second_run"; keep "$second"
    done
}

# Unsigned copy of the tree for the packing comparison (hard links: no extra data).
unsigned=$work/unsigned
cp -al "$tree" "$unsigned"
rm "$unsigned/META-INF/.digest" "$unsigned/META-INF/.signature"

run_xpk_create() { rm -f "$work/unsigned.xpk"; measure "$xpk" create "--source=$unsigned" "--package=$work/unsigned.xpk"; }
run_zip() { rm -f "$work/unsigned.zip"; measure sh -c 'cd "$1" && exec zip -1 -r -q unsigned.zip unsigned' sh "$work"; }
run_xpk_create
grep -q "is created" "$work/out.log" || { echo "xpk create failed:"; cat "$work/out.log" "$work/time.log"; exit 1; }
alternate create run_xpk_create zip run_zip
create_load=$(cut -d' ' -f1-3 /proc/loadavg)
archive_bytes=$(stat -c %s "$work/unsigned.xpk")
zip_bytes=$(stat -c %s "$work/unsigned.zip")

# Verification alone: one record too many makes xpk stop after digesting every file.
cp "$tree/META-INF/.digest" "$work/digest.saved"
printf 'zz-not-in-the-tree\n%s\n' "$(printf '%064d' 0)" >>"$tree/META-INF/.digest"
run_verify() { measure "$xpk" create "--source=$tree" "--package=$work/never.xpk"; }
run_verify
grep -q "contains not signed files" "$work/time.log" || { echo "unexpected verification result:"; cat "$work/time.log"; exit 1; }
run_sha256sum() {
    measure sh -c 'cd "$1" && find . -type f ! -name .digest ! -name .signature -print0 | xargs -0 sha256sum >/dev/null' \
        sh "$tree"
}
alternate verify run_verify sha run_sha256sum
verify_load=$(cut -d' ' -f1-3 /proc/loadavg)
cp "$work/digest.saved" "$tree/META-INF/.digest"

run_signed_create() { rm -f "$work/signed.xpk"; measure "$xpk" create "--source=$tree" "--package=$work/signed.xpk"; }
run_signed_create; keep signed
grep -q "successfully verified" "$work/out.log" || { echo "signed create failed:"; cat "$work/out.log" "$work/time.log"; exit 1; }

mib() { python3 -c "print(f'{$1 / 1048576:.1f}')"; }
row() { printf '%-34s %8s s  cpu %7s s   peak %8s MiB\n' "$1" "$2" "$3" "$(mib $(($4 * 1024)))"; }
echo
echo "Tree $((tree_bytes / 1048576)) MiB; xpk archive $(mib "$archive_bytes") MiB; zip -1 archive $(mib "$zip_bytes") MiB"
echo "(best of three; load average when done: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores)"
row "xpk create (unsigned)" "$create_s" "$create_cpu" "$create_peak"
row "zip -1 -r -q" "$zip_s" "$zip_cpu" "$zip_peak"
row "xpk manifest check (signed tree)" "$verify_s" "$verify_cpu" "$verify_peak"
row "sha256sum over the same files" "$sha_s" "$sha_cpu" "$sha_peak"
row "xpk create (signed, whole)" "$signed_s" "$signed_cpu" "$signed_peak"
echo
echo "create / zip:             wall $(ratio "$create_s" "$zip_s"), cpu $(ratio "$create_cpu" "$zip_cpu")   (target <= 0.3; load $create_load)"
echo "verification / sha256sum: wall $(ratio "$verify_s" "$sha_s"), cpu $(ratio "$verify_cpu" "$sha_cpu")   (target <= 0.6; load $verify_load)"
echo "create peak - archive size: $(mib $((create_peak * 1024 - archive_bytes))) MiB   (target < 64)"

# Many empty files: the cost per entry, apart from the data.
empty_count=${EMPTY_FILES:-40000}
empty=$work/empty
python3 - "$empty" "$empty_count" <<'PY'
import os, sys
root, count = sys.argv[1], int(sys.argv[2])
os.makedirs(os.path.join(root, 'META-INF'))
for i in range(count):
    directory = os.path.join(root, 'd%03d' % (i % 200))
    os.makedirs(directory, exist_ok=True)
    open(os.path.join(directory, 'f%05d' % i), 'w').close()
PY
run_xpk_empty() { rm -f "$work/empty.xpk"; measure "$xpk" create "--source=$empty" "--package=$work/empty.xpk"; }
run_zip_empty() { rm -f "$work/empty.zip"; measure sh -c 'cd "$1" && exec zip -1 -r -q empty.zip empty' sh "$work"; }
alternate emptyxpk run_xpk_empty emptyzip run_zip_empty
echo
row "xpk create ($empty_count empty files)" "$emptyxpk_s" "$emptyxpk_cpu" "$emptyxpk_peak"
row "zip -1 -r -q (the same)" "$emptyzip_s" "$emptyzip_cpu" "$emptyzip_peak"
echo "empty files create / zip:  wall $(ratio "$emptyxpk_s" "$emptyzip_s"), cpu $(ratio "$emptyxpk_cpu" "$emptyzip_cpu")   (target <= 1.0; load $(cut -d' ' -f1-3 /proc/loadavg))"
