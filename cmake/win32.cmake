# The Windows product and the tests that need Windows (run under Wine).
enable_language(RC)

# Function-local statics need no locks (2 KB less): the few left are constants, made before the
# program runs, and what is looked up at run time lives in one table (SystemFunctions.h) that only
# the first thread writes. The strings' members are instantiated in our own code, only those we
# use (25 KB less).
set(size_flags -Os -ffunction-sections -fdata-sections -fno-threadsafe-statics
    -include ${PROJECT_SOURCE_DIR}/app/toolchain/OwnStringInstantiations.h)
# The shipped exe also goes without type information, which nothing of it asks for (1 KB), and
# keeps its stack aligned to the 4 bytes Windows guarantees rather than GCC's 16 (1 KB). The test
# builds keep both: GoogleTest and the tests look at types.
if(MINGW_THREAD_MODEL STREQUAL "win32")
    list(APPEND size_flags -fno-rtti)
    if(MINGW_ARCH STREQUAL "i686")
        list(APPEND size_flags -mpreferred-stack-boundary=2)
    endif()
endif()
# The few parts written for one architecture (the foreign call, the exception guard) live in a
# folder named after it.
# The manifest names the same architecture, or Windows binds no common controls of version 6.
if(MINGW_ARCH STREQUAL "x86_64")
    set(INSTALATOR_ARCH x86_64)
    set(MANIFEST_ARCH amd64)
else()
    set(INSTALATOR_ARCH i386)
    set(MANIFEST_ARCH x86)
endif()
set(product_link_flags
    -static -static-libgcc -static-libstdc++ -s
    -Wl,--gc-sections -Wl,--no-insert-timestamp -Wl,--nxcompat -Wl,--dynamicbase -Wl,--tsaware)

# System services (registry, libraries, folder chooser, resources, files) and the window, kept
# apart so that each can be built and tested on its own.
include(${PROJECT_SOURCE_DIR}/platform/win32/services.cmake)
include(${PROJECT_SOURCE_DIR}/window/win32/window.cmake)
target_compile_options(wizard_logic PRIVATE ${size_flags})
target_compile_options(platform_interfaces PRIVATE ${size_flags})
target_compile_options(window_model PRIVATE ${size_flags})

# The version lives once, in project(); the version info and the manifest are made from it.
# The manifest goes into the exe without its comments and indentation, which Windows never reads.
file(READ ${PROJECT_SOURCE_DIR}/app/Instalator.manifest.in manifest)
string(REGEX REPLACE "<!--[^>]*-->" "" manifest "${manifest}")
string(REGEX REPLACE ">[ \t\r\n]+" ">" manifest "${manifest}")
string(REGEX REPLACE "[ \t\r\n]+" " " manifest "${manifest}")
string(CONFIGURE "${manifest}" manifest @ONLY)
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/Instalator.manifest CONTENT "${manifest}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/app/Instalator.manifest.in)
configure_file(${PROJECT_SOURCE_DIR}/app/Instalator.rc.in ${PROJECT_BINARY_DIR}/Instalator.rc @ONLY)
# windres reports no dependencies: the files the .rc takes in are named here.
file(GLOB resource_files ${PROJECT_SOURCE_DIR}/app/res/*.bmp ${PROJECT_SOURCE_DIR}/app/res/*.ico
     ${PROJECT_SOURCE_DIR}/install/payloads/*.rtf)
set_source_files_properties(${PROJECT_BINARY_DIR}/Instalator.rc PROPERTIES
    OBJECT_DEPENDS "${resource_files};${PROJECT_BINARY_DIR}/Instalator.manifest")
include(${PROJECT_SOURCE_DIR}/app/toolchain/toolchain.cmake)
if(MINGW_THREAD_MODEL STREQUAL "win32")
    add_executable(Instalator WIN32 app/Main.cpp ${PROJECT_BINARY_DIR}/Instalator.rc)
    target_compile_options(Instalator PRIVATE ${size_flags})
    target_link_libraries(Instalator PRIVATE toolchain_workarounds wizard_logic win32_ui
                                             win32_services)
    target_link_options(Instalator PRIVATE ${product_link_flags} -municode -mwindows)
    target_include_directories(Instalator PRIVATE ${PROJECT_SOURCE_DIR}/app)
    set_target_properties(Instalator PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
    set(INSTALATOR_EXE ${PROJECT_BINARY_DIR}/Instalator.exe)
else()
    # The shipped exe is built only by the compiler it ships from, in its own build tree (the
    # preset's, configured the first time); here the target Instalator brings that build up to
    # date, and the tests use its exe.
    if(INSTALATOR_ARCH STREQUAL "x86_64")
        set(INSTALATOR_EXE_PRESET win64-exe CACHE STRING "The preset that builds Instalator.exe")
    else()
        set(INSTALATOR_EXE_PRESET win32-exe CACHE STRING "The preset that builds Instalator.exe")
    endif()
    set(exe_build ${PROJECT_SOURCE_DIR}/build/${INSTALATOR_EXE_PRESET})
    set(INSTALATOR_EXE ${exe_build}/Instalator.exe)
    add_custom_target(Instalator
        COMMAND ${CMAKE_COMMAND} -DPRESET=${INSTALATOR_EXE_PRESET} -DBINARY_DIR=${exe_build}
                -P ${PROJECT_SOURCE_DIR}/cmake/build-preset.cmake
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        BYPRODUCTS ${INSTALATOR_EXE}
        USES_TERMINAL VERBATIM)
endif()
# The shipped 32-bit exe, whose header is checked by every Windows test tree; a tree of another
# architecture builds it through its preset as above.
if(INSTALATOR_ARCH STREQUAL "i386")
    set(SHIPPED_EXE ${INSTALATOR_EXE})
    set(shipped_target Instalator)
else()
    set(SHIPPED_EXE ${PROJECT_SOURCE_DIR}/build/win32-exe/Instalator.exe)
    set(shipped_target ShippedInstalator)
    add_custom_target(ShippedInstalator
        COMMAND ${CMAKE_COMMAND} -DPRESET=win32-exe -DBINARY_DIR=${PROJECT_SOURCE_DIR}/build/win32-exe
                -P ${PROJECT_SOURCE_DIR}/cmake/build-preset.cmake
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        BYPRODUCTS ${SHIPPED_EXE}
        USES_TERMINAL VERBATIM)
endif()

# A private Wine prefix for every Wine test, made once per build tree.
set(WINE_TEST_PREFIX ${PROJECT_BINARY_DIR}/wineprefix)
add_test(NAME wineprefix_setup
         COMMAND ${CMAKE_COMMAND} -E env WINEARCH=${WINE_ARCH} WINE=${WINE_EXECUTABLE}
                 ${PROJECT_SOURCE_DIR}/scripts/make-wineprefix.sh ${WINE_TEST_PREFIX})
set_tests_properties(wineprefix_setup PROPERTIES FIXTURES_SETUP wineprefix)

# Marks tests as Wine tests: they share the prefix made above.
function(wine_test name)
    set_tests_properties(${name} PROPERTIES
        FIXTURES_REQUIRED wineprefix
        ENVIRONMENT "WINEPREFIX=${WINE_TEST_PREFIX};WINEDEBUG=-all;WINE=${WINE_EXECUTABLE}")
endfunction()

# The benchmarks and the demo's step driver, from their own folders.
add_subdirectory(bench)
add_subdirectory(tools)
