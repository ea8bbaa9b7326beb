# The default data folder, laid out beside the program in the build folder:
# generated aircraft and airfoils, and the text sources of data/.
set(ORVELL_DATA_DIR ${CMAKE_BINARY_DIR})
set(ORVELL_DATA_STAMPS)

macro(orvell_generator name)
  if(EXISTS ${CMAKE_SOURCE_DIR}/tools/${name}.cpp)
    add_executable(${name} ${CMAKE_SOURCE_DIR}/tools/${name}.cpp)
    target_link_libraries(${name} PRIVATE orvell_core)
  endif()
endmacro()

orvell_generator(gen_default_airfoils)
orvell_generator(gen_default_aircraft)
orvell_generator(gen_big_apt)

if(TARGET gen_default_airfoils)
  file(GLOB afl_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/airfoils/*)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/stamps/airfoils
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVELL_DATA_DIR}/Airfoils ${CMAKE_BINARY_DIR}/stamps
    COMMAND gen_default_airfoils ${CMAKE_SOURCE_DIR}/data/airfoils ${ORVELL_DATA_DIR}/
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/stamps/airfoils
    DEPENDS gen_default_airfoils ${afl_sources}
    COMMENT "Generating the default airfoils")
  list(APPEND ORVELL_DATA_STAMPS ${CMAKE_BINARY_DIR}/stamps/airfoils)
endif()

if(TARGET gen_default_aircraft)
  file(GLOB acf_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/aircraft/*)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/stamps/aircraft
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVELL_DATA_DIR}/Aircraft ${CMAKE_BINARY_DIR}/stamps
    COMMAND gen_default_aircraft ${CMAKE_SOURCE_DIR}/data/aircraft/trainer.txt ${ORVELL_DATA_DIR}/
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/stamps/aircraft
    DEPENDS gen_default_aircraft ${acf_sources} ${CMAKE_BINARY_DIR}/stamps/airfoils
    COMMENT "Generating the default aircraft")
  list(APPEND ORVELL_DATA_STAMPS ${CMAKE_BINARY_DIR}/stamps/aircraft)
endif()

# Text sources copied as they stand: data/<source> becomes <program folder>/<destination>.
macro(orvell_copy_data source destination)
  if(EXISTS ${CMAKE_SOURCE_DIR}/data/${source})
    string(MAKE_C_IDENTIFIER "${source}" stamp_name)
    file(GLOB_RECURSE copy_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/${source}/*)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/stamps/copy_${stamp_name}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVELL_DATA_DIR}/${destination} ${CMAKE_BINARY_DIR}/stamps
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data/${source} ${ORVELL_DATA_DIR}/${destination}
      COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/stamps/copy_${stamp_name}
      DEPENDS ${copy_sources}
      COMMENT "Laying out data/${source}")
    list(APPEND ORVELL_DATA_STAMPS ${CMAKE_BINARY_DIR}/stamps/copy_${stamp_name})
  endif()
endmacro()

orvell_copy_data(nav Resources)
orvell_copy_data(keys Resources/keys)
orvell_copy_data(text Resources/text)
orvell_copy_data(menus Resources/menus)
orvell_copy_data(bitmaps Resources/bitmaps)

# The world images drawn by code: the sea frames, the land textures of the
# land-use table with their border masks, and the sky colour table.
orvell_generator(gen_world_bitmaps)
if(TARGET gen_world_bitmaps)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/stamps/world_bitmaps
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/stamps
    COMMAND gen_world_bitmaps ${CMAKE_SOURCE_DIR}/data/bitmaps/terrain/LAND_USE.TXT ${ORVELL_DATA_DIR}/
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/stamps/world_bitmaps
    DEPENDS gen_world_bitmaps ${CMAKE_SOURCE_DIR}/data/bitmaps/terrain/LAND_USE.TXT
    COMMENT "Drawing the sea, terrain and sky images")
  list(APPEND ORVELL_DATA_STAMPS ${CMAKE_BINARY_DIR}/stamps/world_bitmaps)
endif()

# The folders the program writes into: preferences and its output files.
foreach(folder Resources/preferences Output/situations Output/movies Output/logbooks "Output/FMS plans")
  file(MAKE_DIRECTORY "${ORVELL_DATA_DIR}/${folder}")
endforeach()

# The display-resolution preferences of a first start: a 1024 x 768 window in English.
orvell_generator(gen_default_prefs)
if(TARGET gen_default_prefs)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/stamps/default_prefs
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVELL_DATA_DIR}/Resources/preferences ${CMAKE_BINARY_DIR}/stamps
    COMMAND gen_default_prefs ${ORVELL_DATA_DIR}/
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/stamps/default_prefs
    DEPENDS gen_default_prefs
    COMMENT "Writing the first-start display preferences")
  list(APPEND ORVELL_DATA_STAMPS ${CMAKE_BINARY_DIR}/stamps/default_prefs)
endif()

# The radio-chatter recordings, spoken by the speech synthesiser when its
# library is installed (otherwise the tool writes squelch and a murmur).
orvell_generator(gen_radio_chatter)
if(TARGET gen_radio_chatter)
  find_library(ORVELL_ESPEAK_LIBRARY espeak-ng)
  find_path(ORVELL_ESPEAK_INCLUDE espeak-ng/speak_lib.h)
  if(ORVELL_ESPEAK_LIBRARY AND ORVELL_ESPEAK_INCLUDE)
    target_compile_definitions(gen_radio_chatter PRIVATE ORVELL_HAVE_ESPEAK)
    target_include_directories(gen_radio_chatter PRIVATE ${ORVELL_ESPEAK_INCLUDE})
    target_link_libraries(gen_radio_chatter PRIVATE ${ORVELL_ESPEAK_LIBRARY})
  endif()
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/stamps/radio_chatter
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/stamps
    COMMAND gen_radio_chatter ${ORVELL_DATA_DIR}/
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/stamps/radio_chatter
    DEPENDS gen_radio_chatter
    COMMENT "Recording the radio chatter")
  list(APPEND ORVELL_DATA_STAMPS ${CMAKE_BINARY_DIR}/stamps/radio_chatter)
endif()

# The interface bitmap and the light sprites.
orvell_generator(gen_interface_png)
if(TARGET gen_interface_png)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/stamps/interface_png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVELL_DATA_DIR}/Resources/bitmaps ${CMAKE_BINARY_DIR}/stamps
    COMMAND gen_interface_png ${ORVELL_DATA_DIR}/Resources/bitmaps/INTERFACE.PNG
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/stamps/interface_png
    DEPENDS gen_interface_png
    COMMENT "Drawing the interface bitmap")
  list(APPEND ORVELL_DATA_STAMPS ${CMAKE_BINARY_DIR}/stamps/interface_png)
endif()
orvell_generator(gen_light_sprites)
if(TARGET gen_light_sprites)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/stamps/light_sprites
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVELL_DATA_DIR}/Resources/bitmaps/WORLD/OVERLAYS ${CMAKE_BINARY_DIR}/stamps
    COMMAND gen_light_sprites ${ORVELL_DATA_DIR}/Resources/bitmaps/WORLD/OVERLAYS/LIGHTS.BMP
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/stamps/light_sprites
    DEPENDS gen_light_sprites
    COMMENT "Drawing the light sprites")
  list(APPEND ORVELL_DATA_STAMPS ${CMAKE_BINARY_DIR}/stamps/light_sprites)
endif()

add_custom_target(orvell_data ALL DEPENDS ${ORVELL_DATA_STAMPS})
