# layers.cmake -- each layer of the program is one library whose headers only the layers above it
# can see.
#
# Sources include headers by their folder ("identify/checksums.h"). A layer's include directory is a
# folder of its own in the build tree that holds one link, to that layer's source folder, and
# nothing else: a library finds the headers of the layers it links, and an include of a layer above
# it fails to build.
function(patcher_layer target folder)
  set(root ${PROJECT_BINARY_DIR}/layers/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()
