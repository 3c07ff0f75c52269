# The picture tool behind scripts/editor-pictures.sh: not a test, needs a real display.
add_executable(editor_pictures ${CMAKE_SOURCE_DIR}/testing/editor/editor_pictures.cpp)
target_link_libraries(editor_pictures PRIVATE testhost gdi32)
target_link_options(editor_pictures PRIVATE -municode)
add_dependencies(editor_pictures zkTamrelDesk)
