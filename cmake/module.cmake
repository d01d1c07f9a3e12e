# The module: one loadable library named kaf20x64.arx that exports only acrxEntryPoint and
# acrxGetApiVersion. Its code is compiled against the host API headers alone (kafhost_api,
# platform/api): the stand-in host's own headers refuse to be included by it (KAF_MODULE_CODE).
file(GLOB KAF_MODULE_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/host/*.cpp
    ${CMAKE_SOURCE_DIR}/functions/*.cpp
    ${CMAKE_SOURCE_DIR}/output/*.cpp
    ${CMAKE_SOURCE_DIR}/input/*.cpp
    ${CMAKE_SOURCE_DIR}/postprocess/*.cpp)

# What every target of module code is built with.
function(kaf_module_code_settings target)
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC kaf_geom kafhost_api)
    target_compile_definitions(${target} PRIVATE KAF_MODULE_CODE)
endfunction()

# The module's code as a static library, so that tests can also reach its internal units.
add_library(kaf_module_code STATIC ${KAF_MODULE_SOURCES})
kaf_module_code_settings(kaf_module_code)
set_target_properties(kaf_module_code PROPERTIES
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

# The exports are listed in a version script for ELF and in a module-definition file for Windows.
if(WIN32)
    set(KAF_MODULE_EXPORTS ${CMAKE_SOURCE_DIR}/host/exports.def)
    set(KAF_MODULE_EXPORTS_OPTION "")
else()
    set(KAF_MODULE_EXPORTS ${CMAKE_SOURCE_DIR}/host/exports.map)
    set(KAF_MODULE_EXPORTS_OPTION -Wl,--version-script=${KAF_MODULE_EXPORTS})
endif()
add_library(kaf20x64 MODULE ${KAF_MODULE_EXPORTS})
target_link_libraries(kaf20x64 PRIVATE
    -Wl,--whole-archive kaf_module_code -Wl,--no-whole-archive kafhost)
target_link_options(kaf20x64 PRIVATE ${KAF_MODULE_EXPORTS_OPTION} -Wl,--no-undefined)
set_target_properties(kaf20x64 PROPERTIES PREFIX "" SUFFIX ".arx" LINKER_LANGUAGE CXX
    LINK_DEPENDS ${KAF_MODULE_EXPORTS})

set_target_properties(kaf20x64 PROPERTIES INSTALL_RPATH "${KAF_INSTALL_RPATH}")
install(TARGETS kaf20x64 LIBRARY DESTINATION ${CMAKE_INSTALL_BINDIR}
                         RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
