#!/usr/bin/env python3
"""scripts/check-man-pages passes a page that names everything a program's help lists, and
fails naming what one page leaves out or what groff cannot read."""
import pathlib
import subprocess
import sys
import tempfile
import textwrap
import unittest

SCRIPT = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "check-man-pages"

# A program with two subcommands in the help format of quarrix-cli.
FAKE_CLI = '''\
import sys
helps = {
    (): "Usage: x\\n\\nOptions:\\n  -h,--help  Help\\n  --version  Version\\n\\n"
        "Subcommands:\\n  export  Write\\n  check  Check\\n\\nExit codes:\\n  0  fine\\n",
    ("export",): "Options:\\n  -h,--help  Help\\n  -d,--dir DIR REQUIRED\\n"
                 "                Folder\\n  --force  Replace\\n\\nExit codes:\\n  3  file\\n",
    ("check",): "Options:\\n  --sounds DIR ...  Folder\\n",
}
print(helps[tuple(sys.argv[1:-1])])
'''

PAGE = textwrap.dedent('''\
    .TH X 1 2026-12-10 X "User Commands"
    .SH NAME
    x \\- a program
    .SH OPTIONS
    .BR \\-h ", " \\-\\-help
    and
    .B \\-\\-version
    .SH COMMANDS
    .SS "export \\fB\\-d \\fIDIR\\fR"
    .BR \\-d ", " \\-\\-dir
    and
    .B \\-\\-force
    .SS check
    .B \\-\\-sounds
    .SH EXIT STATUS
    .TP
    .B 0
    Fine.
    .TP
    .B 3
    A file.
    ''')

# (what the page is changed to, the problem reported; None for a clean pass)
CASES = [
    (PAGE, None),
    (PAGE.replace(".B \\-\\-force\n", ".B force\n"), "the section of export does not name --force"),
    (PAGE.replace(".BR \\-d \", \" \\-\\-dir", ".B \\-\\-dir"), "export does not name -d\n"),
    (PAGE.replace(".SS check\n", ""), "no section .SS check"),
    (PAGE.replace(".B \\-\\-version\n", "\n"), "OPTIONS does not name --version"),
    (PAGE.replace(".B 3\n", "3\n"), "EXIT STATUS has no item 3"),
    (PAGE.replace(".SH NAME\n", ".SH NAME\n.XX\n"), "quarrix-cli.1: groff: "),
]


class CheckManPagesTest(unittest.TestCase):
    def test_each_page(self):
        for page, problem in CASES:
            with self.subTest(problem=problem), tempfile.TemporaryDirectory() as folder:
                root = pathlib.Path(folder)
                (root / "cli").write_text(f"#!{sys.executable}\n{FAKE_CLI}")
                (root / "cli").chmod(0o755)
                (root / "pages").mkdir()
                (root / "pages" / "quarrix-cli.1").write_text(page)
                run = subprocess.run([sys.executable, str(SCRIPT), str(root / "cli"),
                                      str(root / "pages")], capture_output=True, text=True)
                if problem is None:
                    self.assertEqual((run.returncode, run.stderr), (0, ""))
                else:
                    self.assertEqual(run.returncode, 1, run.stderr)
                    self.assertIn(problem, run.stderr)


if __name__ == "__main__":
    unittest.main()
