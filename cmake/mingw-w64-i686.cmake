# Cross-building for 32-bit Windows, the platform the clock was designed for.
set(SELENIAL_MINGW_PROCESSOR i686)
# Doubles in SSE2 registers, as on 64-bit: the x87 unit's wider registers would round
# the numerics' and the offset's arithmetic differently. Every 32-bit Windows since 8 needs SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
