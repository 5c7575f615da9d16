# What the frame and image classes of framecore need beyond Qt Core: Qt Gui
# and Widgets, OpenCV core and imgproc (Debian ships no CMake package for
# them), and the pixel-format name table generated from data/pfnc.tsv.

find_package(Qt5 COMPONENTS Gui Widgets REQUIRED)

find_path(KESTRIX_OPENCV_INCLUDE_DIR opencv2/core.hpp PATH_SUFFIXES opencv4 REQUIRED)
find_library(KESTRIX_OPENCV_CORE_LIBRARY opencv_core REQUIRED)
find_library(KESTRIX_OPENCV_IMGPROC_LIBRARY opencv_imgproc REQUIRED)
if(NOT TARGET kx_opencv)
  add_library(kx_opencv INTERFACE IMPORTED GLOBAL)
  target_include_directories(kx_opencv SYSTEM INTERFACE ${KESTRIX_OPENCV_INCLUDE_DIR})
  target_link_libraries(kx_opencv INTERFACE ${KESTRIX_OPENCV_IMGPROC_LIBRARY} ${KESTRIX_OPENCV_CORE_LIBRARY})
endif()

set(kx_pfnc_table ${CMAKE_CURRENT_SOURCE_DIR}/data/pfnc.tsv)
set(kx_pfnc_generator ${CMAKE_CURRENT_SOURCE_DIR}/cmake/GeneratePfncTable.cmake)
set(kx_pfnc_output ${CMAKE_CURRENT_BINARY_DIR}/pfnctable.inc)
add_custom_command(
  OUTPUT ${kx_pfnc_output}
  COMMAND ${CMAKE_COMMAND} -DPFNC_TABLE=${kx_pfnc_table} -DPFNC_OUTPUT=${kx_pfnc_output} -P ${kx_pfnc_generator}
  DEPENDS ${kx_pfnc_table} ${kx_pfnc_generator}
  COMMENT "Generating the pixel-format name table"
  VERBATIM)
target_sources(framecore PRIVATE ${kx_pfnc_output})

target_link_libraries(framecore PUBLIC Qt5::Gui Qt5::Widgets kx_opencv)
