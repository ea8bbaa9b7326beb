# The default data folder, laid out beside the program in the build folder:
# the output of the generators in tools/ and the text sources of data/.
set(ORVELL_DATA_DIR ${CMAKE_BINARY_DIR})
set(ORVELL_DATA_STAMPS)

macro(orvell_generator name)
  if(EXISTS ${CMAKE_SOURCE_DIR}/tools/${name}.cpp)
    add_executable(${name} ${CMAKE_SOURCE_DIR}/tools/${name}.cpp)
    target_link_libraries(${name} PRIVATE orvell_libs)
    # Run in every build: at -O1 under the sanitizers, like the subsystems.
    if(ORVELL_SANITIZE)
      target_compile_options(${name} PRIVATE -O1)
    endif()
  endif()
endmacro()

# Runs generator `name` with ARGS whenever it or its DEPENDS change, after
# making the folders DIRS; a stamp file stands for its output.
function(orvell_generate name comment)
  cmake_parse_arguments(G "" "" "ARGS;DEPENDS;DIRS" ${ARGN})
  if(NOT TARGET ${name})
    return()
  endif()
  set(stamp ${CMAKE_BINARY_DIR}/stamps/${name})
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/stamps ${G_DIRS}
    COMMAND ${name} ${G_ARGS}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${name} ${G_DEPENDS}
    COMMENT "${comment}")
  set(ORVELL_DATA_STAMPS ${ORVELL_DATA_STAMPS} ${stamp} PARENT_SCOPE)
endfunction()

