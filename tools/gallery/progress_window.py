#!/usr/bin/env python3
"""Screenshot of the progress window in a real X server.

Usage: xvfb-run -s "-screen 0 480x140x24" python3 tools/gallery/progress_window.py \
           build/test/bundle/libvorla_ui.so docs/gallery/progress.png
(needs the xvfb, xauth and imagemagick packages)
"""
import ctypes
import subprocess
import sys
import time

lib = ctypes.CDLL(sys.argv[1])
lib.vui_open.argtypes = [ctypes.c_char_p]
lib.vui_progress.argtypes = [ctypes.c_int32, ctypes.c_char_p]
if lib.vui_open(b"Vorla & The Glassmaze - Recomp") != 0:
    sys.exit("vui_open failed")
for _ in range(20):
    lib.vui_progress(42, b"Preparing the fast mode... 17/40")
    time.sleep(0.05)
subprocess.run(["import", "-window", "root", "-crop", "480x140+0+0", sys.argv[2]], check=True)
lib.vui_close()
