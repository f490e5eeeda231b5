# Benchmark programs are added here.

# Large DI through DI.xtr and ADICAO.xtr against a plain parse: time ratio and peak memory.
add_executable(xml_transform_bench ${CMAKE_CURRENT_LIST_DIR}/XmlTransformBench.cpp)
target_link_libraries(xml_transform_bench PRIVATE pelomira_core)
target_compile_definitions(xml_transform_bench PRIVATE PELOMIRA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

# The DI transfer into the Orientador against plain prepared-statement inserts of the same rows in one
# transaction, in a folder of the build tree (the disk, not a memory file system).
add_executable(di_transfer_bench ${CMAKE_CURRENT_LIST_DIR}/DiTransferBench.cpp)
target_link_libraries(di_transfer_bench PRIVATE pelomira_core benchmark::benchmark PkgConfig::SQLITE3)
target_compile_definitions(di_transfer_bench PRIVATE PELOMIRA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                                   PELOMIRA_BENCH_DEFAULT_DIR="${CMAKE_BINARY_DIR}/bench-work")

# An LI of 200 licences and a DSI of 300 goods, each against plain inserts of the same rows in one
# transaction in the same folder.
add_executable(li_dsi_transfer_bench ${CMAKE_CURRENT_LIST_DIR}/LiDsiTransferBench.cpp)
target_link_libraries(li_dsi_transfer_bench PRIVATE pelomira_core benchmark::benchmark PkgConfig::SQLITE3)
target_compile_definitions(li_dsi_transfer_bench PRIVATE PELOMIRA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                                      PELOMIRA_BENCH_DEFAULT_DIR="${CMAKE_BINARY_DIR}/bench-work")

# The DI transfer into NORVIK into folders of 1,000 and 100,000 earlier processes, and against appends
# without index.
add_executable(norvik_transfer_bench ${CMAKE_CURRENT_LIST_DIR}/NorvikTransferBench.cpp)
target_link_libraries(norvik_transfer_bench PRIVATE pelomira_core)
target_compile_definitions(norvik_transfer_bench PRIVATE PELOMIRA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

# The table export of a 200,000-row TAB_NCM as CSV and XML against the sqlite3 shell's CSV of the same
# table: time ratios, and peak memory at 20,000 and 200,000 rows.
add_executable(table_export_bench ${CMAKE_CURRENT_LIST_DIR}/TableExportBench.cpp)
target_link_libraries(table_export_bench PRIVATE pelomira_core PkgConfig::SQLITE3)

# The registration scan against one plain read of the Orientador files and of GERADOS on the
# loopback Firebird server (scripts/firebird-test-server, port PELOMIRA_FB_PORT).
add_executable(retorno_scan_bench ${CMAKE_CURRENT_LIST_DIR}/RetornoScanBench.cpp)
target_link_libraries(retorno_scan_bench PRIVATE pelomira_core benchmark::benchmark PkgConfig::SQLITE3)

# The three customer integrations on files of 100,000 records against reading them plus building a
# pugixml document of the same size: time ratio and peak memory.
add_executable(integration_bench ${CMAKE_CURRENT_LIST_DIR}/IntegrationBench.cpp)
target_link_libraries(integration_bench PRIVATE pelomira_core)
