# The plug-in's layers: every folder of src/ is one static library, and its
# target_link_libraries are its arrows. A layer's headers are reached as "folder/file.h"
# through an include root of its own that holds nothing but a link to that folder, so each
# library sees itself and the layers it links to; an include of a layer above is a build error.
set(TAMREL_LAYER_ROOTS ${CMAKE_BINARY_DIR}/layers)
# The plug-in's code is optimised for size, each function and datum in its own section so that
# the link can drop what the plug-in does not use.
set(TAMREL_SIZE_OPTIONS -Os -ffunction-sections -fdata-sections)

function(tamrel_layer name)
  cmake_parse_arguments(_layer "" "" "LAYERS;SYSTEM;EXCLUDE" ${ARGN})
  set(_root ${TAMREL_LAYER_ROOTS}/${name})
  file(MAKE_DIRECTORY ${_root})
  if(NOT EXISTS ${_root}/${name})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${name} ${_root}/${name} SYMBOLIC)
  endif()
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp)
  foreach(_file ${_layer_EXCLUDE})
    list(REMOVE_ITEM _sources ${CMAKE_SOURCE_DIR}/src/${name}/${_file})
  endforeach()
  add_library(tamrel_${name} STATIC ${_sources})
  target_compile_options(tamrel_${name} PRIVATE ${TAMREL_SIZE_OPTIONS})
  target_include_directories(tamrel_${name} PUBLIC ${_root})
  set(_links)
  foreach(_below ${_layer_LAYERS})
    list(APPEND _links tamrel_${_below})
  endforeach()
  target_link_libraries(tamrel_${name} PUBLIC ${_links} ${_layer_SYSTEM})
  set_property(GLOBAL APPEND PROPERTY TAMREL_LAYERS ${name})
endfunction()

tamrel_layer(support SYSTEM ole32)
tamrel_layer(host LAYERS support)
tamrel_layer(webview2 LAYERS support SYSTEM ole32 user32)
tamrel_layer(browser LAYERS webview2 host support SYSTEM user32)
tamrel_layer(publishing LAYERS host support)
tamrel_layer(actions LAYERS browser publishing host support)
tamrel_layer(editor LAYERS actions publishing host support SYSTEM user32 gdi32 comctl32)
# The exports and DllMain belong to the DLL alone (below); the rest of the top is a library
# so that test programs can call the dispatcher in their own process.
tamrel_layer(plugin LAYERS editor actions publishing browser host support EXCLUDE exports.cpp runtime_tls.cpp runtime_terminate.cpp
            runtime_exceptions.cpp)

# Test programs that reach across layers link everything.
add_library(tamrel_core INTERFACE)
target_link_libraries(tamrel_core INTERFACE tamrel_plugin)
