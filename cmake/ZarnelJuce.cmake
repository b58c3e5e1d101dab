# JUCE configuration shared by every target that sees JUCE headers. The plug-in and the
# libraries must agree on these, or the same class would differ between translation units.
set(ZARNEL_JUCE_DEFINITIONS
    JUCE_WEB_BROWSER=0
    JUCE_USE_CURL=0
    JUCE_VST3_CAN_REPLACE_VST2=0
    JUCE_USE_FLAC=0
    JUCE_USE_OGGVORBIS=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_MODAL_LOOPS_PERMITTED=0
    JUCE_STRICT_REFCOUNTEDPOINTER=1)

set(ZARNEL_JUCE_MODULES
    juce::juce_core
    juce::juce_events
    juce::juce_data_structures
    juce::juce_audio_basics
    juce::juce_audio_devices
    juce::juce_graphics
    juce::juce_gui_basics
    juce::juce_gui_extra
    juce::juce_audio_processors
    juce::juce_audio_utils)

# JUCE compiled once, for the plug-in, the tests and the tools alike.
add_library(zarnel_juce STATIC)
target_link_libraries(zarnel_juce
    PRIVATE ${ZARNEL_JUCE_MODULES}
    PUBLIC juce::juce_recommended_config_flags)
target_compile_definitions(zarnel_juce PUBLIC ${ZARNEL_JUCE_DEFINITIONS})
# Debian's JUCE decodes images with the system's libpng and libjpeg; juce_add_plugin links them for
# the plug-in, we do it for everything else.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    target_link_libraries(zarnel_juce PUBLIC juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
elseif(CMAKE_SYSTEM_NAME STREQUAL "Windows")
    # MinGW has no libpng or libjpeg packages: scripts/build-windows.sh builds them statically into
    # this folder, with a jpeglib.h shim in shim/ that must come first.
    set(ZARNEL_WINDOWS_DEPS "" CACHE PATH "Static libpng and libjpeg for Windows (include/, lib/, shim/)")
    add_library(zarnel_windows_image_libs INTERFACE)
    target_include_directories(zarnel_windows_image_libs SYSTEM INTERFACE
        ${ZARNEL_WINDOWS_DEPS}/shim ${ZARNEL_WINDOWS_DEPS}/prefix/include)
    target_link_libraries(zarnel_windows_image_libs INTERFACE
        ${ZARNEL_WINDOWS_DEPS}/prefix/lib/libpng16.a ${ZARNEL_WINDOWS_DEPS}/prefix/lib/libjpeg.a z)
    target_link_libraries(zarnel_juce PUBLIC zarnel_windows_image_libs)
endif()
# Re-export the module include paths and JUCE_MODULE_AVAILABLE_* definitions.
target_include_directories(zarnel_juce SYSTEM INTERFACE $<TARGET_PROPERTY:zarnel_juce,INCLUDE_DIRECTORIES>)
target_compile_definitions(zarnel_juce INTERFACE $<TARGET_PROPERTY:zarnel_juce,COMPILE_DEFINITIONS>)
