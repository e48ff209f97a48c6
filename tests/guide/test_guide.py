#!/usr/bin/env python3
"""The user's guide's test: every picture the guide (and the AppStream file) shows is in
docs/guide and every picture there is shown; the table of message-box texts is exactly the
windows' own list; every velmora-batch example runs on the sample pictures in a scratch folder.

ctest runs it with VELMORA_WINDOW_TEXTS (the program printing the windows' texts), VELMORA_BATCH
and VELMORA_SAMPLES.
"""
import os
import re
import shutil
import subprocess
import tempfile
import unittest

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
GUIDE = os.path.join(SOURCE_DIR, "docs", "GUIDE.md")
PICTURES = os.path.join(SOURCE_DIR, "docs", "guide")
MESSAGES_HEADING = "## What the message boxes say"
BATCH_HEADING = "## Many files at once: velmora-batch"
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
LARGEST_PICTURE = 64 * 1024


def read(path):
    with open(path, encoding="utf-8") as text:
        return text.read()


def section(text, heading):
    """The text under a level-two heading, up to the next one."""
    start = text.index(heading + "\n")
    end = text.find("\n## ", start + len(heading))
    return text[start:] if end < 0 else text[start:end]


def pictures_under(folder):
    return {os.path.relpath(os.path.join(root, name), folder)
            for root, _, names in os.walk(folder) for name in names if name.endswith(".bmp")}


class Guide(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.text = read(GUIDE)

    def test_every_picture_shown_is_in_the_guide_folder_and_every_one_there_is_shown(self):
        shown = re.findall(r"!\[[^\]]*\]\(guide/([^)\s]+)\)", self.text)
        self.assertGreaterEqual(len(shown), 12, "the guide shows too few pictures")
        listed = re.findall(r"<image[^>]*>[^<]*?guide/([^<]+)</image>",
                            read(os.path.join(SOURCE_DIR, "packaging",
                                              "velmora.metainfo.xml.in")))
        self.assertTrue(2 <= len(listed) <= 3, listed)
        for name in shown + listed:
            path = os.path.join(PICTURES, name)
            self.assertTrue(os.path.isfile(path), "missing picture " + path)
            with open(path, "rb") as picture:
                self.assertEqual(picture.read(8), PNG_SIGNATURE, path)
            # Cropped and palette-reduced, a window's picture stays well below this.
            self.assertLess(os.path.getsize(path), LARGEST_PICTURE, path)
        self.assertEqual(sorted(set(os.listdir(PICTURES))), sorted(set(shown)),
                         "pictures in docs/guide that the guide does not show, or the reverse")
        readme = read(os.path.join(SOURCE_DIR, "README.md"))
        self.assertIn("(docs/GUIDE.md)", readme.split("\n## ")[0])

    def test_message_table_is_exactly_the_windows_own_texts(self):
        printed = subprocess.run([os.environ["VELMORA_WINDOW_TEXTS"]], capture_output=True,
                                 check=True).stdout.decode("utf-8")
        program = {tuple(line.split("\t")) for line in printed.splitlines()}
        rows = [[cell.strip() for cell in line.strip().strip("|").split("|")]
                for line in section(self.text, MESSAGES_HEADING).splitlines()
                if line.startswith("| ") and not line.startswith("| box ")]
        self.assertTrue(all(len(row) == 3 and row[2] for row in rows),
                        "each row needs a box, a text and its meaning")
        quoted = [(row[0], row[1]) for row in rows]
        self.assertEqual(len(quoted), len(set(quoted)), "a text is listed twice")
        self.assertEqual(sorted(set(quoted) - program), [], "texts the program does not have")
        self.assertEqual(sorted(program - set(quoted)), [], "texts the guide leaves out")

    @unittest.skipUnless(os.path.isdir(os.environ.get("VELMORA_SAMPLES", "")),
                         "no sample pictures (configure with -DVELMORA_SAMPLES=FOLDER)")
    def test_every_batch_example_runs_on_the_sample_pictures(self):
        examples = re.findall(r"```sh\n(.*?)```", section(self.text, BATCH_HEADING), re.S)
        self.assertGreaterEqual(len(examples), 3)
        samples = os.environ["VELMORA_SAMPLES"]
        path = os.path.dirname(os.environ["VELMORA_BATCH"]) + os.pathsep + os.environ["PATH"]
        for example in examples:
            with self.subTest(example=example), tempfile.TemporaryDirectory() as folder:
                for name in os.listdir(samples):
                    if name.endswith(".bmp"):
                        shutil.copy(os.path.join(samples, name), folder)
                before = pictures_under(folder)
                done = subprocess.run(["bash", "-e", "-o", "pipefail", "-c", example],
                                      cwd=folder, capture_output=True, text=True, timeout=60,
                                      env=dict(os.environ, PATH=path))
                self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
                self.assertTrue(pictures_under(folder) - before, "the example wrote no picture")


if __name__ == "__main__":
    unittest.main(verbosity=2)
