#!/usr/bin/env bash
# Builds the release Debian packages, unpacks each into a scratch root and checks it: it holds its
# program and data and nothing else, depends on the Qt libraries, its desktop entry is valid, and the
# unpacked program starts headless; the configurator finds its sounds (a cue in the working folder's
# Sound/ first, the rest in the unpacked share folder) and its instructions page.
# Usage: scripts/package_check.sh   (exits non-zero on the first failure)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=build/release
cmake --preset release >/dev/null
rm -f "$build"/zarni-*.deb
# What the package target does, less building the tests and benchmarks the packages leave out.
cmake --build --preset release --target configurator uploader --parallel "$(nproc)"
(cd "$build" && cpack)

version=$(sed -n 's/^project(.* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
scratch=$(realpath "$(mktemp -d)")
trap 'rm -rf "$scratch"' EXIT
home="$scratch/home"
mkdir -p "$home" "$scratch/runtime"
chmod 700 "$scratch/runtime"

fail() {
    echo "package_check: $*" >&2
    exit 1
}

# A command run in a home folder of its own, without a display: the windows need the offscreen
# platform, the options that only print need none.
run() {
    (cd "$home" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_CONFIG_HOME \
        -u XDG_DATA_HOME -u XDG_CACHE_HOME HOME="$home" XDG_RUNTIME_DIR="$scratch/runtime" "$@")
}

# check_package NAME PROGRAM FILE...: the package NAME holds exactly FILE... (relative to its root),
# depends on Qt, and PROGRAM in it starts and tells the package's version.
check_package() {
    local name=$1 program=$2
    shift 2
    local debs=("$build/${name}_"*.deb)
    [[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "expected one $name package in $build"
    local deb=${debs[0]} root="$scratch/$name"
    [[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "$name: version is not $version"
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    [[ $depends == *libqt6core6* ]] || fail "$name: Depends names no Qt library: '$depends'"
    echo "$name: Depends: $depends"

    dpkg -x "$deb" "$root"
    diff <(cd "$root" && find . -type f -printf '%P\n' | sort) <(printf '%s\n' "$@" | sort) ||
        fail "$name: the files differ from the expected ones (< packaged, > expected)"
    local validation
    validation=$(desktop-file-validate "$root/usr/share/applications/$name.desktop" 2>&1) ||
        fail "$name: $validation"
    [[ -z $validation ]] || fail "$name: $validation"
    local dynamic
    dynamic=$(readelf -d "$root/usr/bin/$program")
    [[ $dynamic != *RPATH* && $dynamic != *RUNPATH* ]] || fail "$program: has a run path"

    [[ $(run "$root/usr/bin/$program" --version) == *" $version" ]] || fail "$program: --version"
    local status=0
    run QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/$program" || status=$?
    [[ $status -eq 124 ]] || fail "$program: ended with status $status instead of running until killed"
}

sounds=()
for wav in resources/Sound/*.wav; do
    sounds+=("usr/share/zarni-configurator/Sound/${wav##*/}")
done
check_package zarni-configurator configurator usr/bin/configurator \
    usr/share/applications/zarni-configurator.desktop \
    usr/share/icons/hicolor/scalable/apps/zarni-configurator.svg "${sounds[@]}"
check_package zarni-uploader uploader usr/bin/uploader usr/share/applications/zarni-uploader.desktop \
    usr/share/icons/hicolor/scalable/apps/zarni-uploader.svg

# One cue in the working folder's Sound/: that one is found there, every other in the package.
mkdir -p "$home/Sound"
: >"$home/Sound/corr.wav"
report=$(run "$scratch/zarni-configurator/usr/bin/configurator" --check-install) ||
    fail "configurator --check-install found something missing: $report"
shared="$scratch/zarni-configurator/usr/share/zarni-configurator/Sound"
[[ $(grep -c "^Sound .*: $shared/" <<<"$report") -eq $((${#sounds[@]} - 1)) ]] ||
    fail "the cues are not found in the unpacked package: $report"
grep -qx "Sound corr.wav: $home/Sound/corr.wav" <<<"$report" ||
    fail "the working folder's cue is not found first: $report"
grep -q "^Firmware instructions page: embedded" <<<"$report" || fail "no instructions page: $report"
rm "$shared/ready.wav"
! run "$scratch/zarni-configurator/usr/bin/configurator" --check-install >/dev/null ||
    fail "configurator --check-install does not notice a missing cue"
echo "package_check: both packages are complete and their programs start"
