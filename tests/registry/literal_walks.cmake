# The literal walks are shared with the benchmarks, which time them beside the SQL versions; the
# library is defined by whichever of the tests and the benchmarks is configured first, so the
# benchmarks build without the test suite.
if(NOT TARGET fenlark_registry_walks)
  add_library(fenlark_registry_walks STATIC ${CMAKE_CURRENT_LIST_DIR}/literal_walks.cpp)
  target_link_libraries(fenlark_registry_walks PUBLIC fenlark_options fenlark_registry)
  target_include_directories(fenlark_registry_walks PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR}/src)
endif()
