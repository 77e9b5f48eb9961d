#!/usr/bin/env python3
"""scripts/check-includes passes on the tree as it is and fails on each kind of upward
include planted in a copy of src/."""
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
SCRIPT = ROOT / "scripts" / "check-includes"

# (file of src/ that gets the include, the include line, the words of the failure, how many
# rules it breaks)
PLANTED = [
    ("extract/trigger_list.cpp", '#include "app/frm_main.h"',
     "src/extract/trigger_list.cpp:1: includes app/frm_main.h: only src/app/ may include", 2),
    ("editor/syn_edit.h", "#include <app/program.h>",
     "src/editor/syn_edit.h:1: includes app/program.h: only src/app/ may include", 1),
    ("platform/file_filter.h", '#include "app/shortcut_maker.h"',
     "src/platform/file_filter.h:1: includes app/shortcut_maker.h: only src/app/ may include", 1),
    ("listedit/sort.cpp", '#include "editor/syn_edit.h"',
     "src/listedit/sort.cpp:1: includes editor/syn_edit.h: a quarrix_core file may not include", 1),
    ("editor/key_codes.h", '#include "controls/lum_mesg.h"',
     "src/editor/key_codes.h:1: includes controls/lum_mesg.h: a quarrix_core file may not", 1),
    ("platform/win_shell_folders.cpp", '#include "platform/qt_file_dialog.h"',
     "src/platform/win_shell_folders.cpp:1: includes platform/qt_file_dialog.h: a quarrix_core", 1),
    ("runtime/file_io.cpp", '#include "extract/trigger_list.h"',
     "src/runtime/file_io.cpp:1: includes extract/trigger_list.h: src/runtime/ may include only", 1),
]

# Includes that point down or sideways within a layer, which the check lets pass.
ALLOWED = [
    ("extract/frm_config.cpp", '#include "listedit/syn_edit_placeholder.h"'),  # no such file
    ("extract/frm_config.cpp", '#include "editor/syn_edit.h"'),  # UI file, UI header
    ("app/frm_main.cpp", '#include "app/program.h"'),  # app/ includes app/
    ("runtime/file_io.cpp", "#include <vector>"),  # a standard header
]


def run(root):
    return subprocess.run([sys.executable, str(SCRIPT), str(root)], capture_output=True, text=True)


class CheckIncludesTest(unittest.TestCase):
    def setUp(self):
        self.fresh_copy()

    def fresh_copy(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.root = pathlib.Path(folder.name)
        shutil.copytree(ROOT / "src", self.root / "src")

    def plant(self, name, line):
        path = self.root / "src" / name
        path.write_text(line + "\n" + path.read_text())

    def test_the_tree_as_it_is_passes(self):
        result = run(self.root)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("point down", result.stdout)

    def test_each_planted_upward_include_fails_naming_file_and_rule(self):
        for name, line, message, broken in PLANTED:
            with self.subTest(name=name, line=line):
                self.fresh_copy()
                self.plant(name, line)
                result = run(self.root)
                self.assertEqual(result.returncode, 1)
                self.assertIn(message, result.stderr)
                self.assertIn(f"check-includes: {broken} includes point up", result.stderr)

    def test_includes_that_point_down_pass(self):
        for name, line in ALLOWED:
            self.plant(name, line)
        result = run(self.root)
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_a_tree_without_core_sources_is_a_usage_error(self):
        shutil.rmtree(self.root / "src")
        (self.root / "src").mkdir()
        self.assertEqual(run(self.root).returncode, 2)


if __name__ == "__main__":
    unittest.main()
