#!/usr/bin/env bash
# Builds a static Qt for Windows (x86_64-w64-mingw32) from Debian's source package of the host Qt's own
# version, once, into a cache folder outside the tree; the console's Windows build links against it.
#
#   scripts/build-qt-windows.sh            build if needed, then print the cache folder's path
#   scripts/build-qt-windows.sh --path     print the path the cache has (or will have), build nothing
#
# A finished cache is reused at once. The build shows ninja's progress, and can run in the background
# (its log is the build folder's build.log). QUENYX_CACHE moves the cache (default ~/.cache/quenyx).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
home=${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}
cache=${QUENYX_CACHE:-${XDG_CACHE_HOME:-$home/.cache}/quenyx}

package_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
if [[ -z "$package_version" ]]; then
    echo "build-qt-windows: the host Qt (qt6-base-dev) is not installed; run scripts/install-deps.sh" >&2
    exit 1
fi
version=${package_version%%+*}   # 6.4.2+dfsg-10 -> 6.4.2

# Only what the console and its tests use: Core, Gui, Widgets and Test; the windows, offscreen and minimal
# platforms; the Vista style; PNG images. Everything else is switched off, which about halves the build.
# Debian's tarball leaves out the tablet header (3rdparty/wintab), so tablet events are off. FreeType stays
# on: without it there is no offscreen platform, which the tests use. Accessibility stays on: it is how a
# screen reader reaches the console. Direct2D stays on: it also gates the DirectWrite font code that the
# windows platform links. HarfBuzz stays on: without its shaping the console's text moves by a pixel (the "To"
# of its Tools menu). The slider, spin box and tab bar stay on: the Vista style draws them without asking, and
# the scroll bars, and with them every list, need the slider.
options=(
    -DCMAKE_BUILD_TYPE=Release -DFEATURE_optimize_size=ON
    -DBUILD_SHARED_LIBS=OFF
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DINPUT_freetype=qt -DINPUT_harfbuzz=qt -DINPUT_libpng=qt -DINPUT_pcre=qt -DINPUT_zlib=qt
    -DINPUT_doubleconversion=qt
    -DFEATURE_tabletevent=OFF
    # modules
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_opengl=OFF
    # platform and image plugins beyond windows/offscreen/minimal and PNG
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
    # document formats and widgets the console never creates
    -DFEATURE_pdf=OFF -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF
    -DFEATURE_textmarkdownwriter=OFF -DFEATURE_graphicsview=OFF -DFEATURE_mdiarea=OFF
    -DFEATURE_calendarwidget=OFF -DFEATURE_dial=OFF -DFEATURE_lcdnumber=OFF
    -DFEATURE_fontcombobox=OFF -DFEATURE_fontdialog=OFF -DFEATURE_colordialog=OFF -DFEATURE_wizard=OFF
    -DFEATURE_undoview=OFF -DFEATURE_keysequenceedit=OFF -DFEATURE_splashscreen=OFF
    -DFEATURE_columnview=OFF -DFEATURE_toolbox=OFF -DFEATURE_commandlinkbutton=OFF
    -DFEATURE_sessionmanager=OFF -DFEATURE_systemtrayicon=OFF
    -DFEATURE_mainwindow=OFF -DFEATURE_dockwidget=OFF -DFEATURE_toolbar=OFF
    -DFEATURE_datetimeedit=OFF -DFEATURE_inputdialog=OFF -DFEATURE_textedit=OFF -DFEATURE_textbrowser=OFF -DFEATURE_syntaxhighlighter=OFF
    -DFEATURE_treewidget=OFF -DFEATURE_tablewidget=OFF -DFEATURE_listwidget=OFF
    -DFEATURE_datawidgetmapper=OFF -DFEATURE_errormessage=OFF -DFEATURE_progressdialog=OFF
    -DFEATURE_whatsthis=OFF -DFEATURE_effects=OFF -DFEATURE_scroller=OFF -DFEATURE_gestures=OFF
    # Gui and Core features the console never reaches
    -DFEATURE_undocommand=OFF -DFEATURE_undostack=OFF -DFEATURE_undogroup=OFF
    -DFEATURE_desktopservices=OFF -DFEATURE_movie=OFF -DFEATURE_picture=OFF
    -DFEATURE_imageformat_bmp=OFF -DFEATURE_imageformat_ppm=OFF -DFEATURE_imageformat_xbm=OFF
    -DFEATURE_raster_fp=OFF
    -DFEATURE_timezone=OFF -DFEATURE_mimetype=OFF -DFEATURE_commandlineparser=OFF
    -DFEATURE_sharedmemory=OFF -DFEATURE_systemsemaphore=OFF -DFEATURE_process=OFF
    -DFEATURE_identityproxymodel=OFF -DFEATURE_transposeproxymodel=OFF
    -DFEATURE_concatenatetablesproxymodel=OFF
    -DFEATURE_jalalicalendar=OFF -DFEATURE_hijricalendar=OFF -DFEATURE_islamiccivilcalendar=OFF
)
# Qt 6.4.2 does not build every combination of its features. Its windows platform asks the dynamic GL loader,
# which is only there with OpenGL, for its module; and a few files include or use, without asking whether
# they are configured, the tool bar (mainwindow off), the text edit, the input dialog, and QHash by way of
# headers that the features switched off no longer bring in.
patch_source() {
    sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(opengl) \&\& QT_CONFIG(dynamicgl)/' \
        "$1/src/plugins/platforms/windows/qwindowswindow.cpp"
    sed -i 's|^#include "qtoolbar.h"$|#if QT_CONFIG(toolbar)\n#include "qtoolbar.h"|; s|^#include "qmenubar.h"$|#endif\n#include "qmenubar.h"|' \
        "$1/src/widgets/compat/removed_api.cpp"
    sed -i 's|^#include "qcommonstyle.h"$|#include "qcommonstyle.h"\n#include <QtCore/qhash.h>|' \
        "$1/src/widgets/styles/qcommonstyle_p.h"
    local vista="$1/src/plugins/styles/windowsvista"
    sed -i -E 's@^#include <q(textedit|inputdialog)\.h>$@#if QT_CONFIG(\1)\n#include <q\1.h>\n#endif@' "$vista/qwindowsvistastyle_p_p.h"
    sed -i -e '/^    case CE_ToolBar:$/i #if QT_CONFIG(toolbar)' \
        -e '/^    case CE_ToolBar:$/,/^        break;$/{/^        break;$/a #endif' -e '}' "$vista/qwindowsvistastyle.cpp"
    # HarfBuzz compiles as one unit, its own amalgamation: some fifty files that each parse the same heavy
    # template headers become one. Left out are the Unicode tables, which Qt replaces with its own (Qt never
    # built them), and the font subsetter, which nothing calls.
    local hb="$1/src/3rdparty/harfbuzz-ng"
    sed '/"hb-ucd\.cc"/d' "$hb/src/harfbuzz.cc" >"$hb/src/hb-qt-unity.cc"
    sed -i -E -e 's@ src/hb-[a-z0-9-]+\.cc@@g' -e 's@^( +)hb-dummy\.cc$@\1src/hb-qt-unity.cc@' "$hb/CMakeLists.txt"
    # The Direct2D platform plugin compiles the whole windows platform a second time, for a platform the
    # console never asks for; the Direct2D feature stays, for the DirectWrite font code that windows links.
    sed -i '/^    add_subdirectory(direct2d)$/d' "$1/src/plugins/platforms/CMakeLists.txt"
    # A precompiled header costs more than it saves in a plugin of three files.
    local plugin
    for plugin in offscreen:QOffscreenIntegrationPlugin minimal:QMinimalIntegrationPlugin; do
        printf '\nset_target_properties(%s PROPERTIES DISABLE_PRECOMPILE_HEADERS ON)\n' "${plugin#*:}" \
            >>"$1/src/plugins/platforms/${plugin%%:*}/CMakeLists.txt"
    done
}
# The cache folder is named by the version and a digest of the configuration (options, toolchain, patch), so
# a changed configuration builds a new folder and never reuses a stale one.
key=$(printf '%s\n' "${options[@]}" "$(declare -f patch_source)" \
    "$(sed -n '/^cat >"$work\/toolchain.cmake"/,/^EOF/p' "${BASH_SOURCE[0]}")" | sha256sum | cut -c1-10)
