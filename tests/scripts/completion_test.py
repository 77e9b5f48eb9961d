#!/usr/bin/env python3
"""The bash completion of quarrix-cli offers the right words, driven as bash drives it (through
COMP_WORDS and COMP_CWORD), and scripts/check-completions fails on each kind of gap planted in a
copy of the completions.

  completion_test.py QUARRIX_CLI
"""
import pathlib
import subprocess
import sys
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
BASH = ROOT / "resources" / "completion" / "quarrix-cli.bash"
ZSH = ROOT / "resources" / "completion" / "_quarrix-cli"
CHECK = ROOT / "scripts" / "check-completions"
CLI = sys.argv.pop(1) if len(sys.argv) > 1 else "quarrix-cli"

FILES = ["a.uax", "B.UAX", "c.uz2", "d.uax.uz2", "list.txt", "X.INI", "notes.doc"]
FOLDERS = ["sub", "my dir"]
SUBCOMMANDS = "check compress decompress dedupe export extract names sort sounds"

# (the words up to the cursor, the last being completed; the candidates, sorted)
CASES = [
    ("quarrix-cli ch", "check"),
    ("quarrix-cli ", SUBCOMMANDS),
    ("quarrix-cli -", "--help --version -h"),
    ("quarrix-cli extract --no-", "--no-dedicated --no-random --no-trigger-names"),
    ("quarrix-cli extract ", "B.UAX a.uax c.uz2 d.uax.uz2 my|dir sub"),
    ("quarrix-cli extract a.uax --append ", "X.INI list.txt my|dir sub"),
    ("quarrix-cli extract --line-breaks ", "cr crlf lf"),
    ("quarrix-cli extract --only ", ""),
    ("quarrix-cli names a.uax ", ""),
    ("quarrix-cli sort --output = ", "X.INI list.txt my|dir sub"),
    ("quarrix-cli dedupe ", "X.INI list.txt my|dir sub"),
    ("quarrix-cli export -d s", "sub"),
    ("quarrix-cli export a.uax ", ""),
    ("quarrix-cli check --sounds ", "my|dir sub"),
    ("quarrix-cli check --stock s", "sub"),
    ("quarrix-cli check --redirect ", "my|dir sub"),
    ("quarrix-cli check --ini ", "X.INI my|dir sub"),
    ("quarrix-cli check --j", "--json"),
    ("quarrix-cli compress ", "B.UAX X.INI a.uax c.uz2 d.uax.uz2 list.txt my|dir notes.doc sub"),
    ("quarrix-cli decompress ", "c.uz2 d.uax.uz2 my|dir sub"),
    ("quarrix-cli decompress --dir ", "my|dir sub"),
]


def complete(line, folder):
    words = line.split(" ")
    script = (f'source "{BASH}"; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _quarrix_cli; '
              'printf "%s\\n" "${COMPREPLY[@]}"')
    run = subprocess.run(["bash", "-c", script, "bash"] + words, cwd=folder, capture_output=True,
                         text=True, check=True)
    return " ".join(sorted(name.replace(" ", "|") for name in run.stdout.splitlines() if name))


class CompletionTest(unittest.TestCase):
    def test_bash_offers_the_words_of_each_place(self):
        with tempfile.TemporaryDirectory() as folder:
            for name in FILES:
                (pathlib.Path(folder) / name).write_text("x")
            for name in FOLDERS:
                (pathlib.Path(folder) / name).mkdir()
            for line, candidates in CASES:
                with self.subTest(line=line):
                    self.assertEqual(complete(line, folder), candidates)

    def test_the_check_names_each_gap(self):
        bash, zsh = BASH.read_text(), ZSH.read_text()
        cases = [
            (bash, zsh, None),
            (bash.replace("[export]='-h --help -d --dir --force'", "[export]='-h --help -d --dir'"),
             zsh, "quarrix-cli.bash: export does not offer --force"),
            (bash.replace("    [names]='-h --help --sounds-only'\n", ""), zsh,
             "quarrix-cli.bash: no subcommand names"),
            (bash, zsh.replace("'--json[write a JSON array]' \\\n", ""),
             "_quarrix-cli: sounds does not offer --json"),
            (bash, zsh.replace("      'sort:sort a trigger list by sound name'\n", ""),
             "_quarrix-cli: no subcommand sort"),
            (bash, zsh.replace("'(- *)--version", "'(- *)--versio"),
             "_quarrix-cli: quarrix-cli does not offer --version"),
            (bash, zsh.replace("esac\n\nreturn", "\nreturn"), "_quarrix-cli: "),
        ]
        for bash_text, zsh_text, problem in cases:
            with self.subTest(problem=problem), tempfile.TemporaryDirectory() as folder:
                files = [pathlib.Path(folder) / "quarrix-cli.bash", pathlib.Path(folder) / "_quarrix-cli"]
                files[0].write_text(bash_text)
                files[1].write_text(zsh_text)
                run = subprocess.run([sys.executable, str(CHECK), CLI] + [str(f) for f in files],
                                     capture_output=True, text=True)
                if problem is None:
                    self.assertEqual((run.returncode, run.stderr), (0, ""))
                else:
                    self.assertEqual(run.returncode, 1, run.stderr)
                    self.assertIn(problem, run.stderr)


if __name__ == "__main__":
    unittest.main()
