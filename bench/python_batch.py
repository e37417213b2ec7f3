"""Labels a second through the Python module's batch calls: label_texts and
label_samples over a day of 25 fps timecode (2 160 000 labels).

Usage: PYTHONPATH=<build>/python/package /usr/bin/python3 bench/python_batch.py
"""

import time

import marlix

DAY = range(0, 24 * 3600 * 25)


def best_of(runs, call):
    """The fastest of several calls; the previous result is freed before
    the clock starts, so freeing is not counted."""
    best, result = float("inf"), None
    for _ in range(runs):
        result = None
        start = time.perf_counter()
        result = call()
        best = min(best, time.perf_counter() - start)
    return best, result


def main():
    seconds, texts = best_of(5, lambda: marlix.label_texts("P", DAY))
    print(f"label_texts   P, a day at 25 fps: {len(DAY) / seconds / 1e6:6.2f} M labels/s")
    seconds, samples = best_of(5, lambda: marlix.label_samples("P", texts))
    print(f"label_samples P, a day at 25 fps: {len(DAY) / seconds / 1e6:6.2f} M labels/s")
    assert samples == list(DAY)
    one = range(0, 200000)
    seconds, _ = best_of(3, lambda: [marlix.label_text("P", s) for s in one])
    print(f"label_text    P, one call a label: {len(one) / seconds / 1e6:6.2f} M labels/s")


if __name__ == "__main__":
    main()
