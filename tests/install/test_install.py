#!/usr/bin/env python3
"""The install test: installs the build into a temporary DESTDIR, then runs and judges what it
finds there only: the two programs, the menu entry, the AppStream file, the icons, the manual
pages, the user's guide with its pictures, and that no installed file names the source or build
folder.

ctest runs it with VELMORA_BUILD_DIR, VELMORA_VERSION, VELMORA_PROGRAM_ICON and
VELMORA_CLOSE_WHEN_SHOWN (the library that closes the program's main window once it is shown).
"""
import glob
import gzip
import os
import re
import shutil
import subprocess
import tempfile
import unittest

from PIL import Image, ImageDraw

ICON_SIZES = (16, 32, 48, 64, 128, 256)
SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def run(arguments, **options):
    return subprocess.run(arguments, capture_output=True, text=True, timeout=120, **options)


class Installed(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.build = os.path.realpath(os.environ["VELMORA_BUILD_DIR"])
        cls.destdir = tempfile.mkdtemp(prefix="velmora-install-")
        cls.work = tempfile.mkdtemp(prefix="velmora-work-")
        environment = dict(os.environ, DESTDIR=cls.destdir)
        done = run(["cmake", "--install", cls.build, "--prefix", "/usr", "--strip"],
                   env=environment)
        if done.returncode != 0:
            raise AssertionError("cmake --install failed:\n" + done.stdout + done.stderr)
        cls.usr = os.path.join(cls.destdir, "usr")
        # The installed programs alone: no build folder libraries, and run from elsewhere.
        cls.environment = {key: value for key, value in os.environ.items()
                           if key not in ("LD_LIBRARY_PATH", "QT_PLUGIN_PATH")}
        # The program's recovery copies go to a state folder of the test's own.
        cls.environment["XDG_STATE_HOME"] = os.path.join(cls.work, "state")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.destdir, ignore_errors=True)
        shutil.rmtree(cls.work, ignore_errors=True)

    def installed(self, *parts):
        return os.path.join(self.usr, *parts)

    def run_installed(self, program, arguments, **extra):
        return run([self.installed("bin", program)] + arguments, cwd=self.work,
                   env=dict(self.environment, **extra))

    def test_batch_version_is_the_programs_version(self):
        done = self.run_installed("velmora-batch", ["--version"])
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(done.stdout, "velmora-batch %s\n" % os.environ["VELMORA_VERSION"])

    def test_batch_fish_job_writes_a_sheet_that_passes_check(self):
        picture = Image.new("RGB", (40, 30), (0, 0, 255))
        ImageDraw.Draw(picture).rectangle((5, 4, 24, 15), fill=(255, 128, 0), outline=(0, 0, 0))
        picture.save(os.path.join(self.work, "fish.bmp"))
        done = self.run_installed("velmora-batch",
                                  ["fish", "fish.bmp", "--background", "0,0", "-o", "sheet.bmp"])
        self.assertEqual(done.returncode, 0, done.stderr)
        with Image.open(os.path.join(self.work, "sheet.bmp")) as sheet:
            self.assertEqual(sheet.size, (2 * 20, 2 * 12))
        done = self.run_installed("velmora-batch", ["check", "sheet.bmp"])
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)

    def test_program_answers_help_and_version_on_stdout_without_a_window_system(self):
        no_display = {key: "" for key in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        for argument, expected in (("--help", "Usage: velmora [FILE...]\n"),
                                   ("--version", "velmora %s\n" % os.environ["VELMORA_VERSION"])):
            done = self.run_installed("velmora", [argument], **no_display)
            self.assertEqual((done.returncode, done.stderr), (0, ""), argument)
            self.assertTrue(done.stdout.startswith(expected), done.stdout)

    def test_program_starts_offscreen_and_ends_when_its_window_is_closed(self):
        done = self.run_installed("velmora", [], QT_QPA_PLATFORM="offscreen",
                                  LD_PRELOAD=os.environ["VELMORA_CLOSE_WHEN_SHOWN"])
        self.assertIn("closing the main window", done.stderr)
        self.assertEqual(done.returncode, 0, done.stderr)

    def test_desktop_entry_passes_desktop_file_validate(self):
        entry = self.installed("share", "applications", "velmora.desktop")
        done = run(["desktop-file-validate", entry])
        self.assertEqual((done.returncode, done.stdout + done.stderr), (0, ""))
        with open(entry) as text:
            content = text.read()
            self.assertIn("\nExec=velmora %F\n", content)
            self.assertIn("\nMimeType=image/bmp;image/x-bmp;image/png;\n", content)

    def test_metainfo_passes_appstream_validation_with_the_tree(self):
        metainfo = glob.glob(self.installed("share", "metainfo", "*.metainfo.xml"))
        self.assertEqual(len(metainfo), 1, metainfo)
        with open(metainfo[0]) as text:
            self.assertIn('<release version="%s"' % os.environ["VELMORA_VERSION"], text.read())
        for command in (["validate", "--no-net", metainfo[0]],
                        ["validate-tree", "--no-net", self.destdir]):
            done = run(["appstreamcli"] + command)
            self.assertEqual(done.returncode, 0, done.stdout + done.stderr)

    def test_every_icon_size_is_transparent_sharp_pixel_art(self):
        with Image.open(os.environ["VELMORA_PROGRAM_ICON"]) as source:
            program_icon = source.convert("RGBA")
        colours = {colour for _, colour in program_icon.getcolors(32 * 32)}
        for size in ICON_SIZES:
            path = self.installed("share", "icons", "hicolor", "%dx%d" % (size, size), "apps",
                                  "velmora.png")
            with Image.open(path) as icon:
                self.assertEqual((icon.size, icon.mode), ((size, size), "RGBA"), path)
                used = {colour for _, colour in icon.getcolors(size * size)}
            # Smoothing would mix new colours and partial alpha into the edges.
            self.assertTrue(used <= colours, "%s holds %d colours the program icon lacks"
                            % (path, len(used - colours)))
            self.assertEqual({colour[3] for colour in used}, {0, 255}, path)
        # Whole multiples are the program icon's pixels as equal squares.
        with Image.open(self.installed("share", "icons", "hicolor", "256x256", "apps",
                                       "velmora.png")) as icon:
            self.assertEqual(list(icon.reduce(8).getdata()), list(program_icon.getdata()))

    def test_manual_pages_render_with_their_names_and_the_version(self):
        version = os.environ["VELMORA_VERSION"]
        for page, expected in (("velmora", ["velmora - ", "velmora " + version, "--version"]),
                               ("velmora-batch", ["velmora-batch fish PICTURE.bmp",
                                                  "velmora-batch " + version])):
            path = self.installed("share", "man", "man1", page + ".1.gz")
            done = run(["man", "--warnings", "-l", path],
                       env=dict(self.environment, LC_ALL="C", MANWIDTH="200"))
            self.assertEqual((done.returncode, done.stderr), (0, ""), page)
            for text in expected:
                self.assertIn(text, done.stdout, page)

    def test_guide_is_installed_with_every_picture_it_shows(self):
        guide = self.installed("share", "doc", "velmora", "GUIDE.md")
        with open(guide, encoding="utf-8") as text:
            shown = re.findall(r"!\[[^\]]*\]\((guide/[^)\s]+)\)", text.read())
        self.assertTrue(shown, guide)
        for picture in shown:
            self.assertTrue(os.path.isfile(os.path.join(os.path.dirname(guide), picture)),
                            picture)

    def test_no_installed_file_names_the_source_or_build_folder(self):
        folders = {os.path.realpath(SOURCE_DIR).encode(), self.build.encode()}
        for root, _, files in os.walk(self.destdir):
            for name in files:
                path = os.path.join(root, name)
                opener = gzip.open if name.endswith(".gz") else open
                with opener(path, "rb") as data:
                    content = data.read()
                for folder in folders:
                    self.assertNotIn(folder, content, path)


if __name__ == "__main__":
    unittest.main(verbosity=2)