# The ENV tile writer and the project's procedural world, for the tile
# generators, the tests and the benchmarks. Optimised in every build so the
# tiles are made in seconds.
file(GLOB env_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/env/*.cpp)
add_library(orvell_env STATIC ${env_sources})
target_include_directories(orvell_env PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(orvell_env PRIVATE -O2)
foreach(tool gen_world_tiles env_write)
  add_executable(${tool} ${CMAKE_SOURCE_DIR}/tools/${tool}.cpp)
  target_link_libraries(${tool} PRIVATE orvell_env)
  if(ORVELL_SANITIZE)
    target_compile_options(${tool} PRIVATE -O1)
  endif()
endforeach()

# The magnetic-variation table is a source of the flight model, kept in the
# tree; the tool that writes it is built so it can be run again by hand:
#   gen_magvar flightmodel/systems/magvar_table.cpp
add_executable(gen_magvar ${CMAKE_SOURCE_DIR}/tools/gen_magvar.cpp)
target_include_directories(gen_magvar PRIVATE ${CMAKE_SOURCE_DIR})

foreach(gen gen_default_airfoils gen_default_aircraft gen_weapons gen_big_apt gen_world_bitmaps gen_default_prefs
            gen_radio_chatter gen_interface_png gen_light_sprites gen_panel_bitmaps gen_aircraft_sounds
            gen_aircraft_paint gen_object_bitmaps gen_scene_bitmaps gen_sea_bitmaps gen_cloud_bitmaps
            gen_ground_bitmaps gen_autogen gen_runway_bitmaps gen_effect_bitmaps gen_planet_bitmaps)
  orvell_generator(${gen})
endforeach()
# The interface bitmap and the panel sheets are written as PNG files.
foreach(gen gen_interface_png gen_panel_bitmaps)
  if(TARGET ${gen})
    target_link_libraries(${gen} PRIVATE PNG::PNG)
  endif()
endforeach()

# The aircraft paint painter is also a library: the tests use its template mode.
add_library(aircraft_paint STATIC ${CMAKE_SOURCE_DIR}/tools/aircraft_paint.cpp)
target_link_libraries(aircraft_paint PUBLIC orvell_libs)
if(TARGET gen_aircraft_paint)
  target_link_libraries(gen_aircraft_paint PRIVATE aircraft_paint)
endif()

# The radio chatter and the spoken warnings and callouts come from the speech
# synthesiser when its library is installed (otherwise the tools write a
# murmur or a tone in the rhythm of the words).
find_library(ORVELL_ESPEAK_LIBRARY espeak-ng)
find_path(ORVELL_ESPEAK_INCLUDE espeak-ng/speak_lib.h)
foreach(gen gen_radio_chatter gen_aircraft_sounds)
  if(TARGET ${gen} AND ORVELL_ESPEAK_LIBRARY AND ORVELL_ESPEAK_INCLUDE)
    target_compile_definitions(${gen} PRIVATE ORVELL_HAVE_ESPEAK)
    target_include_directories(${gen} PRIVATE ${ORVELL_ESPEAK_INCLUDE})
    target_link_libraries(${gen} PRIVATE ${ORVELL_ESPEAK_LIBRARY})
  endif()
endforeach()

file(GLOB afl_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/airfoils/*)
file(GLOB acf_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/aircraft/*.txt)
set(land_use ${CMAKE_SOURCE_DIR}/data/bitmaps/terrain/LAND_USE.TXT)

orvell_generate(gen_default_airfoils "Generating the default airfoils"
  ARGS ${CMAKE_SOURCE_DIR}/data/airfoils ${ORVELL_DATA_DIR}/
  DEPENDS ${afl_sources} DIRS ${ORVELL_DATA_DIR}/Airfoils)
orvell_generate(gen_default_aircraft "Generating the default aircraft"
  ARGS ${ORVELL_DATA_DIR}/ ${acf_sources}
  DEPENDS ${acf_sources} ${CMAKE_BINARY_DIR}/stamps/gen_default_airfoils DIRS ${ORVELL_DATA_DIR}/Aircraft)
# The weapons the fleet's armed aircraft carries.
file(GLOB wpn_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/weapons/*)
orvell_generate(gen_weapons "Generating the weapons"
  ARGS ${CMAKE_SOURCE_DIR}/data/weapons ${ORVELL_DATA_DIR}/
  DEPENDS ${wpn_sources} DIRS ${ORVELL_DATA_DIR}/Weapons)
# The sea frames, the land textures of the land-use table with their border
# masks, and the sky colour table.
orvell_generate(gen_world_bitmaps "Drawing the sea, terrain and sky images"
  ARGS ${land_use} ${ORVELL_DATA_DIR}/ DEPENDS ${land_use})
# The two halves of each planet's picture, the Earth's from its coast outlines.
set(earth_coasts ${CMAKE_SOURCE_DIR}/data/planets/EARTH_COASTS.TXT)
orvell_generate(gen_planet_bitmaps "Drawing the planets"
  ARGS ${earth_coasts} ${ORVELL_DATA_DIR}/ DEPENDS ${earth_coasts} DIRS ${ORVELL_DATA_DIR}/Resources/bitmaps)
# The scenery tiles of the default airports' areas and of the Mars base's area.
set(earth_apt "${CMAKE_SOURCE_DIR}/data/nav/Earth nav data/apt.dat")
set(mars_apt "${CMAKE_SOURCE_DIR}/data/nav/Mars nav data/apt.dat")
orvell_generate(gen_world_tiles "Generating the scenery tiles"
  ARGS ${earth_apt} ${mars_apt} ${ORVELL_DATA_DIR}/ DEPENDS ${earth_apt} ${mars_apt})
# The display-resolution preferences of a first start: a 1024 x 768 window in English.
orvell_generate(gen_default_prefs "Writing the first-start display preferences"
  ARGS ${ORVELL_DATA_DIR}/ DIRS ${ORVELL_DATA_DIR}/Resources/preferences)
orvell_generate(gen_radio_chatter "Recording the radio chatter" ARGS ${ORVELL_DATA_DIR}/)
# The aircraft sounds: engines, propellers, weather, warnings and callouts.
orvell_generate(gen_aircraft_sounds "Recording the aircraft sounds" ARGS ${ORVELL_DATA_DIR}/)
# The built-in panels, the instrument faces and the own panels of the airliner and the orbiter.
orvell_generate(gen_panel_bitmaps "Drawing the panels and instrument faces"
  ARGS ${ORVELL_DATA_DIR}/ "Aircraft/Heavy Metal/Orvell Airliner/Orvell Airliner_PANEL.bmp"
       ${CMAKE_SOURCE_DIR}/data/aircraft/airliner.txt
       "Aircraft/Space Ships/Orvell Orbiter/Orvell Orbiter_PANEL.bmp" ${CMAKE_SOURCE_DIR}/data/aircraft/orbiter.txt
  DEPENDS ${CMAKE_BINARY_DIR}/stamps/gen_default_aircraft ${CMAKE_SOURCE_DIR}/data/aircraft/airliner.txt
          ${CMAKE_SOURCE_DIR}/data/aircraft/orbiter.txt)
orvell_generate(gen_interface_png "Drawing the interface bitmap"
  ARGS ${ORVELL_DATA_DIR}/Resources/bitmaps/INTERFACE.PNG DIRS ${ORVELL_DATA_DIR}/Resources/bitmaps)
orvell_generate(gen_cloud_bitmaps "Drawing the clouds and the moon"
  ARGS ${ORVELL_DATA_DIR}/Resources/bitmaps DIRS ${ORVELL_DATA_DIR}/Resources/bitmaps)
orvell_generate(gen_light_sprites "Drawing the light sprites"
  ARGS ${ORVELL_DATA_DIR}/Resources/bitmaps/WORLD/OVERLAYS/LIGHTS.BMP
  DIRS ${ORVELL_DATA_DIR}/Resources/bitmaps/WORLD/OVERLAYS)
# The exhaust flames and the propeller disc the aircraft drawers bind.
orvell_generate(gen_scene_bitmaps "Drawing the flames and the propeller disc"
  ARGS ${ORVELL_DATA_DIR}/ DIRS ${ORVELL_DATA_DIR}/Resources/bitmaps/WORLD)
# The carrier's deck, the drag chute and the windshield overlays.
orvell_generate(gen_sea_bitmaps "Drawing the deck, the chute and the windshield overlays"
  ARGS ${ORVELL_DATA_DIR}/ DIRS ${ORVELL_DATA_DIR}/Resources/bitmaps/WORLD)

# The aircraft's paint and the weapons' bitmaps, once the aircraft files and
# the weapon files (any generator above whose name speaks of weapons) are in place.
set(paint_after ${CMAKE_BINARY_DIR}/stamps/gen_default_aircraft)
foreach(stamp ${ORVELL_DATA_STAMPS})
  get_filename_component(stamp_name ${stamp} NAME)
  if(stamp_name MATCHES "weapon")
    list(APPEND paint_after ${stamp})
  endif()
endforeach()
orvell_generate(gen_aircraft_paint "Painting the aircraft and weapons"
  ARGS ${ORVELL_DATA_DIR}/ ${acf_sources} DEPENDS ${acf_sources} ${paint_after})
# The pictures of the ground passes: roads, river banks, taxi lines, the
# landing light, scorch marks, the movie, trees, forest canopy and figures.
orvell_generate(gen_ground_bitmaps "Drawing the roads, trees and ground overlays" ARGS ${ORVELL_DATA_DIR}/)
# The objects the terrain textures' definitions grow, with their textures.
orvell_generate(gen_autogen "Building the autogen objects" ARGS ${ORVELL_DATA_DIR}/)
# The runway pictures: markings, letters, numbers, pavements, unpaved strips, helipads and skid marks.
orvell_generate(gen_runway_bitmaps "Drawing the runway pictures" ARGS ${ORVELL_DATA_DIR}/)
# The effects' and road vehicles' pictures: cars, fire, smoke, wakes, blowing snow and fences.
orvell_generate(gen_effect_bitmaps "Drawing the effect pictures" ARGS ${ORVELL_DATA_DIR}/)
# The scenery objects' textures: the procedural buildings' and the KSBD package's.
orvell_generate(gen_object_bitmaps "Drawing the object textures" ARGS ${ORVELL_DATA_DIR}/)
# The KSBD scenery package: its object files (data/custom_scenery) and its
# tile, the procedural world's tile with the package's objects placed on it.
set(ksbd_package "${ORVELL_DATA_DIR}/Custom Scenery/Orvell KSBD")
set(ksbd_objects "${CMAKE_SOURCE_DIR}/data/package_objects/Orvell KSBD.txt")
file(GLOB_RECURSE ksbd_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/custom_scenery/*)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/stamps/ksbd_package
  COMMAND ${CMAKE_COMMAND} -E make_directory "${ksbd_package}/Earth nav data/+30-120" ${CMAKE_BINARY_DIR}/stamps
  COMMAND ${CMAKE_COMMAND} -E copy_directory "${CMAKE_SOURCE_DIR}/data/custom_scenery" "${ORVELL_DATA_DIR}/Custom Scenery"
  COMMAND env_write "${earth_apt}" 0 34 -118 "${ksbd_package}/Earth nav data/+30-120/+34-118.env" --objects "${ksbd_objects}"
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/stamps/ksbd_package
  DEPENDS env_write ${ksbd_sources} "${ksbd_objects}" "${earth_apt}"
  COMMENT "Laying out the KSBD scenery package")
list(APPEND ORVELL_DATA_STAMPS ${CMAKE_BINARY_DIR}/stamps/ksbd_package)

# The folders the program writes into: preferences and its output files.
foreach(folder Resources/preferences Output/situations Output/movies Output/logbooks "Output/FMS plans")
  file(MAKE_DIRECTORY "${ORVELL_DATA_DIR}/${folder}")
endforeach()

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
# The interface texts have one source, the English file: every other language
# folder gets a copy of it.
set(ORVELL_TEXT_SOURCE ${CMAKE_SOURCE_DIR}/data/text/english/ORVELL.TXT)
foreach(language french german italian korean spanish portugese)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/stamps/text_${language}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVELL_DATA_DIR}/Resources/text/${language} ${CMAKE_BINARY_DIR}/stamps
    COMMAND ${CMAKE_COMMAND} -E copy ${ORVELL_TEXT_SOURCE} ${ORVELL_DATA_DIR}/Resources/text/${language}/ORVELL.TXT
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/stamps/text_${language}
    DEPENDS ${ORVELL_TEXT_SOURCE} ${CMAKE_BINARY_DIR}/stamps/copy_text
    COMMENT "Copying the interface texts to ${language}")
  list(APPEND ORVELL_DATA_STAMPS ${CMAKE_BINARY_DIR}/stamps/text_${language})
endforeach()
orvell_copy_data(menus Resources/menus)
orvell_copy_data(bitmaps Resources/bitmaps)

add_custom_target(orvell_data ALL DEPENDS ${ORVELL_DATA_STAMPS})

# The fleet's flight-test table: the flight tests' procedures flown for every
# row and printed beside the published figures of each aircraft's class.
add_executable(fleet_table ${CMAKE_SOURCE_DIR}/tools/fleet_table.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/fleet_flight_kit.cpp ${CMAKE_SOURCE_DIR}/tests/support/terrain_support.cpp)
target_link_libraries(fleet_table PRIVATE orvell_libs)
