# One place for the language level, the warnings and Qt's strict defines; every
# target of the project links fenlark_options.
add_library(fenlark_options INTERFACE)
target_compile_features(fenlark_options INTERFACE cxx_std_20)
target_compile_options(fenlark_options INTERFACE -Wall -Wextra)
target_compile_definitions(fenlark_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_USE_QSTRINGBUILDER
  QT_NO_KEYWORDS)

# fenlark_library(NAME DIR LIBS...) makes a static library from every source of DIR,
# so a helper that adds a file to its folder never has to touch a shared list.
function(fenlark_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${_sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC fenlark_options ${ARG_LIBS})
endfunction()

# The sanitizer build of the tests (AddressSanitizer and UndefinedBehaviorSanitizer): any
# report stops the test that caused it, so a clean ctest run means a clean build.
option(FENLARK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(FENLARK_SANITIZE)
  target_compile_options(fenlark_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(fenlark_options INTERFACE -fsanitize=address,undefined)
endif()
