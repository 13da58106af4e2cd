# The guard's test builds (QUILLET_SEH_CLOBBERING_UNWIND): the platform
# library resumes through a wrapper that overwrites every register but the
# stack pointer after an unwind, as Windows may leave them (Wine keeps them),
# so that the guard is tested against the worst the system may do.
set(quillet_seh ${PROJECT_SOURCE_DIR}/src/platform/win32/${QUILLET_ARCH}/Seh.S)
if(QUILLET_ARCH STREQUAL "i686")
  target_sources(quillet_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win32/i686/ClobberingUnwind.S)
  set_source_files_properties(${quillet_seh} DIRECTORY ${PROJECT_SOURCE_DIR}/src PROPERTIES
                              COMPILE_DEFINITIONS QUILLET_SEH_UNWIND=_QuilletClobberingUnwind@16)
else()
  target_sources(quillet_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win32/x86_64/ClobberingResume.S)
  set_source_files_properties(${quillet_seh} DIRECTORY ${PROJECT_SOURCE_DIR}/src PROPERTIES
                              COMPILE_DEFINITIONS QUILLET_SEH_RESUME=QuilletClobberingResume)
endif()
