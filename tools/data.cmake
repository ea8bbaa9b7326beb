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

add_custom_target(orvell_data ALL DEPENDS ${ORVELL_DATA_STAMPS})
