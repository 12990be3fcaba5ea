# The program itself: SETUP.EXE on Windows, the `setup` executable over the stand-in natively.

if(SETUP_BUILD STREQUAL "native")
  add_executable(setup runtime/standin/start.cpp
                 $<TARGET_OBJECTS:setup_product> $<TARGET_OBJECTS:setup_framework>
                 $<TARGET_OBJECTS:setup_runtime>)
  target_compile_options(setup PRIVATE ${SETUP_PRODUCT_FLAGS})
  target_link_libraries(setup PRIVATE standin setup_res_blob)
else()
  if(SETUP_BUILD STREQUAL "win32")
    set(SETUP_ENTRY _WinMainCRTStartup)
    set(SETUP_SUBSYSTEM -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0
                        -Wl,--major-os-version,4 -Wl,--minor-os-version,0)
  else()
    set(SETUP_ENTRY WinMainCRTStartup)
    set(SETUP_SUBSYSTEM)
  endif()
  # Link options shared by SETUP.EXE and the other small programs of ours built without a C run-time.
  set(SETUP_NOCRT_LINK -nostdlib -nostartfiles -mwindows -s -Wl,--gc-sections
                       -Wl,--no-insert-timestamp -Wl,--build-id=none -e ${SETUP_ENTRY} ${SETUP_SUBSYSTEM})
  set(SETUP_SYSTEM_LIBS kernel32 user32 gdi32 advapi32 gcc)

  add_executable(SETUP WIN32 $<TARGET_OBJECTS:setup_product> $<TARGET_OBJECTS:setup_framework>
                 $<TARGET_OBJECTS:setup_runtime> ${SETUP_RC_FILE})
  set_target_properties(SETUP PROPERTIES OUTPUT_NAME SETUP SUFFIX .EXE LINKER_LANGUAGE CXX)
  target_link_options(SETUP PRIVATE ${SETUP_NOCRT_LINK})
  target_link_libraries(SETUP PRIVATE ${SETUP_SYSTEM_LIBS})
endif()
