#!/usr/bin/env bash
# Signing speed and memory of xpk against jarsigner and sha256sum, on the plug-in tree that
# bench/packaging.sh generates (its generator is taken from that script, not copied).
#
#   bench/signing.sh [XPK_BINARY] [SIZE_MB] [FILES]
#
# Defaults: build-sign/packaging_tool/xpk, 300 MB, 3000 files. Measured in one run, best of three,
# on a warm page cache:
#   - `xpk sign` of the directory, against `sha256sum` over the same files;
#   - `xpk sign` of the packed .xpk (digesting every entry, signing, writing the package back),
#     against `jarsigner` signing a jar of the same content with an equivalent RSA key (the same
#     RSA-3072 key and certificate, in a PKCS#12 key store);
#   - peak memory (maximum resident set size) of each run;
#   - `xpk sign` of zips of many small files (ENTRY_COUNTS, default 1000 10000 100000), against
#     sha256sum over the same files, to show how the time per entry grows with the entry count.
# Targets: jarsigner / xpk sign (package) >= 10; xpk sign (directory) / sha256sum <= 0.7; peak memory
# of sign (package) <= archive + 64 MiB; time per entry at 100k within 1.5 times that at 10k.
# Each figure is printed with the load average at the time, since the machine may be shared.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
xpk_built=${1:-$here/build-sign/packaging_tool/xpk}
size_mb=${2:-300}
files=${3:-3000}
[[ -x $xpk_built ]] || { echo "xpk binary not found: $xpk_built" >&2; exit 1; }
for tool in openssl jarsigner zip sha256sum python3 /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/xpk-sign-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
tree=$work/plugin

# The generator is the python program between `python3 - "$tree" ...` and `PY` in packaging.sh.
awk '/^python3 - "\$tree"/ {inside = 1; next} inside && /^PY$/ {exit} inside {print}' \
    "$here/bench/packaging.sh" >"$work/generate.py"
[[ -s $work/generate.py ]] || { echo "generator not found in bench/packaging.sh" >&2; exit 1; }
echo "Generating $files files, about $size_mb MB, in $tree"
python3 "$work/generate.py" "$tree" "$size_mb" "$files"
# Signing starts from an unsigned tree; jarsigner gets the same files.
rm -f "$tree/META-INF/.digest" "$tree/META-INF/.signature"
tree_bytes=$(du -sb "$tree" | cut -f1)
echo "Tree: $(find "$tree" -type f | wc -l) files, $((tree_bytes / 1048576)) MiB"

# Credentials: one RSA-3072 signer under a benchmark root, for both tools.
pki=$work/pki
mkdir -p "$pki" "$work/bin/Resources"
openssl req -x509 -newkey rsa:3072 -sha256 -days 2 -nodes -subj "/CN=Benchmark Root" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" \
    -keyout "$pki/root.key" -out "$pki/root.pem" 2>/dev/null
openssl req -newkey rsa:3072 -sha256 -nodes -subj "/CN=Benchmark Signer" \
    -keyout "$pki/signer.key" -out "$pki/signer.csr" 2>/dev/null
printf '%s\n' "keyUsage=critical,digitalSignature" "extendedKeyUsage=codeSigning" >"$pki/ext"
openssl x509 -req -sha256 -days 2 -in "$pki/signer.csr" -CA "$pki/root.pem" -CAkey "$pki/root.key" \
    -CAcreateserial -extfile "$pki/ext" -out "$pki/signer.pem" 2>/dev/null
openssl pkcs12 -export -in "$pki/signer.pem" -inkey "$pki/signer.key" -certfile "$pki/root.pem" \
    -name signer -passout pass:benchmark -out "$pki/signer.p12"
# xpk reads the trust store beside its resolved path: a copy of the binary with its own store.
cp "$xpk_built" "$work/bin/xpk"
cp "$pki/root.pem" "$work/bin/Resources/CACertificatesStore.pem"
xpk=$work/bin/xpk
credentials=("--certificate=$pki/signer.pem" "--private-key=$pki/signer.key")

# The package and the jar of the same files.
"$xpk" create "--source=$tree" "--package=$work/plugin.xpk" >/dev/null
(cd "$work" && zip -1 -r -q plugin.jar plugin)
cp "$work/plugin.xpk" "$work/unsigned.xpk"
cat $(find "$tree" -type f) "$work/plugin.xpk" "$work/plugin.jar" >/dev/null # warm the page cache

# Runs a command under /usr/bin/time -v; sets seconds and peak_kib; fails on a failing command.
measure() {
    local log=$work/time.log
    if ! /usr/bin/time -v "$@" >"$work/out.log" 2>"$log"; then
        echo "failed: $*" >&2
        cat "$work/out.log" "$log" >&2
        exit 1
    fi
    seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s}' "$log")
    peak_kib=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$log")
}

# Best of three, so one disturbance by other work on the machine does not decide.
best() {
    local name=$1; shift
    local best_s='' best_peak=0
    for _ in 1 2 3; do
        "$@"
        if [[ -z $best_s ]] || python3 -c "import sys; sys.exit(0 if $seconds < $best_s else 1)"; then best_s=$seconds; fi
        (( peak_kib > best_peak )) && best_peak=$peak_kib
    done
    printf -v "${name}_s" '%s' "$best_s"
    printf -v "${name}_peak" '%s' "$best_peak"
}

