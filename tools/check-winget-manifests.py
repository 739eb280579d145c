#!/usr/bin/env python3
"""Checks winget manifest sets as the community repository's validation does
first: each file against winget's own JSON schema of its type and version,
and the set as a whole (one version, one default-locale and one installer
manifest, of one package and version, named as winget names them).

    check-winget-manifests.py SCHEMA_FOLDER MANIFEST_FOLDER...

SCHEMA_FOLDER holds manifest.<type>.<version>.json; each MANIFEST_FOLDER
one manifest set, as `orvauthor package` writes it beside a package.
Prints every problem and exits with 1 when there is one (or no set at all).
"""
import json
import pathlib
import sys

import jsonschema
import yaml

MANIFEST_VERSION = "1.12.0"
SCHEMA_LINE = "# yaml-language-server: $schema=https://aka.ms/winget-manifest.{type}.{version}.schema.json"


def schema_of(schema_folder, manifest_type):
    path = schema_folder / f"manifest.{manifest_type}.{MANIFEST_VERSION}.json"
    return json.loads(path.read_text(encoding="utf-8"))


def problems_of_file(schema_folder, path):
    text = path.read_bytes().decode("utf-8")
    if text.startswith("\ufeff") or "\r" in text:
        yield "not UTF-8 without a byte-order mark and with LF line ends"
    manifest = yaml.safe_load(text)
    if not isinstance(manifest, dict):
        yield "no YAML mapping"
        return
    manifest_type = manifest.get("ManifestType")
    if manifest.get("ManifestVersion") != MANIFEST_VERSION:
        yield f"ManifestVersion is {manifest.get('ManifestVersion')!r}, not {MANIFEST_VERSION}"
    if text.splitlines()[0] != SCHEMA_LINE.format(type=manifest_type, version=MANIFEST_VERSION):
        yield f"the first line names no {manifest_type} {MANIFEST_VERSION} schema"
    if manifest_type not in ("version", "defaultLocale", "locale", "installer"):
        yield f"ManifestType {manifest_type!r} is none of winget's"
        return
    validator = jsonschema.Draft7Validator(schema_of(schema_folder, manifest_type))
    for error in sorted(validator.iter_errors(manifest), key=lambda e: list(e.path)):
        where = "/".join(str(part) for part in error.path) or "(top)"
        yield f"{where}: {error.message}"


def problems_of_set(folder, manifests):
    by_type = {}
    for path, manifest in manifests.items():
        by_type.setdefault(manifest.get("ManifestType"), []).append((path, manifest))
    for needed in ("version", "defaultLocale", "installer"):
        if len(by_type.get(needed, [])) != 1:
            yield f"{folder}: not exactly one {needed} manifest"
            return
    version = by_type["version"][0][1]
    identifier, package_version = version["PackageIdentifier"], version["PackageVersion"]
    for path, manifest in manifests.items():
        if (manifest.get("PackageIdentifier"), manifest.get("PackageVersion")) != (identifier, package_version):
            yield f"{path}: another package or version than {identifier} {package_version}"
    locale_path, locale = by_type["defaultLocale"][0]
    if locale.get("PackageLocale") != version.get("DefaultLocale"):
        yield f"{locale_path}: PackageLocale is not the DefaultLocale {version.get('DefaultLocale')}"
    expected = {
        by_type["version"][0][0].name: f"{identifier}.yaml",
        locale_path.name: f"{identifier}.locale.{locale.get('PackageLocale')}.yaml",
        by_type["installer"][0][0].name: f"{identifier}.installer.yaml",
    }
    for name, wanted in expected.items():
        if name != wanted:
            yield f"{folder}: {name} should be named {wanted}"


def main(arguments):
    if len(arguments) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    schema_folder = pathlib.Path(arguments[0])
    problems = []
    for folder in map(pathlib.Path, arguments[1:]):
        files = sorted(folder.glob("*.yaml"))
        if not files:
            problems.append(f"{folder}: no manifest")
            continue
        manifests = {}
        for path in files:
            problems += [f"{path}: {problem}" for problem in problems_of_file(schema_folder, path)]
            manifests[path] = yaml.safe_load(path.read_text(encoding="utf-8")) or {}
        problems += list(problems_of_set(folder, manifests))
        print(f"{folder}: {len(files)} manifests checked")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
