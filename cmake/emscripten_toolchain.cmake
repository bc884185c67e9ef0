# emscripten_toolchain.cmake -- the toolchain file of the web preset: emscripten's own, from the
# emscripten whose emcc is named by EMSCRIPTEN (its folder) or found on the PATH.
if(DEFINED ENV{EMSCRIPTEN})
  find_program(PATCHER_EMCC emcc PATHS $ENV{EMSCRIPTEN} NO_DEFAULT_PATH REQUIRED)
else()
  find_program(PATCHER_EMCC emcc REQUIRED)
endif()
# emcc may be a link to a wrapper (Debian's is): emscripten's folder is where the link ends.
file(REAL_PATH ${PATCHER_EMCC} patcher_emcc_real)
get_filename_component(patcher_emscripten_root ${patcher_emcc_real} DIRECTORY)
include(${patcher_emscripten_root}/cmake/Modules/Platform/Emscripten.cmake)
