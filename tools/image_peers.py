#!/usr/bin/python3
"""The image benchmark's peers: what a user would pick instead of our image library.

Writes the photographs bundled with scikit-image (and a 4-megapixel enlargement of one) as 24-bit BMP
files into OUT, times the operations that bench/ImagePeerBench.cpp times on them with Pillow and OpenCV
(one thread each, best of 7 after a warm-up run), and writes OUT/peers.tsv:

    operation<TAB>photograph<TAB>peer<TAB>milliseconds

Runs natively (not under Wine) with Debian's python3-pil, python3-opencv, python3-numpy and
python3-skimage, which it installs with apt-get when they are missing.

    /usr/bin/python3 tools/image_peers.py OUT
"""
import os
import subprocess
import sys
import time

PACKAGES = ["python3-pil", "python3-opencv", "python3-numpy", "python3-skimage"]


def ensure_packages():
    try:
        import cv2, numpy, PIL, skimage  # noqa: F401
        return
    except ImportError:
        pass
    sudo = [] if os.geteuid() == 0 else ["sudo"]
    print("installing " + " ".join(PACKAGES), file=sys.stderr)
    subprocess.run(sudo + ["apt-get", "update"], check=True, stdout=sys.stderr)
    subprocess.run(sudo + ["apt-get", "install", "-y", "--no-install-recommends"] + PACKAGES, check=True,
                   stdout=sys.stderr)


def out_folder():
    """The folder named on the command line; on any other call, the usage and exit code 2."""
    if len(sys.argv) != 2 or not sys.argv[1] or sys.argv[1].startswith("-"):
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    return sys.argv[1]


# Checked before anything is installed.
OUT = out_folder() if __name__ == "__main__" else None
ensure_packages()

import cv2  # noqa: E402
import numpy as np  # noqa: E402
import skimage.data  # noqa: E402
from PIL import Image  # noqa: E402

RUNS = 7
ANGLE = 30  # degrees, clockwise on screen as our Rotate turns


def photographs():
    """(name, RGB array) of the bundled photographs and a 2304 x 1728 enlargement of the coffee cup."""
    shots = [(name, getattr(skimage.data, name)()) for name in ("astronaut", "coffee", "chelsea", "rocket", "retina")]
    coffee = dict(shots)["coffee"]
    shots.append(("coffee-4mp", cv2.resize(coffee, (2304, 1728), interpolation=cv2.INTER_CUBIC)))
    return shots


def best_ms(work):
    work()
    best = float("inf")
    for _ in range(RUNS):
        start = time.perf_counter()
        work()
        best = min(best, time.perf_counter() - start)
    return 1000 * best


def rotated_cv2(bgr):
    """Turned by ANGLE about the centre into a picture that holds all of it, bilinear, white outside."""
    h, w = bgr.shape[:2]
    m = cv2.getRotationMatrix2D((w / 2, h / 2), -ANGLE, 1.0)
    c, s = abs(m[0, 0]), abs(m[0, 1])
    nw, nh = int(w * c + h * s + 0.5), int(w * s + h * c + 0.5)
    m[0, 2] += nw / 2 - w / 2
    m[1, 2] += nh / 2 - h / 2
    return cv2.warpAffine(bgr, m, (nw, nh), flags=cv2.INTER_LINEAR, borderMode=cv2.BORDER_CONSTANT,
                          borderValue=(255, 255, 255))


def peer_operations(rgb):
    """operation -> [(peer, work)] on one photograph."""
    pil = Image.fromarray(rgb)
    bgr = np.ascontiguousarray(rgb[:, :, ::-1])
    h, w = rgb.shape[:2]
    return {
        "down3": [("Pillow reduce", lambda: pil.reduce(3)),
                  ("OpenCV area", lambda: cv2.resize(bgr, (w // 3, h // 3), interpolation=cv2.INTER_AREA))],
        "up2": [("Pillow box", lambda: pil.resize((2 * w, 2 * h), Image.BOX)),
                ("OpenCV area", lambda: cv2.resize(bgr, (2 * w, 2 * h), interpolation=cv2.INTER_AREA))],
        "up2nearest": [("Pillow nearest", lambda: pil.resize((2 * w, 2 * h), Image.NEAREST)),
                       ("OpenCV nearest", lambda: cv2.resize(bgr, (2 * w, 2 * h), interpolation=cv2.INTER_NEAREST))],
        "rotate": [("Pillow bilinear", lambda: pil.rotate(-ANGLE, Image.BILINEAR, expand=True,
                                                          fillcolor=(255, 255, 255))),
                   ("OpenCV linear", lambda: rotated_cv2(bgr))],
        "grey": [("Pillow L", lambda: pil.convert("L")),
                 ("OpenCV gray", lambda: cv2.cvtColor(bgr, cv2.COLOR_BGR2GRAY))],
        "to32": [("Pillow RGBA", lambda: pil.convert("RGBA")),
                 ("OpenCV BGRA", lambda: cv2.cvtColor(bgr, cv2.COLOR_BGR2BGRA))],
        # Pillow's median cut takes seconds a picture; its fast octree is what a user in a hurry picks.
        "quantize": [("Pillow octree", lambda: pil.quantize(256, Image.Quantize.FASTOCTREE))],
    }


def main(out):
    os.makedirs(out, exist_ok=True)
    cv2.setNumThreads(1)
    rows = []
    for name, rgb in photographs():
        cv2.imwrite(os.path.join(out, name + ".bmp"), rgb[:, :, ::-1])
        for operation, peers in peer_operations(rgb).items():
            for peer, work in peers:
                rows.append(f"{operation}\t{name}\t{peer}\t{best_ms(work):.4f}\n")
    with open(os.path.join(out, "peers.tsv"), "w") as f:
        f.writelines(rows)


if __name__ == "__main__":
    main(OUT)
