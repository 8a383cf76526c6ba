# Cross toolchain: MinGW-w64 for Windows. QUARNEL_ARCH picks the processor
# (i686 ships; x86_64 is what runs where the host kernel cannot start 32-bit
# code) and QUARNEL_THREADS the thread model (win32 ships; posix is needed by
# GoogleTest).
set(CMAKE_SYSTEM_NAME Windows)
if(NOT QUARNEL_ARCH)
  set(QUARNEL_ARCH i686)
endif()
if(NOT QUARNEL_THREADS)
  set(QUARNEL_THREADS win32)
endif()
set(CMAKE_SYSTEM_PROCESSOR ${QUARNEL_ARCH})
set(_prefix ${QUARNEL_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${_prefix}-gcc-${QUARNEL_THREADS})
set(CMAKE_CXX_COMPILER ${_prefix}-g++-${QUARNEL_THREADS})
set(CMAKE_RC_COMPILER ${_prefix}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