prefix="$cache/qt-$version-mingw64-$key"

if [[ "${1:-}" == "--path" ]]; then
    echo "$prefix"
    exit 0
fi
if [[ -f "$prefix/.complete" ]]; then
    echo "$prefix"
    exit 0
fi

work="$cache/build-qt-$version-mingw64-$key"
mkdir -p "$work"
exec 9>"$work/.lock"
if ! flock -n 9; then
    echo "build-qt-windows: another build of $prefix is running; waiting for it" >&2
    flock 9
    if [[ -f "$prefix/.complete" ]]; then
        echo "$prefix"
        exit 0
    fi
fi

started=$(date +%s)
log() { echo "build-qt-windows: $*" >&2; }

source_dir="$work/qtbase-everywhere-src-$version"
if [[ ! -f "$source_dir/CMakeLists.txt" ]]; then
    log "fetching Debian's source package qt6-base $package_version"
    rm -rf "$work/src" && mkdir -p "$work/src"
    (cd "$work/src" && apt-get source --download-only "qt6-base=$package_version" >/dev/null 2>&1) || {
        log "apt-get source qt6-base=$package_version failed (is a deb-src entry configured? scripts/install-deps.sh adds one)"
        exit 1
    }
    tar -xJf "$work"/src/qt6-base_"$version"*.orig.tar.xz -C "$work"
    rm -rf "$work/src"
    patch_source "$source_dir"
