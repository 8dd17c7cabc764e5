# ---- navigation: the panels hook, the state block, the GPS data and the flight model ----
mdn_e2e_gauge(NAME navigation)
