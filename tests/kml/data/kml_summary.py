#!/usr/bin/env python3
"""Reads KML documents and KMZ packages with Python's own XML and ZIP readers and prints,
for each file, one "key value" line per fact the tests check (texts as UTF-8 hex)."""
import re
import sys
import xml.etree.ElementTree as ET
import zipfile

NS = "{http://earth.google.com/kml/2.1}"


def kml_bytes(path):
    if not path.lower().endswith(".kmz"):
        with open(path, "rb") as f:
            return f.read()
    with zipfile.ZipFile(path) as archive:
        bad = archive.testzip()
        if bad is not None:
            raise ValueError("bad CRC in " + bad)
        infos = archive.infolist()
        print("entries", " ".join(i.filename for i in infos))
        print("deflated", int(all(i.compress_type == zipfile.ZIP_DEFLATED for i in infos)))
        return archive.read("doc.kml")


def hexed(text):
    return (text or "").encode("utf-8").hex() or "-"


def summarize(path):
    data = kml_bytes(path)
    print("declaration", int(data.startswith(b'<?xml version="1.0" encoding="UTF-8"?>\n')))
    # One element per line, two spaces per level, LF only, a line break at the end.
    lines = data.split(b"\n")
    element_line = re.compile(rb"^(  )*<[^<]*(<[^<]*)?>$")
    print("layout", int(lines[-1] == b"" and b"\r" not in data and
                        all(element_line.match(line) for line in lines[1:-1])))
    root = ET.fromstring(data)
    print("root", root.tag)
    placemarks = root.iter(NS + "Placemark")
    count = 0
    triples = 0
    for placemark in placemarks:
        count += 1
        print("name", hexed(placemark.findtext(NS + "name")))
        description = placemark.find(NS + "description")
        if description is not None:
            print("description", hexed(description.text))
        for coordinates in placemark.iter(NS + "coordinates"):
            text = coordinates.text or ""
            triples += text.count(",") // 2
            print("coordinates", hexed(text))
    print("placemarks", count)
    print("triples", triples)
    document = root.find(NS + "Document")
    folders = [] if document is None else document.findall(NS + "Folder")
    print("folders", " ".join(f.findtext(NS + "name") or "?" for f in folders) or "-")


def main():
    status = 0
    for path in sys.argv[1:]:
        print("file", path)
        try:
            summarize(path)
        except Exception as error:  # every reader failure is a finding for the test
            print("error", type(error).__name__, str(error).replace("\n", " "))
            status = 1
        print("end")
    return status


if __name__ == "__main__":
    sys.exit(main())
