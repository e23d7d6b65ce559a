# The picture checker on a whole set of 800 pictures.
if(TARGET brzdomat_bench AND TARGET brzdomat_picture_check)
    target_sources(brzdomat_bench PRIVATE check_pictures_bench.cpp)
    target_link_libraries(brzdomat_bench PRIVATE brzdomat_picture_check)
endif()
