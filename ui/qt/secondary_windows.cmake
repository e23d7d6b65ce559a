# The splash, About and program-information windows with their artwork, and the tool that
# writes the sample picture set.
add_subdirectory(${PROJECT_SOURCE_DIR}/tools/sample_pictures ${PROJECT_BINARY_DIR}/tools/sample_pictures)
