add_library(win32_services STATIC
    ${PROJECT_SOURCE_DIR}/platform/win32/Text.cpp
    ${PROJECT_SOURCE_DIR}/platform/win32/CommonControls.cpp
    ${PROJECT_SOURCE_DIR}/platform/win32/DllSearch.cpp
    ${PROJECT_SOURCE_DIR}/platform/win32/SystemFunctions.cpp
    ${PROJECT_SOURCE_DIR}/platform/win32/${INSTALATOR_ARCH}/SehGuard.cpp
    ${PROJECT_SOURCE_DIR}/platform/win32/${INSTALATOR_ARCH}/ForeignCall.cpp
    ${PROJECT_SOURCE_DIR}/platform/win32/Win32Registry.cpp
    ${PROJECT_SOURCE_DIR}/platform/win32/Win32Libraries.cpp
    ${PROJECT_SOURCE_DIR}/platform/win32/Win32FolderChooser.cpp
    ${PROJECT_SOURCE_DIR}/platform/win32/Win32Resources.cpp
    ${PROJECT_SOURCE_DIR}/platform/win32/Win32Files.cpp
    ${PROJECT_SOURCE_DIR}/platform/win32/OurFiles.cpp
    ${PROJECT_SOURCE_DIR}/platform/win32/CheckedWrite.cpp
    ${PROJECT_SOURCE_DIR}/platform/win32/FileSetJournal.cpp
)
target_compile_options(win32_services PRIVATE ${size_flags})
target_compile_definitions(win32_services PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                 _WIN32_WINNT=0x0601)
target_link_libraries(win32_services PUBLIC platform_interfaces shell32 ole32 advapi32 user32 kernel32)
