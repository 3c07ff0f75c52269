# The page scripts live once, as plain .js files under src/browser/scripts; the plug-in
# embeds their exact text and the browser tests read the very same files.
set(_scripts_dir ${CMAKE_SOURCE_DIR}/src/browser/scripts)
set(_out ${CMAKE_BINARY_DIR}/generated/page_scripts.inc)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_scripts_dir}/bridge.js ${_scripts_dir}/console_capture.js)
file(READ ${_scripts_dir}/bridge.js TAMREL_BRIDGE_JS)
file(READ ${_scripts_dir}/console_capture.js TAMREL_CONSOLE_JS)
foreach(_s TAMREL_BRIDGE_JS TAMREL_CONSOLE_JS)
  if(${_s} MATCHES "[\r\n]" OR ${_s} MATCHES "\\)tamrel\"")
    message(FATAL_ERROR "${_s}: a page script must be one line and must not contain )tamrel\"")
  endif()
endforeach()
file(CONFIGURE OUTPUT ${_out} CONTENT
"// Generated from src/browser/scripts at configure time.
static const wchar_t kBridgeScript[] = LR\"tamrel(\${TAMREL_BRIDGE_JS})tamrel\";
static const wchar_t kConsoleCaptureScript[] = LR\"tamrel(\${TAMREL_CONSOLE_JS})tamrel\";
")
target_include_directories(tamrel_browser PRIVATE ${CMAKE_BINARY_DIR}/generated)
