# velq_embed_files(TARGET <lib> FUNCTION <name> FILES <file>...)
# Compiles the files into <lib> as byte arrays and defines
#   std::span<const uint8_t> velq::<name>(std::string_view file_name)
# which returns a file's bytes by its file name (without folders), empty when unknown.
# The caller's folder declares the function in a header of its own.
function(velq_embed_files)
  cmake_parse_arguments(ARG "" "TARGET;FUNCTION" "FILES" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${ARG_FUNCTION}_embedded.cpp)
  set(abs_files)
  foreach(f IN LISTS ARG_FILES)
    get_filename_component(abs ${f} ABSOLUTE)
    list(APPEND abs_files ${abs})
  endforeach()
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DFUNCTION=${ARG_FUNCTION} "-DFILES=${abs_files}"
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFilesScript.cmake
    DEPENDS ${abs_files} ${PROJECT_SOURCE_DIR}/cmake/EmbedFilesScript.cmake
    COMMENT "Embedding ${ARG_FUNCTION} resources"
    VERBATIM)
  target_sources(${ARG_TARGET} PRIVATE ${out})
endfunction()
