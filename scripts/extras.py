"""Prints the requirements of one optional-dependency group of pyproject.toml, for pip."""
import pathlib
import sys
import tomllib

root = pathlib.Path(__file__).resolve().parent.parent
project = tomllib.loads((root / "pyproject.toml").read_text())["project"]
print(" ".join(r for r in project["optional-dependencies"][sys.argv[1]]))
