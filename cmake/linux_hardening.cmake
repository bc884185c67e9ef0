# linux_hardening.cmake -- the hardening that Debian's own builds have, in every optimised build
#
# Fortified string and I/O functions (checked against the buffer sizes the compiler knows), a stack
# protector, and relocations resolved at start and then made read-only (RELRO with bind-now). Every
# target of the shipped code gets them, modules included, once all are defined; the test, benchmark
# and fuzzing programs are built as before. Fortification needs the optimiser, hence optimised
# configurations only; sanitized builds are left as they are, since AddressSanitizer checks every
# access itself and does not look inside the fortified variants.
set(hardened_configs "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
set(unshipped_folders tests bench fuzz)

function(patcher_harden_targets directory)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(EXECUTABLE|MODULE_LIBRARY|SHARED_LIBRARY|STATIC_LIBRARY|OBJECT_LIBRARY)$")
      # -U first: some compilers define their own level, and a second definition is an error here.
      target_compile_options(${target} PRIVATE
        "$<${hardened_configs}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2;-fstack-protector-strong>")
      target_link_options(${target} PRIVATE "$<${hardened_configs}:-Wl,-z,relro,-z,now>")
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${subdirectory})
    if(NOT folder IN_LIST unshipped_folders)
      patcher_harden_targets(${subdirectory})
    endif()
  endforeach()
endfunction()

if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR}
                 CALL patcher_harden_targets ${PROJECT_SOURCE_DIR})
endif()
