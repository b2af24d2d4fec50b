#!/usr/bin/env bash
# End-to-end check of the Windows package, as an administrator would meet it, in a fresh Wine prefix
# under Xvfb: installs the MSI silently, loads the demo machine's .reg into Wine's registry (with a setting,
# a printer and the trace folder named in Portuguese, Cyrillic and CJK), starts the installed console, looks
# at its window (size, title, images, English texts) and at its diagnostic log, drives it with real input,
# upgrades it in place with a newer package and refuses the older one again, removes the package and checks
# that the program is gone and the agent's key is as it was.
#
#   scripts/check-windows-package.sh [MSI [NEWER_MSI]]   default: the newest dist/QuenyxAdmin-*-x64.msi;
#                                                         no upgrade without NEWER_MSI
#
# Leaves its screenshot, texts, log and registry exports in build/windows-package-check/.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
msi=${1:-$(ls -t dist/QuenyxAdmin-*-x64.msi 2>/dev/null | head -1)}
if [[ -z "$msi" || ! -f "$msi" ]]; then
    echo "check-windows-package: no package; run scripts/package-windows.sh first" >&2
    exit 1
fi
msi=$(cd "$(dirname "$msi")" && pwd)/$(basename "$msi")
newer=${2:-}
if [[ -n "$newer" ]]; then
    [[ -f "$newer" ]] || {
        echo "check-windows-package: no package $newer" >&2
        exit 1
    }
    newer=$(cd "$(dirname "$newer")" && pwd)/$(basename "$newer")
fi

out="$root/build/windows-package-check"
rm -rf "$out"
mkdir -p "$out"
export WINEPREFIX="$out/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY QUENYX_MACHINE QUENYX_LANGUAGE

failures=0
pass() { echo "  ok: $*"; }
fail() {
    echo "  FAILED: $*"
    failures=$((failures + 1))
}
winpath() { echo "Z:${1//\//\\}"; }

