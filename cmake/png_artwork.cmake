# Builds without Qt Svg (Windows) carry the SVG artwork drawn to PNG at build time by the host's
# renderer (packaging/linux/render_icon.cpp of a Linux build), at 1x and at 2x, which Qt takes on
# dense screens. The PNG files keep the resource paths of the SVG files, with .png for .svg.
set(TARVOLA_HOST_RENDER_ICON "" CACHE FILEPATH
    "tarvola_render_icon of a Linux build, to draw the artwork of a build without Qt Svg")

# Adds to TARGET the resources of QRC (a file of <file>…svg</file> entries) as PNG.
function(tarvola_add_png_artwork target qrc)
  if(NOT EXISTS "${TARVOLA_HOST_RENDER_ICON}")
    message(FATAL_ERROR "TARVOLA_HOST_RENDER_ICON must name the Linux build's tarvola_render_icon")
  endif()
  get_filename_component(qrc_dir ${qrc} DIRECTORY)
  get_filename_component(qrc_name ${qrc} NAME)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${qrc})
  file(READ ${qrc} text)
  string(REGEX MATCH "<qresource prefix=\"[^\"]*\">" head "${text}")
  string(REGEX MATCHALL "<file>[^<]+\\.svg</file>" entries "${text}")
  set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/png_artwork)
  set(lines "")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "</?file>" "" svg "${entry}")
    string(REGEX REPLACE "\\.svg$" "" stem "${svg}")
    foreach(scale IN ITEMS 1 2)
      if(scale EQUAL 1)
        set(png ${stem}.png)
      else()
        set(png ${stem}@${scale}x.png)
      endif()
      get_filename_component(png_dir ${out_dir}/${png} DIRECTORY)
      add_custom_command(
        OUTPUT ${out_dir}/${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${png_dir}
        COMMAND ${TARVOLA_HOST_RENDER_ICON} ${qrc_dir}/${svg} x${scale} ${out_dir}/${png}
        DEPENDS ${qrc_dir}/${svg}
        VERBATIM)
      string(APPEND lines "    <file>${png}</file>\n")
    endforeach()
  endforeach()
  # Written only when it changes, so that a new configure does not compile the resources again.
  file(WRITE ${out_dir}/${qrc_name}.new
       "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  ${head}\n${lines}  </qresource>\n</RCC>\n")
  configure_file(${out_dir}/${qrc_name}.new ${out_dir}/${qrc_name} COPYONLY)
  set_source_files_properties(${out_dir}/${qrc_name} PROPERTIES SKIP_AUTORCC ON)
  qt6_add_resources(compiled ${out_dir}/${qrc_name})
  target_sources(${target} PRIVATE ${compiled})
endfunction()
