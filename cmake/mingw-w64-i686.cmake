# Cross-building for 32-bit Windows, the platform the clock was designed for.
set(SELENIAL_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
