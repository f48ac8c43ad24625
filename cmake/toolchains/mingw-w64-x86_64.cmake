# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model), linked statically so
# that each program needs only the DLLs Windows itself ships.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PROPDESK_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
