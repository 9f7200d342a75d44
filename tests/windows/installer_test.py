#!/usr/bin/env python3
"""Installs Tarvola silently under Wine for the current user into a folder of the test's own,
checks the files, the shortcut, the registry values and the converter there, then uninstalls it
silently and checks that all of it is gone and that .gpx was never taken over.

installer_test.py WINE SETUP_EXE VERSION"""
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import time

CLASSES = "HKCU\\Software\\Classes\\"
UNINSTALL = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvola"
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def run(wine, *args, **kw):
    return subprocess.run([wine, *args], stdin=subprocess.DEVNULL, capture_output=True, timeout=300, **kw)


def reg_value(wine, key, name=None):
    """The value's data, or None when the key or the value is not there. Read from what
    `reg export` writes, in UTF-16, as reg's console output has the console's code page."""
    with tempfile.TemporaryDirectory(prefix="tarvola-reg-") as folder:
        exported = pathlib.Path(folder) / "key.reg"
        if run(wine, "reg", "export", key, windows_path(wine, exported), "/y").returncode != 0:
            return None
        # Long hex data goes on over lines ended by a backslash.
        lines = re.sub(r"\\\r?\n\s*", "", exported.read_bytes().decode("utf-16")).splitlines()
    wanted = "@=" if name is None else f'"{name}"='
    for line in lines[lines.index(next(l for l in lines if l.startswith("["))) + 1:]:
        if line.startswith("["):
            break  # a subkey's section
        if not line.startswith(wanted):
            continue
        data = line[len(wanted):]
        if data.startswith("hex(2):"):  # REG_EXPAND_SZ, as UTF-16 bytes ended by a NUL
            return bytes.fromhex(data[7:].replace(",", "")).decode("utf-16-le").rstrip("\0")
        return data[1:-1].replace('\\"', '"').replace("\\\\", "\\")
    return None


def windows_path(wine, path):
    return subprocess.run(["winepath", "-w", str(path)], capture_output=True, text=True, check=True).stdout.strip()


def start_menu():
    prefix = pathlib.Path(os.environ["WINEPREFIX"])
    return list(prefix.glob("drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tarvola.lnk"))


def main():
    wine, setup, version = sys.argv[1:4]
    with tempfile.TemporaryDirectory(prefix="tarvola-install-") as work:
        # No space: /D= takes the rest of the command line unquoted, and Wine quotes an argument
        # with a space.
        folder = pathlib.Path(work) / "Programme-ü" / "Tarvola"
        target = windows_path(wine, folder)

        done = run(wine, setup, "/S", "/PATH", "/D=" + target)
        check(done.returncode == 0, f"the silent install ended with {done.returncode}")
        for name in ("tarvola.exe", "bin/tarvola-convert.exe", "Uninstall.exe"):
            check((folder / name).is_file(), f"{name} was not installed")
        check(len(start_menu()) == 1, "no Start-menu shortcut")
        command = reg_value(wine, CLASSES + "SystemFileAssociations\\.gpx\\shell\\Tarvola\\command") or ""
        check(command == f'"{target}\\tarvola.exe" "%1"', f"the Open with command is {command!r}")
        check(reg_value(wine, CLASSES + "SystemFileAssociations\\.gpx\\shell\\Tarvola") == "Open with Tarvola",
              "the Open with verb has no caption")
        check(reg_value(wine, CLASSES + ".gpx") != "Tarvola.gpx", "the install took over .gpx without being asked")
        check(reg_value(wine, UNINSTALL, "DisplayVersion") == version, "the uninstall entry has not the version")
        path = reg_value(wine, "HKCU\\Environment", "Path") or ""
        check(f"{target}\\bin" in path.split(";"), f"the converter is not on the PATH: {path!r}")
        converted = run(wine, str(folder / "bin" / "tarvola-convert.exe"), "--version")
        check(converted.returncode == 0 and version.encode() in converted.stdout,
              f"tarvola-convert --version from the install printed {converted.stdout!r}")

        run(wine, str(folder / "Uninstall.exe"), "/S")
        # The uninstaller copies itself away and returns at once; the copy does the work.
        deadline = time.monotonic() + 120
        while folder.exists() and time.monotonic() < deadline:
            time.sleep(0.5)
        check(not folder.exists(), f"the uninstall left {sorted(str(p) for p in folder.rglob('*'))}")
        check(not start_menu(), "the uninstall left the shortcut")
        check(reg_value(wine, UNINSTALL, "DisplayVersion") is None, "the uninstall left its registry entry")
        check(reg_value(wine, CLASSES + "SystemFileAssociations\\.gpx\\shell\\Tarvola\\command") is None,
              "the uninstall left the Open with command")
        check(reg_value(wine, CLASSES + "Tarvola.gpx\\shell\\open\\command") is None, "the uninstall left the ProgID")
        path = reg_value(wine, "HKCU\\Environment", "Path") or ""
        check(f"{target}\\bin" not in path.split(";"), f"the uninstall left the PATH entry: {path!r}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
