# The Windows resources of the programs: a version resource from project(VERSION), and for the
# window its icon (drawn from the window's artwork) and its application manifest.
function(tarvola_add_version_resource target description)
  set(rc_file_name ${target}.exe)
  set(rc_internal_name ${target})
  set(rc_description "${description}")
  set(rc_extra "")
  if(ARGN)
    string(JOIN "\n" rc_extra ${ARGN})
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

function(tarvola_add_window_resources target)
  set(icon ${CMAKE_CURRENT_BINARY_DIR}/${target}.ico)
  set(svg ${PROJECT_SOURCE_DIR}/resources/about/tarvola_icon.svg)
  add_custom_command(OUTPUT ${icon}
                     COMMAND ${TARVOLA_HOST_RENDER_ICON} ${svg} ico ${icon}
                     DEPENDS ${svg}
                     VERBATIM)
  set_property(GLOBAL PROPERTY TARVOLA_WINDOW_ICON ${icon})
  set(manifest ${PROJECT_SOURCE_DIR}/packaging/windows/tarvola.manifest)
  # Explorer shows a program's first icon group; Qt gives IDI_ICON1 to its windows.
  tarvola_add_version_resource(${target} "${TARVOLA_PRODUCT_NAME}: GPX to KML/KMZ converter"
    "IDI_ICON1 ICON \"${icon}\""
    "1 24 \"${manifest}\"")
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc APPEND PROPERTY OBJECT_DEPENDS
               ${icon} ${manifest})
endfunction()
