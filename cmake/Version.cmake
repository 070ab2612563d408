# The program's one version is project(VERSION) in CMakeLists.txt. It reaches the version
# resource through the generated Version.h, and scripts/package names the zip after it.
set(QUORVEL_VERSION_NUMBERS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
set(QUORVEL_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${CMAKE_BINARY_DIR}/generated/Version.h @ONLY)
target_include_directories(QuorvelTool PRIVATE ${CMAKE_BINARY_DIR}/generated)

# The manifest names the version as well, in XML the resource compiler does not fill in; a
# version changed here alone would leave it behind.
set(manifest ${PROJECT_SOURCE_DIR}/src/ui/resources/QuorvelTool.manifest)
file(READ ${manifest} manifest_text)
if(NOT manifest_text MATCHES "name=\"QuorvelTool\" version=\"${QUORVEL_VERSION_TEXT}\"")
    message(FATAL_ERROR "${manifest}: its version must be ${QUORVEL_VERSION_TEXT}")
endif()
