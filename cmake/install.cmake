# `cmake --install BUILD --prefix DIR`: the programs, the static libraries with their headers, and
# a package configuration, so that another project can find_package(clustering_toolkit) and link
# toolkit::lib, toolkit::io, toolkit::algorithms, toolkit::svd, toolkit::cluster or
# toolkit::treelib.
include(CMakePackageConfigHelpers)

set(toolkit_libraries toolkit_lib toolkit_io toolkit_algorithms toolkit_lapack toolkit_svd
                      toolkit_cluster toolkit_treelib)
foreach(library IN LISTS toolkit_libraries)
  string(REPLACE "toolkit_" "" short_name ${library})
  set_target_properties(${library} PROPERTIES EXPORT_NAME ${short_name})
endforeach()

install(TARGETS clusterer distcorr trees floatprobe RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS ${toolkit_libraries} EXPORT toolkit_targets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
# Headers keep their folders, so that the installed ones are included as in the tree.
foreach(folder lib io algorithms cluster treelib)
  install(DIRECTORY ${folder}/ DESTINATION ${TOOLKIT_INCLUDE_DIR}/${folder}
          FILES_MATCHING PATTERN "*.hpp")
endforeach()

set(toolkit_config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/clustering_toolkit)
install(EXPORT toolkit_targets NAMESPACE toolkit:: DESTINATION ${toolkit_config_dir}
        FILE clustering_toolkit_targets.cmake)
configure_package_config_file(cmake/clustering_toolkitConfig.cmake.in
                              ${CMAKE_CURRENT_BINARY_DIR}/clustering_toolkitConfig.cmake
                              INSTALL_DESTINATION ${toolkit_config_dir})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/clustering_toolkitConfig.cmake
        DESTINATION ${toolkit_config_dir})
