# Finds the mingw-w64 cross compiler and windres for SETUP_TRIPLE, or stops with a clear message.
find_program(SETUP_CXX ${SETUP_TRIPLE}-g++)
find_program(SETUP_CC ${SETUP_TRIPLE}-gcc)
find_program(SETUP_WINDRES ${SETUP_TRIPLE}-windres)
if(NOT SETUP_CXX OR NOT SETUP_CC)
  message(FATAL_ERROR "${SETUP_TRIPLE}-g++ not found: install the Debian package "
                      "g++-mingw-w64-${CMAKE_SYSTEM_PROCESSOR} (scripts/setup-machine.sh does it)")
endif()
if(NOT SETUP_WINDRES)
  message(FATAL_ERROR "${SETUP_TRIPLE}-windres not found: install binutils-mingw-w64 "
                      "(scripts/setup-machine.sh does it)")
endif()
set(CMAKE_C_COMPILER ${SETUP_CC})
set(CMAKE_CXX_COMPILER ${SETUP_CXX})
set(CMAKE_RC_COMPILER ${SETUP_WINDRES})
set(CMAKE_FIND_ROOT_PATH /usr/${SETUP_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The Windows builds link no C run-time and name their system libraries themselves.
set(CMAKE_C_STANDARD_LIBRARIES "" CACHE STRING "" FORCE)
set(CMAKE_CXX_STANDARD_LIBRARIES "" CACHE STRING "" FORCE)
