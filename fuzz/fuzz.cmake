# libFuzzer harnesses (clang only): configure a build of their own with PELOMIRA_BUILD_FUZZ=ON, as
# scripts/fuzz does; the normal build never sees them. Everything is compiled with the sanitizers and
# the fuzzer's coverage, so a fault anywhere under the harness is caught.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "PELOMIRA_BUILD_FUZZ needs clang (CXX=clang++)")
endif()

set(PELOMIRA_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)
target_compile_options(pelomira_core PRIVATE ${PELOMIRA_FUZZ_FLAGS})

foreach(customer samsung synthes honeywell)
  add_executable(fuzz_${customer} ${CMAKE_CURRENT_LIST_DIR}/CustomerFileFuzz.cpp)
  target_compile_definitions(fuzz_${customer} PRIVATE FUZZ_CUSTOMER="${customer}")
  target_compile_options(fuzz_${customer} PRIVATE ${PELOMIRA_FUZZ_FLAGS})
  target_link_libraries(fuzz_${customer} PRIVATE pelomira_core)
  target_link_options(fuzz_${customer} PRIVATE -fsanitize=fuzzer,address,undefined)
endforeach()

add_executable(fuzz_process_document ${CMAKE_CURRENT_LIST_DIR}/ProcessDocumentFuzz.cpp)
target_compile_definitions(fuzz_process_document PRIVATE PELOMIRA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_compile_options(fuzz_process_document PRIVATE ${PELOMIRA_FUZZ_FLAGS})
target_link_libraries(fuzz_process_document PRIVATE pelomira_core)
target_link_options(fuzz_process_document PRIVATE -fsanitize=fuzzer,address,undefined)
