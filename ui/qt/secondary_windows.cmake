# The splash, About and program-information windows with their artwork, and the tools that draw
# the artwork and write the sample picture set.
add_subdirectory(${PROJECT_SOURCE_DIR}/tools/sample_pictures ${PROJECT_BINARY_DIR}/tools/sample_pictures)
add_subdirectory(${PROJECT_SOURCE_DIR}/tools/artwork ${PROJECT_BINARY_DIR}/tools/artwork)

if(TARGET brzdomat_qt)
    target_sources(brzdomat_qt PRIVATE ${CMAKE_CURRENT_LIST_DIR}/secondary_windows.cpp)
    qt_add_resources(brzdomat_qt brzdomat_artwork_pictures
        PREFIX /artwork
        BASE ${CMAKE_CURRENT_LIST_DIR}/artwork
        FILES
            ${CMAKE_CURRENT_LIST_DIR}/artwork/splash.jpg
            ${CMAKE_CURRENT_LIST_DIR}/artwork/about_icon.png
    )
endif()
