add_library(win32_ui STATIC
    ${PROJECT_SOURCE_DIR}/platform/win32/Layout.cpp
)
target_compile_options(win32_ui PRIVATE ${size_flags})
target_link_libraries(win32_ui PUBLIC win32_services comctl32 gdi32 user32)
