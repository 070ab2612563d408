# The program's one version is project(VERSION) in CMakeLists.txt. It reaches the version
# resource through the generated Version.h, the manifest through the generated
# QuorvelTool.manifest, and scripts/package names the zip after it.
set(QUORVEL_VERSION_NUMBERS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
set(QUORVEL_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${CMAKE_BINARY_DIR}/generated/Version.h @ONLY)

# Windows refuses to start a program whose manifest names another processor than its own, so
# the manifest is made for the architecture being built. The resource script finds it beside
# Version.h.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(QUORVEL_MANIFEST_ARCHITECTURE amd64)
else()
    set(QUORVEL_MANIFEST_ARCHITECTURE x86)
endif()
set(manifest ${CMAKE_BINARY_DIR}/generated/QuorvelTool.manifest)
configure_file(${PROJECT_SOURCE_DIR}/src/ui/resources/QuorvelTool.manifest.in ${manifest} @ONLY)
file(READ ${manifest} manifest_text)
set(identity "name=\"QuorvelTool\" version=\"${QUORVEL_VERSION_TEXT}\" ")
string(APPEND identity "processorArchitecture=\"${QUORVEL_MANIFEST_ARCHITECTURE}\"")
if(NOT manifest_text MATCHES "${identity}")
    message(FATAL_ERROR "${manifest}: its identity must read ${identity}; "
                        "the template must take both from the build")
endif()
target_include_directories(QuorvelTool PRIVATE ${CMAKE_BINARY_DIR}/generated)
# The resource compiler's dependency scan sees only #include lines, not the manifest's.
set_source_files_properties(${QUORVEL_RESOURCES} PROPERTIES OBJECT_DEPENDS ${manifest})
