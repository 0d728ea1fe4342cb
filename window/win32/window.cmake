# The window: a humble view over the layout table that reports its events to whoever drives it.
add_library(win32_ui STATIC
    ${PROJECT_SOURCE_DIR}/window/win32/Accessibility.cpp
    ${PROJECT_SOURCE_DIR}/window/win32/DescribedObject.cpp
    ${PROJECT_SOURCE_DIR}/window/win32/ApplicationWindow.cpp
    ${PROJECT_SOURCE_DIR}/window/win32/Appearance.cpp
    ${PROJECT_SOURCE_DIR}/window/win32/Fonts.cpp
    ${PROJECT_SOURCE_DIR}/window/win32/Pictures.cpp
    ${PROJECT_SOURCE_DIR}/window/win32/MainWindow.cpp
    ${PROJECT_SOURCE_DIR}/window/win32/WindowProcedure.cpp
    ${PROJECT_SOURCE_DIR}/window/win32/WindowCreation.cpp
    ${PROJECT_SOURCE_DIR}/window/win32/Dpi.cpp
    ${PROJECT_SOURCE_DIR}/window/win32/KeyboardFocus.cpp
    ${PROJECT_SOURCE_DIR}/window/win32/Painting.cpp
    ${PROJECT_SOURCE_DIR}/window/win32/MainWindowSurface.cpp
    ${PROJECT_SOURCE_DIR}/window/win32/WindowWait.cpp
    ${PROJECT_SOURCE_DIR}/window/win32/ModalWait.cpp
)
target_compile_options(win32_ui PRIVATE ${size_flags})
target_link_libraries(win32_ui PUBLIC win32_services window_model gdi32 user32)