run_sign_dir() { measure "$xpk" sign "--package=$tree" "${credentials[@]}"; }
run_sha256sum() {
    measure sh -c 'cd "$1" && find . -type f ! -name .digest ! -name .signature -print0 | xargs -0 sha256sum >/dev/null' \
        sh "$tree"
}
run_sign_package() {
    cp "$work/unsigned.xpk" "$work/plugin.xpk"
    measure "$xpk" sign "--package=$work/plugin.xpk" "${credentials[@]}"
}
run_jarsigner() {
    rm -f "$work/signed.jar"
    measure jarsigner -keystore "$pki/signer.p12" -storetype PKCS12 -storepass benchmark \
        -digestalg SHA-256 -sigalg SHA256withRSA -signedjar "$work/signed.jar" "$work/plugin.jar" signer
}

load() { cut -d' ' -f1-3 /proc/loadavg; }
best signdir run_sign_dir; signdir_load=$(load)
best sha run_sha256sum; sha_load=$(load)
best signpkg run_sign_package; signpkg_load=$(load)
best jar run_jarsigner; jar_load=$(load)

# The results must be real signatures: both signature files verify with OpenSSL.
unzip -p "$work/plugin.xpk" META-INF/.digest >"$work/check.digest"
unzip -p "$work/plugin.xpk" META-INF/.signature >"$work/check.sig"
openssl cms -verify -binary -inform DER -in "$work/check.sig" -content "$work/check.digest" \
    -CAfile "$pki/root.pem" -purpose any -out /dev/null 2>/dev/null ||
    { echo "the signed package does not verify" >&2; exit 1; }
openssl cms -verify -binary -inform DER -in "$tree/META-INF/.signature" -content "$tree/META-INF/.digest" \
    -CAfile "$pki/root.pem" -purpose any -out /dev/null 2>/dev/null ||
    { echo "the signed directory does not verify" >&2; exit 1; }

mib() { python3 -c "print(f'{$1 / 1048576:.1f}')"; }
ratio() { python3 -c "print(f'{$1 / $2:.2f}')"; }
package_bytes=$(stat -c %s "$work/unsigned.xpk")
echo
echo "Tree $((tree_bytes / 1048576)) MiB; package $(mib "$package_bytes") MiB; jar $(mib "$(stat -c %s "$work/plugin.jar")") MiB"
row() { printf '%-34s %8s s   peak %8s MiB   load %s\n' "$1" "$2" "$(mib $(($3 * 1024)))" "$4"; }
row "xpk sign (directory)" "$signdir_s" "$signdir_peak" "$signdir_load"
row "sha256sum over the same files" "$sha_s" "$sha_peak" "$sha_load"
row "xpk sign (package)" "$signpkg_s" "$signpkg_peak" "$signpkg_load"
row "jarsigner (jar, RSA-3072)" "$jar_s" "$jar_peak" "$jar_load"
echo
echo "jarsigner / xpk sign (package):   $(ratio "$jar_s" "$signpkg_s")   (target >= 10)"
echo "xpk sign (directory) / sha256sum: $(ratio "$signdir_s" "$sha_s")   (target <= 0.7)"
echo "sign (package) peak - package size: $(mib $((signpkg_peak * 1024 - package_bytes))) MiB   (target <= 64)"

# Many small entries: a zip of N files of 100 to 300 bytes each, signed as a package.
echo
per_entry=()
for count in ${ENTRY_COUNTS:-1000 10000 100000}; do
    many=$work/many$count
    python3 - "$many" "$count" <<'PY'
import os, random, sys
root, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(count)
os.makedirs(os.path.join(root, 'META-INF'))
for i in range(count):
    directory = os.path.join(root, 'd%03d' % (i % 500))
    os.makedirs(directory, exist_ok=True)
    with open(os.path.join(directory, 'f%06d.txt' % i), 'w') as f:
        f.write(('entry %d ' % i) * rng.randint(12, 36))
PY
    (cd "$many" && zip -1 -r -q "$work/many$count.zip" .)
    run_sign_many() {
        cp "$work/many$count.zip" "$work/many.xpk"
        measure "$xpk" sign "--package=$work/many.xpk" "${credentials[@]}"
    }
    run_sha_many() {
        measure sh -c 'cd "$1" && find . -type f -print0 | xargs -0 sha256sum >/dev/null' sh "$many"
    }
    best many run_sign_many; many_load=$(load)
    best manysha run_sha_many
    micro=$(python3 -c "print(f'{$many_s / $count * 1e6:.1f}')")
    per_entry+=("$micro")
    printf 'xpk sign, zip of %6d entries  %8s s   %7s us/entry   sha256sum %6s s   ratio %6s   load %s\n' \
        "$count" "$many_s" "$micro" "$manysha_s" "$(ratio "$many_s" "$manysha_s")" "$many_load"
    rm -rf "$many" "$work/many$count.zip" "$work/many.xpk"
done
if (( ${#per_entry[@]} >= 2 )); then
    echo "time per entry, largest / second largest count: $(ratio "${per_entry[-1]}" "${per_entry[-2]}")   (target <= 1.5)"
fi
