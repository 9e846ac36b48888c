# The CMake package TorvanaControls, so that any host finds the control libraries with
#   find_package(TorvanaControls 1.0 REQUIRED)
#   target_link_libraries(host PRIVATE Torvana::LzNavrail Torvana::LzDateEdit)
# Torvana::LzNavrail and Torvana::LzDateEdit carry each library's public header (include/torvana/)
# and link the component runtime Torvana::tvcom, through which the host creates the controls by
# CLSID or ProgID; a host never links a control library itself. The package also names the
# installed control libraries and the registration tool, so that a host's build or set-up can
# register them (regsvr <library>):
#   TorvanaControls_LzNavrail_LIBRARY, TorvanaControls_LzDateEdit_LIBRARY,
#   TorvanaControls_LzCalendar_LIBRARY (the calendars the date control drops down),
#   TorvanaControls_REGSVR.
include(CMakePackageConfigHelpers)

set(TORVANA_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/TorvanaControls)

# The runtime with its link name (libtvcom.so), which a host links against.
install(TARGETS tvcom EXPORT TorvanaControlsTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${TORVANA_INSTALL_INCLUDEDIR})
install(TARGETS LzNavrailHeaders LzDateEditHeaders EXPORT TorvanaControlsTargets
  INCLUDES DESTINATION ${TORVANA_INSTALL_INCLUDEDIR})
install(EXPORT TorvanaControlsTargets NAMESPACE Torvana:: DESTINATION ${TORVANA_INSTALL_CMAKEDIR})

set(TORVANA_NAVRAIL_FILE ${CMAKE_SHARED_LIBRARY_PREFIX}LzNavrail${CMAKE_SHARED_LIBRARY_SUFFIX})
set(TORVANA_DATEEDIT_FILE ${CMAKE_SHARED_LIBRARY_PREFIX}LzDateEdit${CMAKE_SHARED_LIBRARY_SUFFIX})
set(TORVANA_CALENDAR_FILE ${CMAKE_SHARED_LIBRARY_PREFIX}LzCalendar${CMAKE_SHARED_LIBRARY_SUFFIX})
configure_package_config_file(cmake/TorvanaControlsConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/TorvanaControlsConfig.cmake
  INSTALL_DESTINATION ${TORVANA_INSTALL_CMAKEDIR}
  PATH_VARS TORVANA_INSTALL_PLUGINDIR CMAKE_INSTALL_BINDIR)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TorvanaControlsConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TorvanaControlsConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/TorvanaControlsConfigVersion.cmake
        DESTINATION ${TORVANA_INSTALL_CMAKEDIR})
