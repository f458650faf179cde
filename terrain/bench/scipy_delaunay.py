#!/usr/bin/python3
"""Times scipy.spatial.Delaunay (qhull) on the points terrain_bench writes.

    terrain_bench --write-points 100000 42 /tmp/points.txt
    /usr/bin/python3 scipy_delaunay.py /tmp/points.txt
"""
import sys
import time

import numpy as np
from scipy.spatial import Delaunay

points = np.loadtxt(sys.argv[1])
best = None
for _ in range(5):
    start = time.process_time()
    tri = Delaunay(points)
    elapsed = time.process_time() - start
    best = elapsed if best is None else min(best, elapsed)
print(f"{len(points)} points, {len(tri.simplices)} triangles, best of 5: {best * 1000:.1f} ms CPU")
