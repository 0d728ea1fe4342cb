# Stand-ins for parts of the standard library that would bring code the wizard never runs: its
# failures thrown as our Failure (86 KB less), and a terminate handler without the demangler
# (45 KB less). OwnStringInstantiations.h, force-included through size_flags, belongs with them.
# An object library, so that each definition is linked ahead of the library's whether or not our
# code names it; linked into the exe and into their own test only.
add_library(toolchain_workarounds OBJECT
    ${PROJECT_SOURCE_DIR}/app/toolchain/StandardLibraryFailures.cpp
    ${PROJECT_SOURCE_DIR}/app/toolchain/TerminateHandler.cpp)
target_compile_options(toolchain_workarounds PRIVATE ${size_flags})
target_link_libraries(toolchain_workarounds PRIVATE project_options)
