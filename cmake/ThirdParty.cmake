# The libraries the readers stand on: RapidJSON (Debian's rapidjson-dev, header-only) for the Chromium reader
# and SQLite (the stock amalgamation that scripts/setup.sh fetches into build/third_party) for the Firefox one.

# The mingw build must not see /usr/include, whose C library headers would shadow mingw's: it gets a folder
# that holds nothing but a link to RapidJSON's headers. The host build takes the same folder.
set(TRESK_RAPIDJSON_HEADERS /usr/include/rapidjson CACHE PATH "RapidJSON's header folder")
if(NOT EXISTS ${TRESK_RAPIDJSON_HEADERS}/document.h)
  message(FATAL_ERROR "RapidJSON not found in ${TRESK_RAPIDJSON_HEADERS}: run scripts/setup.sh")
endif()
set(rapidjson_links ${CMAKE_BINARY_DIR}/third_party/rapidjson-include)
file(MAKE_DIRECTORY ${rapidjson_links})
file(CREATE_LINK ${TRESK_RAPIDJSON_HEADERS} ${rapidjson_links}/rapidjson SYMBOLIC)
add_library(tresk_rapidjson INTERFACE)
target_include_directories(tresk_rapidjson SYSTEM INTERFACE ${rapidjson_links})

set(TRESK_SQLITE_DIR ${CMAKE_SOURCE_DIR}/build/third_party/sqlite CACHE PATH "Folder of sqlite3.c and sqlite3.h")
if(NOT EXISTS ${TRESK_SQLITE_DIR}/sqlite3.c)
  message(FATAL_ERROR "SQLite amalgamation not found in ${TRESK_SQLITE_DIR}: run scripts/setup.sh")
endif()
add_library(tresk_sqlite STATIC ${TRESK_SQLITE_DIR}/sqlite3.c)
target_include_directories(tresk_sqlite SYSTEM PUBLIC ${TRESK_SQLITE_DIR})
# Third-party code keeps its own warnings; nothing of SQLite that the reader does not use is built in.
target_compile_options(tresk_sqlite PRIVATE -w)
target_compile_definitions(tresk_sqlite PRIVATE SQLITE_OMIT_LOAD_EXTENSION SQLITE_OMIT_SHARED_CACHE
  SQLITE_DEFAULT_MEMSTATUS=0 SQLITE_DQS=0 SQLITE_ENABLE_DBSTAT_VTAB SQLITE_OMIT_DEPRECATED)
if(NOT WIN32)
  target_link_libraries(tresk_sqlite PUBLIC pthread m)
endif()
# SQLite is checked by its own project: here it is built without ASan and UBSan, which made its one file the
# longest step of the host and fuzz builds (68 s against 33 s). It keeps the fuzzer's coverage, so inputs that
# reach new SQL still count as new, and our use of its memory is still checked: ASan sees its allocations
# through the allocator it intercepts.
if(TRESK_SANITIZE)
  target_compile_options(tresk_sqlite PRIVATE -fno-sanitize=address,undefined)
endif()
