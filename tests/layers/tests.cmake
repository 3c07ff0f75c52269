# The arrows between the plug-in's layers hold: for every layer, a source compiled with that
# layer's include path fails on an include of each layer it must not see (above or beside),
# because the header cannot be found there. Each probe is a target outside the normal build.
set(_order support host webview2 browser publishing actions editor plugin)
# What each layer may see besides itself (as its target_link_libraries state).
set(_sees_support "")
set(_sees_host support)
set(_sees_webview2 support)
set(_sees_browser webview2 host support)
set(_sees_publishing host support)
set(_sees_actions browser webview2 publishing host support)
set(_sees_editor actions browser webview2 publishing host support)
set(_sees_plugin editor actions browser webview2 publishing host support)

set(_probe_dir ${CMAKE_CURRENT_BINARY_DIR}/layer_probes)
set(_probes)
foreach(_layer ${_order})
  foreach(_other ${_order})
    if(_other STREQUAL _layer OR _other IN_LIST _sees_${_layer})
      continue()
    endif()
    file(GLOB _headers RELATIVE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/src/${_other}/*.h)
    list(SORT _headers)
    list(GET _headers 0 _header)
    set(_name layer_probe_${_layer}_sees_${_other})
    file(CONFIGURE OUTPUT ${_probe_dir}/${_name}.cpp CONTENT "#include \"${_header}\"\n")
    add_library(${_name} OBJECT EXCLUDE_FROM_ALL ${_probe_dir}/${_name}.cpp)
    target_link_libraries(${_name} PRIVATE tamrel_${_layer})
    list(APPEND _probes "${_name}=${_header}")
  endforeach()
endforeach()

add_test(NAME layer_arrows
         COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} "-DPROBES=${_probes}"
                 -P ${CMAKE_CURRENT_LIST_DIR}/check_layer_probes.cmake)
set_tests_properties(layer_arrows PROPERTIES TIMEOUT 600)
