#!/usr/bin/python3
"""Compares the triangles of terrain_bench --write-points with scipy.spatial.Delaunay (qhull).

    terrain_bench --write-points 100000 42 /tmp/points.txt
    /usr/bin/python3 compare_triangles.py /tmp/points.txt
"""
import sys

import numpy as np
from scipy.spatial import Delaunay

points = np.loadtxt(sys.argv[1])
ours = {tuple(sorted(t)) for t in np.loadtxt(sys.argv[1] + ".tri", dtype=int)}
qhull = Delaunay(points)
theirs = {tuple(sorted(t)) for t in qhull.simplices}
print(f"ours {len(ours)}, qhull {len(theirs)}, ours not in qhull {len(ours - theirs)}, "
      f"qhull not in ours {len(theirs - ours)}")
missing = theirs - ours
if missing:
    # How far inside the point cloud the missing triangles reach.
    lo, hi = points.min(axis=0), points.max(axis=0)
    depth = max(min((points[list(t)].mean(axis=0) - lo).min(), (hi - points[list(t)].mean(axis=0)).min())
                for t in missing)
    print(f"missing triangles lie within {depth:.1f} of the extent's edge (extent {(hi - lo).max():.0f})")
