# The Swedish guide, README.sv.md, as a web page that any browser opens, so
# that a household needs no tool to read it beside the program. Rendered at
# build time by cmark-gfm, whose output depends on nothing but its input.
# KOLMIRA_GUIDE_HTML names the page for the install rules of each package.
find_program(CMARK_GFM_PROGRAM cmark-gfm REQUIRED)
set(KOLMIRA_HOMEPAGE https://github.com/tumbrek/kolmira)
set(KOLMIRA_GUIDE_HTML ${CMAKE_CURRENT_BINARY_DIR}/docs/README.sv.html)
add_custom_command(OUTPUT ${KOLMIRA_GUIDE_HTML}
    COMMAND ${CMAKE_COMMAND} -DCMARK_GFM=${CMARK_GFM_PROGRAM}
            -DINPUT=${CMAKE_CURRENT_SOURCE_DIR}/README.sv.md -DOUTPUT=${KOLMIRA_GUIDE_HTML}
            -DHOMEPAGE=${KOLMIRA_HOMEPAGE} -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/render_guide.cmake
    DEPENDS README.sv.md cmake/render_guide.cmake
    VERBATIM)
add_custom_target(guide ALL DEPENDS ${KOLMIRA_GUIDE_HTML})
