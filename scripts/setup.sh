# Shared by scripts/run and scripts/test: installs what is missing and configures a build.
# Sourced, not run.

KARTOMATRIX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian/Ubuntu packages the build and the tests need.
KARTOMATRIX_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libgl-dev
                      libgtest-dev googletest fonts-dejavu-core
                      libutf8proc-dev libpugixml-dev ccache)

# The review history beside each list is an SQLite database; so is the collection inside an
# Anki package, a zip archive, the newest compressed with zstd, the older with JSON inside.
KARTOMATRIX_PACKAGES+=(libzip-dev libsqlite3-dev libzstd-dev nlohmann-json3-dev)

# The Progress window's charts: Qt's own chart module.
KARTOMATRIX_PACKAGES+=(qt6-charts-dev)

# The user guide page, the Debian package (dpkg-shlibdeps and file work out what it needs) and
# the checks of its desktop file, metainfo and MIME type.
KARTOMATRIX_PACKAGES+=(cmark dpkg-dev file desktop-file-utils appstream shared-mime-info)

# The translations: lupdate and lrelease with their CMake package, and Qt's own German for the
# buttons of standard dialogs.
KARTOMATRIX_PACKAGES+=(qt6-tools-dev qt6-l10n-tools qt6-translations-l10n)

# Speech: Qt's text to speech (its development files need qt6-declarative-dev for a header
# they include), its speech-dispatcher plug-in, the speech service and the espeak-ng voices.
KARTOMATRIX_PACKAGES+=(qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin
                       speech-dispatcher speech-dispatcher-espeak-ng espeak-ng)

install_missing_packages() {
    local missing=()
    for package in "${KARTOMATRIX_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null; then
            sudo="sudo"
        else
            echo "error: these packages are missing and there is no sudo: ${missing[*]}" >&2
            return 1
        fi
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Objects are shared between build folders and checkouts of the same sources.
export CCACHE_BASEDIR="$KARTOMATRIX_ROOT"
export CCACHE_NOHASHDIR=1

# configure_and_build BUILD_DIR [cmake options...] [-- cmake --build options...]
# Without build options it builds everything, the tests included.
configure_and_build() {
    local dir="$1"
    shift
    local configure=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do
        configure+=("$1")
        shift
    done
    [ $# -gt 0 ] && shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$KARTOMATRIX_ROOT" -B "$dir" -G Ninja "${configure[@]}"
    fi
    cmake --build "$dir" "$@" -- -j"$(nproc)"
}
