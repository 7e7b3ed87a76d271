"""The README's first example runs as written."""

import pathlib
import re


def test_readme_example_runs(capsys):
    readme = (pathlib.Path(__file__).resolve().parents[2] / "README.md").read_text()
    code = re.search(r"## A first example\n\n```python\n(.*?)```", readme, re.S).group(1)
    exec(compile(code, "README.md", "exec"), {})
    out = capsys.readouterr().out.splitlines()
    assert out[2] == "2020-10-01T12:01:09.184"
