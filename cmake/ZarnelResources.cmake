# Pictures and fonts compiled into the user interface. The PNGs are kept in the tree; the artwork
# tool that draws them is built only on request (target zarnel_artwork, see tools/artgen).
file(GLOB ZARNEL_PICTURE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/images/*.png)
set(ZARNEL_FONT_FILES
    ${PROJECT_SOURCE_DIR}/resources/fonts/LiberationSans-Regular.ttf
    ${PROJECT_SOURCE_DIR}/resources/fonts/LiberationSans-Bold.ttf)

# The same rule as juce_add_binary_data, except that the list of inputs is written only when it
# changes: JUCE's version rewrites it at every configure, which regenerates the data and rebuilds
# and relinks everything that uses it.
set(ZARNEL_RESOURCE_FILES ${ZARNEL_PICTURE_FILES} ${ZARNEL_FONT_FILES})
set(ZARNEL_RESOURCE_FOLDER ${CMAKE_CURRENT_BINARY_DIR}/zarnel_binarydata)
string(JOIN "\n" ZARNEL_RESOURCE_LIST ${ZARNEL_RESOURCE_FILES})
file(CONFIGURE OUTPUT ${ZARNEL_RESOURCE_FOLDER}/input_file_list CONTENT "${ZARNEL_RESOURCE_LIST}\n")
list(LENGTH ZARNEL_RESOURCE_FILES ZARNEL_RESOURCE_COUNT)
set(ZARNEL_RESOURCE_OUTPUTS ${ZARNEL_RESOURCE_FOLDER}/ZarnelBinaryData.h)
foreach(index RANGE 1 ${ZARNEL_RESOURCE_COUNT})
    list(APPEND ZARNEL_RESOURCE_OUTPUTS ${ZARNEL_RESOURCE_FOLDER}/BinaryData${index}.cpp)
endforeach()
add_custom_command(
    OUTPUT ${ZARNEL_RESOURCE_OUTPUTS}
    COMMAND juce::juceaide binarydata ZarnelBinaryData ZarnelBinaryData.h ${ZARNEL_RESOURCE_FOLDER}
            ${ZARNEL_RESOURCE_FOLDER}/input_file_list
    DEPENDS ${ZARNEL_RESOURCE_FOLDER}/input_file_list ${ZARNEL_RESOURCE_FILES}
    COMMENT "Compiling the pictures and fonts in"
    VERBATIM)
add_library(zarnel_ui_resources STATIC ${ZARNEL_RESOURCE_OUTPUTS})
target_include_directories(zarnel_ui_resources INTERFACE ${ZARNEL_RESOURCE_FOLDER})
set_target_properties(zarnel_ui_resources PROPERTIES POSITION_INDEPENDENT_CODE ON)

add_executable(zarnel_artgen EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/tools/artgen/ArtGen.cpp)
target_link_libraries(zarnel_artgen PRIVATE zarnel_juce zarnel_warnings)
add_custom_target(zarnel_artwork
    COMMAND zarnel_artgen ${PROJECT_SOURCE_DIR}/resources/images ${PROJECT_SOURCE_DIR}/resources/fonts
    DEPENDS zarnel_artgen
    COMMENT "Drawing the pictures into resources/images"
    VERBATIM)

# Every widget rendered into PNGs, for looking at them without a host (not part of the build).
add_executable(zarnel_ui_gallery EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/tools/artgen/Gallery.cpp)
target_link_libraries(zarnel_ui_gallery PRIVATE zarnel_ui zarnel_juce zarnel_warnings)
