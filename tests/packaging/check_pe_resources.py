#!/usr/bin/env python3
"""Reads the Windows resources of the built programs and library, as Explorer, UAC and the loader read them.

usage: check_pe_resources.py VERSION FILE:KIND ...   (KIND: console, ctl or dll)

Fails, naming the file and what an administrator would miss, when a manifest, a version string or an icon
size is not what it should be.
"""
import os
import struct
import sys
import xml.etree.ElementTree as ET

import pefile

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
WIN10 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"
EXPECTED_LEVEL = {"console": "highestAvailable", "ctl": "asInvoker"}
ICON_SIZES = {16, 20, 24, 32, 40, 48, 64, 128, 256}


def resources(pe, type_id):
    directory = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for entry in directory.entries if directory else []:
        if entry.id == type_id:
            for name in entry.directory.entries:
                for lang in name.directory.entries:
                    data = lang.data.struct
                    yield name, pe.get_data(data.OffsetToData, data.Size)


def check_manifest(pe, kind, problems):
    manifests = list(resources(pe, RT_MANIFEST))
    if len(manifests) != 1:
        problems.append(f"{len(manifests)} manifests instead of one")
        return
    root = ET.fromstring(manifests[0][1])
    text = {el.tag.split("}")[1]: (el.text or "").strip() for el in root.iter()}
    levels = [el.get("level") for el in root.iter() if el.tag.endswith("requestedExecutionLevel")]
    if levels != [EXPECTED_LEVEL[kind]]:
        problems.append(f"execution level {levels}, not {EXPECTED_LEVEL[kind]} (UAC)")
    if text.get("activeCodePage") != "UTF-8":
        problems.append("no UTF-8 code page: names outside the machine's code page come back as '?'")
    if text.get("longPathAware") != "true":
        problems.append("not long-path aware")
    if WIN10 not in [el.get("Id") for el in root.iter() if el.tag.endswith("supportedOS")]:
        problems.append("Windows 10/11 not declared as supported")
    if any(tag in text for tag in ("dpiAware", "dpiAwareness")):
        problems.append("declares DPI awareness, which Qt sets itself")


def check_version(pe, path, version, problems):
    strings = {}
    for info in getattr(pe, "FileInfo", []) or []:
        for block in info:
            for table in getattr(block, "StringTable", []):
                strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    expected = {
        "ProductName": "Quenyx Agent Admin",
        "CompanyName": "Tessaline",
        "FileVersion": version,
        "ProductVersion": version,
        "OriginalFilename": os.path.basename(path),
    }
    for key, value in expected.items():
        if strings.get(key) != value:
            problems.append(f"version string {key} is {strings.get(key)!r}, not {value!r}")
    for key in ("FileDescription", "LegalCopyright"):
        if not strings.get(key):
            problems.append(f"no {key}")
    fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, "VS_FIXEDFILEINFO", None) else None
    numbers = [int(part) for part in version.split(".")] + [0]
    if fixed is None or (fixed.FileVersionMS, fixed.FileVersionLS) != (
            numbers[0] << 16 | numbers[1], numbers[2] << 16 | numbers[3]):
        problems.append("the numeric file version differs from the version strings")


def check_icon(pe, problems):
    groups = list(resources(pe, RT_GROUP_ICON))
    if not groups or groups[0][0].name is None or str(groups[0][0].name) != "IDI_ICON1":
        problems.append("no IDI_ICON1 icon: Explorer, the taskbar and the window show a blank program")
        return
    data = groups[0][1]
    count = struct.unpack_from("<HHH", data)[2]
    sizes = {(data[6 + 14 * i] or 256) for i in range(count)}
    if sizes != ICON_SIZES:
        problems.append(f"icon sizes {sorted(sizes)}, not {sorted(ICON_SIZES)}")
    if len(list(resources(pe, RT_ICON))) != count:
        problems.append("the icon group names images that are not there")


def main() -> int:
    version, targets = sys.argv[1], sys.argv[2:]
    failed = False
    for target in targets:
        path, kind = target.rsplit(":", 1)
        pe = pefile.PE(path, fast_load=True)
        pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
        problems = []
        if kind in EXPECTED_LEVEL:
            check_manifest(pe, kind, problems)
        check_version(pe, path, version, problems)
        if kind == "console":
            check_icon(pe, problems)
        for problem in problems:
            print(f"{os.path.basename(path)}: {problem}")
        failed |= bool(problems)
        if not problems:
            print(f"{os.path.basename(path)}: resources as expected")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
