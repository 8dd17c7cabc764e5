# ---- queries, controls and the terrain map over the stand-in simulator's internal modules ----
# The terrain maps land in fs9.exe's output folder as terrain_map.bmp (north up) and
# terrain_map_heading_090.bmp.
mdn_e2e_gauge(NAME queries LIBRARIES mdn_sim_internals)
# The same with the main thread in single precision, as Direct3D 9 leaves it: the same values.
mdn_e2e_gauge(NAME queries_fpu_single GAUGE queries ARGS --fpu-single)
