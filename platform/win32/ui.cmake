add_library(win32_ui STATIC
    ${PROJECT_SOURCE_DIR}/platform/win32/Layout.cpp
    ${PROJECT_SOURCE_DIR}/platform/win32/MainWindow.cpp
)
target_compile_options(win32_ui PRIVATE ${size_flags})
# The window hands its events to TForm1, so it links the wizard's logic after itself.
target_link_libraries(win32_ui PUBLIC wizard_logic win32_services gdi32 user32)
