# Pictures and fonts compiled into the user interface. The PNGs are kept in the tree; the artwork
# tool that draws them is built only on request (target zarnel_artwork, see tools/artgen).
file(GLOB ZARNEL_PICTURE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/images/*.png)
set(ZARNEL_FONT_FILES
    ${PROJECT_SOURCE_DIR}/resources/fonts/LiberationSans-Regular.ttf
    ${PROJECT_SOURCE_DIR}/resources/fonts/LiberationSans-Bold.ttf)

juce_add_binary_data(zarnel_ui_resources
    HEADER_NAME ZarnelBinaryData.h
    NAMESPACE ZarnelBinaryData
    SOURCES ${ZARNEL_PICTURE_FILES} ${ZARNEL_FONT_FILES})
set_target_properties(zarnel_ui_resources PROPERTIES POSITION_INDEPENDENT_CODE ON)
# JUCE regenerates the data only when the list of files changes; a redrawn picture must count too.
add_custom_command(
    OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/juce_binarydata_zarnel_ui_resources/JuceLibraryCode/BinaryData1.cpp
    APPEND DEPENDS ${ZARNEL_PICTURE_FILES} ${ZARNEL_FONT_FILES})

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
