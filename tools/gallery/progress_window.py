#!/usr/bin/env python3
"""Screenshot of the progress window in a real X server, through the Python binding.

Usage: xvfb-run -s "-screen 0 480x140x24" python3 tools/gallery/progress_window.py \
           build/test/bundle/libvorla_ui.so docs/gallery/progress.png
(needs the xvfb, xauth and imagemagick packages)
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "app"))
import vorla_ui  # noqa: E402

ui = vorla_ui.load(sys.argv[1])
with ui.progress("Vorla & The Glassmaze - Recomp") as window:
    for _ in range(20):
        window.update(42, "Preparing the fast mode... 17/40")
        time.sleep(0.05)
    subprocess.run(["import", "-window", "root", "-crop", "480x140+0+0", sys.argv[2]], check=True)
