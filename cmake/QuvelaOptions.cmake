# One place for the language level, warnings and sanitizers of every Quvela target.
add_library(quvela_options INTERFACE)
target_compile_features(quvela_options INTERFACE cxx_std_20)
target_compile_options(quvela_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wno-missing-field-initializers)
target_compile_definitions(quvela_options INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING
  QT_NO_FOREACH QT_NO_KEYWORDS)
if(QUVELA_WERROR)
  target_compile_options(quvela_options INTERFACE -Werror)
endif()
if(QUVELA_SANITIZE)
  target_compile_options(quvela_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(quvela_options INTERFACE -fsanitize=address,undefined)
endif()

# quvela_library(NAME folder LIBS...): a static library of every .cpp in the folder.
function(quvela_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(sources)
    file(GLOB all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    add_library(${name} STATIC ${all})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC quvela_options ${ARG_LIBS})
  else()
    # A folder still without sources links as nothing.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE quvela_options ${ARG_LIBS})
  endif()
endfunction()

# quvela_test(NAME LIBS...): one GoogleTest executable of every .cpp in the folder.
function(quvela_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE quvela_options quvela_testsupport GTest::gtest GTest::gtest_main ${ARG_LIBS})
  target_compile_definitions(${name} PRIVATE
    QUVELA_SOURCE_DIR="${PROJECT_SOURCE_DIR}" QUVELA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;FONTCONFIG_FILE=${PROJECT_SOURCE_DIR}/fonts/fonts.conf")
endfunction()
