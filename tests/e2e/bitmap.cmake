# ---- bitmaps: rotation and scaling through slots 26, 27, 29 and 30; pictures saved ----
set(MDN_E2E_BITMAP_PICTURES ${CMAKE_CURRENT_BINARY_DIR}/bitmap_pictures)
file(MAKE_DIRECTORY ${MDN_E2E_BITMAP_PICTURES})
mdn_e2e_gauge(NAME bitmap ARGS --output ${MDN_E2E_BITMAP_PICTURES})