xvfb_pid=""
console_pid=""
cleanup() {
    [[ -n "$console_pid" ]] && kill "$console_pid" 2>/dev/null || true
    timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

# A display of our own: the window is looked at through X.
exec 8<> <(:)
Xvfb -displayfd 8 -screen 0 1280x800x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 30 display_number <&8 || {
    echo "check-windows-package: Xvfb did not start" >&2
    exit 1
}
export DISPLAY=":$display_number"

echo "== a fresh Wine prefix"
mkdir -p "$WINEPREFIX"
timeout 30 wineserver -p </dev/null >/dev/null 2>&1
timeout 300 wineboot --init </dev/null >/dev/null 2>&1 || {
    echo "check-windows-package: wineboot could not create $WINEPREFIX" >&2
    exit 1
}
drive_c="$WINEPREFIX/drive_c"
program_dir="$drive_c/Program Files/QuenyxAdmin"
# Windows puts a per-machine package's shortcut in the common Start menu; Wine's installer puts it in the
# installing user's.
find_shortcut() {
    local menu
    for menu in "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" \
        "$drive_c"/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs; do
        [[ -f "$menu/Quenyx Agent Admin.lnk" ]] && echo "$menu/Quenyx Agent Admin.lnk" && return
    done
    true
}

echo "== the machine: the demo's registry and agent files"
# Outside any one code page: DCSServer's text, a printer's name and the trace folder's.
unicode="Relatórios Отчёты 報告"
trace_folder='C:\ProgramData\Tessaline\Quenyx\Logs\'"$unicode"
agent_key='HKEY_LOCAL_MACHINE\SOFTWARE\Tessaline\Quenyx\Agent'
# Wine's spooler knows no printer of the registry alone, so the printer is one of the cluster's, which the
# console lists from the registry. regedit reads a Version 5.00 file as UTF-16LE; the demo's file is UTF-8
# with LF line ends.
{
    printf '\xff\xfe'
    {
        cat src/resources/demo/demo.reg
        printf '\n[%s]\n"DCSServer"="%s"\n"TracePath"="%s"\n\n' "$agent_key" "$unicode" "${trace_folder//\\/\\\\}"
        sed -n '/^\[.*\\Printers\\Clustered Copier 01\]/,/^"printerName"/p' src/resources/demo/demo.reg |
            sed "s/Clustered Copier 01/$unicode/"
    } | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE
} >"$out/machine.reg"
timeout 120 wine regedit /S "$(winpath "$out/machine.reg")" </dev/null >/dev/null 2>&1
cp -R src/resources/demo/drive_c/. "$drive_c/"
log_dir="$drive_c/ProgramData/Tessaline/Quenyx/Logs/$unicode"
mkdir -p "$log_dir"
# The agent's settings as the system's registry editor exports them (UTF-16LE), in UTF-8.
regedit_export() {
    rm -f "$out/regedit.reg"
    timeout 120 wine regedit /E "$(winpath "$out/regedit.reg")" "$agent_key" </dev/null >/dev/null 2>&1
    iconv -f UTF-16 -t UTF-8 "$out/regedit.reg" | tr -d '\r'
}
export_agent_key() {
    rm -f "$1"
    timeout 120 wine reg export 'HKLM\SOFTWARE\Tessaline' "$(winpath "$1")" </dev/null >/dev/null 2>&1
}
export_agent_key "$out/agent-before.reg"
if grep -qa "D.C.S.S.e.r.v.e.r\|DCSServer" "$out/agent-before.reg" 2>/dev/null; then
    pass "the agent's key is in Wine's registry"
else
    fail "the demo's agent key did not reach Wine's registry"
fi

echo "== install: msiexec /i $(basename "$msi") /qn"
if timeout 300 wine msiexec /i "$(winpath "$msi")" /qn </dev/null >"$out/install.log" 2>&1; then
    pass "msiexec /i exited 0"
else
    fail "msiexec /i failed"
fi
for file in quenyxadmin.exe quenyxctl.exe Polyglossa32.dll PolicyDefinitions/QuenyxAgent.admx \
    PolicyDefinitions/{en-US,pt-BR,es-ES}/QuenyxAgent.adml; do
    [[ -f "$program_dir/$file" ]] && pass "installed C:\\Program Files\\QuenyxAdmin\\${file//\//\\}" ||
        fail "C:\\Program Files\\QuenyxAdmin\\${file//\//\\} is missing"
done
shortcut=$(find_shortcut)
[[ -n "$shortcut" ]] && pass "Start-menu shortcut ${shortcut#"$drive_c/"}" || fail "no Start-menu shortcut"

machine_path() {
    timeout 120 wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' /v PATH \
        </dev/null 2>/dev/null | tr -d '\r'
}
# Under pipefail, `producer | grep -q` fails when grep has its match and leaves before the producer has written
# the rest (SIGPIPE), which a busy machine makes likely: each check reads the whole output first.
if grep -qiF 'C:\Program Files\QuenyxAdmin' <<<"$(machine_path)"; then
    pass "the machine's PATH ends with C:\Program Files\QuenyxAdmin"
else
    fail "the install folder is not on the machine's PATH"
fi
if grep -q '^ARPPRODUCTICON' <<<"$(msiinfo export "$msi" Property)" &&
    grep -q 'QuenyxAdmin\.ico' <<<"$(msiinfo export "$msi" Shortcut)"; then
    pass "the program's icon in Add/Remove Programs and on the shortcut"
else
    fail "no icon for Add/Remove Programs or the shortcut in the package"
fi
msi_version=$(msiinfo export "$msi" Property | tr -d '\r' | sed -n 's/^ProductVersion\t//p')
by_name=$(timeout 120 wine cmd /c quenyxctl --version </dev/null 2>/dev/null | tr -d '\r' || true)
if [[ "$by_name" == "quenyxctl $msi_version" ]]; then
    pass "quenyxctl runs by name from a new shell: $by_name, the package's version"
else
    fail "quenyxctl --version by name from a new shell said '$by_name', the package is $msi_version"
fi

echo "== the installed quenyxctl reads the agent's settings and printers, every character whole"
quenyxctl() { timeout 120 wine "C:\\Program Files\\QuenyxAdmin\\quenyxctl.exe" "$@" </dev/null; }
if quenyxctl --json settings >"$out/quenyxctl.json" 2>&1 &&
    grep -qF "{\"name\":\"DCSServer\",\"text\":\"$unicode\"" "$out/quenyxctl.json"; then
    pass "quenyxctl --json settings: DCSServer is \"$unicode\""
else
    fail "quenyxctl --json settings did not give DCSServer as \"$unicode\" (see quenyxctl.json)"
fi
if quenyxctl --json printers >"$out/printers.json" 2>&1 && grep -qF "\"$unicode\"" "$out/printers.json"; then
    pass "quenyxctl --json printers lists \"$unicode\""
else
    fail "quenyxctl --json printers does not list \"$unicode\" (see printers.json)"
fi

echo "== start the installed console"
QUENYX_TEXTS="$(winpath "$out/texts.txt")" \
    wine "C:\\Program Files\\QuenyxAdmin\\quenyxadmin.exe" </dev/null >"$out/console.out" 2>&1 &
console_pid=$!
window=""
for _ in $(seq 120); do
    window=$(xdotool search --onlyvisible --name '^Quenyx Agent Admin$' 2>/dev/null | head -1 || true)
    [[ -n "$window" && -s "$out/texts.txt" ]] && break
    kill -0 "$console_pid" 2>/dev/null || break
    sleep 1
done
if [[ -z "$window" ]]; then
    fail "no window titled \"Quenyx Agent Admin\" within 120 s"
else
    pass "a window titled \"Quenyx Agent Admin\""
    sleep 2 # let the first paint finish before the screenshot
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [[ "$WIDTH" == 760 && "$HEIGHT" == 496 ]] && pass "760x496" || fail "the window is ${WIDTH}x${HEIGHT}, not 760x496"
    import -display "$DISPLAY" -window "$window" "$out/console-wine.png"
    # The logos and the exit button carry the console's orange; nothing else on the idle window draws it.
    orange=$(/usr/bin/convert "$out/console-wine.png" -fill black +opaque "#e25d41" -fill white -opaque "#e25d41" \
        -format "%[fx:round(mean*w*h)]" info: 2>/dev/null || echo 0)
    ((orange >= 40)) && pass "images are drawn ($orange pixels of the logo's orange)" || fail "no images in the window"
fi
if [[ -s "$out/texts.txt" ]]; then
    missing=()
    for text in "Quenyx Agent Admin" "Printers" "Settings"; do
        grep -qxF "$text" "$out/texts.txt" || missing+=("$text")
    done
    ((${#missing[@]} == 0)) && pass "English texts ($(wc -l <"$out/texts.txt") shown)" ||
        fail "English texts missing: ${missing[*]} (see texts.txt)"
else
    fail "the console wrote no texts"
fi

echo "== close it"
timeout 60 wine taskkill /im quenyxadmin.exe </dev/null >/dev/null 2>&1 || true
for _ in $(seq 60); do
    kill -0 "$console_pid" 2>/dev/null || break
    sleep 1
done
if kill -0 "$console_pid" 2>/dev/null; then
    fail "the console did not close"
else
    wait "$console_pid" && pass "closed, exit status 0" || fail "closed with a non-zero status"
fi
console_pid=""

echo "== its diagnostic log"
log=$(ls "$log_dir/"VeltrinAdmin_*.log 2>/dev/null | head -1 || true)
if [[ -z "$log" ]]; then
    fail "no diagnostic log in the trace folder $trace_folder"
else
    cp "$log" "$out/diagnostic.log"
    pass "$(wc -l <"$log") lines in ${log#"$drive_c/"}"
    grep -q "GetSettingString" "$log" && pass "start-up read Wine's registry" || fail "no registry reads in the log"
    grep -q "biblioteca de textos ausente" "$log" && fail "the text-catalog library did not load" ||
        pass "the text-catalog library loaded"
    grep -aqF "=> $unicode"$'\r' "$log" && pass "the log names the printer \"$unicode\"" ||
        fail "the log does not name the printer \"$unicode\""
fi

echo "== the installed console driven with real input (clicks and keys through XTEST)"
# The same layer as on Linux, on this Xvfb: every menu opened, closed by Escape and by a click outside, and
# reopened with one click; a dialog's Cancel and OK; the road of one change by keys alone.
if QUENYX_REALINPUT_PATIENCE=60 /usr/bin/python3 tests/realinput/drive_console.py --wine --display "$DISPLAY" \
    --console 'C:\Program Files\QuenyxAdmin\quenyxadmin.exe' --cases menus,options,keyboard,unicode --text "$unicode" \
    </dev/null >"$out/realinput.log" 2>&1; then
    pass "$(tail -1 "$out/realinput.log")"
else
    fail "the console driven with real input (see realinput.log):"
    sed 's/^/    /' "$out/realinput.log"
fi
timeout 60 wine taskkill /im quenyxadmin.exe </dev/null >/dev/null 2>&1 || true
exported=$(regedit_export)
grep -qxF "\"DCSServer\"=\"${unicode}x\"" <<<"$exported" &&
    pass "regedit /E: the console stored DCSServer as \"${unicode}x\"" ||
    fail "regedit /E: DCSServer is $(grep '^"DCSServer"' <<<"$exported"), not \"${unicode}x\""
grep -qxF "\"TracePath\"=\"${trace_folder//\\/\\\\}\"" <<<"$exported" &&
    pass "regedit /E: the options' Apply kept the trace folder whole" ||
    fail "regedit /E: TracePath is $(grep '^"TracePath"' <<<"$exported")"
echo "== every policy enabled, written as Group Policy writes it (reg add), read back by quenyxctl"
# The installed templates' own writes, one reg add each, in one shell.
{
    while IFS=$'\t' read -r value text; do
        printf 'reg add "HKLM\\%s" /v %s /t REG_SZ /d "%s" /f\r\n' "${agent_key#HKEY_LOCAL_MACHINE\\}" "$value" "$text"
    done < <(/usr/bin/python3 tests/tools/check_admx.py --enabled-writes "$program_dir/PolicyDefinitions")
} >"$out/policies.cmd"
if timeout 120 wine cmd /c "$(winpath "$out/policies.cmd")" </dev/null >"$out/policies.log" 2>&1 &&
    quenyxctl --json settings >"$out/policy-settings.json" 2>&1 &&
    /usr/bin/python3 tests/tools/check_admx.py --read-back "$program_dir/PolicyDefinitions" \
        "$out/policy-settings.json" >"$out/policy-read-back.txt" 2>&1; then
    pass "$(grep -c '^reg add' "$out/policies.cmd") values written with reg add; quenyxctl --json settings lists" \
        "$(grep -c '^ok:' "$out/policy-read-back.txt") settings with their texts and types"
else
    fail "the policies' writes read back (see policies.log, policy-settings.json, policy-read-back.txt):"
    sed 's/^/    /' "$out/policy-read-back.txt" 2>/dev/null || true
fi
# Its Apply in the options and the policies wrote the agent's key; removing the package must leave the key as
# it is now.
export_agent_key "$out/agent-before.reg"

installed=$msi
if [[ -n "$newer" ]]; then
    echo "== upgrade in place: msiexec /i $(basename "$newer") /qn"
    products() {
        timeout 120 wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s </dev/null 2>/dev/null |
            tr -d '\r' | awk '/^HKEY/ {key=$0} /DisplayName +REG_SZ +Quenyx Agent Admin$/ {print key}'
    }
    version_of() {
        timeout 120 wine reg query "$1" /v DisplayVersion </dev/null 2>/dev/null | tr -d '\r' | awk '/DisplayVersion/ {print $3}'
    }
    new_version=$(msiinfo export "$newer" Property | tr -d '\r' | sed -n 's/^ProductVersion\t//p')
    if timeout 300 wine msiexec /i "$(winpath "$newer")" /qn </dev/null >"$out/upgrade.log" 2>&1; then
        pass "msiexec /i exited 0"
    else
        fail "the upgrade failed"
    fi
    mapfile -t listed < <(products)
    if ((${#listed[@]} == 1)) && [[ "$(version_of "${listed[0]}")" == "$new_version" ]]; then
        pass "one product in Add/Remove Programs: Quenyx Agent Admin $new_version"
    else
        fail "Add/Remove Programs lists ${#listed[@]} products named Quenyx Agent Admin ($(for k in "${listed[@]}"; do version_of "$k"; done | tr '\n' ' '))"
    fi
    if /usr/bin/python3 "$root/tests/packaging/check_pe_resources.py" "$new_version" "$program_dir/quenyxadmin.exe:console" \
        "$program_dir/quenyxctl.exe:ctl" "$program_dir/Polyglossa32.dll:dll" >"$out/upgraded-files.txt" 2>&1; then
        pass "the installed files carry version $new_version (and their manifests and icon)"
    else
        fail "the installed files after the upgrade: $(tr '\n' ';' <"$out/upgraded-files.txt")"
    fi
    export_agent_key "$out/agent-upgraded.reg"
    cmp -s "$out/agent-before.reg" "$out/agent-upgraded.reg" && pass "the agent's key is as it was" ||
        fail "the upgrade changed the agent's key"

    echo "== the older package again: msiexec /i $(basename "$msi") /qb"
    # With the basic interface, as an administrator double-clicks it: the refusal is a message box, read back
    # from Wine's own account of it and answered with Enter.
    WINEDEBUG=-all,+msgbox timeout 120 wine msiexec /i "$(winpath "$msi")" /qb </dev/null >"$out/downgrade.log" 2>&1 &
    downgrade_pid=$!
    for _ in $(seq 60); do
        grep -aq "MSGBOX_OnInit" "$out/downgrade.log" && break
        kill -0 "$downgrade_pid" 2>/dev/null || break
        sleep 1
    done
    message=$(grep -a -m1 "MSGBOX_OnInit" "$out/downgrade.log" | sed 's/.*MSGBOX_OnInit L"\(.*\)"$/\1/')
    # Its OK, clicked where a person clicks it: the middle of the box's bottom row.
    box=$(xdotool search --onlyvisible --name '.' 2>/dev/null | head -1 || true)
    if [[ -n "$box" ]]; then
        import -display "$DISPLAY" -window root "$out/downgrade.png" 2>/dev/null || true
        eval "$(xdotool getwindowgeometry --shell "$box")"
        xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 22)) click 1
    fi
    downgrade_status=0
    wait "$downgrade_pid" || downgrade_status=$?
    [[ "$message" == "A newer version of Quenyx Agent Admin is already installed." ]] &&
        pass "refused with \"$message\"" || fail "the older package was not refused with the downgrade message (said: '$message')"
    # msiexec ends with 1603, of which Wine's exit status keeps the low byte (67).
    ((downgrade_status != 0)) && pass "msiexec /i of the older package failed (status $downgrade_status)" ||
        fail "msiexec /i of the older package exited 0"
    mapfile -t listed < <(products)
    ((${#listed[@]} == 1)) && [[ "$(version_of "${listed[0]}")" == "$new_version" ]] &&
        pass "still one product, $new_version" || fail "after the refused downgrade: ${#listed[@]} products"
    installed=$newer
fi

echo "== remove: msiexec /x /qn"
if timeout 300 wine msiexec /x "$(winpath "$installed")" /qn </dev/null >"$out/remove.log" 2>&1; then
    pass "msiexec /x exited 0"
else
    fail "msiexec /x failed"
fi
leftovers=$( (find "$program_dir" -type f 2>/dev/null || true) | wc -l)
((leftovers == 0)) && pass "the program's files are gone" || fail "$leftovers files left in Program Files"
[[ -z "$(find_shortcut)" ]] && pass "the shortcut is gone" || fail "the shortcut is still there"
grep -qiF 'C:\Program Files\QuenyxAdmin' <<<"$(machine_path)" && fail "the install folder is still on the PATH" ||
    pass "the install folder is off the machine's PATH"
export_agent_key "$out/agent-after.reg"
cmp -s "$out/agent-before.reg" "$out/agent-after.reg" && pass "the agent's key is as it was" ||
    fail "the agent's key changed"

if ((failures > 0)); then
    echo "check-windows-package: $failures checks failed (see $out)"
    exit 1
fi
echo "check-windows-package: every check passed; screenshot: $out/console-wine.png"
