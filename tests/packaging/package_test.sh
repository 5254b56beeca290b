#!/usr/bin/env bash
# Packs the built program as a Debian package and checks what the package would put on a
# machine: the program, its desktop integration under one application id, the sample list
# and the user guide, dependencies on the Qt 6 libraries, and no scripts that run at
# installation or removal.
#   package_test.sh SOURCE_DIR BUILD_DIR [CPACK]
set -euo pipefail

source_dir=$1
build_dir=$2
cpack=${3:-cpack}
app_id=io.github.kartomatrix.Kartomatrix
mime_type=application/x-kartomatrix-list

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# cpack works in the temporary folder, so the build folder stays as it was.
if ! "$cpack" --config "$build_dir/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack" >&2
    exit 1
fi
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] || { echo "FAIL: cpack made ${#debs[@]} packages" >&2; exit 1; }
deb=${debs[0]}
echo "built $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kartomatrix ] || fail "package name $(field Package)"
[ "$(basename "$deb")" = "kartomatrix_$(field Version)_$(field Architecture).deb" ] \
    || fail "file name $(basename "$deb") is not kartomatrix_<version>_<arch>.deb"
depends=$(field Depends)
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6 \
    libqt6texttospeech6 qt6-speech-speechd-plugin; do
    grep -qw "$library" <<<"$depends" || fail "Depends does not name $library: $depends"
done
for package in speech-dispatcher speech-dispatcher-espeak-ng; do
    grep -qw "$package" <<<"$(field Recommends)" || fail "Recommends does not name $package"
done

# The triggers of shared-mime-info and desktop-file-utils register the file type and the
# menu entry; scripts of the package's own could leave files behind at removal.
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed -e 's|^\./||' -e '/^$/d' | sort | xargs)
[ "$control" = "control md5sums" ] || fail "control archive holds: $control"

root="$work/root"
dpkg -x "$deb" "$root"
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "files outside /usr: $outside"

usr="$root/usr"
[ -x "$usr/bin/kartomatrix" ] || fail "no program usr/bin/kartomatrix"
for file in "share/applications/$app_id.desktop" "share/icons/hicolor/scalable/apps/$app_id.svg" \
    "share/mime/packages/$app_id.xml" "share/metainfo/$app_id.metainfo.xml" \
    share/doc/kartomatrix/user-guide.html share/doc/kartomatrix/user-guide.de.html \
    share/doc/kartomatrix/copyright \
    share/kartomatrix/translations/kartomatrix_de.qm; do
    [ -s "$usr/$file" ] || fail "missing usr/$file"
done
cmp -s "$usr/share/kartomatrix/sample.kmx" "$source_dir/examples/sample.kmx" \
    || fail "usr/share/kartomatrix/sample.kmx is not the sample list"

desktop="$usr/share/applications/$app_id.desktop"
metainfo="$usr/share/metainfo/$app_id.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 \
    || { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }

# The pieces find one another: the menu entry starts the installed program with its icon
# and offers it for the file type the MIME package defines and the metainfo announces.
key() { sed -n "s/^$1=//p" "$desktop"; }
[ -x "$usr/bin/$(key Exec | cut -d' ' -f1)" ] || fail "Exec=$(key Exec) names no installed program"
[ "$(key Icon)" = "$app_id" ] || fail "Icon=$(key Icon)"
[[ ";$(key MimeType)" == *";$mime_type;"* ]] || fail "MimeType=$(key MimeType)"
grep -q "<mime-type type=\"$mime_type\">" "$usr/share/mime/packages/$app_id.xml" \
    || fail "the MIME package does not define $mime_type"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "the metainfo launches no $app_id.desktop"
grep -q "<mediatype>$mime_type</mediatype>" "$metainfo" || fail "the metainfo provides no $mime_type"

# The MIME database made from the package knows a list by its name and by its first bytes.
update-mime-database "$usr/share/mime" || fail "update-mime-database"
grep -q ":$mime_type:\*\.kmx$" "$usr/share/mime/globs2" || fail "no *.kmx glob in the MIME database"
grep -aq "$mime_type" "$usr/share/mime/magic" || fail "no magic for $mime_type in the MIME database"

[ "$failures" -eq 0 ] || exit 1
echo "package checks passed"
