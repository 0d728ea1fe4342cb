# Builds another preset's tree from within a build: configures it from its preset the first time,
# then builds that preset's targets.
#   cmake -DPRESET=name -DBINARY_DIR=its/binary/dir -P build-preset.cmake   (in the source folder)
if(NOT EXISTS ${BINARY_DIR}/CMakeCache.txt)
    execute_process(COMMAND ${CMAKE_COMMAND} --preset ${PRESET} COMMAND_ERROR_IS_FATAL ANY)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build --preset ${PRESET} COMMAND_ERROR_IS_FATAL ANY)