fi

cat >"$work/toolchain.cmake" <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

build_dir="$work/build"
if [[ ! -f "$build_dir/build.ninja" ]]; then
    log "configuring (static, Core/Gui/Widgets/Test, windows, offscreen and minimal platforms)"
    cmake -G Ninja -S "$source_dir" -B "$build_dir" \
        -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
        "${options[@]}" \
        >"$work/configure.log" 2>&1 || {
        log "configure failed; see $work/configure.log"
        tail -20 "$work/configure.log" >&2
        exit 1
    }
fi

# Switching a feature off switches off, without a word, every feature that needs it (the slider takes the scroll
# bars with it, and they every item view and the combo box). What the console and its tests use must be there.
needed=(accessibility combobox filedialog itemviews lineedit menu menubar scrollarea scrollbar tableview checkbox
    radiobutton pushbutton label dialog messagebox style_windowsvista style_stylesheet shortcut translation png
    freetype harfbuzz)
for feature in "${needed[@]}"; do
    if ! grep -qs "^#define QT_FEATURE_$feature 1$" "$build_dir"/src/*/qt*-config.h "$build_dir"/src/*/qt*-config_p.h; then
        log "the configuration has lost the feature $feature, which the console needs; see $work/configure.log"
        exit 1
    fi
done

log "building into $prefix (about 12 minutes on two free cores; log: $build_dir/build.log)"
# One progress line a minute keeps a background or CI log readable.
NINJA_STATUS="[%f/%t] " ninja -C "$build_dir" >"$build_dir/build.log" 2>&1 &
ninja_pid=$!
while kill -0 "$ninja_pid" 2>/dev/null; do
    for _ in $(seq 60); do
        kill -0 "$ninja_pid" 2>/dev/null || break
        sleep 1
    done
    progress=$(grep -o '^\[[0-9]*/[0-9]*\]' "$build_dir/build.log" | tail -1 || true)
    log "${progress:-[starting]} $(($(date +%s) - started)) s"
done
if ! wait "$ninja_pid"; then
    log "the build failed; see $build_dir/build.log"
    grep -B2 -A12 'FAILED' "$build_dir/build.log" | head -40 >&2 || tail -30 "$build_dir/build.log" >&2
    exit 1
fi

cmake --install "$build_dir" >"$build_dir/install.log" 2>&1
touch "$prefix/.complete"
log "done in $(($(date +%s) - started)) s: $prefix"
echo "$prefix"
