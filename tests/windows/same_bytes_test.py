#!/usr/bin/env python3
"""Converts the same GPX files with the Windows converter (through Wine) and the Linux one, and
checks that both write the same KML, and the same doc.kml inside the KMZ, byte for byte (the
creation date aside), with non-ASCII names for the inputs, the -d folder and -o.

same_bytes_test.py WINE WINDOWS_EXE LINUX_EXE EXAMPLE [CORPUS_GPX_DIR]"""
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

# A few devices and writers whose files differ in encoding, time zones, names and oddities.
CORPUS_PICKS = [
    "gpxgo/iso8859-1encoded.gpx",
    "gpsbabel/GCGCA8_nasty.gpx",
    "gpxviewer-fsoft/W 20200213, Breesen - Altefähr, 24,5+2,1km.gpx",
    "opentracks/gpx_timezone.gpx",
    "togeojson/apple_watch_route.gpx",
    "togeojson/bad.gpx",
    "viking/GH#137.gpx",
    "gpxpy/cerknicko-without-times.gpx",
]
SNIPPET = re.compile(rb'<Snippet maxLines="1">Created [^<]*</Snippet>')


def without_creation_date(kml):
    return SNIPPET.sub(b'<Snippet maxLines="1">Created -</Snippet>', kml)


def inputs(example, corpus):
    picked = [(example, "Zürich ✓.gpx")]
    for name in CORPUS_PICKS:
        path = corpus / name if corpus else None
        if path and path.is_file():
            picked.append((path, name.replace("/", " ")))
    return picked


def convert(command, folder, names):
    """Every run the test makes, each as (arguments, exit status)."""
    runs = [
        ["-d", "Ausgabe ü", *names],
        ["--format", "kml", "-d", "KML ü", *names],
        ["-o", "Ελλάδα 東京/Zürich ✓.kml", names[0]],
        ["-o", "Ελλάδα 東京/Zürich ✓.kmz", names[0]],
    ]
    for made in ("Ausgabe ü", "KML ü", "Ελλάδα 東京"):
        (folder / made).mkdir()
    statuses = []
    for args in runs:
        # No pipes: Wine's own background programs would inherit them and hold them open.
        done = subprocess.run(command + args, cwd=folder, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
        statuses.append(done.returncode)
    return statuses


def outputs(folder):
    found = {}
    for path in sorted(folder.rglob("*")):
        if path.suffix.lower() == ".kml":
            found[str(path.relative_to(folder))] = without_creation_date(path.read_bytes())
        elif path.suffix.lower() == ".kmz":
            with zipfile.ZipFile(path) as archive:
                entries = archive.namelist()
                doc = archive.read("doc.kml") if "doc.kml" in entries else b""
            found[str(path.relative_to(folder))] = (entries, without_creation_date(doc))
    return found


def main():
    wine, windows_exe, linux_exe, example = sys.argv[1:5]
    corpus = pathlib.Path(sys.argv[5]) if len(sys.argv) > 5 else None
    picked = inputs(pathlib.Path(example), corpus)
    names = [name for _, name in picked]
    with tempfile.TemporaryDirectory(prefix="tarvola-same-bytes-") as work:
        results = {}
        for side, command in (("windows", [wine, windows_exe]), ("linux", [linux_exe])):
            folder = pathlib.Path(work) / side
            folder.mkdir()
            for source, name in picked:
                shutil.copyfile(source, folder / name)
            statuses = convert(command, folder, names)
            results[side] = (statuses, outputs(folder))
        failures = []
        if results["windows"][0] != results["linux"][0]:
            failures.append(f"exit statuses differ: {results['windows'][0]} on Windows, "
                            f"{results['linux'][0]} on Linux")
        windows_files, linux_files = results["windows"][1], results["linux"][1]
        if sorted(windows_files) != sorted(linux_files):
            failures.append(f"different outputs: {sorted(windows_files)} on Windows, {sorted(linux_files)} on Linux")
        for name in sorted(set(windows_files) & set(linux_files)):
            if windows_files[name] != linux_files[name]:
                failures.append(f"{name}: the bytes differ")
        for failure in failures:
            print(failure)
        compared = len(set(windows_files) & set(linux_files))
        print(f"{len(picked)} inputs, {compared} outputs compared, {len(failures)} differences")
        # At least the example's four outputs, or the comparison proves nothing.
        return 1 if failures or compared < 4 else 0


if __name__ == "__main__":
    sys.exit(main())
