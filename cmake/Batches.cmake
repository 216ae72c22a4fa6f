# Most of a source's compile time goes to the headers it shares with the
# others. A library or test program compiles its sources in batches of eight,
# one compile per batch (CMake's unity build). A source with a `using namespace`
# (a window's control ids, mostly) is compiled alone: the names it brings in
# would clash with its batch neighbours' own. -DDISCOVEL_BATCHES=OFF compiles
# every source alone: slower from scratch, but a change rebuilds only its file.
option(DISCOVEL_BATCHES "Compile sources in batches of eight (unity build)" ON)

function(discovel_compile_in_batches target)
  if(NOT DISCOVEL_BATCHES)
    return()
  endif()
  set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  get_target_property(sources ${target} SOURCES)
  foreach(src IN LISTS sources)
    if(NOT src MATCHES "\\.(cpp|cc)$")
      continue()
    endif()
    file(STRINGS ${src} opened REGEX "using namespace" LIMIT_COUNT 1)
    if(opened)
      set_source_files_properties(${src} TARGET_DIRECTORY ${target} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
    endif()
  endforeach()
endfunction()
