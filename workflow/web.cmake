# web.cmake -- the browser edition: the core in WebAssembly, the page's back end, and the static
# site in site/ (index.html, index.js, index.wasm), which loads nothing from anywhere else.
set(PATCHER_WEB_DIR ${PROJECT_SOURCE_DIR}/web)
set(PATCHER_SITE_DIR ${CMAKE_BINARY_DIR}/site)

add_executable(patcher main_web.cpp platform_web.cpp)
target_link_libraries(patcher PRIVATE patcher_core)
set_target_properties(patcher PROPERTIES OUTPUT_NAME index SUFFIX .html
                                         RUNTIME_OUTPUT_DIRECTORY ${PATCHER_SITE_DIR}
                                         LINK_DEPENDS "${PATCHER_WEB_DIR}/index.html;${PATCHER_WEB_DIR}/page.js")
target_link_options(patcher PRIVATE
  --shell-file ${PATCHER_WEB_DIR}/index.html
  --pre-js ${PATCHER_WEB_DIR}/page.js
  -sASYNCIFY                 # each dialog suspends the run until the user answers on the page
  -sASYNCIFY_STACK_SIZE=16384
  -sENVIRONMENT=web
  -sINITIAL_MEMORY=33554432  # 32 MiB: the static image and patch buffers, the stack, a little heap
  -sEXPORTED_RUNTIME_METHODS=FS
  -sMINIFY_HTML=0)           # the page is small, and Debian's emscripten cannot run its minifier
